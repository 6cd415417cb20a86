#!/usr/bin/env bash
# The layers of src/, lowest first: rtf, storage, platform -> history, editor -> forms -> projects,
# daynotes, help, search (never each other) -> mainwindow -> app. A folder may include and link only what lies below
# it; rtftool and the fuzz targets see the RTF codec alone. Checks every #include "folder/..." and
# every qm_* library named in the folders' CMakeLists.txt.
#   test_layers.sh
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

declare -A below=(
    [rtf]=""
    [storage]=""
    [platform]=""
    [history]="storage platform"
    [editor]="rtf"
    [forms]="editor rtf"
    [projects]="rtf storage platform history editor forms"
    [daynotes]="rtf storage platform history editor forms"
    [help]="rtf storage platform history editor forms"
    [search]="rtf storage platform history editor forms"
    [mainwindow]="rtf storage platform history editor forms projects daynotes help search"
    [app]="rtf storage platform history editor forms projects daynotes help search mainwindow"
)
failures=0
allowed() { # folder, used folder
    [ "$1" = "$2" ] && return 0
    local layer
    for layer in ${below[$1]}; do [ "$layer" = "$2" ] && return 0; done
    return 1
}
check_folder() { # folder, where its files are, the folder whose rule applies
    local folder=$1 dir=$2 rule=$3 file used
    while IFS=: read -r file used; do
        if ! allowed "$rule" "$used"; then
            echo "FAIL: ${file#"$source_dir"/} includes $used/ (above or beside $folder)"
            failures=$((failures + 1))
        fi
    done < <(grep -oE '^#include "[a-z]+/' "$dir"/*.h "$dir"/*.cpp "$dir"/*.ui 2>/dev/null \
        | sed -E 's/#include "([a-z]+)\//\1/')
    # Custom widgets of the window definitions name their header in <header>.
    while IFS=: read -r file used; do
        if ! allowed "$rule" "$used"; then
            echo "FAIL: ${file#"$source_dir"/} uses a widget of $used/"
            failures=$((failures + 1))
        fi
    done < <(grep -oE '<header>[a-z]+/' "$dir"/*.ui 2>/dev/null | sed -E 's/<header>([a-z]+)\//\1/')
    # The libraries its CMakeLists.txt links.
    [ -f "$dir/CMakeLists.txt" ] || return 0
    for used in $(grep -oE '\bqm_[a-z]+\b' "$dir/CMakeLists.txt" | sort -u | sed 's/^qm_//'); do
        [ -n "${below[$used]+x}" ] || continue
        if ! allowed "$rule" "$used"; then
            echo "FAIL: ${dir#"$source_dir"/}/CMakeLists.txt links qm_$used (above or beside $folder)"
            failures=$((failures + 1))
        fi
    done
}

for folder in "${!below[@]}"; do
    [ -d "$source_dir/src/$folder" ] || { echo "FAIL: src/$folder is missing"; failures=$((failures + 1)); }
    check_folder "$folder" "$source_dir/src/$folder" "$folder"
done
for dir in "$source_dir"/src/*/; do
    folder=$(basename "$dir")
    [ -n "${below[$folder]+x}" ] || { echo "FAIL: src/$folder has no place in the layers"; failures=$((failures + 1)); }
done
# rtftool and the fuzz targets: the codec alone (their rule is the editor's: rtf and nothing else).
check_folder rtftool "$source_dir/tools/rtftool" editor
check_folder fuzz "$source_dir/fuzz" editor
grep -q 'qm_editor' "$source_dir/tools/CMakeLists.txt" "$source_dir/fuzz/CMakeLists.txt" \
    && { echo "FAIL: rtftool or a fuzz target links the editor"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "layers: every include and link goes downward"
exit $((failures > 0))
