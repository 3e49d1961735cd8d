#!/usr/bin/env bash
# Runs one of the score service's end-to-end suites on one backend, with
# everything it needs started here and removed at the end, also on failure:
#   server/tests/run_scores_tests.sh api|faults sqlite|postgres BUILD_DIR
# On postgres, a PostgreSQL cluster is made with initdb in a temporary
# folder and run as the postgres user (or the caller when not root), on
# 127.0.0.1 at a free port with its socket in that folder.
set -euo pipefail
suite=${1,,} backend=${2,,} build=$3
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quadrovolt-scores.XXXXXX")
pg_ctl=""
pgroot=""
as_pg=()

cleanup() {
  if [[ -n "$pg_ctl" && -f "$pgroot/data/postmaster.pid" ]]; then
    "${as_pg[@]}" "$pg_ctl" -D "$pgroot/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
  [[ -z "$pgroot" ]] || rm -rf "$pgroot"
}
trap cleanup EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

args=(--scores "$build/server/quadrovolt-scores" --recorder "$build/server/quadrovolt_record_ticketed"
      --editor "$build/server/quadrovolt_edit_replay" --work "$work")
if [[ $backend == postgres ]]; then
  bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
  [[ -x "$bindir/initdb" ]] || { echo "PostgreSQL's server (the postgresql package) is not installed"; exit 1; }
  pg_ctl="$bindir/pg_ctl"
  pgroot=$(mktemp -d /tmp/quadrovolt-scores-pg.XXXXXX)
  if [[ $(id -u) -eq 0 ]]; then
    # initdb will not run as root: the cluster belongs to the postgres user,
    # in a folder of /tmp it can reach whatever TMPDIR says.
    chmod 755 "$pgroot"
    chown postgres "$pgroot"
    as_pg=(runuser -u postgres --)
  fi
  "${as_pg[@]}" "$bindir/initdb" -D "$pgroot/data" -A trust -U scores -E UTF8 >"$work/pg-initdb.log" 2>&1 ||
    { cat "$work/pg-initdb.log"; exit 1; }
  port=$(free_port)
  "${as_pg[@]}" "$pg_ctl" -D "$pgroot/data" -l "$pgroot/server.log" -w -t 60 \
    -o "-k $pgroot -h 127.0.0.1 -p $port -c fsync=off" start >/dev/null ||
    { cat "$pgroot/server.log"; exit 1; }
  "$bindir/createdb" -h 127.0.0.1 -p "$port" -U scores scores
  args+=(--postgres "host=127.0.0.1 port=$port dbname=scores user=scores")
fi

case $suite in
  api) test=("$here/api/scores_api_test.py" "${args[@]}" --fuzz "$source_dir/tests/fuzz/replay") ;;
  faults) test=("$here/api/scores_fault_test.py" "${args[@]}") ;;
  *) echo "unknown suite $suite"; exit 2 ;;
esac
# Stopped from outside (a timeout): the test stops the services it started,
# then the cluster and the folders go.
python3 "${test[@]}" &
tester=$!
trap 'kill -TERM "$tester" 2>/dev/null; wait "$tester"; exit 1' INT TERM
wait "$tester"
