# Installation and the Debian package.
#
# cmake --install <build> [--prefix <dir>]   (default prefix /opt/quombleview)
#   <prefix>/QuombleV, quomble-report, quomble-log, quomble-import
#       the boot log Quomble.log and the settings Quomble.ini are created beside them at run time
#   <prefix>/share/applications/quombleview.desktop
#   <prefix>/share/icons/hicolor/scalable/apps/quombleview.svg
#   <prefix>/share/systemd/quombleview-log.service   (to be enabled by hand)
#
# cpack -G DEB: the programs in /opt/quombleview, and the desktop entry, the icon and the
# unit where the system looks for them: /usr/share/applications, /usr/share/icons/hicolor
# and /lib/systemd/system. The maintainer scripts enable and start the unit.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/quombleview CACHE PATH "Install folder" FORCE)
endif()

set(_quomble_packaging ${CMAKE_CURRENT_LIST_DIR})

foreach(_program QuombleV quomble-report quomble-log quomble-import)
  if(TARGET ${_program})
    install(TARGETS ${_program} RUNTIME DESTINATION . COMPONENT programs)
  endif()
endforeach()

# The portable layout: everything below the prefix.
install(FILES ${_quomble_packaging}/quombleview.svg
        DESTINATION share/icons/hicolor/scalable/apps COMPONENT integration)
install(CODE "
  include(\"${_quomble_packaging}/install_files.cmake\")
  quomble_install_generated(quombleview.desktop.in share/applications
                            \"@QUOMBLE_PREFIX@/share/icons/hicolor/scalable/apps/quombleview.svg\")
  quomble_install_generated(quombleview-log.service.in share/systemd \"\")
" COMPONENT integration)

# The system's places, for the Debian package only (never part of a plain cmake --install).
install(FILES ${_quomble_packaging}/quombleview.svg
        DESTINATION /usr/share/icons/hicolor/scalable/apps COMPONENT system EXCLUDE_FROM_ALL)
install(CODE "
  include(\"${_quomble_packaging}/install_files.cmake\")
  quomble_install_generated(quombleview.desktop.in /usr/share/applications quombleview)
  quomble_install_generated(quombleview-log.service.in /lib/systemd/system \"\")
" COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME quombleview)
set(CPACK_PACKAGE_VENDOR "QuombleView")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Boot log analysis: boots, shutdowns, crashes and on-times")
set(CPACK_PACKAGE_DESCRIPTION
    "QuombleView shows how often this computer was booted, shut down and crashed, and its on-times, from a boot log that the included service writes at every boot and shutdown.")
set(CPACK_PACKAGE_CONTACT "QuombleView maintainers <quombleview@localhost>")
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /opt/quombleview)
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/quombleview)
set(CPACK_COMPONENTS_ALL programs system)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET QuombleV)
  # The platform plugins are loaded at run time, so shlibdeps does not see them.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${_quomble_packaging}/debian/postinst ${_quomble_packaging}/debian/prerm ${_quomble_packaging}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
