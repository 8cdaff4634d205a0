#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvane need.
# Skips apt-get entirely when every package is already installed, and the locale generation when
# the Japanese locale exists, so a second run is quick.
set -euo pipefail

packages=(
    # Build tools.
    cmake g++ make ninja-build pkg-config clang libclang-rt-14-dev
    # Libraries of the program.
    qt6-base-dev qt6-multimedia-dev libqt6multimedia6 libqt6multimediawidgets6
    libicu-dev libjpeg62-turbo-dev
    # The date a photo or video was taken: exiv2 for images, GStreamer's discoverer for media.
    libexiv2-dev libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    # The journal of runs.
    libsqlite3-dev
    # The desktop's trash, where a converted image's source goes so that the conversion can be
    # undone: GIO.
    libglib2.0-dev
    # The translations: lupdate and lrelease with their CMake functions, which compile
    # translations/*.ts into the program, and Qt's own texts in Japanese for the standard buttons,
    # the calendar and the fields' menus.
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    # Media playback through Qt Multimedia's GStreamer backend.
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
    # gst-launch-1.0, which makes the test video of the preview tests.
    gstreamer1.0-tools
    # A Vulkan driver that needs no graphics card (lavapipe), which libvulkan1 recommends. Without
    # one, GStreamer's Vulkan device provider, started with every media player, fails to open an
    # instance and leaks its error text, which LeakSanitizer reports after the media tests.
    mesa-vulkan-drivers
    # The window's font.
    fonts-ipafont-gothic
    # Tests and benchmarks.
    libgtest-dev libgmock-dev libjpeg-turbo-progs tzdata ntfs-3g exfat-fuse exfatprogs fusefat xvfb xauth
    # Desktop integration: checking the launcher and metainfo, building the Debian package,
    # rendering the icon's PNG sizes (scripts/render-icons.sh).
    desktop-file-utils appstream binutils librsvg2-bin
    # The README's screenshot (scripts/take-screenshot.sh): the window under xvfb-run, driven by
    # xdotool and taken with import.
    imagemagick xdotool
    # The system's error texts in Japanese: glibc's translations and the means to generate the
    # Japanese locale they need (below).
    libc-l10n locales
)

if [[ $(id -u) -ne 0 ]]; then
    sudo=sudo
else
    sudo=
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# glibc gives its error texts in Japanese only under a Japanese locale, which Debian generates only
# on request: enable ja_JP.UTF-8 in /etc/locale.gen and generate it, unless it is there already.
if ! locale -a 2>/dev/null | grep -ix 'ja_JP\.utf-\?8' >/dev/null; then
    echo "Generating the ja_JP.UTF-8 locale"
    if grep -q '^# *ja_JP\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        $sudo sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
fi
