# Tamsel's GNOME Shell extension, in the variant the installed GNOME Shell
# loads: "esm" for 45 and later (ES modules), "legacy" for 43 and 44. Both are
# assembled from the shared src/gnome-shell/tamsel.js; one is installed to
# share/gnome-shell/extensions/<uuid>/. Included from TamselDesktop.cmake.

set(TAMSEL_SHELL_UUID tamsel@tamsel.org)
set(TAMSEL_GNOME_SHELL_API "" CACHE STRING
    "GNOME Shell extension variant to install: esm (GNOME 45 and later) or legacy (43, 44); empty: as the gnome-shell found, else esm")
set(_api "${TAMSEL_GNOME_SHELL_API}")
if(NOT _api)
  set(_api esm)
  find_program(TAMSEL_GNOME_SHELL gnome-shell)
  if(TAMSEL_GNOME_SHELL)
    execute_process(COMMAND ${TAMSEL_GNOME_SHELL} --version OUTPUT_VARIABLE _shell_version
                    ERROR_QUIET TIMEOUT 10)
    if(_shell_version MATCHES "GNOME Shell ([0-9]+)" AND CMAKE_MATCH_1 LESS 45)
      set(_api legacy)
    endif()
  endif()
endif()
if(NOT _api MATCHES "^(esm|legacy)$")
  message(FATAL_ERROR "TAMSEL_GNOME_SHELL_API must be esm or legacy, not '${_api}'")
endif()
set(TAMSEL_GNOME_SHELL_API_USED ${_api})

set(_src ${PROJECT_SOURCE_DIR}/src/gnome-shell)
set(TAMSEL_SHELL_OUTPUTS "")
foreach(variant esm legacy)
  set(_dir ${CMAKE_BINARY_DIR}/gnome-shell/${variant}/${TAMSEL_SHELL_UUID})
  set(TAMSEL_SHELL_DIR_${variant} ${_dir})
  set(_out ${_dir}/extension.js ${_dir}/metadata.json ${_dir}/icons/tamsel-symbolic.svg)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -DVARIANT=${variant} -DSOURCE=${_src} -DOUT=${_dir}
            -DVERSION=${PROJECT_VERSION} -P ${_src}/assemble.cmake
    DEPENDS ${_src}/assemble.cmake ${_src}/tamsel.js ${_src}/extension-${variant}.js
            ${_src}/metadata.json.in ${_src}/icons/tamsel-symbolic.svg
    COMMENT "Assembling the GNOME Shell extension (${variant})"
    VERBATIM)
  list(APPEND TAMSEL_SHELL_OUTPUTS ${_out})
endforeach()
add_custom_target(tamsel_gnome_shell ALL DEPENDS ${TAMSEL_SHELL_OUTPUTS})
