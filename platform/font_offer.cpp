// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/font_offer.h"

#include <algorithm>
#include <limits>

namespace kavro {

namespace {

using Pattern = std::unique_ptr<FcPattern, fc::Deleter<FcPattern, FcPatternDestroy>>;
using Faces = QList<FcPattern *>;

const FcChar8 *utf8(const QByteArray &text)
{
    return reinterpret_cast<const FcChar8 *>(text.constData());
}

QByteArray valueOf(FcPattern *face, const char *object)
{
    FcChar8 *value = nullptr;
    FcPatternGetString(face, object, 0, &value);
    return QByteArray(reinterpret_cast<const char *>(value));
}

fc::CharSet characters(const QString &text)
{
    fc::CharSet set(FcCharSetCreate());
    for (const char32_t character : text.toUcs4())
        FcCharSetAddChar(set.get(), character);
    return set;
}

bool draws(FcPattern *face, const FcCharSet *text)
{
    FcCharSet *drawn = nullptr;
    return FcPatternGetCharSet(face, FC_CHARSET, 0, &drawn) == FcResultMatch
        && FcCharSetIsSubset(text, drawn);
}

// fontconfig compares family names without case or blanks; its own comparison is not public,
// and names differ only in ASCII case and blanks in practice.
bool sameFamily(const char *name, const char *other)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (;; ++name, ++other) {
        while (*name == ' ')
            ++name;
        while (*other == ' ')
            ++other;
        if (lower(*name) != lower(*other))
            return false;
        if (*name == '\0')
            return true;
    }
}

// The faces of each family, in one pass over every face.
QList<Faces> facesOf(const FcFontSet *every, const QList<QByteArray> &families)
{
    QList<Faces> faces(families.size());
    for (int i = 0; i < every->nfont; ++i) {
        FcPattern *face = every->fonts[i];
        FcChar8 *name = nullptr;
        for (int n = 0; FcPatternGetString(face, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            for (qsizetype f = 0; f < families.size(); ++f) {
                if (sameFamily(reinterpret_cast<const char *>(name), families[f].constData()))
                    faces[f] << face;
            }
        }
    }
    return faces;
}

// fontconfig's fallback order for text in this family, from the request Qt builds when a
// character is missing from the family itself, trimmed to the faces that draw a character no
// face before them does.
fc::FontSet fallbackOrder(FcConfig *config, FcFontSet *every, const QByteArray &family)
{
    const Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, utf8(family));
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    return fc::FontSet(FcFontSetSort(config, &every, 1, pattern.get(), FcTrue, nullptr, &result));
}

// Qt draws the window's text, never bold, italic or condensed, with the family's upright,
// normal-width face nearest the regular weight: one of those whose weight is nearest on either
// side. A family without an upright, normal-width face keeps them all.
QSet<QByteArray> filesOf(const Faces &family)
{
    QList<int> weights(family.size(), -1); // -1: not upright and of normal width
    int below = -1;
    int above = std::numeric_limits<int>::max();
    for (qsizetype i = 0; i < family.size(); ++i) {
        int slant = FC_SLANT_ROMAN;
        int width = FC_WIDTH_NORMAL;
        int weight = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(family[i], FC_SLANT, 0, &slant);
        FcPatternGetInteger(family[i], FC_WIDTH, 0, &width);
        FcPatternGetInteger(family[i], FC_WEIGHT, 0, &weight);
        if (slant == FC_SLANT_ROMAN && width == FC_WIDTH_NORMAL) {
            weights[i] = weight;
            below = weight <= FC_WEIGHT_REGULAR ? std::max(below, weight) : below;
            above = weight >= FC_WEIGHT_REGULAR ? std::min(above, weight) : above;
        }
    }
    const bool anyUpright = below >= 0 || above < std::numeric_limits<int>::max();
    QSet<QByteArray> files;
    for (qsizetype i = 0; i < family.size(); ++i) {
        if (!anyUpright || weights[i] == below || weights[i] == above)
            files << valueOf(family[i], FC_FILE);
    }
    return files;
}

// Accepts the files and the folders on their way and rejects every other path, then lists the
// faces again: folders off the way are never read, and faces are compared by name alone.
bool select(FcConfig *config, const QSet<QByteArray> &files)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<fontconfig><selectfont><acceptfont>\n";
    for (const QByteArray &path : files) {
        // fontconfig's globs have no escapes: a name with * or ? in it accepts a few more.
        xml += "<glob>" + QString::fromUtf8(path).toHtmlEscaped().toUtf8() + "</glob>\n";
    }
    // "/*", not "*": beside accepted globs fontconfig 2.15 takes a bare "*" to reject nothing.
    xml += "</acceptfont><rejectfont><glob>/*</glob></rejectfont></selectfont></fontconfig>\n";
    return FcConfigParseAndLoadFromMemory(config, utf8(xml), FcTrue) && FcConfigBuildFonts(config);
}

} // namespace

FontOffer::FontOffer(const QStringList &families, const QStringList &fallbacks,
    const QStringList &desktopFamilies, const QString &text, int minimumFaces)
    : m_config(FcConfigCreate())
    , m_installed(families + fallbacks)
    , m_covered(characters(text))
{
    // Read once: what is read here is the configuration Qt uses, selected or not.
    if (!FcConfigParseAndLoad(m_config.get(), nullptr, FcTrue)
        || !FcConfigBuildFonts(m_config.get()))
        return; // Qt copes as it can
    FcFontSet *every = FcConfigGetFonts(m_config.get(), FcSetSystem);
    // The families offered, and the installed faces of each.
    QList<QByteArray> offered;
    for (const QString &family : families + fallbacks + desktopFamilies) {
        if (!offered.contains(family.toUtf8()))
            offered << family.toUtf8();
    }
    QList<Faces> faces = facesOf(every, offered);
    for (qsizetype i = 0; i < offered.size(); ++i) {
        if (faces[i].isEmpty())
            m_installed.removeAll(QString::fromUtf8(offered[i]));
    }
    // Qt draws a character that a font's first family lacks with the font's next family that
    // has it, and only then with fontconfig's fallbacks, which may reach any face. Every font of
    // the window ends with the installed `fallbacks`: where none of them draws all of the text,
    // every face is offered.
    const auto drawsText = [&](const QString &family) {
        const Faces &own = faces[offered.indexOf(family.toUtf8())];
        return !own.isEmpty() && std::all_of(own.begin(), own.end(), [this](FcPattern *face) {
            return draws(face, m_covered.get());
        });
    };
    if (every->nfont < minimumFaces
        || std::none_of(fallbacks.begin(), fallbacks.end(), drawsText)) {
        FcConfigSetCurrent(m_config.get());
        return;
    }

    m_desktopFamily = desktopFamilies.value(0).toUtf8();
    QSet<QByteArray> files;
    for (const Faces &family : std::as_const(faces))
        files.unite(filesOf(family));
    // Kept for text pasted later; the selection lists the faces anew.
    m_everyFace.reset(FcFontSetCreate());
    for (int i = 0; i < every->nfont; ++i) {
        FcPatternReference(every->fonts[i]);
        FcFontSetAdd(m_everyFace.get(), every->fonts[i]);
    }
    if (!select(m_config.get(), files))
        m_config.reset(FcInitLoadConfigAndFonts()); // every face: slower, drawn the same
    if (m_config)
        FcConfigSetCurrent(m_config.get());
}

QStringList FontOffer::installed(const QStringList &families) const
{
    QStringList kept = families;
    kept.removeIf([this](const QString &family) { return !m_installed.contains(family); });
    return kept.isEmpty() ? families : kept;
}

QStringList FontOffer::filesForNewCharacters(const QString &text)
{
    if (!m_everyFace)
        return {};
    // That an offered face has a character is not enough: Qt looks for it only among faces
    // fontconfig says support its script.
    const fc::CharSet missing(FcCharSetCreate());
    for (const char32_t character : text.toUcs4()) {
        if (!FcCharSetHasChar(m_covered.get(), character)) {
            FcCharSetAddChar(m_covered.get(), character);
            FcCharSetAddChar(missing.get(), character);
        }
    }
    if (FcCharSetCount(missing.get()) == 0)
        return {};
    // Qt may order other scripts' fallbacks differently; a pasted character is drawn all the
    // same.
    const fc::FontSet order = fallbackOrder(m_config.get(), m_everyFace.get(), m_desktopFamily);
    QStringList files;
    for (int i = 0; order && i < order->nfont; ++i) {
        FcCharSet *drawn = nullptr;
        const QByteArray file = valueOf(order->fonts[i], FC_FILE);
        if (FcPatternGetCharSet(order->fonts[i], FC_CHARSET, 0, &drawn) == FcResultMatch
            && FcCharSetIntersectCount(drawn, missing.get()) > 0 && !m_givenFiles.contains(file)) {
            m_givenFiles << file;
            files << QString::fromUtf8(file);
        }
    }
    return files;
}

} // namespace kavro
