// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

// In-process benchmarks: one conversion, one spinner step with its durable store write, and
// building and showing the window. Run offscreen; they report and never fail.
#include "conversion/conversion.h"
#include "platform/services.h"
#include "settings/ini_rate_store.h"
#include "ui/main_window.h"
#include "ui/fields.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace kavro;
using namespace Qt::StringLiterals;

namespace {

class QuietServices final : public Services
{
public:
    void showMessage(const QString &, MessageStyle, const QString &) override { }
    void beep() override { }
    void endProgram() override { }
};

class MemoryStore final : public RateStore
{
public:
    QString load() override { return defaultRate(); }
    bool save(const QString &) override { return true; }
};

// On the disk that holds the real store, not a RAM-backed /tmp, so each write pays for the
// same flush to disk as in use.
QString storeFolderTemplate()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(config);
    return config + u"/kavro-bench-XXXXXX"_s;
}

// The real window over a real store file.
struct WindowOnDisk
{
    QTemporaryDir dir {storeFolderTemplate()};
    IniRateStore store {dir.filePath(u"RuvU.ini"_s)};
    QuietServices services;
    FormMain window {services, store};

    RateField *spinner() { return window.findChild<RateField *>(u"Text1"_s); }
};

} // namespace

class bench_InProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void conversion();
    void spinnerStepWithDurableWrite();
    void spinnerStepLatencyDistribution();
    void buildAndShowWindow();
};

void bench_InProcess::conversion()
{
    const QString currency = u"USAドル"_s;
    const QString amount = u"9345797392523"_s;
    const QString rate = u"123"_s;
    QBENCHMARK
    {
        const Conversion result = convert(currency, amount, rate);
        QVERIFY(result.outcome == Outcome::Converted);
    }
}

void bench_InProcess::spinnerStepWithDurableWrite()
{
    WindowOnDisk onDisk;
    RateField *spinner = onDisk.spinner();
    int direction = 1;
    QBENCHMARK
    {
        spinner->stepBy(direction);
        direction = -direction;
    }
}

void bench_InProcess::spinnerStepLatencyDistribution()
{
    WindowOnDisk onDisk;
    RateField *spinner = onDisk.spinner();

    constexpr int kSteps = 2000;
    std::vector<qint64> nanoseconds;
    nanoseconds.reserve(kSteps);
    QElapsedTimer timer;
    for (int i = 0; i < kSteps; ++i) {
        timer.start();
        spinner->stepBy(i % 2 ? -1 : 1);
        nanoseconds.push_back(timer.nsecsElapsed());
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    const auto at = [&](double q) {
        return double(nanoseconds[static_cast<size_t>(q * (kSteps - 1))]) / 1e6;
    };
    qInfo("spinner step with durable write over %d steps: median %.3f ms, p90 %.3f ms, "
          "p99 %.3f ms, max %.3f ms",
        kSteps, at(0.5), at(0.9), at(0.99), at(1.0));
}

void bench_InProcess::buildAndShowWindow()
{
    QuietServices services;
    MemoryStore store;
    QBENCHMARK
    {
        FormMain window(services, store);
        window.show();
        QCoreApplication::processEvents();
    }
}

QTEST_MAIN(bench_InProcess)
#include "bench_inprocess.moc"
