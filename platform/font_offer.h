// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace kavro {

// Before it draws its first text, Qt lists every face that fontconfig offers; on a desktop with
// thousands of faces that is most of the start-up. This offers the process only the faces Qt
// would draw with, found by fontconfig's own answers under the system's and the user's rules:
// - the upright, normal-width faces (every weight) of the installed ones among `faces` and of
//   `desktopFamilies`;
// - for the first of those a font names (Qt names the rest itself) and each language Qt asks
//   fallbacks for, the families of fontconfig's sorted fallback until they cover `text`;
// - for characters in any other script (pasted), the faces of the desktop family's sorted
//   fallback that add coverage, so that whatever the machine has a face for is drawn.
// Returns those of `faces` that are installed: the only ones worth asking Qt for. With fewer
// than `facesWorthSelecting` faces installed nothing is selected, since Qt lists those faster
// than a selection is built. Call once, after the QApplication exists and before any text is
// measured.
QStringList offerOnlyFonts(const QStringList &faces, const QStringList &desktopFamilies,
    const QString &text, int facesWorthSelecting);

} // namespace kavro
