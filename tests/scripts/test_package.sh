#!/usr/bin/env bash
# The Debian package as CPack makes it from this build: the files it installs and where, its
# dependencies, no maintainer script (removing the package never touches notes), the programs
# inside it running, and lintian without an error.
#   test_package.sh BUILD_DIR
set -uo pipefail
build_dir=$1
source "$(dirname "$0")/checks.sh"
require_tool dpkg-deb dpkg
require_tool dpkg-shlibdeps dpkg-dev
require_tool lintian lintian

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    echo "FAIL: cpack made no package"
    cat "$work/cpack.log"
    exit 1
fi
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$work/files"
listed() { grep -qxF "$1" "$work/files"; }

id=example.vennick.Quillmark
for path in /usr/bin/quillmark /usr/bin/rtftool /usr/share/quillmark/help.rtf \
    /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$id.svg /usr/share/icons/hicolor/48x48/apps/$id.png \
    /usr/share/man/man1/quillmark.1.gz /usr/share/man/man1/rtftool.1.gz \
    /usr/share/doc/quillmark/copyright /usr/share/doc/quillmark/changelog.Debian.gz; do
    check "package holds $path" listed "$path"
done
check "every file lies under /usr" test -z "$(grep -v '^/usr/' "$work/files" | grep -vx /)"
check "dependencies come from the binaries" \
    sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
dpkg-deb -e "$deb" "$work/control"
check "no maintainer script" test -z "$(ls "$work/control" | grep -vxE 'control|md5sums')"
dpkg-deb -x "$deb" "$work/root"
check "copyright is machine-readable GPL-3.0-or-later" \
    grep -qx "License: GPL-3.0+" "$work/root/usr/share/doc/quillmark/copyright"
check "the packaged quillmark says its version" \
    sh -c "'$work/root/usr/bin/quillmark' --version | grep -qx 'quillmark 1.0.0'"
check "the packaged rtftool says its version" \
    sh -c "'$work/root/usr/bin/rtftool' --version | grep -qx 'rtftool 1.0.0'"

lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
sed 's/^/lintian: /' "$work/lintian"
check "lintian reports no error" test -z "$(grep '^E:' "$work/lintian")"

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
