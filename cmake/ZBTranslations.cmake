# The library's translations: translations/zebguicore_<language>.ts, compiled with lrelease into .qm
# files that are built into the library (ZBTranslator loads them) and installed under
# share/ZebGuiCore/translations.
#
# After adding or changing a user-visible text, run
#   cmake --build <build folder> --target update_translations
# which brings every .ts file up to date with the sources, then translate the new entries (Qt
# Linguist, or by hand: they are marked type="unfinished"). The test zb_translations fails while a
# text is missing from a .ts file or left untranslated.
find_package(${ZB_QT} REQUIRED COMPONENTS LinguistTools)

set(ZB_TS_FILES ${PROJECT_SOURCE_DIR}/translations/zebguicore_de.ts ${PROJECT_SOURCE_DIR}/translations/zebguicore_fr.ts)
set(ZB_TRANSLATIONS_INSTALLDIR ${CMAKE_INSTALL_DATADIR}/ZebGuiCore${ZB_SUFFIX}/translations)
# What lupdate reads and how it writes: the same for the update target and for the check.
set(ZB_LUPDATE_ARGS -no-obsolete -locations none -extensions h,cpp
                    ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)

add_custom_target(update_translations
    COMMAND $<TARGET_FILE:${ZB_QT}::lupdate> ${ZB_LUPDATE_ARGS} -ts ${ZB_TS_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Updating the translation sources from the library's texts"
    VERBATIM)

# zb_add_translations(<target>): compiles the .qm files, builds them into <target> as the resource
# "zebguicore_translations" (under :/zebguicore/translations) and installs them.
function(zb_add_translations target)
    set(qm_files "")
    set(resources "")
    # lrelease does not create the folder it writes into, and Makefile generators do not either.
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/translations)
    foreach(ts IN LISTS ZB_TS_FILES)
        get_filename_component(name ${ts} NAME_WE)
        set(qm ${CMAKE_CURRENT_BINARY_DIR}/translations/${name}.qm)
        add_custom_command(
            OUTPUT ${qm}
            COMMAND $<TARGET_FILE:${ZB_QT}::lrelease> -silent ${ts} -qm ${qm}
            DEPENDS ${ts}
            COMMENT "Compiling the translation ${name}"
            VERBATIM)
        list(APPEND qm_files ${qm})
        list(APPEND resources ${name}.qm ${qm})
    endforeach()
    zb_add_resources(${target} zebguicore_translations /zebguicore/translations ${resources})
    install(FILES ${qm_files} DESTINATION ${ZB_TRANSLATIONS_INSTALLDIR})
endfunction()
