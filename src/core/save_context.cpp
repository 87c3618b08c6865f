#include "core/save_context.h"

#include <chrono>
#include <memory>
#include <random>

namespace Quorv {
namespace detail {

std::uint64_t systemFileTime() {
    // Seconds between 1601-01-01 and 1970-01-01.
    constexpr std::uint64_t kEpochDifference = 11644473600ull;
    auto sinceUnixEpoch = std::chrono::system_clock::now().time_since_epoch();
    auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceUnixEpoch).count() / 100;
    return static_cast<std::uint64_t>(ticks) + kEpochDifference * 10000000ull;
}

namespace {

// A version 4 GUID from 128 random bits.
template <class Source>
Guid guidFrom(Source& source) {
    Guid g{};
    for (std::size_t i = 0; i < g.size(); i += 8) {
        std::uint64_t r = source();
        for (std::size_t k = 0; k < 8; ++k) g[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
    }
    g[7] = static_cast<std::uint8_t>((g[7] & 0x0F) | 0x40); // version 4 (Data3's high nibble)
    g[8] = static_cast<std::uint8_t>((g[8] & 0x3F) | 0x80); // RFC 4122 variant
    return g;
}

} // namespace

Guid randomGuid() {
    std::random_device device; // the platform's random source; one per call, nothing shared
    auto source = [&device] { return (static_cast<std::uint64_t>(device()) << 32) | device(); };
    return guidFrom(source);
}

SaveContext SaveContext::system() {
    // One generator per save, seeded from the platform's random source: opening the random
    // device for every picture costs more than writing the picture.
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
    auto generator = std::make_shared<std::mt19937_64>(seed);
    return SaveContext{&systemFileTime, [generator] { return guidFrom(*generator); }};
}

} // namespace detail
} // namespace Quorv
