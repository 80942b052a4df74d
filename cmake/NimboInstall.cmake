# What `cmake --install` puts in place for a host: the shared libraries with
# their SONAMEs, the public headers under include/nimbo, a CMake package
# (find_package(Nimbo) -> Nimbo::Nimbo) and a pkg-config file (nimbo); with
# the tool, the nimbo command, its man page, its bash completion and the
# bundled samples it opens by default.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(NIMBO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Nimbo)

# The library and the platform and host libraries it is linked with. Their
# installed copies find each other beside themselves, so an installed tree
# works from any prefix.
set(NIMBO_PUBLIC_LIBRARIES Nimbo nimbo_platform nimbo_host)
set_target_properties(nimbo_platform PROPERTIES EXPORT_NAME Platform)
set_target_properties(nimbo_host PROPERTIES EXPORT_NAME Host)
foreach(target ${NIMBO_PUBLIC_LIBRARIES})
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
endforeach()
install(TARGETS ${NIMBO_PUBLIC_LIBRARIES} EXPORT NimboTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# Installing takes what the build made; a build of the tool alone makes the
# library too, so that `cmake --install` works after any build.
if(TARGET nimbo)
  add_dependencies(nimbo ${NIMBO_PUBLIC_LIBRARIES})
endif()

# The public headers (cmake/NimboHeaders.cmake) under include/nimbo.
install(DIRECTORY ${NIMBO_PUBLIC_INCLUDE_DIR}/nimbo DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nimbo)

install(EXPORT NimboTargets NAMESPACE Nimbo:: DESTINATION ${NIMBO_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/NimboConfig.cmake.in
  ${PROJECT_BINARY_DIR}/NimboConfig.cmake INSTALL_DESTINATION ${NIMBO_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/NimboConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/NimboConfig.cmake ${PROJECT_BINARY_DIR}/NimboConfigVersion.cmake
  DESTINATION ${NIMBO_INSTALL_CMAKEDIR})

# pkg-config: written when installing, with the prefix that the installation
# uses (cmake --install --prefix, a staging DESTDIR keeps it), so that the
# flags name plain folders (-I/usr/include is left out by pkg-config).
list(TRANSFORM CMAKE_DL_LIBS PREPEND -l OUTPUT_VARIABLE NIMBO_PC_LIBS_PRIVATE)
string(JOIN " " NIMBO_PC_LIBS_PRIVATE ${NIMBO_PC_LIBS_PRIVATE})
set(NIMBO_PC_PREFIX "@NIMBO_PC_PREFIX@")  # filled in by the install step below
configure_file(${CMAKE_CURRENT_LIST_DIR}/nimbo.pc.in ${PROJECT_BINARY_DIR}/nimbo.pc.in @ONLY)
install(CODE "
  set(NIMBO_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${PROJECT_BINARY_DIR}/nimbo.pc.in\" \"${PROJECT_BINARY_DIR}/pc-install/nimbo.pc\" @ONLY)")
install(FILES ${PROJECT_BINARY_DIR}/pc-install/nimbo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The nimbo command (the harness, the desktop controls and the module's
# internal twin are linked into it), its man page, bash completion and
# bundled samples.
if(TARGET nimbo)
  file(RELATIVE_PATH bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(nimbo PROPERTIES
    INSTALL_RPATH "$ORIGIN/${bin_to_lib}")
  install(TARGETS nimbo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The man page carries the project's version; it is shipped compressed, as
  # Debian's policy asks.
  configure_file(${PROJECT_SOURCE_DIR}/dist/nimbo.1.in ${PROJECT_BINARY_DIR}/nimbo.1 @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/nimbo.1.gz
    COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/nimbo.1 > ${PROJECT_BINARY_DIR}/nimbo.1.gz
    DEPENDS ${PROJECT_BINARY_DIR}/nimbo.1)
  add_custom_target(nimbo_man ALL DEPENDS ${PROJECT_BINARY_DIR}/nimbo.1.gz)
  add_dependencies(nimbo nimbo_man)
  install(FILES ${PROJECT_BINARY_DIR}/nimbo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/nimbo.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME nimbo)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/nimbo/samples)
endif()
