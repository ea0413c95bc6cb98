# The AppStream metainfo, written from resources/org.tamsel.Tamsel.metainfo.xml.in.
#
#   tamsel_write_metainfo(<out> <server url> <screenshots url>)
# AppStream takes screenshots only as https addresses, and Tamsel has no
# public web site of its own: the screenshots (docs/*.png) are listed only
# when the build says where they are published (TAMSEL_SCREENSHOTS_URL), and
# the home page only when the build has an https server. Without a server the
# program shares nothing at all, and the content rating says so.
#
# Also runs as a script, for the tests:
#   cmake -DOUT=<file> -DSERVER_URL=<url> -DSCREENSHOTS_URL=<url> -P TamselMetainfo.cmake

include(${CMAKE_CURRENT_LIST_DIR}/TamselServerUrl.cmake)
set(TAMSEL_METAINFO_TEMPLATE
    ${CMAKE_CURRENT_LIST_DIR}/../resources/org.tamsel.Tamsel.metainfo.xml.in)

# docs/ picture, its caption; the first is the one centres show first.
set(TAMSEL_SCREENSHOTS
  "break-dimmed|A break: the screen dimmed for a few minutes"
  "indicator|The indicator on light and dark backgrounds, from the start of a work period to a break that is near"
  "tray-menu|The tray menu with its Pause submenu"
  "preferences|The preferences"
  "welcome|The welcome window of the first launch")

function(tamsel_write_metainfo out server_url screenshots_url)
  tamsel_server_url_problem("${screenshots_url}" problem)
  if(problem OR NOT (screenshots_url STREQUAL "" OR screenshots_url MATCHES "^https://"))
    message(FATAL_ERROR "TAMSEL_SCREENSHOTS_URL \"${screenshots_url}\" is no https:// address "
                        "with letters, digits and . _ ~ / - only.")
  endif()
  string(REGEX REPLACE "/+$" "" screenshots_url "${screenshots_url}")
  string(REGEX REPLACE "/+$" "" server_url "${server_url}")

  if(server_url STREQUAL "")
    set(TAMSEL_METAINFO_CONTENT_RATING "  <content_rating type=\"oars-1.1\"/>")
  else()
    # The version check, and one first-launch event with a random number.
    string(CONCAT TAMSEL_METAINFO_CONTENT_RATING "  <content_rating type=\"oars-1.1\">\n"
      "    <content_attribute id=\"social-info\">moderate</content_attribute>\n"
      "  </content_rating>")
  endif()

  set(web "")
  if(server_url MATCHES "^https://")
    string(APPEND web "  <url type=\"homepage\">${server_url}/</url>\n")
  endif()
  if(NOT screenshots_url STREQUAL "")
    string(APPEND web "  <screenshots>\n")
    set(type " type=\"default\"")
    foreach(shot IN LISTS TAMSEL_SCREENSHOTS)
      string(REPLACE "|" ";" shot "${shot}")
      list(GET shot 0 name)
      list(GET shot 1 caption)
      string(APPEND web "    <screenshot${type}>\n"
                        "      <caption>${caption}</caption>\n"
                        "      <image>${screenshots_url}/${name}.png</image>\n"
                        "    </screenshot>\n")
      set(type "")
    endforeach()
    string(APPEND web "  </screenshots>\n")
  endif()
  string(REGEX REPLACE "\n$" "" TAMSEL_METAINFO_WEB "${web}")
  configure_file(${TAMSEL_METAINFO_TEMPLATE} ${out} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  tamsel_write_metainfo("${OUT}" "${SERVER_URL}" "${SCREENSHOTS_URL}")
endif()
