// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#include "conversion/texts.h"
#include "platform/client_frame.h"
#include "platform/qt_services.h"
#include "settings/ini_rate_store.h"
#include "ui/application.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

#include <QApplication>

namespace {

// The window's rules (a fixed frame without minimize or maximize box, no taskbar button, an
// audible beep) can only be expressed through X11. In a Wayland session with Xwayland (every
// GNOME and KDE one) the program runs through X11 unless the user chose a platform.
void preferX11()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char *argv[])
{
    preferX11();
    kavro::prepareClientFrames();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(KAVRO_APPLICATION_NAME));
    QApplication::setApplicationVersion(QStringLiteral(KAVRO_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KAVRO_APP_ID));
    kavro::offerWindowFonts();
    kavro::setUpApplication();

    kavro::QtServices services(kavro::texts::applicationTitle());
    kavro::IniRateStore store(kavro::IniRateStore::userFilePath());
    kavro::FormMain window(services, store);
    services.setWindow(&window);
    window.show();
    return QApplication::exec();
}
