#include "shell/device_opening.h"

#include "device/runtime_failure.h"
#include "shell/trap.h"

namespace orvane {

bool openWithRetries(const Trap& trap, const std::function<int()>& attempt,
                     const std::function<void()>& afterFailedPass, OpenRetries retries) {
    for (int pass = 0; pass < retries.passes; ++pass) {
        for (int i = 0; i < retries.attemptsPerPass; ++i) {
            int result = 0;
            bool unbound = false;
            trap([&] {
                try {
                    result = attempt();
                } catch (const RuntimeFailure& f) {
                    unbound = f.number() == failure::kFileNotFound ||
                              f.number() == failure::kEntryPointMissing;
                    throw;
                }
            });
            if (result == 1) return true;
            if (unbound) return false;
        }
        if (afterFailedPass) afterFailedPass();
    }
    return false;
}

} // namespace orvane
