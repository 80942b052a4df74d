# nimbo.exe: the nimbo tool on the Windows side, with every command that
# needs no terminal library (lsp, ini, functions, replay, demo). Included by
# platform/win32/Side.cmake once every library target exists. Each command
# group builds from its folder's shared sources and its win32/ folder, where
# Linux takes its posix/ folder (the ncurses editor among them: on Windows
# edit/win32/EditCommand.cpp says "Linux only"); the file watcher takes the
# portable poll of stamps in place of inotify.
# nimbo.exe runs with UTF-8 as its code page (nimbo_side_utf8_program), so
# that the shared sources' text, arguments and file names are UTF-8 as on
# Linux; ConsoleWin32.cpp shows that text on a console.
# ToolPosixCompat.h is included ahead of every tool source for the few POSIX
# calls left in them (realpath, readlink), and ConsoleWin32.cpp lets a
# Windows console read the progress line's erase sequence.
set(NIMBO_TOOL_WIN32_DIR ${CMAKE_CURRENT_LIST_DIR})
set(NIMBO_TOOLS_DIR ${PROJECT_SOURCE_DIR}/tools)

# CLI11 and nlohmann-json are header-only: Debian's headers serve the cross
# compiler too. Only their folders are put on its include path (never the
# whole /usr/include, whose C library headers are Linux's).
set(NIMBO_TOOL_WIN32_HEADERS ${PROJECT_BINARY_DIR}/header-only)
foreach(header CLI/CLI.hpp nlohmann/json.hpp)
  get_filename_component(folder ${header} DIRECTORY)
  if(NOT EXISTS /usr/include/${header})
    message(FATAL_ERROR "/usr/include/${header} not found (Debian: libcli11-dev, nlohmann-json3-dev)")
  endif()
  file(COPY /usr/include/${folder} DESTINATION ${NIMBO_TOOL_WIN32_HEADERS})
endforeach()

function(nimbo_tool_win32_settings target)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${NIMBO_TOOL_WIN32_HEADERS})
  target_compile_options(${target} PRIVATE -include ${NIMBO_TOOL_WIN32_DIR}/ToolPosixCompat.h)
endfunction()

# A group's library: the shared sources of its folder and its win32/ folder,
# less the named ones, plus the given ones.
function(nimbo_tool_win32_library name folder)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;ADD;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${NIMBO_TOOLS_DIR}/${folder}/*.cpp ${NIMBO_TOOLS_DIR}/${folder}/win32/*.cpp)
  foreach(file ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "/${folder}/${file}$")
  endforeach()
  add_library(${name} STATIC ${sources} ${ARG_ADD})
  nimbo_tool_win32_settings(${name})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# main, the command table and the lsp command's entry make the executable.
nimbo_tool_win32_library(nimbo_tool_common nimbo EXCLUDE main.cpp CommandTable.cpp LspCommand.cpp
  LIBS nimbo_internal nimbo_host nimbo_platform)
# The installed samples lie at this path from the program's folder.
target_compile_definitions(nimbo_tool_common PRIVATE NIMBO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  NIMBO_INSTALLED_SAMPLES="../share/nimbo/samples")
nimbo_tool_win32_library(nimbo_tool_edit edit LIBS nimbo_tool_common nimbo_harness)
nimbo_tool_win32_library(nimbo_tool_replay replay LIBS nimbo_tool_edit)
nimbo_tool_win32_library(nimbo_tool_ini ini LIBS nimbo_tool_common)
nimbo_tool_win32_library(nimbo_tool_functions functions LIBS nimbo_tool_common)
nimbo_tool_win32_library(nimbo_tool_lsp lsp
  ADD ${NIMBO_TOOLS_DIR}/lsp/watcher/CLspPollingWatcher.cpp ${NIMBO_TOOLS_DIR}/lsp/watcher/LspPortableWatcher.cpp
  LIBS nimbo_internal)

add_executable(nimbo ${NIMBO_TOOLS_DIR}/nimbo/main.cpp ${NIMBO_TOOLS_DIR}/nimbo/CommandTable.cpp
               ${NIMBO_TOOLS_DIR}/nimbo/LspCommand.cpp ${NIMBO_TOOL_WIN32_DIR}/ConsoleWin32.cpp)
nimbo_tool_win32_settings(nimbo)
nimbo_side_utf8_program(nimbo)
target_compile_definitions(nimbo PRIVATE NIMBO_VERSION="${PROJECT_VERSION}")
target_link_libraries(nimbo PRIVATE nimbo_tool_common nimbo_tool_edit nimbo_tool_replay nimbo_tool_ini
                      nimbo_tool_functions nimbo_tool_lsp)

# The Windows side's own tests of the tool: file URIs against Windows paths,
# the bytes of nimbo.exe's standard output, and its text outside ASCII.
if(NIMBO_BUILD_TESTS)
  nimbo_test(NAME tools_win32_tests SOURCES ${PROJECT_SOURCE_DIR}/tests/tools/win32/LspUriWin32_test.cpp
             ${PROJECT_SOURCE_DIR}/tests/tools/win32/StdoutWin32_test.cpp
             ${PROJECT_SOURCE_DIR}/tests/tools/win32/UnicodeWin32_test.cpp LIBS nimbo_tool_lsp)
  target_compile_definitions(tools_win32_tests PRIVATE NIMBO_VERSION="${PROJECT_VERSION}")
endif()
