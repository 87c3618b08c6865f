// The persist directory and the user edit that close the "PowerPoint Document" stream
// ([MS-PPT] 2.3.4 PersistDirectoryAtom, 2.3.3 UserEditAtom).
#pragma once

#include <cstdint>
#include <vector>

#include "core/output_stream.h"

namespace Quorv {

struct PersistOffsets {
    std::uint32_t master;                  // stream offset of the main master
    std::vector<std::uint32_t> slideStarts; // stream offset of each slide, in order
};

// The largest persist id of a document with this many slides (2 without slides).
std::uint32_t largestPersistId(std::size_t slideCount);

// Throws QvException code 12 when the slides need persist ids the format cannot hold.
void checkPersistIdRange(std::size_t slideCount);

void writePersistDirectory(QvOutputStream& s, const PersistOffsets& offsets);

// The user edit of a document with this many slides whose persist directory begins at
// persistDirectoryOffset.
void writeUserEdit(QvOutputStream& s, std::size_t slideCount, std::uint32_t persistDirectoryOffset);

} // namespace Quorv
