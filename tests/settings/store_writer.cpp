// Writes rates through the program's store as fast as a held spinner arrow could:
//   store_writer FILE FIRST COUNT
// writes FIRST, FIRST+1, ... COUNT times; exits 1 if any write failed.
#include "settings/ini_rate_store.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    kavro::IniRateStore store(args[1]);
    store.load();
    const int first = args[2].toInt();
    const int count = args[3].toInt();
    bool failed = false;
    for (int i = 0; i < count; ++i)
        failed |= !store.save(QString::number(first + i));
    return failed ? 1 : 0;
}
