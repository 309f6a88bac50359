#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# The Debian package as a distribution would take it: built twice from the same sources in
# two folders, one after the other, and compared byte for byte; checked by lintian (no error,
# no warning) and reuse lint; installed into a scratch root, where `man kavro` finds both
# manual pages and the desktop entry starts the installed program.
#   check_package.sh [WORK_DIR]
set -euo pipefail
source "$(cd "$(dirname "$0")/.." && pwd)/e2e/common.sh"
cd "$(dirname "$0")/../.."
work=${1:-$(mktemp -d)}
mkdir -p "$work"
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2> /dev/null || true
    stop_xvfb 2> /dev/null || true
    [[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"
}
trap cleanup EXIT
# File times in the package are the last commit's.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH

package() { # folder
    mkdir -p "$1/src"
    git ls-files -z | xargs -0 cp --parents -t "$1/src"
    cmake -S "$1/src" -B "$1/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DKAVRO_BENCH=OFF > "$1/configure.log"
    cmake --build "$1/build" --parallel "$(nproc)" > "$1/build.log"
    (cd "$1/build" && cpack -G DEB > "$1/cpack.log" 2>&1)
    ls "$1"/build/kavro_*.deb
}
first=$(package "$work/first")
second=$(package "$work/second-folder")
sha256sum "$first" "$second" | sed "s|$work/||"
check "two builds in two folders give the same package" cmp "$first" "$second"

lintian_ok=yes
lintian --pedantic --fail-on error,warning "$first" > "$work/lintian.log" 2>&1 || lintian_ok=
grep -v 'root privileges' "$work/lintian.log" | sed 's/^/  lintian: /' || true
check "lintian: no error, no warning" [ -n "$lintian_ok" ]
check "reuse lint" bash -c "reuse lint > '$work/reuse.log' 2>&1 || { tail -n 20 '$work/reuse.log'; false; }"

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The Qt libraries it depends on are the host's, outside the scratch root.
install_package() {
    dpkg --root="$root" --log=/dev/null --force-depends --force-not-root -i "$first" \
        > "$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; false; }
}
check "the package installs" install_package
# In a UTF-8 locale whatever the caller's: the pages hold Japanese text, which a locale that is
# not installed (man falls back to ASCII) or LC_ALL=C cannot show.
man_page() { # language, a line the page must have
    LC_ALL=C.UTF-8 MANPATH=$root/usr/share/man MANWIDTH=80 man -L "$1" kavro \
        2> "$work/man.err" | grep -q -F "$2" && [[ ! -s $work/man.err ]] ||
        { cat "$work/man.err"; false; }
}
check "man kavro shows the English page" man_page C "takes no options"
check "man kavro shows the Japanese page" man_page ja "オプションも引数も取りません"

entry=$root/usr/share/applications/net.kavro.Kavro.desktop
command=$(sed -n 's/^Exec=//p' "$entry")
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
export DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb "$work/display" 800x600x24
PATH=$root/usr/bin:$PATH $command > "$work/program.log" 2>&1 &
pid=$!
check "the desktop entry starts the installed program" within 100 window_shown
check "which is the installed one" [ "$(readlink "/proc/$pid/exe")" = "$root/usr/bin/kavro" ]
# From the amount field to 終了: currency, result, クリアー, バージョン, 終了.
xdotool key --delay 60 Tab Tab Tab Tab Tab space
check "終了 ends it with status 0" exited_with_zero
check_prefix=package report
