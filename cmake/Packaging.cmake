# The Debian package built by `make package` (cpack -G DEB in the release build). Its dependencies
# are the Debian 12 runtime packages of every library the program links (exiv2 and GStreamer's
# discoverer among them, for the date a photo or video was taken) and of what it loads at run
# time: Qt's multimedia backend (the GStreamer plugin ships in libqt6multimedia6), the GStreamer
# plugins that play WAV, MP3, MJPEG AVI and MPEG video, the window's font, and Qt's own
# translations (the program's are compiled into it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <quorvane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename many files of one folder at once, with a preview and an undo")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane renames many files of one folder at once (serial numbers, search and replace,\n"
    "extensions), sets their timestamps and attributes and converts images between BMP and\n"
    "JPEG, always with a preview of the result first, a rollback and an undo.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/quorvane/quorvane")
set(QUORVANE_DEBIAN_DEPENDS
    "libc6 (>= 2.34)"
    "libstdc++6 (>= 12)"
    "libgcc-s1"
    "libqt6core6 (>= 6.4)"
    "libqt6gui6 (>= 6.4)"
    "libqt6widgets6 (>= 6.4)"
    "libopengl0"
    "libglx0"
    "libqt6multimedia6 (>= 6.4)"
    "libqt6multimediawidgets6 (>= 6.4)"
    "libqt6network6 (>= 6.4)"
    "libicu72"
    "libjpeg62-turbo (>= 1:2.0)"
    "libexiv2-27 (>= 0.27)"
    "libgstreamer1.0-0 (>= 1.20)"
    "libgstreamer-plugins-base1.0-0 (>= 1.20)"
    "libglib2.0-0"
    "libsqlite3-0 (>= 3.40)"
    "gstreamer1.0-plugins-base"
    "gstreamer1.0-plugins-good"
    "gstreamer1.0-plugins-bad"
    "gstreamer1.0-libav"
    "fonts-ipafont-gothic"
    "qt6-translations-l10n")
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${QUORVANE_DEBIAN_DEPENDS})
# Without it the window runs through XWayland on a Wayland session.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
