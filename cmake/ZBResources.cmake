# zb_add_resources(<target> <name> <prefix> <alias> <file> [<alias> <file> ...]): builds the files,
# which may be generated at build time, into <target> as the Qt resource <name> under :<prefix>/<alias>.
# rcc is run by hand rather than through AUTORCC, so that it waits for generated files; code that uses
# the resource calls Q_INIT_RESOURCE(<name>), which a static build needs.
function(zb_add_resources target name prefix)
    set(entries "")
    set(files "")
    set(pairs ${ARGN})
    while(pairs)
        list(POP_FRONT pairs alias file)
        string(APPEND entries "        <file alias=\"${alias}\">${file}</file>\n")
        list(APPEND files ${file})
    endwhile()
    set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${name}.qrc)
    file(CONFIGURE OUTPUT ${qrc}
         CONTENT "<RCC>\n    <qresource prefix=\"${prefix}\">\n@entries@    </qresource>\n</RCC>\n" @ONLY)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/qrc_${name}.cpp)
    add_custom_command(
        OUTPUT ${source}
        COMMAND $<TARGET_FILE:${ZB_QT}::rcc> --name ${name} --output ${source} ${qrc}
        DEPENDS ${qrc} ${files}
        COMMENT "Compiling the resources ${name}"
        VERBATIM)
    target_sources(${target} PRIVATE ${source})
    set_target_properties(${target} PROPERTIES AUTORCC OFF)
endfunction()
