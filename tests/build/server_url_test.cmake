# cmake -DSOURCE_DIR=<tree> -DWORK_DIR=<scratch> -P server_url_test.cmake
# Which server roots a build accepts, then one real configure that refuses.

include(${SOURCE_DIR}/cmake/TamselServerUrl.cmake)

set(failures 0)
# url | accepted
foreach(row IN ITEMS
    "|1" "https://example.org|1" "https://example.org:8443/tamsel/|1" "http://127.0.0.1:1234|1"
    "http://127.255.0.1|1" "http://localhost:47613|1" "http://[::1]:80|1"
    "http://example.org|0" "http://127.0.0.1.example.org|0" "http://localhost.example.org|0"
    "http://128.0.0.1|0" "http://127.0.0.256|0" "http://[::2]|0" "ftp://example.org|0"
    "https://example.org/\";system(\"id|0" "https://exa mple.org|0" "https://a..b|0"
    "https://user@example.org|0" "https://example.org/?q=1|0" "https://example.org:0|0"
    "https://example.org:65536|0" "HTTP://example.org|0")
  string(FIND "${row}" "|" bar REVERSE)
  string(SUBSTRING "${row}" 0 ${bar} url)
  math(EXPR flag "${bar} + 1")
  string(SUBSTRING "${row}" ${flag} -1 accepted)
  tamsel_server_url_problem("${url}" problem)
  if((accepted AND problem) OR (NOT accepted AND NOT problem))
    message(SEND_ERROR "${url}: expected accepted=${accepted}, got problem '${problem}'")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()

# The check runs in the real configure, before anything is built.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -DTAMSEL_WITH_QT=OFF
          -DBUILD_TESTING=OFF -DTAMSEL_SERVER_URL=http://example.org
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${WORK_DIR})
if(result EQUAL 0 OR NOT err MATCHES "TAMSEL_SERVER_URL \"http://example.org\"[ \n]+uses[ \n]+plain[ \n]+http")
  message(SEND_ERROR "configure with http://example.org was not refused:\n${err}")
endif()
