# CPack settings for klingelwart_<version>_<arch>.deb (cpack --config <build>/CPackConfig.cmake).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME klingelwart)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Die Klingelwart-Entwickler")
set(CPACK_PACKAGE_CONTACT "Die Klingelwart-Entwickler <klingelwart@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only the package's own tree; the build machine's umask must not leak into it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt runtime packages come from the linked libraries (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (standard buttons, file dialog, context menus) in German.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
# xdg-open opens the web addresses that a command template may hold.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# The SIP password needs a Secret Service on the session bus (libsecret itself comes from
# shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-keyring | keepassxc")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Anrufanzeige für Softphones / caller display for softphones")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Klingelwart zeigt bei einem Anruf mit Rufnummernanzeige die Nummer des
Anrufers und die angerufene Leitung und startet auf Knopfdruck ein Programm
oder eine Webadresse mit beiden Nummern. Das Softphone meldet Anrufe mit
klingelwart-ring.
.
Klingelwart shows the caller number and the called line of an incoming call
and, at the press of a button, starts a program or a web address with both
numbers. The softphone reports calls with klingelwart-ring.")

include(CPack)
