// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Writes rates through the program's store as fast as a held spinner arrow could:
//   store_writer FILE FIRST COUNT
// writes FIRST, FIRST+1, ... COUNT times, saying "written" on standard output after each; exits
// 1 if any write failed.
//   store_writer --hold FILE MS
// holds QSettings' lock on the store for MS milliseconds, after saying "locked" on standard
// output, as an instance stopped in the middle of a QSettings write would.
#include "settings/ini_rate_store.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QStringList>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    if (args[1] == QLatin1String("--hold")) {
        QLockFile lock(args[2] + QStringLiteral(".lock"));
        if (!lock.lock())
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        QThread::msleep(args[3].toULong());
        return 0;
    }
    kavro::IniRateStore store(args[1]);
    store.load();
    const int first = args[2].toInt();
    const int count = args[3].toInt();
    bool failed = false;
    for (int i = 0; i < count; ++i) {
        failed |= !store.save(QString::number(first + i));
        std::puts("written");
        std::fflush(stdout);
    }
    return failed ? 1 : 0;
}
