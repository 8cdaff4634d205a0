#!/usr/bin/env bash
# Builds the Debian package from this build tree with CPack (the install rules and package settings
# of the release package, over this build's binary), unpacks it with dpkg -x into a temporary root
# and checks what a desktop needs: the program on the PATH answering --version, a valid launcher
# that opens folders, the icon in every size, valid AppStream metainfo, and a Depends line that
# names the package of every library the program links.
# Usage: check-package.sh BUILD_DIR APP_ID VERSION CPACK
# Exits 77 (skipped) when the packaging or validation tools are missing.
set -euo pipefail

build=$1 app_id=$2 version=$3 cpack=$4

for tool in dpkg-deb dpkg readelf desktop-file-validate appstreamcli "$cpack"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (Debian desktop-file-utils, appstream, dpkg, binutils)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

(cd "$build" && "$cpack" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    echo "FAIL: cpack could not build the package"
    exit 1
}
arch=$(dpkg --print-architecture)
deb="$work/package/quorvane_${version}_${arch}.deb"
if [[ ! -f "$deb" ]]; then
    ls "$work/package"
    echo "FAIL: no package named quorvane_${version}_${arch}.deb"
    exit 1
fi

# The control fields.
[[ $(dpkg-deb -f "$deb" Package) == quorvane ]] || fail "the package is not named quorvane"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package version is not $version"
[[ $(dpkg-deb -f "$deb" Architecture) == "$arch" ]] || fail "the package architecture is not $arch"
depends=$(dpkg-deb -f "$deb" Depends)
depends_on() {
    tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' | grep -qxF "$1"
}
for runtime in libqt6widgets6 libqt6multimedia6 gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
    gstreamer1.0-libav fonts-ipafont-gothic qt6-translations-l10n; do
    depends_on "$runtime" || fail "Depends lacks $runtime, which the program loads at run time"
done

root="$work/root"
dpkg -x "$deb" "$root"

# The program, on the PATH of an installed system.
binary="$root/usr/bin/quorvane"
if [[ ! -x "$binary" ]]; then
    fail "usr/bin/quorvane is missing or not executable"
else
    answer=$("$binary" --version) || fail "quorvane --version does not exit with 0"
    [[ "$answer" == "quorvane $version" ]] || fail "quorvane --version answers '$answer'"
    help=$("$binary" --help) || fail "quorvane --help does not exit with 0"
    [[ $(wc -l <<<"$help") -eq 1 && "$help" == *FOLDER* ]] || fail "quorvane --help answers '$help'"

    # Every library the program links comes from a package that Depends names. The sanitizer
    # runtimes belong to the test build only.
    libraries=$(ldd "$binary")
    for soname in $(readelf -d "$binary" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
        case "$soname" in libasan.so* | libubsan.so*) continue ;; esac
        path=$(awk -v name="$soname" '$1 == name && $3 ~ /^\// { print $3 }' <<<"$libraries")
        owner=$( { dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || true; } | head -n1 | cut -d: -f1)
        if [[ -z "$owner" ]]; then
            fail "no Debian package owns $soname ($path)"
        elif ! depends_on "$owner"; then
            fail "Depends lacks $owner, which holds $soname"
        fi
    done
fi

# The launcher.
desktop="$root/usr/share/applications/$app_id.desktop"
if [[ ! -f "$desktop" ]]; then
    fail "usr/share/applications/$app_id.desktop is missing"
else
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher"
    for line in "Name=Quorvane" "Exec=quorvane %f" "Icon=$app_id" "Categories=Utility;FileTools;" \
        "MimeType=inode/directory;"; do
        grep -qxF "$line" "$desktop" || fail "the launcher lacks the line $line"
    done
    grep -q '^Comment=.' "$desktop" || fail "the launcher has no English comment"
    grep -q '^Comment\[ja\]=.' "$desktop" || fail "the launcher has no Japanese comment"
fi

# The icon: the drawn SVG and a PNG of each size, as wide and high as its folder says.
icons="$root/usr/share/icons/hicolor"
[[ -s "$icons/scalable/apps/$app_id.svg" ]] || fail "the scalable icon is missing"
for size in 16 32 48 64 128 256; do
    png="$icons/${size}x${size}/apps/$app_id.png"
    if [[ ! -f "$png" ]]; then
        fail "the ${size}x${size} icon is missing"
        continue
    fi
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [[ "$width" == "$size" && "$height" == "$size" ]] || fail "the ${size}x${size} icon is ${width}x${height}"
done

# The AppStream metainfo.
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
if [[ ! -f "$metainfo" ]]; then
    fail "usr/share/metainfo/$app_id.metainfo.xml is missing"
else
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
    grep -qF "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
    grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo names no release $version"
    grep -q '<image>https://.*/docs/screenshot.png</image>' "$metainfo" || fail "the metainfo shows no screenshot"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "The package $(basename "$deb") installs the program, launcher, icons and metainfo; all valid."
