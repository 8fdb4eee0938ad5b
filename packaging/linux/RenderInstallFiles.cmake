# Runs at install time (cmake --install, cpack), never in a normal build: renders the icon
# sizes from the SVG and compresses the man pages and the changelog into KW_STAGE, where the
# install rules that follow pick them up. Needs rsvg-convert (librsvg2-bin) and gzip only when
# packaging.
#
# In: KW_ICON_SVG, KW_ICON_SIZES, KW_COMPRESS (files for KW_STAGE/gz/<name>.gz), KW_STAGE.

find_program(KW_RSVG_CONVERT rsvg-convert)
find_program(KW_GZIP gzip)
if(NOT KW_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert fehlt (Paket librsvg2-bin): tools/deps.sh librsvg2-bin")
endif()
if(NOT KW_GZIP)
    message(FATAL_ERROR "gzip fehlt")
endif()

# Only stale files are made again: cpack installs once per run, a developer many times.
function(kw_is_stale output input result)
    if(EXISTS "${output}" AND NOT "${input}" IS_NEWER_THAN "${output}")
        set(${result} FALSE PARENT_SCOPE)
    else()
        set(${result} TRUE PARENT_SCOPE)
    endif()
endfunction()

foreach(size IN LISTS KW_ICON_SIZES)
    set(png "${KW_STAGE}/icons/${size}x${size}/klingelwart.png")
    kw_is_stale("${png}" "${KW_ICON_SVG}" stale)
    if(stale)
        file(MAKE_DIRECTORY "${KW_STAGE}/icons/${size}x${size}")
        execute_process(
            COMMAND "${KW_RSVG_CONVERT}" --width=${size} --height=${size} --format=png
                    --output "${png}" "${KW_ICON_SVG}"
            RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            file(REMOVE "${png}")
            message(FATAL_ERROR "rsvg-convert: ${KW_ICON_SVG} (${size} px) lässt sich nicht "
                                "zeichnen: ${status}")
        endif()
    endif()
endforeach()

file(MAKE_DIRECTORY "${KW_STAGE}/gz")
foreach(page IN LISTS KW_COMPRESS)
    get_filename_component(name "${page}" NAME)
    set(gz "${KW_STAGE}/gz/${name}.gz")
    kw_is_stale("${gz}" "${page}" stale)
    if(stale)
        # -n: no name or time stamp inside, so the same page gives the same bytes.
        execute_process(COMMAND "${KW_GZIP}" -9nc "${page}" OUTPUT_FILE "${gz}"
                        RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            file(REMOVE "${gz}")
            message(FATAL_ERROR "gzip: ${page} lässt sich nicht packen: ${status}")
        endif()
    endif()
endforeach()
