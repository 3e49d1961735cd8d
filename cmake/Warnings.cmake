# Warnings: -Wall -Wextra everywhere; the test command's builds also make
# every warning an error (-DQUADROVOLT_WERROR=ON), so none creeps in.
option(QUADROVOLT_WERROR "Treat every compiler warning as an error" OFF)
add_compile_options(-Wall -Wextra)
if(QUADROVOLT_WERROR)
  add_compile_options(-Werror)
endif()
