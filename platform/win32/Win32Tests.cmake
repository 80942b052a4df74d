# How the test suites run on the Windows side: one CTest test per suite
# executable, run under Wine (CMAKE_CROSSCOMPILING_EMULATOR), with the cases
# that only make sense on the Linux stand-ins filtered out, each with its
# reason. (Discovering every case would start Wine once per case: minutes.)
# scripts/test-windows.sh adds up the cases that ran from the suites' output.

# Suites that only make sense on Linux; they are not built here.
set(NIMBO_WIN32_POSIX_ONLY_SUITES
  # Loads the module with dlopen and watches its static objects through the
  # C++ runtime's __cxa_atexit; tests/winmodule checks the same order with
  # LoadLibrary and FreeLibrary.
  module_tests
  # Runs the nimbo tool, a terminal program over ncurses that has no Windows
  # build.
  tools_ini_tests
  # Drives that tool's terminal editor in tmux.
  tui_tests
  # Runs crashing or faulting children with fork(), mmap and a small tmpfs
  # mount: Linux process and file-system machinery.
  robustness_tests)

set(NIMBO_WIN32_TESTCOMPAT_DIR ${CMAKE_CURRENT_LIST_DIR}/testcompat)

function(nimbo_side_add_test name)
  if(name IN_LIST NIMBO_WIN32_POSIX_ONLY_SUITES)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  # The few POSIX calls of the tests' scratch-file helpers.
  target_include_directories(${name} PRIVATE ${NIMBO_WIN32_TESTCOMPAT_DIR})
  target_compile_options(${name} PRIVATE -include ${NIMBO_WIN32_TESTCOMPAT_DIR}/PosixCompat.h)
  set(args)
  if(DEFINED NIMBO_WIN32_SKIP_${name})
    string(JOIN ":" filter ${NIMBO_WIN32_SKIP_${name}})
    set(args "--gtest_filter=-${filter}")
  endif()
  add_test(NAME ${name} COMMAND ${name} ${args} WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "NIMBO_SOURCE_DIR=${CMAKE_SOURCE_DIR};WINEDEBUG=-all" TIMEOUT 900)
endfunction()
