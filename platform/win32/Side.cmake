# The Windows side of the build (NIMBO_PLATFORM_SIDE=win32, with
# cmake/toolchain-mingw32.cmake): a 32-bit Nimbo.dll and its sibling DLLs over
# the real Win32 API, and the test suites run under Wine.
if(NOT WIN32)
  message(FATAL_ERROR "NIMBO_PLATFORM_SIDE=win32 needs a Windows target: "
                      "-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake")
endif()

# Every program and DLL in one folder, next to the C++ runtime's DLLs, so that
# the Windows loader finds them all without a search path.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE NIMBO_LIBSTDCXX_DLL OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_dw2-1.dll
                OUTPUT_VARIABLE NIMBO_LIBGCC_DLL OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(NIMBO_WINPTHREAD_DLL libwinpthread-1.dll
          PATHS /usr/${NIMBO_MINGW_PREFIX}/lib /usr/${NIMBO_MINGW_PREFIX}/bin NO_DEFAULT_PATH)
foreach(dll ${NIMBO_LIBSTDCXX_DLL} ${NIMBO_LIBGCC_DLL} ${NIMBO_WINPTHREAD_DLL})
  if(NOT EXISTS ${dll})
    message(FATAL_ERROR "C++ runtime DLL not found: ${dll}")
  endif()
  file(COPY ${dll} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endforeach()

# DLLs carry Windows names (Nimbo.dll, nimbo_platform.dll), each with its
# import library beside the linker's files (Nimbo.lib).
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_SUFFIX ".lib")

# The Windows libraries behind the platform layer.
set(NIMBO_PLATFORM_SIDE_LIBS comctl32 gdi32 user32 imagehlp)

# Nimbo.dll exports only what AFX_EXT_CLASS and AFX_EXT_API mark (dllexport
# in its own build). The stand-ins for the system's and the host's libraries
# export every symbol, as the libraries they stand for export their whole
# interface.
function(nimbo_side_export_all target)
  target_link_options(${target} PRIVATE -Wl,--export-all-symbols)
endfunction()
# The internal twin of the module is a DLL of its own exporting every symbol:
# only the loader calls a DLL's entry point, so the module's objects linked
# into a program would never be registered with the framework.
function(nimbo_side_internal_library name objects)
  add_library(${name} SHARED $<TARGET_OBJECTS:${objects}>)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC nimbo_host nimbo_platform)
  nimbo_side_export_all(${name})
endfunction()
# A program whose text is UTF-8: its command line, and the file names of the
# system's ANSI calls (and of the C runtime's, which make them), through the
# process code page that the manifest of Utf8Process.rc sets. Only programs
# get it; a DLL takes the code page of the program that loads it, so that
# Nimbo.dll in an ANSI host keeps reading the host's paths in its code page.
enable_language(RC)
function(nimbo_side_utf8_program target)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Utf8Process.rc)
endfunction()
# The shared tools/ build is the Linux one; the Windows side builds nimbo.exe
# (every command but the ncurses editor) with tools/win32/WindowsTool.cmake,
# and the Windows host program (tools/wine-host), once every library exists.
set(NIMBO_BUILD_TOOLS OFF)
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL include ${PROJECT_SOURCE_DIR}/tools/wine-host/WineHost.cmake)
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL include ${PROJECT_SOURCE_DIR}/tools/win32/WindowsTool.cmake)
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL include ${PROJECT_SOURCE_DIR}/platform/win32/WindowsPackage.cmake)

# GoogleTest for the target, compiled from Debian's source package.
if(NIMBO_BUILD_TESTS)
  set(NIMBO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  # Its build defines the GTest::gtest and GTest::gtest_main targets.
  add_subdirectory(${NIMBO_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest builds with the compiler's defaults, not our warning set.
  foreach(target gtest gtest_main)
    set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "")
    target_compile_options(${target} PRIVATE -w)
  endforeach()
  include(${CMAKE_CURRENT_LIST_DIR}/Win32Tests.cmake)
endif()
