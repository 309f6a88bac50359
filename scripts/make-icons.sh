#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Renders the window and desktop icons from data/icons/kavro.svg. The output is committed;
# rerun after editing the SVG (needs librsvg2-bin and imagemagick). Same input, same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
id=net.kavro.Kavro
source=data/icons/kavro.svg
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for size in 32 64 128; do
    out=data/icons/hicolor/${size}x${size}/apps/$id.png
    mkdir -p "$(dirname "$out")"
    rsvg-convert -w "$size" -h "$size" "$source" -o "$scratch/$size.png"
    if [[ $size -eq 32 ]]; then
        # The 32 px icon: 256 colours at most, fully transparent background.
        format=PNG8
        colours=(-colors 255)
    else
        format=PNG32
        colours=()
    fi
    convert "$scratch/$size.png" "${colours[@]}" -strip \
        -define png:exclude-chunks=date,time "$format:$out"
    echo "$out"
done
