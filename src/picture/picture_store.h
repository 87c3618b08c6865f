// The picture's entry in the picture store of the document (OfficeArtFBSE, [MS-ODRAW] 2.2.32).
#pragma once

#include <cstdint>

#include "core/output_stream.h"
#include "picture/blip_records.h"

namespace Quorv {
namespace picture {

struct StoreEntry {
    BlipKind kind = BlipKind::None;
    BlipIdentifier id{};
    std::uint32_t size = 0;   // of the picture record, header included
    std::uint32_t offset = 0; // of the picture record in the "Pictures" stream
};

// 44 bytes. An entry of kind None is written as an empty entry (no type, no identifier, size 0,
// no reference, offset 0), like the store's first entry.
void writeStoreEntry(QvOutputStream& s, const StoreEntry& entry);

} // namespace picture
} // namespace Quorv
