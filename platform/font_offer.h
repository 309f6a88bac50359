// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace kavro {

namespace fc {
template <typename T, void (*destroy)(T *)> struct Deleter
{
    void operator()(T *object) const { destroy(object); }
};
using Config = std::unique_ptr<FcConfig, Deleter<FcConfig, FcConfigDestroy>>;
using FontSet = std::unique_ptr<FcFontSet, Deleter<FcFontSet, FcFontSetDestroy>>;
using CharSet = std::unique_ptr<FcCharSet, Deleter<FcCharSet, FcCharSetDestroy>>;
} // namespace fc

// Before it draws its first text, Qt lists every face that fontconfig offers: on a desktop with
// thousands of faces, most of the start-up. A FontOffer makes fontconfig, under the system's and
// the user's rules, offer the process only the faces Qt draws the window with. Make it once,
// after the QApplication exists and before any text is measured; keep it while the window draws.
class FontOffer
{
public:
    // Offers the upright, normal-width faces nearest the regular weight of the installed ones
    // among `families`, `fallbacks` and `desktopFamilies`: the families of the window's fonts,
    // installed(`families` + `fallbacks`) and each desktop family followed by
    // installed(`fallbacks`). Every face is offered where no installed family of `fallbacks`
    // draws all of `text`, and where fewer than `minimumFaces` faces are installed, which Qt
    // lists faster than a selection is made.
    FontOffer(const QStringList &families, const QStringList &fallbacks,
        const QStringList &desktopFamilies, const QString &text, int minimumFaces);

    // Those of `families` that are installed. Where none is, all of them: a font names a
    // family, and Qt searches fallbacks for the first as fontconfig orders them.
    QStringList installed(const QStringList &families) const;

    // The files of installed faces that draw the characters of `text` that no offered face or
    // earlier answer does (text pasted in another script): per character, the face first in
    // fontconfig's fallback order for the desktop's family.
    QStringList filesForNewCharacters(const QString &text);

private:
    fc::Config m_config; // the process's configuration, once read
    fc::FontSet m_everyFace; // every installed face, once a selection leaves Qt fewer
    QStringList m_installed;
    QByteArray m_desktopFamily;
    fc::CharSet m_covered; // characters the offer and earlier answers draw
    QSet<QByteArray> m_givenFiles;
};

} // namespace kavro
