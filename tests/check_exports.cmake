# Checks that a shared library exports its public classes and nothing else.
#   cmake -DNM=<nm> -DLIBRARY=<library file> -DHEADERS=<folder of public headers> -DEXPORT_MACRO=<macro>
#         -P check_exports.cmake
# A public class is one declared "class <EXPORT_MACRO> Name" in a header of HEADERS. Every exported
# symbol must belong to one of them (members, vtables, type information, thunks), and each of them
# must export something.
cmake_minimum_required(VERSION 3.16)
file(GLOB headers ${HEADERS}/*.h)
set(public "")
foreach(header IN LISTS headers)
    file(STRINGS ${header} lines REGEX "class ${EXPORT_MACRO} [A-Za-z_0-9]+")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE ".*class ${EXPORT_MACRO} ([A-Za-z_0-9]+).*" "\\1" name "${line}")
        list(APPEND public ${name})
    endforeach()
endforeach()
if(NOT public)
    message(FATAL_ERROR "no class marked ${EXPORT_MACRO} in ${HEADERS}")
endif()

execute_process(COMMAND ${NM} -D -C --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE ";" "," symbols "${symbols}")
string(REPLACE "\n" ";" symbols "${symbols}")

set(unexpected "")
set(seen "")
foreach(line IN LISTS symbols)
    # "<address> <type> <name>"
    string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
    string(REGEX REPLACE "^((vtable|typeinfo|typeinfo name|guard variable) for |(non-)?virtual thunk to )" ""
                         name "${name}")
    string(REGEX MATCH "^[A-Za-z_][A-Za-z_0-9]*" owner "${name}")
    if(owner STREQUAL "")
        continue()
    elseif(owner IN_LIST public)
        list(APPEND seen ${owner})
    else()
        list(APPEND unexpected "${name}")
    endif()
endforeach()

foreach(class IN LISTS public)
    if(NOT class IN_LIST seen)
        list(APPEND unexpected "(nothing of the public class ${class})")
    endif()
endforeach()
if(unexpected)
    list(JOIN unexpected "\n  " text)
    message(FATAL_ERROR "${LIBRARY} exports more or less than its public classes:\n  ${text}")
endif()
list(REMOVE_DUPLICATES seen)
list(LENGTH seen count)
message(STATUS "${LIBRARY}: exactly the ${count} public classes")
