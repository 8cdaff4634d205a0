#!/usr/bin/env bash
# Installs this build tree into a temporary prefix with cmake --install and asks the installed
# program for its version and help, as a user would after installing it.
# Usage: installed-version.sh BUILD_DIR VERSION CMAKE
set -euo pipefail

build=$1 version=$2 cmake=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/quorvane" --version)
if [[ "$answer" != "quorvane $version" ]]; then
    echo "FAIL: the installed quorvane --version answers '$answer', not 'quorvane $version'"
    exit 1
fi
echo "The installed program answers: $answer"
