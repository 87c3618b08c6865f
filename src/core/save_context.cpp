#include "core/save_context.h"

#include <chrono>
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

Guid randomGuid() {
    std::random_device source; // the platform's random source; one per call, nothing shared
    Guid g{};
    for (std::size_t i = 0; i < g.size(); i += 4) {
        std::uint32_t r = source();
        for (std::size_t k = 0; k < 4; ++k) g[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
    }
    g[7] = static_cast<std::uint8_t>((g[7] & 0x0F) | 0x40); // version 4 (Data3's high nibble)
    g[8] = static_cast<std::uint8_t>((g[8] & 0x3F) | 0x80); // RFC 4122 variant
    return g;
}

SaveContext SaveContext::system() { return SaveContext{&systemFileTime, &randomGuid}; }

} // namespace detail
} // namespace Quorv
