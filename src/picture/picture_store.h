// The picture store of a document: OfficeArtFBSE entries ([MS-ODRAW] 2.2.32) and the BLIPs of the
// "Pictures" stream they point at, each picture's data stored once however many shapes show it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/output_stream.h"
#include "picture/blip_records.h"
#include "picture/byte_source.h"
#include "quorv/input_stream.h"

namespace Quorv {

class PPTPicture;

namespace picture {

struct StoreEntry {
    BlipKind kind = BlipKind::None;
    BlipIdentifier id{};
    std::uint32_t size = 0;       // of the picture record, header included
    std::uint32_t offset = 0;     // of the picture record in the "Pictures" stream
    std::uint32_t references = 1; // cRef: the shapes that show the picture
};

// 44 bytes. An entry of kind None is the empty entry the store begins with (no type, no
// identifier, size 0, no reference, offset 0).
void writeStoreEntry(QvOutputStream& s, const StoreEntry& entry);

} // namespace picture

namespace detail {

// A host stream and, once it has been read, the bytes it gave. Copies of a picture share one
// PictureInput, so the stream is read once however many copies are saved, on whatever thread.
struct PictureInput {
    std::mutex mutex;
    QvInputStream stream;
    bool read = false;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;

    explicit PictureInput(std::istream& in) : stream(in) {}

    // The bytes of the stream from its start, read at the first call. The stream is not touched
    // again afterwards: the host may destroy it once the first save has returned.
    std::shared_ptr<const std::vector<std::uint8_t>> take();
};

// The pictures of one save. Each picture is added in the order the store lists them (slide by
// slide, each slide's pictures in the order they were added); identical data (the same bytes
// after conversion) is written once, by the first picture that has it. That picture writes the
// store entry, whose cRef counts every picture that shows it, and every one of them gets the
// entry's number as its PicId. A picture without data gets no record and no entry.
class PictureStore {
public:
    // Writes the picture's record into the "Pictures" stream s unless the store has its data
    // already. Returns the picture's entry number (1 for the entry after the store's empty first
    // one), or 0 when the picture has no data.
    int add(PPTPicture& picture, QvOutputStream& s);
    // The number of entries, the empty first one not counted.
    int size() const noexcept { return static_cast<int>(entries_.size()); }
    // The entries in order, each written by the first picture that had its data
    // (PPTPicture::output(s, true)).
    void writeEntries(QvOutputStream& s) const;

private:
    // Where an entry's data (the BLIP after its identifier) lies in the "Pictures" stream.
    struct Entry {
        PPTPicture* first;
        picture::BlipKind kind;
        std::uint64_t at;
        std::uint64_t size;
    };

    int store(PPTPicture& picture, QvOutputStream& s);
    int share(PPTPicture& picture, int number);
    int same(picture::BlipKind kind, std::uint64_t fingerprint, picture::ByteSource& data, const QvOutputStream& s) const;

    std::vector<Entry> entries_;
    std::unordered_multimap<std::uint64_t, int> byFingerprint_;
    // A file name or a host stream gives the same data throughout one save: what the first picture
    // of a source found (an entry number, or 0 for no data) holds for the others, unread.
    std::map<std::pair<int, std::string>, int> byFile_;
    std::map<std::pair<int, const PictureInput*>, int> byInput_;
};

} // namespace detail
} // namespace Quorv
