// What a save needs from the outside world: the current time and fresh identifiers. Tests replace
// both to make files byte-for-byte reproducible.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace Quorv {
namespace detail {

using Guid = std::array<std::uint8_t, 16>;

struct SaveContext {
    // The current time as a FILETIME: 100-nanosecond intervals since 1601-01-01 UTC.
    std::function<std::uint64_t()> now;
    // A new random (version 4) GUID, in its 16-byte binary form.
    std::function<Guid()> newGuid;
    // The number of faces in the font table of the document being saved: a font reference
    // beyond it names no face.
    std::size_t fontCount = 129;

    // The system clock and the platform's random source.
    static SaveContext system();
};

std::uint64_t systemFileTime();
Guid randomGuid();

} // namespace detail
} // namespace Quorv
