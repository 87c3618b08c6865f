// The save pipeline: turns a PPTDocument into the streams of a .ppt file and writes the file.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/output_stream.h"
#include "core/save_context.h"
#include "quorv/document.h"

namespace Quorv {
namespace storage {
class ByteSink;
}
namespace detail {

struct NamedStream {
    std::u16string name;
    ByteBlocks blocks;     // the stream's bytes, in the blocks they were written into
    std::size_t ahead = 0; // bytes before those blocks, already in the file

    std::size_t size() const noexcept;
    // The bytes as one block (a copy).
    std::vector<std::uint8_t> bytes() const;
};

// Stream names of the file.
extern const char16_t* const kDocumentStreamName;       // "PowerPoint Document"
extern const char16_t* const kPicturesStreamName;       // "Pictures"
extern const char16_t* const kCurrentUserStreamName;    // "Current User"
extern const char16_t* const kSummaryStreamName;        // "\x05SummaryInformation"
extern const char16_t* const kDocSummaryStreamName;     // "\x05DocumentSummaryInformation"

class DocumentWriter {
public:
    // Every stream of the file, in the order they are stored: "Pictures" (when there are
    // pictures), "PowerPoint Document", the two property sets (when properties are attached),
    // "Current User". With a sink that already holds the 512 bytes of a compound file's header,
    // the "PowerPoint Document" stream goes into it as it is written, once it is longer than a
    // mini stream's: the compound file stores it first (storage::Leading).
    static std::vector<NamedStream> buildStreams(PPTDocument& doc, const SaveContext& context,
                                                 storage::ByteSink* ahead = nullptr);

    // Builds the streams and writes the compound file to path, atomically.
    static void saveToFile(PPTDocument& doc, const std::string& path, const SaveContext& context);

    // The compound file in memory.
    static std::vector<std::uint8_t> saveToBytes(PPTDocument& doc, const SaveContext& context);

    // The compound file written to a stream.
    static void saveToStream(PPTDocument& doc, std::ostream& out, const SaveContext& context);
};

} // namespace detail
} // namespace Quorv
