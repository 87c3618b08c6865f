#include "core/record.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace Quorv {
namespace detail {

namespace {
std::string recordName(RecordType type) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(type));
    return std::string("record ") + buf;
}
} // namespace

std::uint32_t checkedRecordLength(std::size_t length, RecordType type) {
    if (length > 0xFFFFFFFFu) throw std::length_error(recordName(type) + " is longer than 4 GB");
    return static_cast<std::uint32_t>(length);
}

void checkWrittenLength(std::size_t expected, std::size_t written, RecordType type) {
    if (expected != written) {
        throw std::logic_error(recordName(type) + " wrote " + std::to_string(written) +
                               " bytes after declaring " + std::to_string(expected));
    }
}

} // namespace detail
} // namespace Quorv
