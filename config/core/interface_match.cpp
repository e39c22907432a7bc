#include "config/core/interface_match.h"

namespace orvane::config {

bool sameOnInterface(const Configuration& a, const Configuration& b,
                     const std::optional<FirmwareVersion>& firmware) {
    const bool mixers = !firmware || supportsMixers(*firmware);
    const bool decoding = !firmware || supportsDecodingMode(*firmware);
    return a.axisChannel == b.axisChannel && a.axisInvert == b.axisInvert &&
           a.buttonChannel == b.buttonChannel && a.buttonThreshold == b.buttonThreshold &&
           a.buttonInvert == b.buttonInvert && a.buttonActive == b.buttonActive &&
           a.bootloaderEnable == b.bootloaderEnable && (!mixers || a.mixers == b.mixers) &&
           (!decoding || a.decodingMode == b.decodingMode);
}

InterfaceMatch::InterfaceMatch(const Configuration& shown) : sinceLoad_(shown), settled_(shown) {}

void InterfaceMatch::reset(const Configuration& shown) {
    *this = InterfaceMatch(shown);
}

void InterfaceMatch::loaded(const Configuration& before, const Configuration& shown,
                            bool complete) {
    if (complete) interface_ = shown;
    if (!complete && !same(before, settled_)) return; // the edits not overwritten stay edits
    sinceLoad_ = shown;
    settled_ = shown;
}

void InterfaceMatch::transmitted(const Configuration& sent, bool complete) {
    if (complete)
        interface_ = sent;
    else
        interface_.reset();
}

void InterfaceMatch::readFromFile(const Configuration& shown, bool complete) {
    settled_ = shown;
    if (complete) file_ = shown;
}

bool InterfaceMatch::holdsInterfaceConfiguration(const Configuration& shown) const {
    return same(shown, interface_ ? *interface_ : sinceLoad_);
}

bool InterfaceMatch::wouldLoseEdits(const Configuration& shown) const {
    if (same(shown, settled_)) return false;
    if (interface_ && same(shown, *interface_)) return false;
    return !(file_ && same(shown, *file_));
}

} // namespace orvane::config
