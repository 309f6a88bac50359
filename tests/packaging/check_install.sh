#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Installs the build into a scratch prefix and checks the tree a desktop relies on, then
# validates the installed desktop entry and AppStream metadata.
#   check_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

expected=(
    bin/kavro
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/32x32/apps/$id.png
    share/icons/hicolor/64x64/apps/$id.png
    share/icons/hicolor/128x128/apps/$id.png
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/kavro.1.gz
    share/man/ja/man1/kavro.1.gz
    share/doc/kavro/changelog.gz
    share/doc/kavro/copyright
)
failures=0
for file in "${expected[@]}"; do
    if [[ -f $prefix/$file ]]; then echo "PASS   : installs $file"; else
        echo "FAIL!  : $file is not installed"; failures=$((failures + 1)); fi
done
extra=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort | grep -v -x -F "$(printf '%s\n' "${expected[@]}")" || true)
if [[ -n $extra ]]; then echo "FAIL!  : unexpected files: $extra"; failures=$((failures + 1)); fi
[[ -x $prefix/bin/kavro ]] || { echo "FAIL!  : kavro is not executable"; failures=$((failures + 1)); }

if desktop-file-validate "$prefix/share/applications/$id.desktop"; then
    echo "PASS   : desktop-file-validate"
else
    failures=$((failures + 1))
fi
if appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" > "$prefix/as.log" 2>&1; then
    echo "PASS   : appstreamcli validate"
else
    cat "$prefix/as.log"
    failures=$((failures + 1))
fi
grep -q "^Exec=kavro$" "$prefix/share/applications/$id.desktop" || { echo "FAIL!  : Exec"; failures=$((failures + 1)); }
grep -q "^StartupWMClass=KAVRO$" "$prefix/share/applications/$id.desktop" || { echo "FAIL!  : StartupWMClass"; failures=$((failures + 1)); }
grep -q "^Comment\[ja\]=円とドルを変換してくれます。$" "$prefix/share/applications/$id.desktop" || { echo "FAIL!  : Comment[ja]"; failures=$((failures + 1)); }
[[ $failures -eq 0 ]]
