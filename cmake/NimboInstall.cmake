# What `cmake --install` puts in place for a host: the shared libraries with
# their SONAMEs, the public headers under include/nimbo, a CMake package
# (find_package(Nimbo) -> Nimbo::Nimbo) and a pkg-config file (nimbo); with
# the tool, the nimbo command, its man page, its bash completion and the
# bundled samples it opens by default.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(NIMBO_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/nimbo)
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
target_compile_features(Nimbo INTERFACE cxx_std_17)
install(TARGETS ${NIMBO_PUBLIC_LIBRARIES} EXPORT NimboTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${NIMBO_INSTALL_INCLUDEDIR} ${NIMBO_INSTALL_INCLUDEDIR}/platform)

# The public headers: the exported classes, NimboInit and the host objects a
# caller hands in, with every header they include. Each
# folder that the build searches maps to one folder under include/nimbo, so
# the installed headers include each other exactly as in the source tree.
set(NIMBO_HEADER_ROOTS
  ${CMAKE_SOURCE_DIR} .
  ${CMAKE_SOURCE_DIR}/host .
  ${CMAKE_SOURCE_DIR}/platform/seam platform
  ${CMAKE_SOURCE_DIR}/platform/mfc platform
  ${CMAKE_SOURCE_DIR}/platform/${NIMBO_PLATFORM_SIDE} platform)
nimbo_install_header_closure(
  ROOTS ${NIMBO_HEADER_ROOTS}
  DESTINATION ${NIMBO_INSTALL_INCLUDEDIR}
  HEADERS
    assist/CZoPromptorCtrl.h assist/CZoListCtrlToolTipStaticFunc.h
    catalog/CZoFuncInfo.h catalog/CZoFuncInfoStd.h catalog/CZoFuncInfoUser.h
    module/NimboInit.h
    obrin/CProjectManagerObject.h tamsin/CImageListEx.h)

install(EXPORT NimboTargets NAMESPACE Nimbo:: DESTINATION ${NIMBO_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/NimboConfig.cmake.in
  ${CMAKE_BINARY_DIR}/NimboConfig.cmake INSTALL_DESTINATION ${NIMBO_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/NimboConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/NimboConfig.cmake ${CMAKE_BINARY_DIR}/NimboConfigVersion.cmake
  DESTINATION ${NIMBO_INSTALL_CMAKEDIR})

# pkg-config: the prefix is worked out from where the file lies, so the
# installed tree can be moved (a staging root, a scratch prefix).
set(NIMBO_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH NIMBO_PC_TO_PREFIX /${NIMBO_PC_DIR} /)
string(REGEX REPLACE "/$" "" NIMBO_PC_TO_PREFIX "${NIMBO_PC_TO_PREFIX}")
list(TRANSFORM CMAKE_DL_LIBS PREPEND -l OUTPUT_VARIABLE NIMBO_PC_LIBS_PRIVATE)
string(JOIN " " NIMBO_PC_LIBS_PRIVATE ${NIMBO_PC_LIBS_PRIVATE})
configure_file(${CMAKE_CURRENT_LIST_DIR}/nimbo.pc.in ${CMAKE_BINARY_DIR}/nimbo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/nimbo.pc DESTINATION ${NIMBO_PC_DIR})

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
  configure_file(${CMAKE_SOURCE_DIR}/dist/nimbo.1.in ${CMAKE_BINARY_DIR}/nimbo.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/nimbo.1.gz
    COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/nimbo.1 > ${CMAKE_BINARY_DIR}/nimbo.1.gz
    DEPENDS ${CMAKE_BINARY_DIR}/nimbo.1)
  add_custom_target(nimbo_man ALL DEPENDS ${CMAKE_BINARY_DIR}/nimbo.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/nimbo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/nimbo.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME nimbo)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/nimbo/samples)
endif()
