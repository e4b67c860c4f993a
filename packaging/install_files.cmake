# Runs at install time (cmake --install, cpack): writes a file from a template of this
# folder with the install prefix filled in, so the paths inside fit where it is installed.
#   template     name of the template in this folder, ending in .in
#   destination  folder, relative to the prefix or absolute
#   icon         the Icon= value; @QUOMBLE_PREFIX@ in it is replaced as well
set(_quomble_templates "${CMAKE_CURRENT_LIST_DIR}")

function(quomble_install_generated template destination icon)
  set(prefix "${CMAKE_INSTALL_PREFIX}")
  if(NOT IS_ABSOLUTE "${destination}")
    set(destination "${prefix}/${destination}")
  endif()
  file(READ "${_quomble_templates}/${template}" text)
  string(REPLACE "@QUOMBLE_PREFIX@" "${prefix}" icon "${icon}")
  string(REPLACE "@QUOMBLE_PREFIX@" "${prefix}" text "${text}")
  string(REPLACE "@QUOMBLE_ICON@" "${icon}" text "${text}")
  string(REGEX REPLACE "\\.in$" "" name "${template}")
  set(file "$ENV{DESTDIR}${destination}/${name}")
  message(STATUS "Installing: ${file}")
  file(WRITE "${file}" "${text}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}/${name}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()
