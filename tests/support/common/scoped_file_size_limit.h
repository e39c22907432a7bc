// Lowers the largest file this process may write, so that a write fails part-way even for
// root; SIGXFSZ is ignored meanwhile so that the failure arrives as EFBIG.
#ifndef ORVANE_TESTS_SUPPORT_COMMON_SCOPED_FILE_SIZE_LIMIT_H
#define ORVANE_TESTS_SUPPORT_COMMON_SCOPED_FILE_SIZE_LIMIT_H

#include <csignal>
#include <sys/resource.h>

namespace orvane::test {

class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};

} // namespace orvane::test

#endif
