# Helpers that run at install time (cmake --install, cpack).
set(_quomble_templates "${CMAKE_CURRENT_LIST_DIR}")

# Writes a file from a template of this folder, with @NAME@ placeholders replaced.
#   template     name of the template in this folder, ending in .in
#   destination  folder, relative to the prefix or absolute
#   ARGN         pairs of placeholder name (without the @) and value; @QUOMBLE_PREFIX@ in a
#                value is replaced by the install prefix
function(quomble_install_generated template destination)
  set(prefix "${CMAKE_INSTALL_PREFIX}")
  if(NOT IS_ABSOLUTE "${destination}")
    set(destination "${prefix}/${destination}")
  endif()
  file(READ "${_quomble_templates}/${template}" text)
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs name value)
    string(REPLACE "@QUOMBLE_PREFIX@" "${prefix}" value "${value}")
    string(REPLACE "@${name}@" "${value}" text "${text}")
  endwhile()
  string(REGEX REPLACE "\\.in$" "" name "${template}")
  set(file "$ENV{DESTDIR}${destination}/${name}")
  message(STATUS "Installing: ${file}")
  file(WRITE "${file}" "${text}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}/${name}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

# Installs a file (of this folder when relative) compressed with gzip -9n (no name, no time stamp).
function(quomble_install_gzipped source destination name)
  if(NOT IS_ABSOLUTE "${source}")
    set(source "${_quomble_templates}/${source}")
  endif()
  set(file "$ENV{DESTDIR}${destination}/${name}")
  message(STATUS "Installing: ${file}")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${destination}")
  execute_process(COMMAND gzip -9n -c "${source}" OUTPUT_FILE "${file}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip failed on ${source}")
  endif()
  file(CHMOD "${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

# Installs the symbolic link `link` pointing to `target` (written as given).
function(quomble_install_link target link)
  get_filename_component(folder "$ENV{DESTDIR}${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  message(STATUS "Installing: $ENV{DESTDIR}${link} -> ${target}")
  file(CREATE_LINK "${target}" "$ENV{DESTDIR}${link}" SYMBOLIC)
endfunction()
