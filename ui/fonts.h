#pragma once

#include <QFont>

namespace kavro {

// The fields' and labels' face, falling back to proportional Japanese faces that Linux has,
// so that kana never land in a fixed-pitch face or as boxes.
QFont fieldFont(qreal pointSize);

// The desktop's default face with the same Japanese fallbacks, for menus, buttons and
// message boxes; small enough that "バージョン" fits a 65x17 button.
QFont uiFont();

} // namespace kavro
