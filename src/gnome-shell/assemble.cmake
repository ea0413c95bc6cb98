# One variant of the extension: its head (the imports of that GNOME Shell)
# with the shared code put in, its metadata, its icon.
#   cmake -DVARIANT=esm|legacy -DSOURCE=<this folder> -DOUT=<folder> -DVERSION=<x.y> -P assemble.cmake

if(VARIANT STREQUAL "esm")
  set(TAMSEL_SHELL_VERSIONS "\"45\", \"46\", \"47\", \"48\"")
else()
  set(TAMSEL_SHELL_VERSIONS "\"43\", \"44\"")
endif()
set(PROJECT_VERSION ${VERSION})

file(READ ${SOURCE}/extension-${VARIANT}.js head)
file(READ ${SOURCE}/tamsel.js shared)
string(REPLACE "// @TAMSEL_SHARED@\n" "${shared}" script "${head}")
if(script STREQUAL head)
  message(FATAL_ERROR "extension-${VARIANT}.js has no // @TAMSEL_SHARED@ line")
endif()
file(WRITE ${OUT}/extension.js "${script}")
configure_file(${SOURCE}/metadata.json.in ${OUT}/metadata.json @ONLY)
file(COPY ${SOURCE}/icons/tamsel-symbolic.svg DESTINATION ${OUT}/icons)
