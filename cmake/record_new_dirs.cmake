# Run by `cmake --install` before anything is copied: notes which of the
# install's directories do not exist yet, so that uninstalling can remove the
# ones it created and leave alone those that were there before (/usr/local/bin
# and shared icon folders among them).
#
# In: TAMSEL_INSTALL_DIRS (relative to the prefix), TAMSEL_CREATED_DIRS_FILE.

set(_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_new "")
foreach(_dir IN LISTS TAMSEL_INSTALL_DIRS)
  if(IS_ABSOLUTE "${_dir}")
    # Outside the prefix: only the folder itself is ours to note.
    if(NOT EXISTS "$ENV{DESTDIR}${_dir}")
      list(APPEND _new "$ENV{DESTDIR}${_dir}")
    endif()
    continue()
  endif()
  set(_at "${_root}")
  string(REPLACE "/" ";" _parts "${_dir}")
  foreach(_part IN LISTS _parts)
    if(_part STREQUAL "")
      continue()
    endif()
    string(APPEND _at "/${_part}")
    if(NOT EXISTS "${_at}")
      list(APPEND _new "${_at}")
    endif()
  endforeach()
endforeach()

# Earlier installs' notes stay: a second install over the first finds the
# folders present, yet they are still ours.
set(_known "")
if(EXISTS "${TAMSEL_CREATED_DIRS_FILE}")
  file(STRINGS "${TAMSEL_CREATED_DIRS_FILE}" _known)
endif()
foreach(_path IN LISTS _new)
  list(FIND _known "${_path}" _index)  # runs without the project's policies
  if(_index EQUAL -1)
    file(APPEND "${TAMSEL_CREATED_DIRS_FILE}" "${_path}\n")
    list(APPEND _known "${_path}")
  endif()
endforeach()
