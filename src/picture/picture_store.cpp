#include "picture/picture_store.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "core/record.h"
#include "core/save_context.h"
#include "picture/metafile.h"
#include "picture/picture_data.h"
#include "quorv/exception.h"
#include "quorv/picture.h"

namespace Quorv {

namespace picture {

void writeStoreEntry(QvOutputStream& s, const StoreEntry& entry) {
    const bool empty = entry.kind == BlipKind::None;
    const BlipKindInfo& info = blipKindInfo(entry.kind);
    writeRecord(s, atom(RecordType::OfficeArtFBSE, 2, info.btWin32), [&](QvOutputStream& o) {
        std::uint8_t* p = o.claim(36);
        p[0] = info.btWin32;
        p[1] = info.btMacOS;
        if (empty) std::memset(p + 2, 0, entry.id.size());
        else std::memcpy(p + 2, entry.id.data(), entry.id.size());
        detail::putU16(p + 18, 0x00FF);                           // tag
        detail::putU32(p + 20, empty ? 0 : entry.size);           // size
        detail::putU32(p + 24, empty ? 0 : entry.references);     // cRef
        detail::putU32(p + 28, empty ? 0 : entry.offset);         // foDelay
        std::memset(p + 32, 0, 4); // unused1, cbName (no name follows), unused2, unused3
    });
}

} // namespace picture

namespace detail {

std::shared_ptr<const std::vector<std::uint8_t>> PictureInput::take() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!read) {
        std::istream* in = stream.get_istrm();
        std::int64_t length = in ? picture::streamLength(*in) : -1;
        if (length > 0) {
            if (static_cast<std::uint64_t>(length) > 0xFFFFFFFFu) {
                throw makeException(QV_ERR_PICTURE_TOO_LARGE, "a picture stream of " + std::to_string(length) + " bytes");
            }
            bytes = std::make_shared<const std::vector<std::uint8_t>>(
                picture::readAll(*in, static_cast<std::uint64_t>(length)));
        }
        read = true;
        stream = QvInputStream();
    }
    return bytes;
}

namespace {

using picture::BlipKind;
using picture::ByteSource;

Guid newGuid(const QvOutputStream& stream) {
    const SaveContext* context = stream.context();
    if (context && context->newGuid) return context->newGuid();
    return randomGuid();
}

std::uint32_t position32(const QvOutputStream& stream) {
    std::size_t p = stream.position();
    picture::checkRecordFits(p, 0);
    return static_cast<std::uint32_t>(p);
}

// Calls use(bytes, count) over the source's bytes in order: at once when they are in memory,
// otherwise in blocks of kBlockSize. False when the source gave fewer bytes than its size.
template <class Use>
bool forEachBlock(ByteSource& source, Use use) {
    const std::uint64_t size = source.size();
    if (const std::uint8_t* bytes = source.data()) {
        use(bytes, static_cast<std::size_t>(size));
        return true;
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::uint64_t>(size, picture::kBlockSize)));
    for (std::uint64_t at = 0; at < size;) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - at));
        if (source.readAt(at, block.data(), want) != want) return false;
        use(block.data(), want);
        at += want;
    }
    return true;
}

// A fingerprint of picture data, 8 bytes at a step (the blocks of forEachBlock are multiples of 8
// but the last, so the data gives one value however it is read). Equal fingerprints are
// confirmed byte for byte before two pictures share an entry.
std::uint64_t fingerprint(ByteSource& source) {
    constexpr std::uint64_t kPrime = 0x100000001B3u;
    std::uint64_t h = 0xCBF29CE484222325u ^ source.size();
    forEachBlock(source, [&h](const std::uint8_t* p, std::size_t n) {
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            h = (h ^ w) * kPrime;
            h ^= h >> 29;
        }
        for (; n > 0; ++p, --n) h = (h ^ *p) * kPrime;
    });
    return h;
}

} // namespace

int PictureStore::add(PPTPicture& picture, QvOutputStream& s) {
    if (!picture::declaresData(picture.type_)) return share(picture, 0); // types 0 and 4: no data
    if (picture.input_) {
        const auto key = std::make_pair(static_cast<int>(picture.type_), picture.input_.get());
        auto found = byInput_.find(key);
        if (found != byInput_.end()) return share(picture, found->second);
        const int number = store(picture, s);
        byInput_.emplace(key, number);
        return number;
    }
    if (picture.fileName_.empty()) return share(picture, 0);
    auto key = std::make_pair(static_cast<int>(picture.type_), picture.fileName_);
    auto found = byFile_.find(key);
    if (found != byFile_.end()) return share(picture, found->second);
    const int number = store(picture, s);
    byFile_.emplace(std::move(key), number);
    return number;
}

void PictureStore::writeEntries(QvOutputStream& s) const {
    for (const Entry& e : entries_) e.first->output(s, true);
}

int PictureStore::share(PPTPicture& picture, int number) {
    if (number == 0) {
        picture.pOffset_ = 0;
        picture.pSize_ = 0;
        picture.storedKind_ = static_cast<int>(BlipKind::None);
        picture.noData_ = true;
        picture.ownsEntry_ = false;
        return 0;
    }
    PPTPicture& first = *entries_[static_cast<std::size_t>(number - 1)].first;
    ++first.references_;
    if (&first != &picture) {
        picture.pOffset_ = first.pOffset_;
        picture.pSize_ = first.pSize_;
        picture.storedKind_ = first.storedKind_;
        picture.ownsEntry_ = false;
    }
    picture.noData_ = false;
    picture.picId_ = number;
    return number;
}

int PictureStore::same(BlipKind kind, std::uint64_t print, ByteSource& data, const QvOutputStream& s) const {
    const auto range = byFingerprint_.equal_range(print);
    for (auto it = range.first; it != range.second; ++it) {
        const Entry& e = entries_[static_cast<std::size_t>(it->second - 1)];
        if (e.kind != kind || e.size != data.size()) continue;
        std::uint64_t at = e.at;
        const bool equal = forEachBlock(data, [&](const std::uint8_t* p, std::size_t n) {
            if (at != ~std::uint64_t{0} && !s.equalAt(static_cast<std::size_t>(at), p, n)) at = ~std::uint64_t{0};
            else at += n;
        });
        if (equal && at != ~std::uint64_t{0}) return it->second;
    }
    return 0;
}

int PictureStore::store(PPTPicture& picture, QvOutputStream& s) {
    const std::uint32_t offset = position32(s);

    // The source: the bytes kept from the host's stream, or the file, opened for this save.
    std::unique_ptr<picture::ByteSource> source;
    std::optional<QvInputStream> file;
    if (picture.input_) {
        source = std::make_unique<picture::MemorySource>(picture.input_->take());
    } else {
        file.emplace(picture.fileName_);
        std::istream* in = file->get_istrm();
        if (!in || !*in) return share(picture, 0);
        auto fileSource = std::make_unique<picture::StreamSource>(*in);
        if (!fileSource->ok()) return share(picture, 0);
        // A small file is read in one go: its checks then cost no further reads and seeks. A large
        // one is read block by block as it is copied, so it is never held in memory whole.
        constexpr std::uint64_t kReadWhole = std::uint64_t{4} << 20;
        if (fileSource->size() <= kReadWhole) {
            auto bytes = std::make_shared<std::vector<std::uint8_t>>(picture::readAll(*in, fileSource->size()));
            if (bytes->size() != fileSource->size()) {
                throw makeException(QV_ERR_PICTURE_READ, "the file " + picture.fileName_ + " ended early");
            }
            source = std::make_unique<picture::MemorySource>(std::move(bytes));
        } else {
            source = std::move(fileSource);
        }
    }

    const picture::PreparedData data = picture::prepareData(picture.type_, *source);
    if (data.kind == BlipKind::None) return share(picture, 0);

    // What the record holds after its identifier and the few bytes that follow from the data:
    // a bitmap's bytes, or a metafile compressed (its header is a function of the metafile).
    std::unique_ptr<picture::ByteSource> converted;
    std::shared_ptr<const std::vector<std::uint8_t>> compressed;
    picture::MetafileHeader header{};
    std::uint64_t dataOffset = picture::kBitmapDataOffset;
    const bool bitmap = data.kind == BlipKind::Png || data.kind == BlipKind::Jpeg;
    if (bitmap) {
        if (data.converted) converted = std::make_unique<picture::MemorySource>(data.converted);
    } else {
        // A Windows metafile is stored without its placeable header, an enhanced metafile whole.
        const bool wmf = data.kind == BlipKind::Wmf;
        const std::uint64_t start = wmf ? picture::kPlaceableHeaderSize : 0;
        if (source->size() - start > 0xFFFFFFFFu) {
            throw makeException(QV_ERR_PICTURE_TOO_LARGE, "a metafile of " + std::to_string(source->size()) + " bytes");
        }
        bool complete = true;
        compressed = std::make_shared<const std::vector<std::uint8_t>>(picture::deflateRange(*source, start, complete));
        if (!complete) throw makeException(QV_ERR_PICTURE_READ, "the metafile ended early");
        const auto uncompressed = static_cast<std::uint32_t>(source->size() - start);
        if (wmf) {
            header = picture::wmfHeader(uncompressed);
        } else {
            picture::MetafileSize size = picture::enhancedMetafileSize(*source);
            header = picture::emfHeader(uncompressed, size.width, size.height);
        }
        converted = std::make_unique<picture::MemorySource>(compressed);
        dataOffset = picture::kMetafileDataOffset;
    }
    picture::ByteSource& stored = converted ? *converted : *source;

    const std::uint64_t print = fingerprint(stored);
    if (const int number = same(data.kind, print, stored, s)) return share(picture, number);

    PPTPicture::Identifier& identifier = picture.identifiers_[static_cast<std::size_t>(data.kind)];
    if (!identifier.made) {
        identifier.bytes = picture::makeIdentifier(newGuid(s));
        identifier.made = true;
    }
    if (bitmap) {
        picture::writeBitmapBlip(s, data.kind, identifier.bytes, stored);
    } else {
        picture::writeMetafileBlip(s, data.kind, identifier.bytes, header, *compressed);
    }

    entries_.push_back(Entry{&picture, data.kind, offset + 8 + dataOffset, stored.size()});
    const int number = size();
    byFingerprint_.emplace(print, number);
    picture.pOffset_ = offset;
    picture.pSize_ = static_cast<std::uint32_t>(s.position() - offset);
    picture.storedKind_ = static_cast<int>(data.kind);
    picture.noData_ = false;
    picture.ownsEntry_ = true;
    picture.references_ = 1;
    picture.picId_ = number;
    return number;
}

} // namespace detail
} // namespace Quorv
