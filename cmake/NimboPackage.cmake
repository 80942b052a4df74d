# The Debian package (cpack -G DEB in the build folder): the library, its
# headers and package files, and the nimbo command with its man page,
# completion and samples, all under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Nimbo developers")
set(CPACK_PACKAGE_CONTACT "Nimbo developers <nimbo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "code assistance for a script editor: function tips and completion list")
set(CPACK_PACKAGE_DESCRIPTION
  "A library that gives a script editor a function tip and a completion list of\n"
  "every known function, from an INI file of built-in prototypes and the\n"
  "project's own scripts, with an INI document store; and the nimbo command,\n"
  "a terminal editor and INI tool over it.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries of the package itself are found there, not in the system.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/platform ${CMAKE_BINARY_DIR}/host ${CMAKE_BINARY_DIR}/host/harness)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Only what the install rules name goes in: tests and benchmarks install nothing.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
