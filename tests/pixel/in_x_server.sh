#!/usr/bin/env bash
# Runs a pixel check in an X server of its own, drawn in software; listing
# the checks needs none.
#   tests/pixel/in_x_server.sh TEST_BINARY [gtest options...]
for arg in "$@"; do
  [[ "$arg" == --gtest_list_tests ]] && exec "$@"
done
export LIBGL_ALWAYS_SOFTWARE=1
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$@"
