# GoogleTest for both builds. Natively it is Debian's installed library; for the
# Windows build it is compiled from the sources that Debian's googletest package
# installs, and every test executable runs under Wine through the emulator that
# the toolchain file names.
if(CMAKE_CROSSCOMPILING)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory("${MARNELL_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  # googletest's own CMakeLists defines the GTest:: aliases.
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# marnell_add_gtest(target [DESKTOP] source...): a GoogleTest executable,
# registered with CTest. Natively each test case is its own CTest test; under
# Wine, where every process start costs a second, the executable is one CTest
# test. DESKTOP marks one that types keys or takes the focus: it runs alone,
# while the others may run side by side.
function(marnell_add_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "DESKTOP" "" "")
  set(ARGN ${arg_UNPARSED_ARGUMENTS})
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest_main)
  marnell_warnings(${target})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
    if(arg_DESKTOP)
      set_tests_properties(${target} PROPERTIES RUN_SERIAL TRUE)
    endif()
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
