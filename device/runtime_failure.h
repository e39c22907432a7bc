// A run-time failure of a handler: a number and a description, as the error report
// shows them ("Error " + number + ", " + description).
#ifndef ORVANE_DEVICE_RUNTIME_FAILURE_H
#define ORVANE_DEVICE_RUNTIME_FAILURE_H

#include <stdexcept>
#include <string>

namespace orvane {

class RuntimeFailure : public std::runtime_error {
public:
    RuntimeFailure(int number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

// Numbers the program uses for its failures.
namespace failure {
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kFileNotFound = 53;       // library missing
inline constexpr int kObjectNotSet = 91;       // e.g. no list entry selected
inline constexpr int kEntryPointMissing = 453; // library lacks a function
} // namespace failure

} // namespace orvane

#endif
