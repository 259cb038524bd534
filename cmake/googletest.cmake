# GoogleTest for both trees: an installed package first (its CMake config, as MSYS2's and
# vcpkg's packages install it, or the libraries FindGTest knows), then the sources Debian's
# googletest package puts in /usr/src/googletest, built inside the tree. With neither, the
# program, the stand-in, the demo and the benchmarks still build; QUORVEL_TESTS is OFF and the
# test targets built on GoogleTest are left out.
#
# An installed package is found through CMAKE_PREFIX_PATH (or GTest_DIR); the sources through
# QUORVEL_GTEST_SOURCE_DIR. -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON skips the package.
set(QUORVEL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources, built inside the tree when no installed GoogleTest is found")

find_package(GTest QUIET)
if(TARGET GTest::gtest AND TARGET GTest::gtest_main)
  set(QUORVEL_TESTS ON)
  set(where "installed package (${GTest_DIR}${GTEST_LIBRARY})")
elseif(EXISTS ${QUORVEL_GTEST_SOURCE_DIR}/CMakeLists.txt)
  # Wine runs the tests; GoogleTest's own thread support would gain them nothing.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QUORVEL_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Built quickly, as the tests are (quorvel_quick_test_build): at -O3 it is the longest step
  # of the build, and every Wine test group waits for it.
  foreach(target gtest gtest_main)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-O1>)
  endforeach()
  # Releases before 1.11 name their targets without the package's namespace.
  foreach(target gtest gtest_main)
    if(NOT TARGET GTest::${target})
      add_library(GTest::${target} ALIAS ${target})
    endif()
  endforeach()
  set(QUORVEL_TESTS ON)
  set(where "sources in ${QUORVEL_GTEST_SOURCE_DIR}")
else()
  set(QUORVEL_TESTS OFF)
endif()

if(QUORVEL_TESTS)
  message(STATUS "GoogleTest: ${where}; the tests are on")
else()
  message(STATUS "GoogleTest: neither an installed package nor sources in "
                 "${QUORVEL_GTEST_SOURCE_DIR}; the tests built on it are off (set "
                 "CMAKE_PREFIX_PATH to an installed GoogleTest or QUORVEL_GTEST_SOURCE_DIR to "
                 "its sources)")
endif()
unset(where)
