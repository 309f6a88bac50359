// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>

namespace kavro {

enum class OfferWhen {
    WhereItPays, // on a machine with enough faces that listing them costs more than selecting
    Always,
};

// Offers Qt only the faces the window draws with (platform/font_offer.h): the installed faces
// below and the desktop's, where an installed Japanese one draws all of the window's text. Call
// once, after the QApplication exists and before any text is drawn; the fonts below then name
// only installed families.
void offerWindowFonts(OfferWhen when = OfferWhen::WhereItPays);

// Gives Qt the installed faces for characters in any of the window's fields that no offered
// face draws (text pasted in another script), and lays the field out again with them.
void drawPastedCharacters(QWidget *window);

// The fields' and labels' face, falling back to proportional Japanese faces that Linux has,
// so that kana never land in a fixed-pitch face or as boxes.
QFont fieldFont(qreal pointSize);

// The desktop's own face and size with the same Japanese fallbacks: the application's font,
// so that menus and message boxes follow the desktop's text size.
QFont desktopFont();

// The desktop's face at the size at which "バージョン" fits the 65x17 buttons.
QFont buttonFont();

} // namespace kavro
