// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "ui/application.h"

#include "ui/line_edit_accessible.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kavro {

namespace {

// Every other word in the window is Japanese, whatever the desktop's language.
void loadQtJapanese()
{
    auto *translator = new QTranslator(qApp);
    if (translator->load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator; // Qt's texts stay English; nothing else depends on them
}

} // namespace

void setUpApplication()
{
    QApplication::setFont(desktopFont());
    loadQtJapanese();
    fixLineEditAccessibility();
}

} // namespace kavro
