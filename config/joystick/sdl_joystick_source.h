// The joystick layer on SDL2's joystick API. SDL is prepared once per process
// (SdlJoystickSystem); a source then opens the attached joysticks for one dialog.
#ifndef ORVANE_CONFIG_JOYSTICK_SDL_JOYSTICK_SOURCE_H
#define ORVANE_CONFIG_JOYSTICK_SDL_JOYSTICK_SOURCE_H

#include <memory>
#include <vector>

#include "config/joystick/joystick_source.h"

struct _SDL_Joystick;

namespace orvane::joystick {

// SDL's joystick subsystem for the life of the process, without video. Joystick events are
// allowed in the background and no events are queued: the monitor polls.
class SdlJoystickSystem {
public:
    SdlJoystickSystem();
    ~SdlJoystickSystem();
    SdlJoystickSystem(const SdlJoystickSystem&) = delete;
    SdlJoystickSystem& operator=(const SdlJoystickSystem&) = delete;

    bool ready() const { return ready_; }

private:
    bool ready_ = false;
};

class SdlJoystickSource final : public JoystickSource {
public:
    SdlJoystickSource() = default;
    ~SdlJoystickSource() override;
    SdlJoystickSource(const SdlJoystickSource&) = delete;
    SdlJoystickSource& operator=(const SdlJoystickSource&) = delete;

    bool initDirectInput() override;
    bool updateJoystickList() override;
    const std::vector<JoystickEntry>& joysticks() const override { return entries_; }
    JoystickAxes readJoystickAxes(int position) override;
    JoystickButtons readJoystickButtons(int position) override;
    void releaseDirectInput() override;

private:
    struct Closer {
        void operator()(_SDL_Joystick* joystick) const;
    };
    using Handle = std::unique_ptr<_SDL_Joystick, Closer>;

    // The joystick at `position` polled afresh, or null when there is none to read.
    _SDL_Joystick* polled(int position);
    // Opens what is attached now, keeping the handles of joysticks still there.
    void takeAttached();

    bool prepared_ = false;
    std::vector<JoystickEntry> entries_;
    std::vector<Handle> handles_; // parallel to entries_
};

} // namespace orvane::joystick

#endif
