# Checks that the translation sources are complete: lupdate, run on copies of them with the options of
# the update_translations target, finds no text that they lack and none that they keep for nothing,
# and no entry is left untranslated.
#   cmake -DCONFIG=<file setting LUPDATE, LUPDATE_ARGS and TS_FILES> -DWORK=<scratch folder>
#         -P check_translations.cmake
cmake_minimum_required(VERSION 3.16)
include(${CONFIG})
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(problems "")
set(copies "")
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name ${ts} NAME)
    file(COPY ${ts} DESTINATION ${WORK})
    list(APPEND copies ${WORK}/${name})
    file(STRINGS ${ts} unfinished REGEX "type=\"unfinished\"")
    list(LENGTH unfinished count)
    if(count GREATER 0)
        list(APPEND problems "${name}: ${count} untranslated")
    endif()
endforeach()
if(NOT copies)
    message(FATAL_ERROR "no translation sources")
endif()

execute_process(COMMAND ${LUPDATE} ${LUPDATE_ARGS} -ts ${copies}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}${errors}")
endif()
# Per file: "Updating 'x.ts'... Found 28 source text(s) (1 new and 27 already existing)", and with
# -no-obsolete "Removed 2 obsolete entries" for texts that are gone from the sources.
string(REPLACE "Updating '" ";" blocks "${output}")
list(REMOVE_AT blocks 0)
list(LENGTH blocks files)
list(LENGTH copies expected)
if(NOT files EQUAL expected)
    list(APPEND problems "unexpected lupdate output:\n${output}${errors}")
endif()
foreach(block IN LISTS blocks)
    string(REGEX MATCH "^[^']*" file "${block}")
    get_filename_component(file "${file}" NAME)
    if(block MATCHES "\\(([0-9]+) new" AND NOT CMAKE_MATCH_1 EQUAL 0)
        list(APPEND problems "${file}: ${CMAKE_MATCH_1} text(s) of the sources missing")
    endif()
    if(block MATCHES "Removed ([0-9]+) obsolete" AND NOT CMAKE_MATCH_1 EQUAL 0)
        list(APPEND problems "${file}: ${CMAKE_MATCH_1} text(s) no longer in the sources")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The translations are not complete:\n  ${text}\n"
                        "Run the update_translations target and translate the entries marked unfinished.")
endif()
message(STATUS "${expected} translations, complete")
