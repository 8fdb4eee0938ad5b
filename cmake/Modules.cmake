# Modules: what only a switched-on call source needs (sofia-sip, Qt Network, libsecret), built
# apart and loaded at run time, so that a plain start loads none of it.
include(GNUInstallDirs)

# Debian's place for a program's private libraries: /usr/lib/<triplet>/klingelwart.
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(KW_MODULE_INSTALL_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/klingelwart)
else()
    set(KW_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/klingelwart)
endif()
# The same seen from the installed program's directory: the program finds them from where it is.
file(RELATIVE_PATH KW_MODULE_SUBDIRECTORY /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${KW_MODULE_INSTALL_DIR})

# A module `file`.so next to the program in the build tree, exporting only its entry point.
function(kw_module target file)
    add_library(${target} MODULE ${ARGN})
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        OUTPUT_NAME ${file}
        LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/app
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    # Nothing of the static libraries inside is exported, and nothing is left unresolved (in the
    # sanitizer and fuzz builds their runtime comes with the program).
    target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL)
    if(NOT KW_SANITIZE AND NOT KW_BUILD_FUZZ)
        target_link_options(${target} PRIVATE -Wl,-z,defs)
    endif()
    kw_target_defaults(${target})
endfunction()
