# Warnings for everything built in this tree, and the optional sanitizer build.
add_library(zb_build_flags INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(zb_build_flags INTERFACE -Wall -Wextra -Woverloaded-virtual -Wnon-virtual-dtor)
    # A local that hides another local; GCC and Clang name the warning differently.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(zb_build_flags INTERFACE -Wshadow=local)
    else()
        target_compile_options(zb_build_flags INTERFACE -Wshadow-uncaptured-local)
    endif()
    if(ZB_WERROR)
        target_compile_options(zb_build_flags INTERFACE -Werror)
    endif()
    if(ZB_SANITIZE)
        target_compile_options(zb_build_flags INTERFACE -fsanitize=address,undefined
                                                        -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
        target_link_options(zb_build_flags INTERFACE -fsanitize=address,undefined)
    endif()
endif()

# zb_limit_exports(<target>): a shared library exports the symbols of its own classes and nothing
# else, whatever the build type (see ZBExports.map).
function(zb_limit_exports target)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY" AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
        set(map ${PROJECT_SOURCE_DIR}/cmake/ZBExports.map)
        target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
    endif()
endfunction()
