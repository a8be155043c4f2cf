# Warnings for everything built in this tree, and the optional sanitizer build.
add_library(zb_build_flags INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(zb_build_flags INTERFACE -Wall -Wextra -Woverloaded-virtual -Wshadow=local
                                                    -Wnon-virtual-dtor)
    if(ZB_WERROR)
        target_compile_options(zb_build_flags INTERFACE -Werror)
    endif()
    if(ZB_SANITIZE)
        target_compile_options(zb_build_flags INTERFACE -fsanitize=address,undefined
                                                        -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
        target_link_options(zb_build_flags INTERFACE -fsanitize=address,undefined)
    endif()
endif()
