# The headers a host includes, all under the one prefix nimbo/: the exported
# classes, NimboInit, the host objects a caller hands in, every header they
# include, and nimbo/version.h. They are written to the build's include/
# folder, which the host's build (add_subdirectory, FetchContent) and the
# installed package (include/) search alike:
#   #include <nimbo/catalog/CZoFuncInfoStd.h>
# The library's own sources include the same headers from the source tree.
include(GNUInstallDirs)
set(NIMBO_PUBLIC_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)

# Each folder that the library's build searches, in the build's order, and
# the folder under nimbo/ that its headers take.
set(NIMBO_HEADER_ROOTS
  ${PROJECT_SOURCE_DIR} .
  ${PROJECT_SOURCE_DIR}/host .
  ${PROJECT_SOURCE_DIR}/platform/seam platform
  ${PROJECT_SOURCE_DIR}/platform/mfc platform
  ${PROJECT_SOURCE_DIR}/platform/${NIMBO_PLATFORM_SIDE} platform)
nimbo_public_headers(
  ROOTS ${NIMBO_HEADER_ROOTS}
  OUTPUT ${NIMBO_PUBLIC_INCLUDE_DIR}/nimbo
  HEADERS
    assist/CZoPromptorCtrl.h assist/CZoListCtrlToolTipStaticFunc.h
    catalog/CZoFuncInfo.h catalog/CZoFuncInfoStd.h catalog/CZoFuncInfoUser.h
    module/NimboInit.h
    obrin/CProjectManagerObject.h tamsin/CImageListEx.h
    codemax/CCodeMaxEditor.h codemax/CodeMaxMessages.h)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${NIMBO_PUBLIC_INCLUDE_DIR}/nimbo/version.h @ONLY)

# What a host links: the module with the platform and host libraries it
# needs, and the public include folder only (the source folders that the
# library's own build searches stay with it). Installed, find_package(Nimbo)
# gives the same name.
target_include_directories(Nimbo INTERFACE
  $<BUILD_INTERFACE:${NIMBO_PUBLIC_INCLUDE_DIR}> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_compile_features(Nimbo INTERFACE cxx_std_17)
add_library(nimbo_public INTERFACE)
target_include_directories(nimbo_public INTERFACE ${NIMBO_PUBLIC_INCLUDE_DIR})
target_link_libraries(nimbo_public INTERFACE $<LINK_ONLY:Nimbo>)
target_compile_features(nimbo_public INTERFACE cxx_std_17)
add_library(Nimbo::Nimbo ALIAS nimbo_public)
