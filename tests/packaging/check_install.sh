#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Installs the build into a scratch prefix and checks the tree a desktop relies on, then
# validates the installed desktop entry and AppStream metadata.
#   check_install.sh BUILD_DIR APP_ID
set -euo pipefail
source "$(cd "$(dirname "$0")/.." && pwd)/e2e/common.sh"
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

expected=(bin/kavro "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml")
for size in 32x32 64x64 128x128; do expected+=("share/icons/hicolor/$size/apps/$id.png"); done
expected+=("share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/kavro.1.gz
    share/man/ja/man1/kavro.1.gz share/doc/kavro/changelog.gz share/doc/kavro/copyright)
check "installs exactly the expected files" diff <(printf '%s\n' "${expected[@]}" | sort) \
    <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
check "kavro is executable" [ -x "$prefix/bin/kavro" ]
# An empty entry in a search path names the folder the program is started from.
check "neither the built nor the installed program has a library search path" bash -c \
    "! readelf -d '$build/app/kavro' '$prefix/bin/kavro' | grep -E 'RPATH|RUNPATH'"

entry=$prefix/share/applications/$id.desktop
check "desktop-file-validate" desktop-file-validate "$entry"
check "appstreamcli validate" \
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
for line in Exec=kavro StartupWMClass=KAVRO 'Comment\[ja\]=円とドルを変換してくれます。'; do
    check "the entry has $line" grep -q "^$line$" "$entry"
done
report
