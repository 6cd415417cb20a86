#!/usr/bin/env bash
# Registers Quillmark with the user's desktop: the launcher in applications/ with Exec and TryExec
# pointing at the installed program, the icon in the hicolor theme (scalable and 16 to 256 pixels)
# and the AppStream metainfo, all under one id. Nothing outside the user's data folder is touched.
#   scripts/register_desktop.sh PROGRAM [DATA_HOME]   (DATA_HOME: default $XDG_DATA_HOME or ~/.local/share)
set -euo pipefail
program=$(realpath -m "$1")
data_home=${2:-${XDG_DATA_HOME:-$HOME/.local/share}}
desktop=$(cd "$(dirname "$0")/../data/desktop" && pwd)
id=example.vennick.Quillmark

# A desktop entry's Exec quotes a path that has spaces or other reserved characters, escapes ", `,
# $ and \ inside the quotes, and writes % as %%; the file format then doubles every backslash.
exec_path=$program
if [[ $program =~ [^A-Za-z0-9_./+-] ]]; then
    quoted=$(printf '%s' "$program" | sed -e 's/[\\"`$]/\\&/g')
    exec_path="\"$quoted\""
fi
exec_path=${exec_path//%/%%}
exec_path=${exec_path//\\/\\\\}
try_exec=${program//\\/\\\\}

install -d "$data_home/applications" "$data_home/metainfo"
while IFS= read -r line; do
    case $line in
        Exec=*) printf 'Exec=%s\n' "$exec_path" ;;
        TryExec=*) printf 'TryExec=%s\n' "$try_exec" ;;
        *) printf '%s\n' "$line" ;;
    esac
done <"$desktop/$id.desktop" >"$data_home/applications/$id.desktop.new"
mv "$data_home/applications/$id.desktop.new" "$data_home/applications/$id.desktop"
install -m 644 "$desktop/$id.metainfo.xml" "$data_home/metainfo/$id.metainfo.xml"
(cd "$desktop/icons" && find hicolor -type f -name "$id.*") | while read -r icon; do
    install -D -m 644 "$desktop/icons/$icon" "$data_home/icons/$icon"
done

# The menus and the icon theme notice new files by themselves; these only make it quicker.
if command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$data_home/applications" || true
fi
if command -v gtk-update-icon-cache >/dev/null && [ -f "$data_home/icons/hicolor/index.theme" ]; then
    gtk-update-icon-cache -q -t "$data_home/icons/hicolor" || true
fi
echo "Registered $id for the desktop in $data_home (launcher, icons, metainfo)."
