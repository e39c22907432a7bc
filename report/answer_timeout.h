// The answer bound a user may set: the program's and orvane-cli's --answer-timeout MS, or
// the environment variable below, for an interface that answers late (behind a virtual
// machine's USB passthrough, or on a busy emulated machine).
#ifndef ORVANE_REPORT_ANSWER_TIMEOUT_H
#define ORVANE_REPORT_ANSWER_TIMEOUT_H

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::report {

inline constexpr const char* kAnswerTimeoutVariable = "ORVANE_ANSWER_TIMEOUT_MS";
inline constexpr std::string_view kAnswerTimeoutOption = "--answer-timeout";
inline constexpr int kMaxAnswerTimeoutMs = 60000;

// Whole milliseconds from 1 to 60000; nothing for anything else.
std::optional<std::chrono::milliseconds> parseAnswerTimeout(std::string_view text);

// What is wrong with a value given for the bound, in words.
std::string answerTimeoutError(std::string_view source, std::string_view text);

} // namespace orvane::report

#endif
