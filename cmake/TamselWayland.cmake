# Wayland client bindings, generated at build time by wayland-scanner from the
# protocol XML installed on this machine (libwayland-dev, wayland-protocols,
# plasma-wayland-protocols). No protocol code is copied by hand.
#
#   tamsel_wayland_protocol(<target> <xml> <name>)
# adds <name>-client-protocol.h (on the target's include path) and the
# generated <name>-protocol.c (compiled as C) to <target>.

enable_language(C)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WaylandClient REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(TAMSEL_WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT TAMSEL_WAYLAND_SCANNER)
  find_program(TAMSEL_WAYLAND_SCANNER wayland-scanner REQUIRED)
endif()
pkg_get_variable(TAMSEL_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
if(NOT TAMSEL_WAYLAND_PROTOCOLS)
  message(FATAL_ERROR "wayland-protocols not found (Debian: apt-get install wayland-protocols)")
endif()
find_package(PlasmaWaylandProtocols QUIET)
if(NOT PLASMA_WAYLAND_PROTOCOLS_DIR)
  set(PLASMA_WAYLAND_PROTOCOLS_DIR /usr/share/plasma-wayland-protocols)
endif()
if(NOT EXISTS ${PLASMA_WAYLAND_PROTOCOLS_DIR}/idle.xml)
  message(FATAL_ERROR "plasma-wayland-protocols not found "
                      "(Debian: apt-get install plasma-wayland-protocols)")
endif()

function(tamsel_wayland_protocol target xml name)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
  set(header ${dir}/${name}-client-protocol.h)
  set(code ${dir}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${TAMSEL_WAYLAND_SCANNER} client-header ${xml} ${header}
    DEPENDS ${xml} VERBATIM)
  add_custom_command(OUTPUT ${code}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${TAMSEL_WAYLAND_SCANNER} private-code ${xml} ${code}
    DEPENDS ${xml} VERBATIM)
  target_sources(${target} PRIVATE ${header} ${code})
  target_include_directories(${target} PUBLIC ${dir})
endfunction()
