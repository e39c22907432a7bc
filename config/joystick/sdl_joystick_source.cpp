#include "config/joystick/sdl_joystick_source.h"

#include <SDL.h>

#include <algorithm>
#include <array>

namespace orvane::joystick {

SdlJoystickSystem::SdlJoystickSystem() {
    // The dialog polls while another window may have the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Ctrl+C must still end the program instead of becoming an SDL quit event nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Joysticks as the kernel's input layer presents them; SDL's own HID drivers would also
    // open hidraw nodes, the interface's among them.
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    ready_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    // Nobody reads SDL's event queue: states are polled, so no events pile up there.
    if (ready_) SDL_JoystickEventState(SDL_IGNORE);
}

SdlJoystickSystem::~SdlJoystickSystem() {
    if (ready_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void SdlJoystickSource::Closer::operator()(SDL_Joystick* joystick) const {
    SDL_JoystickClose(joystick);
}

SdlJoystickSource::~SdlJoystickSource() {
    releaseDirectInput();
}

bool SdlJoystickSource::initDirectInput() {
    releaseDirectInput();
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return false;
    SDL_JoystickUpdate();
    prepared_ = true;
    takeAttached();
    return true;
}

bool SdlJoystickSource::updateJoystickList() {
    if (!prepared_) return false;
    SDL_JoystickUpdate();
    const int count = std::max(SDL_NumJoysticks(), 0);
    bool same = count == static_cast<int>(entries_.size());
    for (int i = 0; same && i < count; ++i)
        same = SDL_JoystickGetDeviceInstanceID(i) == entries_[static_cast<std::size_t>(i)].instance;
    if (same) return false;
    takeAttached();
    return true;
}

void SdlJoystickSource::takeAttached() {
    std::vector<JoystickEntry> entries;
    std::vector<Handle> handles;
    const int count = std::max(SDL_NumJoysticks(), 0);
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(i);
        Handle handle;
        const auto kept =
            std::find_if(entries_.begin(), entries_.end(),
                         [&](const JoystickEntry& e) { return e.instance == instance; });
        if (kept != entries_.end())
            handle = std::move(handles_[static_cast<std::size_t>(kept - entries_.begin())]);
        else
            handle.reset(SDL_JoystickOpen(i));
        // A joystick that left between the count and the opening is simply not listed.
        if (!handle) continue;
        std::array<char, 33> guid{};
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(handle.get()), guid.data(),
                                  static_cast<int>(guid.size()));
        const char* name = SDL_JoystickName(handle.get());
        entries.push_back(JoystickEntry{instance, name ? name : "", guid.data()});
        handles.push_back(std::move(handle));
    }
    entries_ = std::move(entries);
    handles_ = std::move(handles);
}

SDL_Joystick* SdlJoystickSource::polled(int position) {
    if (!prepared_ || position < 0 || position >= static_cast<int>(handles_.size())) return nullptr;
    SDL_Joystick* joystick = handles_[static_cast<std::size_t>(position)].get();
    SDL_JoystickUpdate();
    return SDL_JoystickGetAttached(joystick) ? joystick : nullptr;
}

JoystickAxes SdlJoystickSource::readJoystickAxes(int position) {
    JoystickAxes axes{};
    SDL_Joystick* joystick = polled(position);
    if (!joystick) return axes;
    const int count = std::min(SDL_JoystickNumAxes(joystick), static_cast<int>(axes.size()));
    // SDL's -32768..32767 onto the 0..65535 the monitor's arithmetic expects.
    for (int a = 0; a < count; ++a)
        axes[static_cast<std::size_t>(a)] = SDL_JoystickGetAxis(joystick, a) + 32768.0;
    return axes;
}

JoystickButtons SdlJoystickSource::readJoystickButtons(int position) {
    JoystickButtons buttons{};
    SDL_Joystick* joystick = polled(position);
    if (!joystick) return buttons;
    const int count = std::min(SDL_JoystickNumButtons(joystick), static_cast<int>(buttons.size()));
    for (int k = 0; k < count; ++k)
        buttons[static_cast<std::size_t>(k)] = SDL_JoystickGetButton(joystick, k) != 0;
    return buttons;
}

void SdlJoystickSource::releaseDirectInput() {
    handles_.clear();
    entries_.clear();
    prepared_ = false;
}

} // namespace orvane::joystick
