// The trapping rule of the handlers: each statement runs through a Trap; a run-time failure
// in it is reported through errorMsg and the handler goes on with its next statement.
#ifndef ORVANE_SHELL_TRAP_H
#define ORVANE_SHELL_TRAP_H

#include <exception>
#include <new>
#include <stdexcept>

#include "device/runtime_failure.h"
#include "shell/event_log.h"

namespace orvane {

class Trap {
public:
    explicit Trap(EventLog& log) : log_(log) {}

    // Runs one statement; returns false when it failed (and was reported).
    template <class Statement> bool operator()(Statement&& statement) const {
        try {
            statement();
            return true;
        } catch (const RuntimeFailure& f) {
            log_.errorMsg(f);
        } catch (const std::bad_alloc&) {
            log_.errorMsg(7, "Out of memory");
        } catch (const std::out_of_range&) {
            log_.errorMsg(failure::kSubscriptOutOfRange, "Subscript out of range");
        } catch (const std::exception& e) {
            log_.errorMsg(51, std::string("Internal error: ") + e.what());
        }
        return false;
    }

private:
    EventLog& log_;
};

} // namespace orvane

#endif
