// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

namespace kavro {

// The icon's renderings as RGBA8888 pixels, generated at build time from the PNG files.
struct IconPixels
{
    int size;
    const unsigned char *rgba;
};

extern const IconPixels kProgramIconPixels[];
extern const int kProgramIconCount;

// The window's icon at every rendered size; built from memory, with no image decoding.
QIcon programIcon();

} // namespace kavro
