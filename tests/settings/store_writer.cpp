// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// Writes rates through the program's store as fast as a held spinner arrow could:
//   store_writer FILE FIRST COUNT
// writes FIRST, FIRST+1, ... COUNT times, saying "written" on standard output after each; exits
// 1 if any write failed.
//   store_writer --hold FILE MS
// holds the store's lock for MS milliseconds, after saying "locked" on standard output. The
// lock names this process, as a writer's does, but carries no native lock (as on a disk that
// has none), so only what it says tells other writers that its owner is alive.
#include "settings/ini_rate_store.h"

#include <QCoreApplication>
#include <QFile>
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
        const QString lockPath = args[2] + QStringLiteral(".lock");
        QByteArray content;
        {
            QLockFile lock(lockPath);
            QFile file(lockPath);
            if (!lock.lock() || !file.open(QIODevice::ReadOnly))
                return 1;
            content = file.readAll();
        }
        QFile lock(lockPath);
        if (!lock.open(QIODevice::NewOnly) || lock.write(content) != content.size()
            || !lock.flush())
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        QThread::msleep(args[3].toULong());
        return lock.remove() ? 0 : 1;
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
