# Small helpers so that each folder's build file is a few lines.

# A source file with nothing in it, for a library whose folders are still empty.
function(nimbo_empty_source out)
  set(file ${PROJECT_BINARY_DIR}/nimbo_empty.cpp)
  if(NOT EXISTS ${file})
    file(WRITE ${file} "// Intentionally empty.\n")
  endif()
  set(${out} ${file} PARENT_SCOPE)
endfunction()

# nimbo_glob_library(NAME <target> DIRS <dir>... [LIBS <lib>...] [STATIC])
# A shared library (or with STATIC a static one) made of every .cpp file of
# the given folders.
function(nimbo_glob_library)
  cmake_parse_arguments(ARG "STATIC" "NAME" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    nimbo_empty_source(sources)
  endif()
  if(ARG_STATIC)
    add_library(${ARG_NAME} STATIC ${sources})
  else()
    add_library(${ARG_NAME} SHARED ${sources})
    if(COMMAND nimbo_side_export_all)
      nimbo_side_export_all(${ARG_NAME})
    endif()
  endif()
  target_include_directories(${ARG_NAME} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  if(ARG_LIBS)
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# nimbo_test(NAME <target> [SOURCES <file>...] [LIBS <lib>...])
# One GoogleTest executable; without SOURCES it takes every *_test.cpp of the
# calling folder. Each test case is registered with CTest.
function(nimbo_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  # Every suite may set up the desktop through the test controls.
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} nimbo_testctl GTest::gtest GTest::gtest_main)
  target_compile_definitions(${ARG_NAME} PRIVATE
    NIMBO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" NIMBO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(COMMAND nimbo_side_add_test)
    # The platform side registers its tests its own way (Windows: under Wine).
    nimbo_side_add_test(${ARG_NAME})
  else()
    gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "NIMBO_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  endif()
endfunction()

# nimbo_public_headers(ROOTS <dir> <dest>... OUTPUT <dir> HEADERS <name>...)
# Writes the named headers and every header they include ("..." includes,
# followed to the end) under OUTPUT/<dest>/, at the same relative path. A name
# is looked up in each root folder in turn, as the build's include path finds
# it. The copies include each other by their place under OUTPUT's parent
# (#include <nimbo/platform/CString.h>), so one include folder serves a host
# and no header of the tree is found by its bare name.
function(nimbo_public_headers)
  cmake_parse_arguments(ARG "" "OUTPUT" "ROOTS;HEADERS" ${ARGN})
  get_filename_component(prefix ${ARG_OUTPUT} NAME)
  set(queue ${ARG_HEADERS})
  set(done)
  while(queue)
    list(POP_FRONT queue name)
    if(name IN_LIST done)
      continue()
    endif()
    list(APPEND done ${name})
    _nimbo_find_header(${name} file public)
    file(STRINGS ${file} includes REGEX "^#include \"")
    file(READ ${file} text)
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      _nimbo_find_header(${included} ignored included_public)
      string(REPLACE "#include \"${included}\"" "#include <${prefix}/${included_public}>" text "${text}")
      list(APPEND queue ${included})
    endforeach()
    file(CONFIGURE OUTPUT ${ARG_OUTPUT}/${public} CONTENT "${text}" @ONLY)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  endwhile()
endfunction()

# The first root holding <name>: its file and its path under the public tree.
macro(_nimbo_find_header name out_file out_public)
  set(${out_file})
  set(_roots ${ARG_ROOTS})
  while(_roots AND NOT ${out_file})
    list(POP_FRONT _roots _root _dest)
    if(EXISTS ${_root}/${name})
      set(${out_file} ${_root}/${name})
      if(_dest STREQUAL ".")
        set(${out_public} ${name})
      else()
        set(${out_public} ${_dest}/${name})
      endif()
    endif()
  endwhile()
  if(NOT ${out_file})
    message(FATAL_ERROR "public header ${name} not found in the include folders")
  endif()
endmacro()
