# The maker's server root is pasted into the program as a C string, and the
# program believes what comes from there (a version to offer, a site to
# open). So it must be a plain web address, and plain http only where the
# traffic never leaves this machine (the tests' own server).

# Sets `out` to what is wrong with `url` as a server root, empty when nothing
# is. An empty url is fine: a build without a server.
function(tamsel_server_url_problem url out)
  set(problem "")
  # Letters, digits and . _ ~ / - only: nothing that could end the C string
  # or start a query.
  set(host_re "[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?|\\[::1\\]")
  if(url STREQUAL "")
  elseif(NOT url MATCHES "^(https?)://(${host_re})(:[0-9]+)?(/[A-Za-z0-9._~/-]*)?$")
    string(CONCAT problem "is not a plain web address: expected https://host[:port][/path] "
                          "with letters, digits and . _ ~ / - only")
  else()
    set(scheme "${CMAKE_MATCH_1}")
    string(TOLOWER "${CMAKE_MATCH_2}" host)
    string(REGEX REPLACE "^:" "" port "${CMAKE_MATCH_4}")
    string(LENGTH "${port}" port_digits)
    if(host MATCHES "\\.\\.")
      set(problem "has an empty part in its host name")
    elseif(NOT port STREQUAL "" AND (port_digits GREATER 5 OR port EQUAL 0 OR port GREATER 65535))
      set(problem "has no valid port (1 to 65535)")
    endif()
    if(NOT problem AND scheme STREQUAL "http")
      set(loopback FALSE)
      if(host STREQUAL "localhost" OR host STREQUAL "[::1]")
        set(loopback TRUE)
      elseif(host MATCHES "^127\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        set(loopback TRUE)
        foreach(part "${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}" "${CMAKE_MATCH_3}")
          string(LENGTH "${part}" part_length)
          if(part_length GREATER 3 OR part GREATER 255)
            set(loopback FALSE)
          endif()
        endforeach()
      endif()
      if(NOT loopback)
        string(CONCAT problem "uses plain http to a host that is not this machine: anyone on "
                              "the way could offer a false update. Use https:// (plain http is "
                              "for 127.0.0.1, localhost and [::1] only)")
      endif()
    endif()
  endif()
  set(${out} "${problem}" PARENT_SCOPE)
endfunction()

# Stops the configure when a server root named in `variable` has a problem.
function(tamsel_check_server_url variable)
  tamsel_server_url_problem("${${variable}}" problem)
  if(problem)
    message(FATAL_ERROR "${variable} \"${${variable}}\" ${problem}.")
  endif()
endfunction()
