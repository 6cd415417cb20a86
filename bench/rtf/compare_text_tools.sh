#!/usr/bin/env bash
# Times "rtftool text" on the 20 MB text-heavy RTF file against "unrtf --text" and
# "pandoc -f rtf -t plain" on the same file, in one run, and prints the ratios.
# Usage: compare_text_tools.sh BUILD_DIR [RUNS]
#   BUILD_DIR: a Release build with rtftool and generate_rtf (-DQUILLMARK_BUILD_BENCH=ON).
# unrtf and pandoc are Debian packages needed for this run only: apt-get install unrtf pandoc.
set -euo pipefail
build=${1:?usage: compare_text_tools.sh BUILD_DIR [RUNS]}
runs=${2:-3}
rtftool="$build/tools/rtftool"
generate="$build/bench/rtf/generate_rtf"
for tool in unrtf pandoc; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: apt-get install unrtf pandoc" >&2; exit 1; }
done
[ -x "$rtftool" ] && [ -x "$generate" ] || { echo "build rtftool and generate_rtf in $build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$generate" "$work" >/dev/null 2>&1
file="$work/text-20mb.rtf"
echo "file: $(stat -c %s "$file") bytes; best of $runs runs; wall and CPU (user+sys) seconds"

# Prints "wall cpu" of the fastest run (by wall time) of a command, its output thrown away.
best() {
    local best_wall="" best_cpu="" i report wall user sys
    for ((i = 0; i < runs; i++)); do
        report=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>"$work/stderr"; } 2>&1 )
        read -r wall user sys <<<"$report"
        if [ -z "$best_wall" ] || awk "BEGIN{exit !($wall < $best_wall)}"; then
            best_wall=$wall
            best_cpu=$(awk "BEGIN{print $user + $sys}")
        fi
    done
    echo "$best_wall $best_cpu"
}

# The three outputs should carry the same words; a line count shows a tool that gave up.
echo "lines of text: rtftool $("$rtftool" text "$file" | wc -l), unrtf $(unrtf --text "$file" 2>/dev/null | wc -l), pandoc $(pandoc -f rtf -t plain "$file" | wc -l)"

read -r ours_wall ours_cpu <<<"$(best "$rtftool" text "$file")"
read -r unrtf_wall unrtf_cpu <<<"$(best unrtf --text "$file")"
read -r pandoc_wall pandoc_cpu <<<"$(best pandoc -f rtf -t plain "$file")"
printf '%-28s %8s %8s\n' tool wall cpu
printf '%-28s %8.2f %8.2f\n' "rtftool text" "$ours_wall" "$ours_cpu" \
    "unrtf --text" "$unrtf_wall" "$unrtf_cpu" "pandoc -f rtf -t plain" "$pandoc_wall" "$pandoc_cpu"
awk -v o="$ours_wall" -v oc="$ours_cpu" -v u="$unrtf_wall" -v uc="$unrtf_cpu" \
    -v p="$pandoc_wall" -v pc="$pandoc_cpu" 'BEGIN {
    printf "unrtf / rtftool:  %.1fx wall, %.1fx cpu\n", u / o, uc / oc
    printf "pandoc / rtftool: %.1fx wall, %.1fx cpu\n", p / o, pc / oc
}'
