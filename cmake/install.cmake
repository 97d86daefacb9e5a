# What `cmake --install` puts in place: the two shared libraries with their
# sonames, the public headers, a pkg-config file and a CMake package
# configuration. The static libraries the build links into them stay in the
# build tree; an application links only libsentrell and libsentrellplatform.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# libsentrell finds libsentrellplatform beside it; the platform layer needs
# no run path of its own.
set_target_properties(sentrell PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS sentrell sentrellplatform
  EXPORT SentrellTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/sentrell.h ${PROJECT_SOURCE_DIR}/include/sentrellplatform.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# CMake package: find_package(Sentrell) gives Sentrell::sentrell, which
# carries the include folder and Sentrell::sentrellplatform.
set(SENTRELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Sentrell)
install(EXPORT SentrellTargets NAMESPACE Sentrell:: DESTINATION ${SENTRELL_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/SentrellConfig.cmake.in
  ${PROJECT_BINARY_DIR}/SentrellConfig.cmake
  INSTALL_DESTINATION ${SENTRELL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/SentrellConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/SentrellConfig.cmake ${PROJECT_BINARY_DIR}/SentrellConfigVersion.cmake
  DESTINATION ${SENTRELL_CMAKE_DIR})

# pkg-config file. With relative install folders it names its prefix from
# its own place, so that it stays right under `cmake --install --prefix`.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(SENTRELL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(SENTRELL_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(SENTRELL_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  file(RELATIVE_PATH pc_to_prefix "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
  string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
  set(SENTRELL_PC_PREFIX "\${pcfiledir}/${pc_to_prefix}")
  set(SENTRELL_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(SENTRELL_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/sentrell.pc.in ${PROJECT_BINARY_DIR}/sentrell.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/sentrell.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
