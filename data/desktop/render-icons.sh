#!/usr/bin/env bash
# Makes the desktop icons from the program's own window icon: the SVG for the hicolor theme's
# scalable folder and PNGs of every usual size, rendered by rsvg-convert (Debian's librsvg2-bin).
# Run it again whenever src/forms/icons/page.svg changes; the results are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"
id=example.vennick.Quillmark
source=../../src/forms/icons/page.svg
mkdir -p icons/hicolor/scalable/apps
cp "$source" "icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "icons/hicolor/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
        --output "icons/hicolor/${size}x${size}/apps/$id.png" "$source"
done
