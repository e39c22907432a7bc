#include "report/answer_timeout.h"

#include <charconv>

namespace orvane::report {

std::optional<std::chrono::milliseconds> parseAnswerTimeout(std::string_view text) {
    int ms = 0;
    const auto* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, ms);
    if (text.empty() || error != std::errc{} || at != end || ms < 1 || ms > kMaxAnswerTimeoutMs)
        return std::nullopt;
    return std::chrono::milliseconds{ms};
}

std::string answerTimeoutError(std::string_view source, std::string_view text) {
    return std::string(source) + " \"" + std::string(text) +
           "\" is no answer timeout: whole milliseconds from 1 to " +
           std::to_string(kMaxAnswerTimeoutMs) + " are taken.";
}

} // namespace orvane::report
