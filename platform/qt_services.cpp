#include "platform/qt_services.h"

#include "conversion/texts.h"

#include <QApplication>
#include <QMessageBox>

namespace kavro {

void QtServices::showMessage(const QString &text, MessageStyle style, const QString &caption)
{
    const QMessageBox::Icon icon
        = style == MessageStyle::Information ? QMessageBox::Information : QMessageBox::NoIcon;
    QMessageBox box(icon, caption.isEmpty() ? texts::applicationTitle() : caption, text,
        QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtServices::beep()
{
    QApplication::beep();
}

void QtServices::endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace kavro
