// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/font_offer.h"

#include <QHash>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace kavro {

namespace {

template <typename T, void (*destroy)(T *)> struct Deleter
{
    void operator()(T *object) const { destroy(object); }
};
using Pattern = std::unique_ptr<FcPattern, Deleter<FcPattern, FcPatternDestroy>>;
using FontSet = std::unique_ptr<FcFontSet, Deleter<FcFontSet, FcFontSetDestroy>>;
using CharSet = std::unique_ptr<FcCharSet, Deleter<FcCharSet, FcCharSetDestroy>>;

const FcChar8 *utf8(const QByteArray &text)
{
    return reinterpret_cast<const FcChar8 *>(text.constData());
}

QString string(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

// fontconfig compares family names without case or blanks.
QString familyKey(const QString &family)
{
    QString key = family.toCaseFolded();
    key.remove(u' ');
    return key;
}

QString familyKey(const FcChar8 *family)
{
    return familyKey(QString::fromUtf8(reinterpret_cast<const char *>(family)));
}

// Calls `visit` with each installed face and each name of its family, until it returns true.
template <typename Visit> void forEachFamilyName(FcConfig *config, Visit visit)
{
    const FcFontSet *installedFaces = FcConfigGetFonts(config, FcSetSystem);
    for (int i = 0; installedFaces && i < installedFaces->nfont; ++i) {
        FcPattern *face = installedFaces->fonts[i];
        FcChar8 *family = nullptr;
        for (int n = 0; FcPatternGetString(face, FC_FAMILY, n, &family) == FcResultMatch; ++n) {
            if (visit(face, familyKey(family)))
                break;
        }
    }
}

CharSet charSet(const QString &text)
{
    CharSet set(FcCharSetCreate());
    for (const char32_t character : text.toUcs4())
        FcCharSetAddChar(set.get(), character);
    return set;
}

// The languages of Qt's fallback requests for the window's text: Japanese for kana; for Han,
// Latin and common characters the language fontconfig's defaults give a pattern, which is none
// in fontconfig 2.14 (an empty entry: the request names no language).
QList<QByteArray> requestLanguages()
{
    const Pattern pattern(FcPatternCreate());
    FcDefaultSubstitute(pattern.get());
    const QByteArray processLanguage = string(pattern.get(), FC_LANG).toUtf8();
    QList<QByteArray> languages {QByteArrayLiteral("ja")};
    if (processLanguage != languages.constFirst())
        languages << processLanguage;
    return languages;
}

// fontconfig's fallback order for text in this family and language, built as Qt builds the
// request it walks when a character is missing from the family itself.
FontSet fallbackOrder(
    FcConfig *config, const QString &family, const QByteArray &language, FcBool trim)
{
    const Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, utf8(family.toUtf8()));
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    if (!language.isEmpty())
        FcPatternAddString(pattern.get(), FC_LANG, utf8(language));
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    return FontSet(FcFontSort(config, pattern.get(), trim, nullptr, &result));
}

using Files = QSet<QByteArray>;

QByteArray file(FcPattern *face)
{
    FcChar8 *path = nullptr;
    if (FcPatternGetString(face, FC_FILE, 0, &path) != FcResultMatch)
        return {};
    return QByteArray(reinterpret_cast<const char *>(path));
}

// The upright, normal-width faces of these families, of every weight: Qt picks among them for
// the window's text, which is never italic or condensed. A family without one keeps them all.
void addFamilies(Files &offer, FcConfig *config, const QSet<QString> &familyKeys)
{
    QHash<QString, Files> upright;
    QHash<QString, Files> others;
    forEachFamilyName(config, [&](FcPattern *face, const QString &key) {
        if (!familyKeys.contains(key))
            return false;
        int slant = FC_SLANT_ROMAN;
        int width = FC_WIDTH_NORMAL;
        FcPatternGetInteger(face, FC_SLANT, 0, &slant);
        FcPatternGetInteger(face, FC_WIDTH, 0, &width);
        (slant == FC_SLANT_ROMAN && width == FC_WIDTH_NORMAL ? upright : others)[key].insert(
            file(face));
        return true;
    });
    for (const QString &key : familyKeys)
        offer.unite(upright.contains(key) ? upright.value(key) : others.value(key));
}

// The families Qt could reach for the window's own text, in the order Qt would try them: the
// sort, not the best match, since a strongly bound Latin family is its own best match for
// Japanese too. Every character's first face is reached once all of them are covered.
void addUpToCover(QSet<QString> &families, FcConfig *config, const QString &family,
    const QByteArray &language, const FcCharSet *text)
{
    const FontSet order = fallbackOrder(config, family, language, FcFalse);
    const CharSet covered(FcCharSetCreate());
    for (int i = 0; order && i < order->nfont; ++i) {
        FcPattern *face = order->fonts[i];
        families.insert(familyKey(string(face, FC_FAMILY)));
        FcCharSet *characters = nullptr;
        if (FcPatternGetCharSet(face, FC_CHARSET, 0, &characters) == FcResultMatch) {
            FcCharSetMerge(covered.get(), characters, nullptr);
            if (FcCharSetIsSubset(text, covered.get()))
                return;
        }
    }
}

// A trimmed sort keeps a face only where it draws a character no face before it has: for
// every character the machine can draw, the face this order reaches first. Qt may order other
// scripts' fallbacks differently; a pasted character is drawn all the same, not as a box.
void addCoverage(Files &offer, FcConfig *config, const QString &family, const QByteArray &language)
{
    const FontSet order = fallbackOrder(config, family, language, FcTrue);
    for (int i = 0; order && i < order->nfont; ++i)
        offer.insert(file(order->fonts[i]));
}

// The system's configuration (with the user's, which it includes), then a selection by file
// name: the offered files and the folders on their way are accepted, every other path is
// rejected. Folders off the way are never read, and faces are only compared by name, which
// costs a fraction of matching every face against patterns.
QByteArray configuration(const QByteArray &systemFile, const Files &offer)
{
    Files accepted = offer;
    for (const QByteArray &path : offer) {
        qsizetype slash = path.lastIndexOf('/');
        while (slash > 0) {
            accepted.insert(path.left(slash));
            slash = path.lastIndexOf('/', slash - 1);
        }
    }
    QByteArray xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n<include>"
        + QString::fromUtf8(systemFile).toHtmlEscaped().toUtf8()
        + "</include>\n<selectfont>\n<acceptfont>\n";
    for (const QByteArray &path : std::as_const(accepted)) {
        // fontconfig's globs have no escapes: a name with * or ? in it accepts a few more.
        xml += "<glob>" + QString::fromUtf8(path).toHtmlEscaped().toUtf8() + "</glob>\n";
    }
    // Rejecting "/*", not "*": with accepted globs beside it, fontconfig 2.15 takes a bare "*"
    // to reject nothing.
    xml += "</acceptfont>\n<rejectfont><glob>/*</glob></rejectfont>\n</selectfont>\n"
           "</fontconfig>\n";
    return xml;
}

} // namespace

QStringList offerOnlyFonts(const QStringList &faces, const QStringList &desktopFamilies,
    const QString &text, int facesWorthSelecting)
{
    if (!FcInit())
        return faces; // no fontconfig configuration at all: Qt copes as it can
    FcConfig *system = FcConfigGetCurrent();
    const CharSet textCharacters = charSet(text);
    // Of the families asked for, those installed, and whether every face of each draws all of
    // the text by itself.
    QHash<QString, bool> installed;
    QSet<QString> asked;
    for (const QString &family : faces + desktopFamilies)
        asked.insert(familyKey(family));
    forEachFamilyName(system, [&](FcPattern *face, const QString &key) {
        if (!asked.contains(key))
            return false;
        FcCharSet *characters = nullptr;
        const bool covers = FcPatternGetCharSet(face, FC_CHARSET, 0, &characters) == FcResultMatch
            && FcCharSetIsSubset(textCharacters.get(), characters);
        installed[key] = installed.value(key, true) && covers;
        return false;
    });
    QStringList present;
    QSet<QString> families; // as keys
    for (const QString &face : faces) {
        if (installed.contains(familyKey(face))) {
            present << face;
            families.insert(familyKey(face));
        }
    }
    // Where Qt's own listing costs less than building a selection, there is nothing to gain.
    const FcFontSet *systemFaces = FcConfigGetFonts(system, FcSetSystem);
    if (!systemFaces || systemFaces->nfont < facesWorthSelecting)
        return present;

    for (const QString &family : desktopFamilies)
        families.insert(familyKey(family));
    // Qt asks fontconfig for fallbacks of the first family a font names (the rest it names
    // itself), for the characters that family lacks.
    QStringList first = desktopFamilies;
    if (!present.isEmpty())
        first << present.constFirst();
    first.removeDuplicates();
    const QList<QByteArray> languages = requestLanguages();
    for (const QString &family : std::as_const(first)) {
        if (installed.value(familyKey(family)))
            continue;
        for (const QByteArray &language : languages)
            addUpToCover(families, system, family, language, textCharacters.get());
    }
    Files offer;
    addFamilies(offer, system, families);
    addCoverage(offer, system, desktopFamilies.value(0), languages.constLast());
    offer.remove(QByteArray());

    FcChar8 *systemFile = FcConfigGetFilename(system, nullptr);
    if (!systemFile)
        return present;
    const QByteArray xml = configuration(reinterpret_cast<const char *>(systemFile), offer);
    FcStrFree(systemFile);
    FcConfig *config = FcConfigCreate();
    // Should the selection fail, the system's configuration stays: slower, drawn the same.
    if (FcConfigParseAndLoadFromMemory(config, utf8(xml), FcTrue) && FcConfigBuildFonts(config))
        FcConfigSetCurrent(config);
    FcConfigDestroy(config);
    return present;
}

} // namespace kavro
