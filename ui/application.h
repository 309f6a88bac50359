// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kavro {

// What the program sets up once, before its window exists: the desktop's font with Japanese
// fallbacks, Qt's own texts (context menus, standard buttons) in Japanese, and how screen
// readers see the program's own controls. Needs the QApplication.
void setUpApplication();

} // namespace kavro
