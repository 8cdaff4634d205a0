#!/usr/bin/env bash
# Renders the application icon's SVG into the PNG sizes that are committed beside it
# (desktop/icons/<size>.png). Run it after changing the SVG; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
svg=desktop/io.github.quorvane.Quorvane.svg
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" "$svg" --output "desktop/icons/$size.png"
done
