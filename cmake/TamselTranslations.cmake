# The program's texts in other languages. lupdate gathers them from the
# sources into translations/tamsel_<lang>.ts (`cmake --build build --target
# update_translations`), lrelease compiles each into
# <build>/translations/tamsel_<lang>.qm, where the program finds them next to
# the binary; installed under ${TAMSEL_TRANSLATIONS_DIR}.

find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

set(TAMSEL_LANGUAGES de fr es)
set(TAMSEL_TS_FILES "")
foreach(lang IN LISTS TAMSEL_LANGUAGES)
  list(APPEND TAMSEL_TS_FILES ${PROJECT_SOURCE_DIR}/translations/tamsel_${lang}.ts)
endforeach()

file(GLOB_RECURSE TAMSEL_TEXT_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/src/*.mm)
# The same list for the test that no text is left untranslated.
set(TAMSEL_TEXT_SOURCES_LIST ${CMAKE_BINARY_DIR}/translations/sources.lst)
list(JOIN TAMSEL_TEXT_SOURCES "\n" _tamsel_sources_lines)
file(CONFIGURE OUTPUT ${TAMSEL_TEXT_SOURCES_LIST} CONTENT "${_tamsel_sources_lines}\n")
# Options shared with that test: no line numbers (a moved text changes
# nothing), no texts the sources no longer have.
set(TAMSEL_LUPDATE_OPTIONS -no-obsolete -locations none)

# The includes matter: a tr() declared in a header takes its context from there.
qt_add_lupdate(tamsel TS_FILES ${TAMSEL_TS_FILES} SOURCES ${TAMSEL_TEXT_SOURCES}
               INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/src OPTIONS ${TAMSEL_LUPDATE_OPTIONS})
set_source_files_properties(${TAMSEL_TS_FILES} PROPERTIES
  OUTPUT_LOCATION ${CMAKE_BINARY_DIR}/translations)
qt_add_lrelease(tamsel TS_FILES ${TAMSEL_TS_FILES} QM_FILES_OUTPUT_VARIABLE TAMSEL_QM_FILES
                OPTIONS -silent)
