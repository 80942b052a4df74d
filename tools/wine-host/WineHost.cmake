# A small Windows host program: loads Nimbo.dll, opens the sample project in
# an editor window and types a call. Included by the Windows side's build
# (platform/win32/Side.cmake) once every library target exists.
file(GLOB NIMBO_WINE_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
if(NIMBO_WINE_HOST_SOURCES)
  add_executable(nimbo-wine-host WIN32 ${NIMBO_WINE_HOST_SOURCES})
  target_link_libraries(nimbo-wine-host PRIVATE nimbo_host nimbo_platform)
  target_compile_definitions(nimbo-wine-host PRIVATE NIMBO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # Loaded at run time with LoadLibrary, not linked.
  add_dependencies(nimbo-wine-host Nimbo)
endif()
