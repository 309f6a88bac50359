// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace kavro {

// Before it draws its first text, Qt lists every face that fontconfig offers; on a desktop with
// thousands of faces that is most of the start-up. This offers the process only the installed
// ones among `faces`, the desktop's face, and the faces fontconfig itself picks for Japanese
// and Latin text in the desktop's face, under the system's and the user's own rules, so that
// what is drawn stays the same. Returns those of `faces` that are installed: the only ones
// worth asking Qt for. Call once, after the QApplication exists (it knows the desktop's face)
// and before any text is measured or drawn.
QStringList offerOnlyFonts(const QStringList &faces, const QString &desktopFace);

} // namespace kavro
