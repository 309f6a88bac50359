// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "platform/font_offer.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace kavro {

namespace {

struct PatternDeleter
{
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8 *utf8(const QByteArray &text)
{
    return reinterpret_cast<const FcChar8 *>(text.constData());
}

bool installed(FcConfig *config, const QString &family)
{
    const Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, utf8(family.toUtf8()));
    FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *faces = FcFontList(config, pattern.get(), objects);
    FcObjectSetDestroy(objects);
    const bool found = faces && faces->nfont > 0;
    if (faces)
        FcFontSetDestroy(faces);
    return found;
}

// The family of the face fontconfig's own rules pick for text in this language set in this
// family: what Qt will draw with, the family itself or an alias's target or a fallback.
QString pickedFamily(FcConfig *config, const QString &family, const char *language)
{
    const Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, utf8(family.toUtf8()));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8 *>(language));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(config, pattern.get(), &result));
    FcChar8 *picked = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &picked) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(picked));
}

// The system's configuration (with the user's, which it includes), then a selection that
// accepts these families and rejects every other face, scalable or not.
QByteArray configuration(const QString &systemFile, const QStringList &families)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n<include>%1</include>\n"
                                 "<selectfont>\n<acceptfont>\n")
                      .arg(systemFile.toHtmlEscaped());
    for (const QString &family : families)
        xml += QStringLiteral("<pattern><patelt name=\"family\"><string>%1</string></patelt>"
                              "</pattern>\n")
                   .arg(family.toHtmlEscaped());
    xml += QStringLiteral(
        "</acceptfont>\n<rejectfont>\n"
        "<pattern><patelt name=\"scalable\"><bool>true</bool></patelt></pattern>\n"
        "<pattern><patelt name=\"scalable\"><bool>false</bool></patelt></pattern>\n"
        "</rejectfont>\n</selectfont>\n</fontconfig>\n");
    return xml.toUtf8();
}

} // namespace

QStringList offerOnlyFonts(const QStringList &faces, const QString &desktopFace)
{
    if (!FcInit())
        return faces; // no fontconfig configuration at all: Qt copes as it can
    FcConfig *system = FcConfigGetCurrent();
    QStringList present;
    for (const QString &face : faces) {
        if (installed(system, face))
            present << face;
    }
    // Each match weighs every installed face: only the desktop's face, often an alias, is
    // matched. The faces above that are installed are what Qt is asked for, and draw as
    // themselves.
    QStringList offered = present;
    offered << desktopFace;
    for (const char *language : {"ja", "en"})
        offered << pickedFamily(system, desktopFace, language);
    offered.removeAll(QString());
    offered.removeDuplicates();

    FcChar8 *systemFile = FcConfigGetFilename(system, nullptr);
    if (!systemFile)
        return present;
    const QByteArray xml
        = configuration(QString::fromUtf8(reinterpret_cast<const char *>(systemFile)), offered);
    FcStrFree(systemFile);
    FcConfig *config = FcConfigCreate();
    // Should the selection fail, the system's configuration stays: slower, drawn the same.
    if (FcConfigParseAndLoadFromMemory(config, utf8(xml), FcTrue) && FcConfigBuildFonts(config))
        FcConfigSetCurrent(config);
    FcConfigDestroy(config);
    return present;
}

} // namespace kavro
