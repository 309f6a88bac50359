// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/font_offer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <memory>
#include <optional>

namespace kavro {

namespace {

template <typename T, void (*destroy)(T *)> struct Deleter
{
    void operator()(T *object) const { destroy(object); }
};
using Pattern = std::unique_ptr<FcPattern, Deleter<FcPattern, FcPatternDestroy>>;
using FontSet = std::unique_ptr<FcFontSet, Deleter<FcFontSet, FcFontSetDestroy>>;
using CharSet = std::unique_ptr<FcCharSet, Deleter<FcCharSet, FcCharSetDestroy>>;
using Config = std::unique_ptr<FcConfig, Deleter<FcConfig, FcConfigDestroy>>;

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

// A selection by file name, added to the system's configuration (with the user's, which it
// includes): the offered files and the folders on their way are accepted, every other path is
// rejected. Folders off the way are never read, and faces are only compared by name, which
// costs a fraction of matching every face against patterns.
bool select(FcConfig *config, const Files &offer)
{
    Files accepted = offer;
    for (const QByteArray &path : offer) {
        qsizetype slash = path.lastIndexOf('/');
        while (slash > 0) {
            accepted.insert(path.left(slash));
            slash = path.lastIndexOf('/', slash - 1);
        }
    }
    QByteArray xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n<selectfont>\n<acceptfont>\n";
    for (const QByteArray &path : std::as_const(accepted)) {
        // fontconfig's globs have no escapes: a name with * or ? in it accepts a few more.
        xml += "<glob>" + QString::fromUtf8(path).toHtmlEscaped().toUtf8() + "</glob>\n";
    }
    // Rejecting "/*", not "*": with accepted globs beside it, fontconfig 2.15 takes a bare "*"
    // to reject nothing.
    xml += "</acceptfont>\n<rejectfont><glob>/*</glob></rejectfont>\n</selectfont>\n"
           "</fontconfig>\n";
    // Should the selection fail, the system's configuration stays: slower, drawn the same.
    return FcConfigParseAndLoadFromMemory(config, utf8(xml), FcTrue) && FcConfigBuildFonts(config)
        && FcConfigSetCurrent(config);
}

QList<QByteArray> strings(FcStrList *list)
{
    QList<QByteArray> values;
    while (const FcChar8 *value = FcStrListNext(list))
        values << QByteArray(reinterpret_cast<const char *>(value));
    FcStrListDone(list);
    return values;
}

// What an offer depends on besides its arguments, by the times fontconfig itself goes by to
// decide whether its caches still hold: the configuration files and folders read (a file
// added, removed or changed), the font folders they name, and when each font folder found
// below them last changed (a face installed or removed); and the program itself, whose rules
// made the offer. `parsed` has read the configuration and listed no face yet.
QByteArray state(
    FcConfig *parsed, const QList<QByteArray> &fontFolders, const QByteArray &arguments)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(arguments);
    const auto stamp = [&hash](const QByteArray &path) {
        struct stat info = {};
        hash.addData(path + '\0');
        if (::stat(path.constData(), &info) == 0) {
            hash.addData(
                QByteArrayView(reinterpret_cast<const char *>(&info.st_mtim), sizeof info.st_mtim));
        }
    };
    stamp(QFile::encodeName(QCoreApplication::applicationFilePath()));
    for (const QByteArray &file : strings(FcConfigGetConfigFiles(parsed)))
        stamp(file);
    for (const QByteArray &folder : strings(FcConfigGetFontDirs(parsed)))
        hash.addData("named " + folder + '\0');
    for (const QByteArray &folder : fontFolders)
        stamp(folder);
    return hash.result().toHex();
}

// An offer kept from an earlier start: the state it was made in, the font folders that state
// covers, the installed faces asked for and the offered files, one per line.
struct KeptOffer
{
    QList<QByteArray> fontFolders;
    QStringList present;
    Files files;
};

std::optional<KeptOffer> readOffer(
    const QString &path, FcConfig *parsed, const QByteArray &arguments)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    KeptOffer kept;
    for (const QByteArray &line : lines.mid(1)) {
        if (line.startsWith("folder "))
            kept.fontFolders << line.mid(7);
        else if (line.startsWith("present "))
            kept.present << QString::fromUtf8(line.mid(8));
        else if (line.startsWith("file "))
            kept.files.insert(line.mid(5));
    }
    if (kept.files.isEmpty() || lines.constFirst() != state(parsed, kept.fontFolders, arguments))
        return std::nullopt;
    return kept;
}

// Kept for the next start; never written where a name would not read back.
void keepOffer(const QString &path, const QByteArray &state, const KeptOffer &offer)
{
    QByteArray text = state + '\n';
    for (const QByteArray &folder : offer.fontFolders)
        text += "folder " + folder + '\n';
    for (const QString &face : offer.present)
        text += "present " + face.toUtf8() + '\n';
    for (const QByteArray &file : offer.files)
        text += "file " + file + '\n';
    if (text.count('\n')
        != 1 + offer.fontFolders.size() + offer.present.size() + offer.files.size())
        return;
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile save(path);
    if (save.open(QIODevice::WriteOnly) && save.write(text) == text.size())
        save.commit();
}

// For characters outside the window's own text: the family and language whose fallback order
// finds their faces, once an offer was selected, and the characters and files handled so far.
struct Coverage
{
    bool selected = false;
    QString family;
    QByteArray language;
    CharSet handled;
    Files given;
};

Coverage &coverage()
{
    static Coverage state;
    return state;
}

} // namespace

QStringList offerOnlyFonts(const QStringList &faces, const QStringList &desktopFamilies,
    const QString &text, int facesWorthSelecting, const QString &keptOffer)
{
    const QList<QByteArray> languages = requestLanguages();
    coverage() = {false, desktopFamilies.value(0), languages.constLast(), charSet(text), {}};
    const QByteArray arguments = QByteArray::number(FcGetVersion()) + '\n'
        + faces.join(u'\n').toUtf8() + "\n\n" + desktopFamilies.join(u'\n').toUtf8() + "\n\n"
        + text.toUtf8() + '\n' + languages.join('\n') + '\n'
        + QByteArray::number(facesWorthSelecting);
    // The configuration as fontconfig reads it at every start, before any face is listed: with
    // an offer kept for the same state, no face needs listing before the selection.
    const Config parsed(FcConfigCreate());
    if (!FcConfigParseAndLoad(parsed.get(), nullptr, FcTrue))
        return faces; // no fontconfig configuration at all: Qt copes as it can
    if (const std::optional<KeptOffer> kept = readOffer(keptOffer, parsed.get(), arguments)) {
        coverage().selected = select(parsed.get(), kept->files);
        return kept->present;
    }
    // Every face, as Qt would list them; Qt takes this configuration where nothing is selected.
    if (!FcConfigBuildFonts(parsed.get()) || !FcConfigSetCurrent(parsed.get()))
        return faces;
    FcConfig *system = parsed.get();
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
    KeptOffer offer;
    QSet<QString> families; // as keys
    for (const QString &face : faces) {
        if (installed.contains(familyKey(face))) {
            offer.present << face;
            families.insert(familyKey(face));
        }
    }
    // Where Qt's own listing costs less than building a selection, there is nothing to gain.
    const FcFontSet *systemFaces = FcConfigGetFonts(system, FcSetSystem);
    if (!systemFaces || systemFaces->nfont < facesWorthSelecting)
        return offer.present;

    for (const QString &family : desktopFamilies)
        families.insert(familyKey(family));
    // Qt asks fontconfig for fallbacks of the first family a font names (the rest it names
    // itself), for the characters that family lacks.
    QStringList first = desktopFamilies;
    if (!offer.present.isEmpty())
        first << offer.present.constFirst();
    first.removeDuplicates();
    for (const QString &family : std::as_const(first)) {
        if (installed.value(familyKey(family)))
            continue;
        for (const QByteArray &language : languages)
            addUpToCover(families, system, family, language, textCharacters.get());
    }
    addFamilies(offer.files, system, families);
    offer.files.remove(QByteArray());
    offer.fontFolders = strings(FcConfigGetFontDirs(system));
    const Config selection(FcConfigCreate());
    if (!FcConfigParseAndLoad(selection.get(), nullptr, FcTrue))
        return offer.present;
    const QByteArray madeIn = state(selection.get(), offer.fontFolders, arguments);
    if (select(selection.get(), offer.files)) {
        coverage().selected = true;
        keepOffer(keptOffer, madeIn, offer);
    }
    return offer.present;
}

QStringList facesForMissingCharacters(const QString &text)
{
    Coverage &state = coverage();
    if (!state.selected)
        return {};
    // Characters outside the window's text, not seen before. That an offered face has one is
    // not enough: Qt looks for it only among faces fontconfig says support its script.
    const CharSet missing(FcCharSetCreate());
    for (const char32_t character : text.toUcs4()) {
        if (!FcCharSetHasChar(state.handled.get(), character)) {
            FcCharSetAddChar(state.handled.get(), character);
            FcCharSetAddChar(missing.get(), character);
        }
    }
    if (FcCharSetCount(missing.get()) == 0)
        return {};
    // A trimmed sort keeps a face only where it draws a character no face before it has: for
    // every character the machine can draw, the face this order reaches first. Qt may order
    // other scripts' fallbacks differently; a pasted character is drawn all the same.
    static FcConfig *everyFace = FcInitLoadConfigAndFonts();
    const FontSet order = fallbackOrder(everyFace, state.family, state.language, FcTrue);
    QStringList files;
    for (int i = 0; order && i < order->nfont; ++i) {
        FcCharSet *characters = nullptr;
        const QByteArray path = file(order->fonts[i]);
        if (FcPatternGetCharSet(order->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch
            && FcCharSetIntersectCount(characters, missing.get()) > 0
            && !state.given.contains(path)) {
            state.given.insert(path);
            files << QString::fromUtf8(path);
        }
    }
    return files;
}

} // namespace kavro
