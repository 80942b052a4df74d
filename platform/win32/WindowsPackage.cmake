# The Windows package (cpack -G ZIP in the Windows build folder, or
# scripts/test-windows.sh): the install rules of cmake/NimboInstall.cmake, as
# on Linux (Nimbo.dll and its sibling DLLs in bin/, the import libraries in
# lib/, the headers under include/nimbo/, the CMake package, nimbo.exe and
# the samples under share/nimbo/samples, where nimbo.exe looks for them),
# plus what a Windows folder needs besides: the DLLs that nimbo.exe loads and
# the C++ runtime's, the licence, and a README for host developers.
# Included by platform/win32/Side.cmake after the tool's targets exist.
include(${PROJECT_SOURCE_DIR}/cmake/NimboInstall.cmake)

# nimbo.exe also loads the module's internal twin and the desktop's test
# controls (through the editor harness that replay and demo drive), and
# every program and DLL here loads the C++ runtime of the cross-compiler.
install(TARGETS nimbo_internal nimbo_testctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR} ARCHIVE EXCLUDE_FROM_ALL)
install(FILES ${NIMBO_LIBSTDCXX_DLL} ${NIMBO_LIBGCC_DLL} ${NIMBO_WINPTHREAD_DLL}
        DESTINATION ${CMAKE_INSTALL_BINDIR})
# Debian's libstdc++-6.dll carries its debugging information (21 MB of its
# 22); a stripped install (cpack, cmake --install --strip) leaves it out, as
# it does for the project's own programs and DLLs.
foreach(dll ${NIMBO_LIBSTDCXX_DLL} ${NIMBO_LIBGCC_DLL} ${NIMBO_WINPTHREAD_DLL})
  get_filename_component(name ${dll} NAME)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-debug
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${name}\")
  endif()")
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/package/README.txt DESTINATION .)
# The licence, where the source tree has one.
if(EXISTS ${PROJECT_SOURCE_DIR}/LICENSE)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME nimbo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Nimbo developers")
set(CPACK_PACKAGE_FILE_NAME nimbo-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
