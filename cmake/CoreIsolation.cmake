# core/ may link nothing but the standard library and the header-only platform seams. Checked
# here so that a careless target_link_libraries fails the configure step, not a review.
get_target_property(_kw_core_links kw_core LINK_LIBRARIES)
if(_kw_core_links AND NOT _kw_core_links STREQUAL "kw_platform_api")
    message(FATAL_ERROR "kw_core must link only kw_platform_api, not: ${_kw_core_links}")
endif()
get_target_property(_kw_api_links kw_platform_api INTERFACE_LINK_LIBRARIES)
if(_kw_api_links)
    message(FATAL_ERROR "kw_platform_api must stay header-only, not link: ${_kw_api_links}")
endif()

# The POSIX backends build without Qt; whatever needs Qt belongs in platform/qt.
if(TARGET kw_posix)
    foreach(_kw_posix_target kw_posix kw_ring_protocol)
        get_target_property(_kw_posix_links ${_kw_posix_target} LINK_LIBRARIES)
        if(_kw_posix_links MATCHES "Qt")
            message(FATAL_ERROR "${_kw_posix_target} must not link Qt: ${_kw_posix_links}")
        endif()
    endforeach()
endif()

# The seams stand below core, which builds on them: a seam header includes no header of core, the
# presenters or the program. The filled command is the one type that still climbs; its text is
# built in kw_core.
file(GLOB _kw_seam_headers "${PROJECT_SOURCE_DIR}/platform/*.h")
foreach(_kw_seam ${_kw_seam_headers})
    file(STRINGS "${_kw_seam}" _kw_climbing REGEX "^#include \"(core|ui|app)/")
    list(FILTER _kw_climbing EXCLUDE REGEX "\"core/filled_command.h\"")
    if(_kw_climbing)
        message(FATAL_ERROR "${_kw_seam} includes above the seams: ${_kw_climbing}")
    endif()
endforeach()
