// State that the library's objects share: the back end and the read mode of the last Open.
#ifndef TAVREL_SESSION_H
#define TAVREL_SESSION_H

#include "backend.h"

#include <functional>
#include <memory>

namespace tavrel {

class Session {
public:
    using BackendFactory = std::function<std::unique_ptr<Backend>()>;

    // The back end is made on first use, so that the environment a program sets up after
    // loading the library still counts.
    explicit Session(BackendFactory factory);
    explicit Session(std::shared_ptr<Backend> backend);

    // The session of the plain functions and of default-constructed objects.
    static std::shared_ptr<Session> library();

    Backend& backend();
    // Replaces the back end; handles already open keep working on the old one.
    void useBackend(std::shared_ptr<Backend> backend);

    // Set by every Open that found its device: the last one decides how Read works.
    bool overlappedMode() const { return overlappedMode_; }
    void setOverlappedMode(bool on) { overlappedMode_ = on; }

private:
    BackendFactory factory_;
    std::shared_ptr<Backend> backend_;
    bool overlappedMode_ = false;
};

} // namespace tavrel

#endif
