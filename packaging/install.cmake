# Installation and the Debian package.
#
# cmake --install <build> [--prefix <dir>]   (default prefix /opt/quombleview): portable,
# everything below the prefix
#   <prefix>/QuombleV, quomble-report, quomble-log, quomble-import
#       the boot log Quomble.log is written beside them; the settings too when the folder
#       is writable for the user, else into ~/.config/quombleview
#   <prefix>/share/applications/quombleview.desktop
#   <prefix>/share/icons/hicolor/scalable/apps/quombleview.svg
#   <prefix>/share/systemd/quombleview-log.service, quombleview-sleep.service (enabled by hand)
#
# cpack -G DEB (scripts/build-package.sh): the Debian layout
#   /usr/lib/quombleview/       the four programs (stripped) and the link Quomble.log
#                               -> /var/lib/quombleview/Quomble.log, the boot service's state
#   /usr/bin, /usr/sbin         links to the programs (quomble-log is the administrator's)
#   /lib/systemd/system         quombleview-log.service (enabled), quombleview-sleep.service (not)
#   /usr/share/...              menu entry, icons, AppStream metainfo, man pages, docs

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/quombleview CACHE PATH "Install folder" FORCE)
endif()

set(_quomble_packaging ${CMAKE_CURRENT_LIST_DIR})
set(_quomble_programs QuombleV quomble-report quomble-log quomble-import)

foreach(_program ${_quomble_programs})
  if(TARGET ${_program})
    # Every symbol is bound at start, so the relocation table can be read-only (full RELRO).
    target_link_options(${_program} PRIVATE LINKER:-z,relro LINKER:-z,now)
    install(TARGETS ${_program} RUNTIME DESTINATION . COMPONENT programs)
  endif()
endforeach()

# The portable layout: everything below the prefix.
install(FILES ${_quomble_packaging}/quombleview.svg
        DESTINATION share/icons/hicolor/scalable/apps COMPONENT integration)
install(CODE "
  include(\"${_quomble_packaging}/install_files.cmake\")
  quomble_install_generated(quombleview.desktop.in share/applications
    QUOMBLE_EXEC \"@QUOMBLE_PREFIX@/QuombleV\"
    QUOMBLE_ICON \"@QUOMBLE_PREFIX@/share/icons/hicolor/scalable/apps/quombleview.svg\")
  foreach(unit quombleview-log.service.in quombleview-sleep.service.in quombleview-clock.service.in
               quombleview-clock.timer.in quombleview-why.service.in
               quombleview-metrics.service.in quombleview-metrics.timer.in)
    quomble_install_generated(\${unit} share/systemd
      QUOMBLE_PROGRAM \"@QUOMBLE_PREFIX@/quomble-log\" QUOMBLE_REPORT \"@QUOMBLE_PREFIX@/quomble-report\"
      QUOMBLE_LOG \"@QUOMBLE_PREFIX@/Quomble.log\"
      QUOMBLE_LOGDIR \"@QUOMBLE_PREFIX@\" QUOMBLE_WRITABLE \"ReadWritePaths=@QUOMBLE_PREFIX@\"
      QUOMBLE_HOME read-only QUOMBLE_DOC https://www.example.org/quombleview)
  endforeach()
" COMPONENT integration)

# The system's places, for the Debian package only (never part of a plain cmake --install).
set(_quomble_lib /usr/lib/quombleview)
set(_quomble_state /var/lib/quombleview)
foreach(_size 16 22 24 32 48 64 128 256)
  install(FILES ${_quomble_packaging}/icons/quombleview-${_size}.png
          DESTINATION /usr/share/icons/hicolor/${_size}x${_size}/apps RENAME quombleview.png
          COMPONENT system EXCLUDE_FROM_ALL)
endforeach()
install(FILES ${_quomble_packaging}/quombleview.svg
        DESTINATION /usr/share/icons/hicolor/scalable/apps COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${_quomble_packaging}/debian/org.example.quombleview.metainfo.xml
        DESTINATION /usr/share/metainfo COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${_quomble_packaging}/debian/copyright
        DESTINATION /usr/share/doc/quombleview COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${_quomble_packaging}/debian/lintian-overrides
        DESTINATION /usr/share/lintian/overrides RENAME quombleview COMPONENT system EXCLUDE_FROM_ALL)
install(CODE "
  include(\"${_quomble_packaging}/install_files.cmake\")
  quomble_install_generated(quombleview.desktop.in /usr/share/applications
    QUOMBLE_EXEC QuombleV QUOMBLE_ICON quombleview)
  foreach(unit quombleview-log.service.in quombleview-sleep.service.in quombleview-clock.service.in
               quombleview-clock.timer.in quombleview-why.service.in
               quombleview-metrics.service.in quombleview-metrics.timer.in)
    quomble_install_generated(\${unit} /lib/systemd/system
      QUOMBLE_PROGRAM ${_quomble_lib}/quomble-log QUOMBLE_REPORT ${_quomble_lib}/quomble-report QUOMBLE_LOG ${_quomble_state}/Quomble.log
      QUOMBLE_LOGDIR ${_quomble_state} QUOMBLE_WRITABLE StateDirectory=quombleview QUOMBLE_HOME yes
      QUOMBLE_DOC \"man:quomble-log(8)\")
  endforeach()
  # The programs component comes first; its stripped programs lose the compiler's notes too.
  foreach(program ${_quomble_programs})
    if(EXISTS \"\$ENV{DESTDIR}${_quomble_lib}/\${program}\")
      execute_process(COMMAND objcopy --remove-section=.comment \"\$ENV{DESTDIR}${_quomble_lib}/\${program}\")
    endif()
  endforeach()
  quomble_install_link(${_quomble_state}/Quomble.log ${_quomble_lib}/Quomble.log)
  foreach(program QuombleV quomble-report quomble-import)
    quomble_install_link(../lib/quombleview/\${program} /usr/bin/\${program})
    quomble_install_gzipped(man/\${program}.1 /usr/share/man/man1 \${program}.1.gz)
  endforeach()
  quomble_install_link(../lib/quombleview/quomble-log /usr/sbin/quomble-log)
  quomble_install_gzipped(man/quomble-log.8 /usr/share/man/man8 quomble-log.8.gz)
  quomble_install_gzipped(debian/changelog /usr/share/doc/quombleview changelog.Debian.gz)
  quomble_install_gzipped(\"${PROJECT_SOURCE_DIR}/README.md\" /usr/share/doc/quombleview README.md.gz)
" COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME quombleview)
set(CPACK_PACKAGE_VENDOR "QuombleView")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "boot log analysis: boots, shutdowns, crashes and on-times")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "QuombleView shows how often this computer was booted, shut down and crashed,
and how long it ran, from a boot log that the included service writes at every
boot and shutdown. The desktop program QuombleV shows the figures, a sortable
table of boots and days and diagrams; quomble-report prints the same figures
in a terminal, as text or JSON.
.
On installation the log starts with the history the machine already holds
(wtmp, or wtmpdb where last reads it).")
set(CPACK_PACKAGE_CONTACT "QuombleView maintainers <quombleview@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/quombleview")
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${_quomble_lib})
set(CPACK_PACKAGING_INSTALL_PREFIX ${_quomble_lib})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL programs system)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The node exporter reads the figures that the boot service and its timer write.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "prometheus-node-exporter")
if(TARGET QuombleV)
  # The platform plugins are loaded at run time, so shlibdeps does not see them.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${_quomble_packaging}/debian/postinst ${_quomble_packaging}/debian/prerm ${_quomble_packaging}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
