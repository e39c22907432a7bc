// An SDL virtual joystick for tests: attached while it lives, its axes set in the monitor's
// 0..65535 range.
#ifndef ORVANE_TESTS_VIRTUAL_JOYSTICK_H
#define ORVANE_TESTS_VIRTUAL_JOYSTICK_H

#include <SDL.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace orvane::test {

class VirtualJoystick {
public:
    VirtualJoystick(std::string name, int axes, int buttons)
        : name_(std::move(name)), axes_(axes), buttons_(buttons) {
        attach();
    }
    ~VirtualJoystick() { detach(); }
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    // position 0..65535, centre 32768
    void setAxis(int axis, int position) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(position - 32768));
    }
    void setButton(int button, bool pressed) {
        SDL_JoystickSetVirtualButton(joystick_, button, pressed ? SDL_PRESSED : SDL_RELEASED);
    }

    void attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = static_cast<Uint16>(axes_);
        desc.nbuttons = static_cast<Uint16>(buttons_);
        desc.name = name_.c_str();
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index);
        ASSERT_NE(joystick_, nullptr) << SDL_GetError();
        instance_ = SDL_JoystickInstanceID(joystick_);
    }
    void detach() {
        if (!joystick_) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }

private:
    std::string name_;
    int axes_;
    int buttons_;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID instance_ = -1;
};

} // namespace orvane::test

#endif
