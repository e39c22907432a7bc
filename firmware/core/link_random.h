// The random bytes of the probe and start commands: the standard library's generator,
// seeded once by the dialog and with a fixed seed in tests.
#ifndef ORVANE_FIRMWARE_CORE_LINK_RANDOM_H
#define ORVANE_FIRMWARE_CORE_LINK_RANDOM_H

#include <cstdint>
#include <random>

namespace orvane::firmware {

class LinkRandom {
public:
    explicit LinkRandom(std::uint32_t seed) : engine_(seed) {}
    // A whole number from low to high, both included, uniformly distributed.
    int Rand(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }

private:
    std::mt19937 engine_;
};

} // namespace orvane::firmware

#endif
