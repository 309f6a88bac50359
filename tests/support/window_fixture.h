// SPDX-FileCopyrightText: 2026 KAVRO developers
// SPDX-License-Identifier: MIT

#pragma once

#include "recorders.h"
#include "ui/main_window.h"

#include <QTest>

#include <memory>

namespace kavro::test {

// A window with recording services and an in-memory store, as the tests drive it.
struct WindowFixture
{
    RecordingServices services;
    std::unique_ptr<MemoryRateStore> store;
    std::unique_ptr<FormMain> window;

    void open(std::unique_ptr<MemoryRateStore> initial = std::make_unique<MemoryRateStore>())
    {
        window.reset();
        services = {};
        store = std::move(initial);
        window = std::make_unique<FormMain>(services, *store);
    }

    bool show()
    {
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename T = QWidget> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
};

} // namespace kavro::test
