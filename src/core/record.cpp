#include "core/record.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace Quorv {
namespace detail {

std::uint32_t checkedRecordLength(std::size_t length, RecordType type) {
    if (length <= 0xFFFFFFFFu) return static_cast<std::uint32_t>(length);
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(type));
    throw std::length_error(std::string("record ") + buf + " is longer than 4 GB");
}

} // namespace detail
} // namespace Quorv
