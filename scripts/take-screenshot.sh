#!/usr/bin/env bash
# Takes the README's screenshot, docs/screenshot.png: the window on a home folder a user would have
# (the usual folders, a trip's photos, a few documents), the photos listed in name order and the
# serial-number preview in the after list. Run as root from the repository's root after a build:
#   scripts/take-screenshot.sh [program]        (default build/release/app/quorvane)
# The fake home is made in a temporary folder and shown at /home/yuki through a private mount
# namespace, so that the machine's own /home is never touched. The clicks below follow the window's
# layout at the size the settings file gives it.
set -euo pipefail

width=1100
height=700
source=$(pwd)
program=$(realpath "${1:-build/release/app/quorvane}")

if [[ -z ${QUORVANE_SCREENSHOT_NAMESPACE:-} ]]; then
    exec unshare --mount --propagation private env QUORVANE_SCREENSHOT_NAMESPACE=1 "$0" "$program"
fi

work=$(mktemp -d)
trap 'umount /home/yuki 2>/dev/null || true; rm -rf "$work"' EXIT
home=$work/yuki
trip="$home/Pictures/2025-04 京都"
mkdir -p "$home"/{Desktop,Documents,Downloads,Music,Pictures,Public,Templates,Videos} "$trip" \
    "$home/Music/Jazz" "$home/Pictures/Wallpapers" "$home/.local/bin"

# Twelve photos as a camera names them, each a real JPEG, stamped over four days of the trip.
colours=(skyblue-olivedrab orange-firebrick lightpink-white steelblue-khaki seagreen-wheat tan-sienna
    gold-darkred lavender-slateblue beige-peru lightcyan-teal coral-plum palegreen-sienna)
for i in "${!colours[@]}"; do
    name=$(printf 'IMG_%04d.JPG' $((2041 + i)))
    convert -seed $((7 + i)) -size 640x480 "plasma:${colours[$i]}" -blur 0x1 -quality 88 "$trip/$name"
    touch -d "2025-04-$((3 + i / 4)) $((9 + i % 4 * 2)):$((10 + i * 3)):$((i * 5))" "$trip/$name"
done
# A few documents and other files where a user keeps them.
printf '4/3 京都駅 9:10着\n4/4 嵐山\n4/5 伏見稲荷\n4/6 帰宅\n' > "$home/Documents/旅行の計画.txt"
printf 'date,item,yen\n2025-04-03,shinkansen,14170\n' > "$home/Documents/budget-2025.csv"
printf 'Meeting notes\n' > "$home/Documents/notes.txt"
convert -size 320x200 gradient:navy-skyblue "$home/Pictures/Wallpapers/evening.png"
printf 'ID3' > "$home/Music/Jazz/track01.mp3"
printf '%%PDF-1.4\n' > "$home/Downloads/ticket.pdf"

# A portable copy keeps its settings beside itself: the window's size, a wide folder tree, the picture preview, hidden
# folders out of sight.
cp "$program" "$home/.local/bin/quorvane"
cat > "$home/.local/bin/quorvn.ini" << EOF
[WindowState]
Width=$width
Height=$height
DirWidth=230
FilesWidth=420
PreMode=1
[Options]
ViewMode=1
EOF

mount -t tmpfs tmpfs /home
mkdir /home/yuki
mount --bind "$home" /home/yuki

export HOME=/home/yuki LANG=C.UTF-8 QUORVANE_SCREENSHOT=$source/docs/screenshot.png
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash -c '
    set -euo pipefail
    "$HOME/.local/bin/quorvane" "$HOME/Pictures/2025-04 京都" 2>/dev/null &
    program=$!
    xdotool search --sync --name "京都" > /dev/null
    sleep 3
    click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
    click 285 43                                  # the before list header "変更前名": name order
    click 250 580; xdotool type "Kyoto-"          # the front piece
    click 520 578; xdotool type "1"               # the serial start, all of it selected by the click
    click 512 606; xdotool type "3"               # the digit count
    click 863 628                                 # "プレビュー(&P)", left of the picture preview
    xdotool mousemove 1 1
    sleep 1
    import -window root "$QUORVANE_SCREENSHOT"
    kill $program
'
echo "wrote docs/screenshot.png"
