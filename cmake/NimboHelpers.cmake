# Small helpers so that each folder's build file is a few lines.

# A source file with nothing in it, for a library whose folders are still empty.
function(nimbo_empty_source out)
  set(file ${CMAKE_BINARY_DIR}/nimbo_empty.cpp)
  if(NOT EXISTS ${file})
    file(WRITE ${file} "// Intentionally empty.\n")
  endif()
  set(${out} ${file} PARENT_SCOPE)
endfunction()

# nimbo_glob_library(NAME <target> DIRS <dir>... [LIBS <lib>...])
# A shared library made of every .cpp file of the given folders.
function(nimbo_glob_library)
  cmake_parse_arguments(ARG "" "NAME" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    nimbo_empty_source(sources)
  endif()
  add_library(${ARG_NAME} SHARED ${sources})
  target_include_directories(${ARG_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
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
  target_include_directories(${ARG_NAME} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${ARG_NAME} PRIVATE
    NIMBO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" NIMBO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(COMMAND nimbo_side_add_test)
    # The platform side registers its tests its own way (Windows: under Wine).
    nimbo_side_add_test(${ARG_NAME})
  else()
    gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "NIMBO_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endif()
endfunction()
