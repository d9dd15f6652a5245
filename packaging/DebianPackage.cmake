# The Debian package, made by CPack from the install rules:
#   cmake -S . -B build-deb -DSTROLVEX_TESTS=OFF
#   cmake --build build-deb && (cd build-deb && cpack -G DEB)
# (scripts/package.sh does this and tries the package.)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME strolvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tavoran)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "tracks people and counts their passes in the scans of a 2D laser")
set(CPACK_PACKAGE_DESCRIPTION
  "Strolvex is an OpenRTM-aist data-flow RT-Component that tracks people in the scans of a fixed 2D laser range finder and counts their passes in both directions. The package holds the standalone program strolvexcomp, strolvex-replay, the component and tool modules, the demo configurations and a systemd unit (strolvex.service, not enabled) that runs the site configuration /etc/strolvex/strolvex.conf.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The architecture is dpkg's own (CPack asks dpkg --print-architecture);
# Depends come from the shared libraries the files actually link. The
# programs' own libraries are found through their run paths.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Strolvex developers <strolvex@tavoran.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

# The site configuration is the user's: an upgrade keeps their edits and
# only a purge removes it. The maintainer scripts tell a running systemd
# about the unit and stop the service before its program goes away.
set(_control ${CMAKE_CURRENT_BINARY_DIR}/debian)
file(WRITE ${_control}/conffiles "/etc/strolvex/strolvex.conf\n")
foreach(_script postinst prerm postrm)
  configure_file(debian/${_script} ${_control}/${_script} COPYONLY)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${_control}/conffiles ${_control}/postinst ${_control}/prerm ${_control}/postrm)

# CPack installs under /usr into a staging root (DESTDIR), so the site
# configuration lands in the package's /etc.
include(CPack)
