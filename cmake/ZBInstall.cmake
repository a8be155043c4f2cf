# Installation: libraries, headers, the CMake package and a pkg-config file.
include(CMakePackageConfigHelpers)

set(ZB_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/${ZB_PACKAGE_NAME})

set(ZB_INSTALL_TARGETS ZebGuiCore ZebResource)
if(TARGET ZebGuiCoreTheme)
    list(APPEND ZB_INSTALL_TARGETS ZebGuiCoreTheme)
endif()

install(TARGETS ${ZB_INSTALL_TARGETS}
    EXPORT ZebGuiCoreTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${ZB_INSTALL_INCLUDEDIR})

list(TRANSFORM ZB_PUBLIC_HEADER_NAMES PREPEND ${PROJECT_SOURCE_DIR}/include/ OUTPUT_VARIABLE ZB_INSTALL_HEADERS)
install(FILES ${ZB_INSTALL_HEADERS} ${PROJECT_SOURCE_DIR}/include/ZBResource.h
              ${CMAKE_CURRENT_BINARY_DIR}/src/zebguicore_export.h
              ${CMAKE_CURRENT_BINARY_DIR}/resource/zebresource_export.h
        DESTINATION ${ZB_INSTALL_INCLUDEDIR})
if(TARGET ZebGuiCoreTheme)
    install(FILES ${PROJECT_SOURCE_DIR}/theme/ZBTheme.h
                  ${CMAKE_CURRENT_BINARY_DIR}/theme/zebguicoretheme_export.h
            DESTINATION ${ZB_INSTALL_INCLUDEDIR})
endif()

install(EXPORT ZebGuiCoreTargets
    NAMESPACE ZebGuiCore::
    FILE ${ZB_PACKAGE_NAME}Targets.cmake
    DESTINATION ${ZB_INSTALL_CMAKEDIR})

# Consumers need the Qt modules of the public headers; a static library also needs what it links.
set(ZB_QT_COMPONENTS "Core Gui Widgets")
set(ZB_PC_REQUIRES "${ZB_QT}Core ${ZB_QT}Gui ${ZB_QT}Widgets")
set(ZB_PC_REQUIRES_PRIVATE "")
if(QT_VERSION_MAJOR EQUAL 6 AND NOT BUILD_SHARED_LIBS)
    string(APPEND ZB_QT_COMPONENTS " StateMachine")
    set(ZB_PC_REQUIRES_PRIVATE "Qt6StateMachine")
endif()
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZebGuiCoreConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/${ZB_PACKAGE_NAME}Config.cmake
    INSTALL_DESTINATION ${ZB_INSTALL_CMAKEDIR}
    PATH_VARS ZB_TRANSLATIONS_INSTALLDIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${ZB_PACKAGE_NAME}ConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ZB_PACKAGE_NAME}Config.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/${ZB_PACKAGE_NAME}ConfigVersion.cmake
        DESTINATION ${ZB_INSTALL_CMAKEDIR})

configure_file(${PROJECT_SOURCE_DIR}/cmake/ZebGuiCore.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/${ZB_PACKAGE_NAME}.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ZB_PACKAGE_NAME}.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
