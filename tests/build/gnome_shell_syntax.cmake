# Parses both assembled variants of the GNOME Shell extension: the one for
# GNOME 45 and later as an ES module, the one for 43 and 44 as a script.
#   cmake -DDIR=<build>/gnome-shell -DWORK_DIR=<scratch> -P gnome_shell_syntax.cmake

find_program(NODE node REQUIRED)
set(uuid tamsel@tamsel.org)
file(MAKE_DIRECTORY ${WORK_DIR})
# node tells a module from a script by the file's name.
file(COPY_FILE ${DIR}/esm/${uuid}/extension.js ${WORK_DIR}/extension.mjs)
foreach(file ${WORK_DIR}/extension.mjs ${DIR}/legacy/${uuid}/extension.js)
  execute_process(COMMAND ${NODE} --check ${file} RESULT_VARIABLE status ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${file} does not parse:\n${error}")
  endif()
  file(READ ${file} text)
  if(text MATCHES "@TAMSEL_SHARED@" OR NOT text MATCHES "class TamselClient")
    message(FATAL_ERROR "${file} lacks the shared code")
  endif()
endforeach()
foreach(variant esm legacy)
  file(READ ${DIR}/${variant}/${uuid}/metadata.json metadata)
  string(JSON shells GET "${metadata}" shell-version)
  message(STATUS "${variant}: GNOME Shell ${shells}")
endforeach()
