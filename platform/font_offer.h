// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace kavro {

// Before it draws its first text, Qt lists every face that fontconfig offers; on a desktop with
// thousands of faces that is most of the start-up. This offers the process only the faces Qt
// would draw the window with, found by fontconfig's own answers under the system's and the
// user's rules:
// - the upright, normal-width faces (every weight) of the installed ones among `faces` and of
//   `desktopFamilies`;
// - for the first of those a font names (Qt names the rest itself) and each language Qt asks
//   fallbacks for, the families of fontconfig's sorted fallback until they cover `text`.
// Returns those of `faces` that are installed: the only ones worth asking Qt for. With fewer
// than `facesWorthSelecting` faces installed nothing is selected, since Qt lists those faster
// than a selection is built. The offer is kept in the file `keptOffer` for the next start,
// which takes it without listing a face for as long as fontconfig's configuration files and
// font folders stay as they were. Call once, after the QApplication exists and before any text
// is measured.
QStringList offerOnlyFonts(const QStringList &faces, const QStringList &desktopFamilies,
    const QString &text, int facesWorthSelecting, const QString &keptOffer);

// The files of installed faces that draw the characters of `text` that no face offered or
// given to Qt since does (text pasted in another script), in fontconfig's fallback order for
// the desktop's family; nothing when none is missing or nothing was selected. The first call
// that finds a character missing reads every installed face.
QStringList facesForMissingCharacters(const QString &text);

} // namespace kavro
