# The hardening Debian gives its own packages (dpkg-buildflags with hardening=+all), for Linux
# builds that run without sanitizers: those bring their own instrumentation and do not mix with it.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR KW_SANITIZE OR KW_BUILD_FUZZ)
    return()
endif()

add_compile_options(
    -fstack-protector-strong -fstack-clash-protection -fcf-protection
    -Wformat -Werror=format-security -Wdate-time
    # Fortify needs the optimiser; without it the C library only warns.
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro -Wl,-z,now)

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
