#include "hidg_session.h"

#include "emulator/joystick.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace emu::gadget {

namespace {

using namespace std::chrono_literals;

// How often the loops look at the stop flag while nothing happens.
constexpr int kPollMs = 20;

void trace(std::FILE* to, const char* what, std::span<const uint8_t> report) {
    if (!to) return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    std::string line;
    for (const uint8_t b : report.first(std::min<std::size_t>(report.size(), 8))) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    std::fprintf(to, "%lld %s%s\n", static_cast<long long>(ms.count()), what, line.c_str());
    std::fflush(to);
}

bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, timeoutMs) > 0 && (p.revents & events) != 0;
}

// Output reports from the host, passed to the model in the order they came.
void forwardRequests(int fd, Port& port, std::atomic<bool>& stop,
                     const std::function<bool(long)>& onRequest, SessionCounters& counters) {
    std::array<uint8_t, 1024> buf{};
    while (!stop) {
        if (!waitFor(fd, POLLIN, kPollMs)) continue;
        const ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n <= 0) continue;
        const std::span report(buf.data(), static_cast<std::size_t>(n));
        trace(counters.trace, "request", report);
        if (!onRequest(counters.requests + 1)) return;
        if (port.write(std::span(buf.data(), static_cast<std::size_t>(n))) < 0) continue;
        ++counters.requests;
    }
}

// A report the host has not yet polled blocks the endpoint. A joystick report that finds
// it busy is skipped, as the interface only ever sends its latest state; an answer waits.
bool sendToHost(int fd, std::span<const uint8_t> report, bool skippable,
                const std::atomic<bool>& stop) {
    for (;;) {
        if (::write(fd, report.data(), report.size()) >= 0) return true;
        if (errno != EAGAIN && errno != EINTR) return false;
        if (skippable || stop) return false;
        waitFor(fd, POLLOUT, kPollMs);
    }
}

} // namespace

SessionEnd serve(int fd, Port& port, std::atomic<bool>& stop,
                 const std::function<bool(long)>& onRequest, SessionCounters& counters) {
    std::jthread requests([&] { forwardRequests(fd, port, stop, onRequest, counters); });
    std::array<uint8_t, 1024> buf{};
    SessionEnd end = SessionEnd::Stopped;
    while (!stop) {
        const int n = port.readBlocking(buf, std::chrono::milliseconds(kPollMs));
        if (n < 0) {
            end = SessionEnd::DeviceLeft;
            break;
        }
        if (n == 0) continue;
        const bool joystick = buf[0] == kJoystickReportId;
        const bool sent =
            sendToHost(fd, std::span(buf.data(), static_cast<std::size_t>(n)), joystick, stop);
        if (!joystick) {
            trace(counters.trace, sent ? "answer" : "answer not sent",
                  std::span(buf.data(), static_cast<std::size_t>(n)));
            counters.answers += sent ? 1 : 0;
        } else if (sent) {
            const auto now = std::chrono::steady_clock::now();
            if (counters.joystickSent > 0 &&
                now - counters.lastJoystick >= std::chrono::milliseconds(25))
                ++counters.joystickLate;
            counters.lastJoystick = now;
            ++counters.joystickSent;
        } else
            ++counters.joystickSkipped;
    }
    // Whatever is still in the endpoint (the acknowledgement before a restart) reaches the
    // host before the device leaves.
    waitFor(fd, POLLOUT, 500);
    stop = true;
    return end;
}

} // namespace emu::gadget
