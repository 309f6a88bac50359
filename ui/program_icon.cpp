// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/program_icon.h"

#include <QImage>
#include <QPixmap>

namespace kavro {

QIcon programIcon()
{
    QIcon icon;
    for (int i = 0; i < kProgramIconCount; ++i) {
        const IconPixels &pixels = kProgramIconPixels[i];
        const QImage image(
            pixels.rgba, pixels.size, pixels.size, pixels.size * 4, QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace kavro
