#include "document/persist_directory.h"

#include <algorithm>

#include "core/record.h"
#include "document/document_container.h"
#include "quorv/exception.h"

namespace Quorv {

namespace {

// A persist directory entry holds a 20-bit first id and a 12-bit count of consecutive ids.
constexpr std::uint32_t kMaxPersistId = 0xFFFFF;
constexpr std::size_t kMaxIdsPerEntry = 0xFFF;

void writeEntryHeader(QvOutputStream& s, std::uint32_t firstId, std::size_t count) {
    s.writeU32(firstId | (static_cast<std::uint32_t>(count) << 20));
}

} // namespace

std::uint32_t largestPersistId(std::size_t slideCount) {
    return slideCount == 0 ? kMasterPersistId : slidePersistId(slideCount - 1);
}

void checkPersistIdRange(std::size_t slideCount) {
    if (slideCount > 0 && slideCount - 1 > kMaxPersistId - 4) {
        throw makeException(QV_ERR_TOO_LARGE, "more slides than persist ids (at most 1048572 slides)");
    }
}

void writePersistDirectory(QvOutputStream& s, const PersistOffsets& offsets) {
    const std::vector<std::uint32_t>& slides = offsets.slideStarts;
    writeRecord(s, atom(RecordType::PersistDirectoryAtom), [&](QvOutputStream& o) {
        // Ids 1 (document), 2 (master) and 3 (first slide) in one entry.
        writeEntryHeader(o, kDocumentPersistId, slides.empty() ? 2 : 3);
        o.writeU32(0); // the document container begins the stream
        o.writeU32(offsets.master);
        if (!slides.empty()) o.writeU32(slides[0]);
        // Ids 5 onwards for the other slides, in entries of at most 4095 ids.
        for (std::size_t i = 1; i < slides.size(); i += kMaxIdsPerEntry) {
            std::size_t count = std::min(kMaxIdsPerEntry, slides.size() - i);
            writeEntryHeader(o, slidePersistId(i), count);
            for (std::size_t k = i; k < i + count; ++k) o.writeU32(slides[k]);
        }
    });
}

void writeUserEdit(QvOutputStream& s, std::size_t slideCount, std::uint32_t persistDirectoryOffset) {
    writeRecord(s, atom(RecordType::UserEditAtom), [&](QvOutputStream& o) {
        o.writeU32(slideCount == 0 ? 0 : slideId(0)); // lastSlideIdRef
        o.writeU16(0x1599);                           // version
        o.writeByte(0x00);                            // minorVersion
        o.writeByte(0x03);                            // majorVersion
        o.writeU32(0);                                // offsetLastEdit: no earlier edit
        o.writeU32(persistDirectoryOffset);
        o.writeU32(kDocumentPersistId); // docPersistIdRef
        o.writeU32(largestPersistId(slideCount)); // persistIdSeed
        o.writeU16(1);      // lastView: slide view
        o.writeU16(0x0012); // unused
    });
}

} // namespace Quorv
