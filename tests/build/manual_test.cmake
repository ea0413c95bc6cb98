# cmake -DTOOL=<tamsel-resources> -DIMAGE=<a png> -DWORK_DIR=<scratch> -P manual_test.cmake
# A manual that names a file of the build machine as an image, in HTML and in
# Markdown, gets no image into its PDF.

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/hostile.md "# Manual\n\n<img src=\"${IMAGE}\">\n\n![icon](${IMAGE})\n")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=disabled:
          ${TOOL} manual ${WORK_DIR}/hostile.md ${WORK_DIR}/hostile.pdf
  RESULT_VARIABLE result)
file(STRINGS ${WORK_DIR}/hostile.pdf images REGEX "/Subtype */Image")
if(NOT result EQUAL 0 OR images)
  message(SEND_ERROR "the manual tool failed (${result}) or embedded an image: ${images}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
