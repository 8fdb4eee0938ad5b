# Project-wide warning and sanitizer flags, applied to every target through this function.
function(kw_target_defaults target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive-)
        if(KW_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-qual -Wformat=2
            -Wimplicit-fallthrough -Wundef
            # Designated initialisers rely on member defaults on purpose.
            -Wno-missing-field-initializers)
        if(KW_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
            # GCC 12 at -O3 (Release) reports overlapping copies and uninitialised members inside
            # inlined std::string code that cannot happen; they stay warnings there.
            if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
                target_compile_options(${target} PRIVATE
                    $<$<CONFIG:Release>:-Wno-error=restrict -Wno-error=maybe-uninitialized>)
            endif()
        endif()
    endif()
endfunction()

if(KW_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
