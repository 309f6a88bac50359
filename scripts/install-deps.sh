#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages that a set of uses needs, and only those missing:
#   install-deps.sh [build] [test] [bench]      (build alone by default)
#   build  building and running the program
#   test   the test suite: X and Wayland sessions, window managers, Orca, sanitizers, the
#          package check, the format check
#   bench  the benchmark (make bench)
# As root it installs them; with sudo it asks sudo; otherwise it prints the one command to run.
set -euo pipefail

build=(
    g++ cmake make
    qt6-base-dev qt6-translations-l10n libxcb1-dev libfontconfig-dev qt6-wayland
    fonts-ipafont-gothic
)
test=(
    locales
    xvfb xauth xdotool x11-utils imagemagick
    dbus at-spi2-core python3-pyatspi
    openbox xfwm4 metacity kwin-x11 kwin-style-breeze weston xwayland orca speech-dispatcher
    ibus ibus-anthy ibus-gtk3 ibus-gtk4 zenity
    # The sanitizer runtime of the release's default clang (14 on Debian 12, 19 on 13).
    clang libclang-rt-dev clang-format
    desktop-file-utils appstream dpkg-dev lintian reuse man-db git
    # Japanese faces no list names, KDE's and GNOME's Latin faces (Debian 13's minimal system
    # has no DejaVu): the font offer is compared on them.
    fonts-ipaexfont-gothic fonts-droid-fallback fonts-noto-core fonts-dejavu-core
)
# A desktop's font set (start-up with 2,500 faces and more) and a GTK program to compare with.
bench=(libxcb-damage0-dev dbus xvfb xauth x11-utils weston galculator
    fonts-noto-core fonts-noto-cjk fonts-noto-extra fonts-noto-ui-core fonts-noto-ui-extra
    fonts-noto-mono fonts-dejavu-extra fonts-liberation2 fonts-freefont-ttf)

packages=()
for use in "${@:-build}"; do
    case $use in
    build) packages+=("${build[@]}") ;;
    test) packages+=("${test[@]}") ;;
    bench) packages+=("${bench[@]}") ;;
    *)
        echo "usage: $0 [build] [test] [bench]" >&2
        exit 2
        ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo=(sudo)
else
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
