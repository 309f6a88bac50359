#include "conversion/texts.h"
#include "platform/qt_services.h"
#include "settings/ini_rate_store.h"
#include "ui/application.h"
#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(KAVRO_APPLICATION_NAME));
    QApplication::setApplicationVersion(QStringLiteral(KAVRO_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KAVRO_APP_ID));
    kavro::setUpApplication();

    kavro::QtServices services(kavro::texts::applicationTitle());
    kavro::IniRateStore store(kavro::IniRateStore::userFilePath());
    kavro::FormMain window(services, store);
    services.setWindow(&window);
    window.show();
    return QApplication::exec();
}
