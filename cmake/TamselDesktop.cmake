# Desktop integration of the `tamsel` program: the manual and the icons made
# at build time, the manual page and the AppStream metainfo, what
# `cmake --install` puts where (the Debian package takes exactly that), and
# the macOS bundle. Included from the top level once the `tamsel` target
# exists.

include(GNUInstallDirs)
include(cmake/TamselMetainfo.cmake)
find_package(Qt6 6.4 REQUIRED COMPONENTS Gui)

# What the program reads at run time, found from the binary as
# ../share/tamsel: the manual, and the translations (<name>_<lang>.qm) in
# translations/. Not under share/doc: a system may leave documentation out
# (dpkg's path-exclude), and Help must still find the manual.
set(TAMSEL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tamsel)
set(TAMSEL_TRANSLATIONS_DIR ${TAMSEL_DATA_DIR}/translations)
include(cmake/TamselTranslations.cmake)

set(TAMSEL_SCREENSHOTS_URL "" CACHE STRING
    "https:// folder where docs/*.png are published, for the metainfo (empty: no screenshots)")
set(TAMSEL_METAINFO ${CMAKE_BINARY_DIR}/org.tamsel.Tamsel.metainfo.xml)
tamsel_write_metainfo(${TAMSEL_METAINFO} "${TAMSEL_SERVER_URL}" "${TAMSEL_SCREENSHOTS_URL}")

set(TAMSEL_MAN_PAGE ${CMAKE_BINARY_DIR}/tamsel.1)
configure_file(${PROJECT_SOURCE_DIR}/resources/tamsel.1.in ${TAMSEL_MAN_PAGE} @ONLY)

set(TAMSEL_ICON_SIZES 16 22 24 32 48 64 128 256)

# The tool that writes them; it draws the icon with the program's own artwork.
add_executable(tamsel-resources tools/tamsel_resources.cpp src/platform/qt/views/artwork.cpp)
target_include_directories(tamsel-resources PRIVATE src ${PROJECT_BINARY_DIR}/generated)
target_link_libraries(tamsel-resources PRIVATE Qt6::Gui)

# Next to the binary, where the program looks for it in a build tree.
set(TAMSEL_MANUAL ${CMAKE_BINARY_DIR}/Manual.pdf)
add_custom_command(
  OUTPUT ${TAMSEL_MANUAL}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=disabled:
          $<TARGET_FILE:tamsel-resources> manual
          ${PROJECT_SOURCE_DIR}/resources/manual.md ${TAMSEL_MANUAL}
  DEPENDS tamsel-resources ${PROJECT_SOURCE_DIR}/resources/manual.md
  COMMENT "Writing Manual.pdf"
  VERBATIM)

set(TAMSEL_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(TAMSEL_ICONS "")
foreach(size IN LISTS TAMSEL_ICON_SIZES)
  list(APPEND TAMSEL_ICONS ${TAMSEL_ICON_DIR}/${size}x${size}/apps/tamsel.png)
endforeach()
add_custom_command(
  OUTPUT ${TAMSEL_ICONS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=disabled:
          $<TARGET_FILE:tamsel-resources> icons ${TAMSEL_ICON_DIR} ${TAMSEL_ICON_SIZES}
  DEPENDS tamsel-resources
  COMMENT "Rendering the icon for the hicolor theme"
  VERBATIM)

add_custom_target(tamsel_desktop_files ALL DEPENDS ${TAMSEL_MANUAL} ${TAMSEL_ICONS})
# Building just `tamsel` gives a working Help command too.
add_dependencies(tamsel tamsel_desktop_files)

if(APPLE)
  # A menu-bar app: no Dock icon (LSUIElement), the manual in the bundle's
  # Resources, where the program looks for it.
  set_target_properties(tamsel PROPERTIES
    MACOSX_BUNDLE TRUE
    OUTPUT_NAME Tamsel
    MACOSX_BUNDLE_INFO_PLIST ${PROJECT_SOURCE_DIR}/resources/Info.plist.in
    MACOSX_BUNDLE_BUNDLE_NAME Tamsel
    MACOSX_BUNDLE_GUI_IDENTIFIER org.tamsel.Tamsel
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION})
  target_sources(tamsel PRIVATE ${TAMSEL_MANUAL})
  set_source_files_properties(${TAMSEL_MANUAL} PROPERTIES
    GENERATED TRUE MACOSX_PACKAGE_LOCATION Resources)
  target_sources(tamsel PRIVATE ${TAMSEL_QM_FILES})
  set_source_files_properties(${TAMSEL_QM_FILES} PROPERTIES
    GENERATED TRUE MACOSX_PACKAGE_LOCATION Resources/translations)
  install(TARGETS tamsel BUNDLE DESTINATION .)
  return()
endif()

# The GNOME Shell extension (TAMSEL_GNOME_SHELL_API picks its variant).
include(${PROJECT_SOURCE_DIR}/cmake/TamselGnomeShell.cmake)
set(TAMSEL_SHELL_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions/${TAMSEL_SHELL_UUID})

# ---- install: the program, its desktop entry, icons, manual, manual page,
# metainfo and the extension
set(TAMSEL_INSTALL_DIRS
  ${CMAKE_INSTALL_BINDIR}
  ${CMAKE_INSTALL_DATADIR}/applications
  ${CMAKE_INSTALL_DATADIR}/metainfo
  ${CMAKE_INSTALL_MANDIR}/man1
  ${TAMSEL_TRANSLATIONS_DIR}
  ${TAMSEL_SHELL_INSTALL_DIR}/icons)
foreach(size IN LISTS TAMSEL_ICON_SIZES)
  list(APPEND TAMSEL_INSTALL_DIRS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Before anything is copied: note the folders this install creates, for
# `make uninstall`.
install(CODE "set(TAMSEL_INSTALL_DIRS \"${TAMSEL_INSTALL_DIRS}\")
set(TAMSEL_CREATED_DIRS_FILE \"${CMAKE_BINARY_DIR}/install_created_dirs.txt\")")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/record_new_dirs.cmake)

install(TARGETS tamsel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/tamsel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN LISTS TAMSEL_ICON_SIZES)
  install(FILES ${TAMSEL_ICON_DIR}/${size}x${size}/apps/tamsel.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${TAMSEL_MANUAL} DESTINATION ${TAMSEL_DATA_DIR})
install(FILES ${TAMSEL_QM_FILES} DESTINATION ${TAMSEL_TRANSLATIONS_DIR})
install(FILES ${TAMSEL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TAMSEL_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${TAMSEL_SHELL_DIR_${TAMSEL_GNOME_SHELL_API_USED}}/
        DESTINATION ${TAMSEL_SHELL_INSTALL_DIR})
