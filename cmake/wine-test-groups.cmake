# Every Wine test group runs in a Wine prefix of its own under the build tree, so that the groups
# CTest runs at once never share a wineserver, a registration of the stand-in or a stand-in
# store (the tests keep their stores in the prefix's temporary folder); wine-run gives each run a
# display of its own. The prefixes are copies of one template that tests/wine/wine-prefix makes
# once, which costs less than a wineboot per group.

# quorvel_wine_group(TEST...): a prefix for each test, named after it.
function(quorvel_wine_group)
  foreach(test ${ARGN})
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      "QUORVEL_WINEPREFIX=${PROJECT_BINARY_DIR}/wine/${test}"
      "QUORVEL_WINE_TEMPLATE=${PROJECT_BINARY_DIR}/wine/template")
  endforeach()
endfunction()

# Test code is built to build quickly: -O1 after the release flags. The program, the stand-in
# and the benchmarks keep the release build they are tested and measured with.
macro(quorvel_quick_test_build)
  add_compile_options($<$<CONFIG:Release>:-O1>)
endmacro()
