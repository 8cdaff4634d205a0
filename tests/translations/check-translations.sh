#!/usr/bin/env bash
# Fails when a translation file lacks a text of the sources, keeps one they no longer have, or holds
# an unfinished entry. lupdate runs over the sources into a copy of each file, with the arguments of
# the build's update_translations target, and the copy must come out as the file is; lrelease must
# then find every entry finished.
# Usage: check-translations.sh LUPDATE LRELEASE SOURCE_DIR "LUPDATE OPTIONS" "SOURCE FOLDERS"
set -euo pipefail
lupdate=$1
lrelease=$2
source_dir=$3
read -r -a options <<<"$4"
read -r -a folders <<<"$5"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
shopt -s nullglob
files=("$source_dir"/translations/quorvane_*.ts)
if ((${#files[@]} == 0)); then
    echo "no translation file in $source_dir/translations"
    exit 1
fi
for ts in "${files[@]}"; do
    name=$(basename "$ts")
    cp "$ts" "$work/$name"
    (cd "$source_dir" && "$lupdate" "${options[@]}" "${folders[@]}" -ts "$work/$name" >/dev/null)
    if ! diff -u "$ts" "$work/$name"; then
        echo "$name is not up to date with the sources: build the target update_translations and translate"
        echo "what it adds (translations/README.md)"
        status=1
    fi
    report=$("$lrelease" "$ts" -qm "$work/${name%.ts}.qm")
    echo "$report"
    if ! grep -q ' 0 unfinished' <<<"$report" || grep -q 'untranslated' <<<"$report"; then
        echo "$name has unfinished or untranslated entries"
        status=1
    fi
done
exit $status
