#!/usr/bin/env bash
# The desktop files: the launcher and the AppStream metainfo validate, the icon exists as SVG and as
# PNG of every size under one id, and the registration ./run does puts them in the user's data
# folder with a launcher that starts the installed program, however odd its path.
#   test_desktopfiles.sh BINARY_DIR BUILD_DIR
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
desktop="$source_dir/data/desktop"
id=example.vennick.Quillmark
source "$(dirname "$0")/checks.sh"
png_size() { # width x height from the PNG header
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
has_line() { grep -qxF -- "$2" "$1"; }
require_tool desktop-file-validate desktop-file-utils
require_tool appstreamcli appstream

# The files as kept in the repository.
check "launcher validates" desktop-file-validate "$desktop/$id.desktop"
check "metainfo validates" appstreamcli validate --no-net "$desktop/$id.metainfo.xml"
check "launcher names the icon by the id" has_line "$desktop/$id.desktop" "Icon=$id"
check "metainfo has the id" grep -qF "<id>$id</id>" "$desktop/$id.metainfo.xml"
check "metainfo launches the launcher" grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$desktop/$id.metainfo.xml"
check "scalable icon is the window icon" cmp "$source_dir/src/forms/icons/page.svg" "$desktop/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
    png="$desktop/icons/hicolor/${size}x${size}/apps/$id.png"
    check "icon of ${size} pixels exists" test -s "$png"
    check "icon of ${size} pixels is ${size}x${size}" test "$(png_size "$png")" = "${size}x${size}"
done

# The registration, into a data folder of its own and a program path with a space, a dollar and a
# percent sign in it.
data_home=$(mktemp -d)
trap 'rm -rf "$data_home"' EXIT
program="$data_home/opt/My Notes \$1 100%/quillmark"
mkdir -p "$(dirname "$program")"
printf '#!/bin/sh\necho started\n' >"$program"
chmod +x "$program"
check "registration runs" "$source_dir/scripts/register_desktop.sh" "$program" "$data_home/share"
launcher="$data_home/share/applications/$id.desktop"
check "registered launcher validates" desktop-file-validate "$launcher"
check "registered launcher starts the installed program" \
    has_line "$launcher" "Exec=\"$data_home/opt/My Notes \\\\\$1 100%%/quillmark\""
check "registered launcher tries the installed program" has_line "$launcher" "TryExec=$program"
check "registered metainfo validates" appstreamcli validate --no-net "$data_home/share/metainfo/$id.metainfo.xml"
check "registered scalable icon" test -s "$data_home/share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
    check "registered icon of ${size} pixels" test -s "$data_home/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
# What the Exec line says, unquoted as a desktop would, is the program itself.
exec_value=$(sed -n 's/^Exec=//p' "$launcher" | sed -e 's/\\\\/\\/g' -e 's/%%/%/g')
unquoted=$(eval "printf '%s' $exec_value")
check "Exec unquotes to the program" test "$unquoted" = "$program"
check "a second registration replaces the first" "$source_dir/scripts/register_desktop.sh" "$program" "$data_home/share"
check "one launcher after two registrations" test "$(ls "$data_home/share/applications"/*.desktop | wc -l)" = 1

echo "desktopfiles: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
