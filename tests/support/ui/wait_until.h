// Waits in an end-to-end test for a state of the windows, running their events meanwhile:
// polling for the state, never sleeping a fixed time that a busy machine may overrun.
#ifndef ORVANE_TESTS_SUPPORT_UI_WAIT_UNTIL_H
#define ORVANE_TESTS_SUPPORT_UI_WAIT_UNTIL_H

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

#include "ui/test_fixture.h"

namespace orvane::test {

inline bool waitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds bound = patient(std::chrono::seconds(10))) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace orvane::test

#endif
