#include "storage/compound_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace Quorv::storage {

namespace {

// Sizes of a version 3 file ([MS-CFB] 2.2).
constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kIdsPerSector = kSectorSize / 4; // FAT and mini FAT entries: 128
constexpr std::uint32_t kHeaderDifatEntries = 109;       // FAT sector numbers in the header
constexpr std::uint32_t kDifatEntriesPerSector = kIdsPerSector - 1; // the last one chains
constexpr std::uint32_t kDirEntrySize = 128;
constexpr std::uint32_t kDirEntriesPerSector = kSectorSize / kDirEntrySize;
constexpr std::size_t kMaxNameLength = 31; // code units, plus the terminating U+0000
constexpr std::uint64_t kMaxSectors = kMaxCompoundFileSize / kSectorSize - 1; // header excluded

// Special sector and stream numbers ([MS-CFB] 2.1, 2.6.1).
constexpr std::uint32_t kDifSect = 0xFFFFFFFCu;
constexpr std::uint32_t kFatSect = 0xFFFFFFFDu;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr std::uint32_t kFreeSect = 0xFFFFFFFFu;
constexpr std::uint32_t kNoStream = 0xFFFFFFFFu;

constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;
constexpr std::uint8_t kRed = 0;
constexpr std::uint8_t kBlack = 1;

constexpr std::uint64_t ceilDiv(std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; }

// Simple upper-case mapping of one UTF-16 code unit, used to order and compare sibling names
// ([MS-CFB] 2.6.4). It covers the cased letters of ASCII, Latin-1, Latin Extended-A, Latin
// Extended Additional, Greek, Cyrillic, Armenian and the fullwidth Latin forms; every other
// code unit (surrogates included, as the format requires) compares as it is.
char16_t upperCase(char16_t c) noexcept {
    const auto u = static_cast<std::uint32_t>(c);
    auto shifted = [u](std::int32_t delta) {
        return static_cast<char16_t>(static_cast<std::int32_t>(u) + delta);
    };
    auto lowerOfPair = [u](std::uint32_t first, std::uint32_t last, std::uint32_t lowerParity) {
        return u >= first && u <= last && (u & 1u) == lowerParity;
    };
    if (u < 0x80) return (u >= 'a' && u <= 'z') ? shifted(-0x20) : c;
    if (u < 0x100) {
        if (u == 0xB5) return u'\u039C';
        if (u == 0xFF) return u'\u0178';
        return (u >= 0xE0 && u != 0xF7) ? shifted(-0x20) : c;
    }
    if (u < 0x180) {
        if (u == 0x131) return u'I';
        if (u == 0x17F) return u'S';
        if (lowerOfPair(0x100, 0x12F, 1) || lowerOfPair(0x132, 0x137, 1) ||
            lowerOfPair(0x139, 0x148, 0) || lowerOfPair(0x14A, 0x177, 1) ||
            lowerOfPair(0x179, 0x17E, 0))
            return shifted(-1);
        return c;
    }
    if (u >= 0x370 && u < 0x400) {
        if (u == 0x3AC) return u'\u0386';
        if (u >= 0x3AD && u <= 0x3AF) return shifted(-0x25);
        if (u == 0x3C2) return u'\u03A3';
        if (u >= 0x3B1 && u <= 0x3CB) return shifted(-0x20);
        if (u == 0x3CC) return u'\u038C';
        if (u == 0x3CD || u == 0x3CE) return shifted(-0x3F);
        return c;
    }
    if (u >= 0x400 && u < 0x530) {
        if (u >= 0x430 && u <= 0x44F) return shifted(-0x20);
        if (u >= 0x450 && u <= 0x45F) return shifted(-0x50);
        if (u == 0x4CF) return u'\u04C0';
        if (lowerOfPair(0x460, 0x481, 1) || lowerOfPair(0x48A, 0x4BF, 1) ||
            lowerOfPair(0x4C1, 0x4CE, 0) || lowerOfPair(0x4D0, 0x52F, 1))
            return shifted(-1);
        return c;
    }
    if (u >= 0x561 && u <= 0x586) return shifted(-0x30);
    if (lowerOfPair(0x1E00, 0x1E95, 1) || lowerOfPair(0x1EA0, 0x1EFF, 1)) return shifted(-1);
    if (u >= 0xFF41 && u <= 0xFF5A) return shifted(-0x20);
    return c;
}

void checkName(const std::u16string& name, std::size_t index) {
    auto fail = [index](const char* what) {
        throw std::invalid_argument("compound file: the name of stream " + std::to_string(index) +
                                    " " + what);
    };
    if (name.empty()) fail("is empty");
    if (name.size() > kMaxNameLength) fail("is longer than 31 UTF-16 code units");
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c == 0) fail("contains U+0000");
        if (c == u'/' || c == u'\\' || c == u':' || c == u'!')
            fail("contains one of the characters / \\ : !");
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF)
                fail("contains an unpaired surrogate");
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            fail("contains an unpaired surrogate");
        }
    }
}

struct SiblingLinks {
    std::uint32_t left = kNoStream;
    std::uint32_t right = kNoStream;
    std::uint8_t colour = kBlack;
};

// Where everything goes. Sector numbers count from the first sector after the header. The file
// is laid out as: header | leading stream | FAT | DIFAT | directory | mini FAT | mini stream |
// the other streams in order, where the leading stream is optional.
constexpr std::size_t kNoLeading = static_cast<std::size_t>(-1);

struct Layout {
    std::size_t leading = kNoLeading;
    std::uint32_t fatStart = 0; // the leading stream's sectors come before the FAT
    std::uint32_t fatSectors = 0;
    std::uint32_t difatSectors = 0;
    std::uint32_t dirSectors = 0;
    std::uint32_t miniFatSectors = 0;
    std::uint32_t miniStreamSectors = 0;
    std::uint32_t miniSectors = 0;    // mini sectors in use
    std::uint32_t usedSectors = 0;    // all sectors after the header
    std::vector<std::uint32_t> start; // per stream: first (mini) sector, or ENDOFCHAIN
    std::vector<SiblingLinks> links;  // per stream
    std::uint32_t rootChild = kNoStream;

    std::uint32_t difatStart() const { return fatStart + fatSectors; }
    std::uint32_t dirStart() const { return difatStart() + difatSectors; }
    std::uint32_t miniFatStart() const { return dirStart() + dirSectors; }
    std::uint32_t miniStreamStart() const { return miniFatStart() + miniFatSectors; }
    std::uint32_t firstStreamSector() const { return miniStreamStart() + miniStreamSectors; }
    std::uint64_t fileSize() const { return (std::uint64_t{usedSectors} + 1) * kSectorSize; }
};

bool isMini(std::size_t size) { return size > 0 && size < kMiniStreamCutoff; }

std::uint32_t difatSectorsFor(std::uint64_t fatSectors) {
    return fatSectors <= kHeaderDifatEntries
               ? 0
               : static_cast<std::uint32_t>(
                     ceilDiv(fatSectors - kHeaderDifatEntries, kDifatEntriesPerSector));
}

// Builds the sibling tree of the root's children as a tree of minimal height over the names
// in sorted order. Levels above the last are full, so colouring the nodes of an incomplete
// last level red and all others black meets every red-black rule ([MS-CFB] 2.6.4): no red
// node has a red child and every path holds the same number of black nodes.
class TreeBuilder {
public:
    TreeBuilder(const std::vector<std::uint32_t>& sorted, std::vector<SiblingLinks>& links)
        : sorted_(sorted), links_(links) {
        const std::size_t n = sorted.size();
        std::size_t levels = 0;
        while ((std::size_t{1} << levels) - 1 < n) ++levels;
        lastLevel_ = levels - 1;
        lastLevelFull_ = (std::size_t{1} << levels) - 1 == n;
    }

    // Returns the stream id (index + 1) of the top of sorted_[lo, hi), or NOSTREAM.
    std::uint32_t build(std::size_t lo, std::size_t hi, std::size_t depth) {
        if (lo >= hi) return kNoStream;
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::uint32_t index = sorted_[mid];
        SiblingLinks& node = links_[index];
        node.left = build(lo, mid, depth + 1);
        node.right = build(mid + 1, hi, depth + 1);
        node.colour = (depth == lastLevel_ && !lastLevelFull_) ? kRed : kBlack;
        return index + 1;
    }

private:
    const std::vector<std::uint32_t>& sorted_;
    std::vector<SiblingLinks>& links_;
    std::size_t lastLevel_ = 0;
    bool lastLevelFull_ = true;
};

Layout plan(const std::vector<StreamEntry>& streams, const Leading* leading = nullptr) {
    const std::size_t n = streams.size();
    if (leading && leading->index >= n) throw std::invalid_argument("compound file: no such leading stream");
    const std::uint64_t ahead = leading ? leading->ahead : 0;
    if (ahead > 0 && !leading->headerReserved)
        throw std::invalid_argument("compound file: bytes ahead of a stream without room for the header");
    std::uint64_t miniSectors = 0;
    std::uint64_t streamSectors = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const StreamEntry& s = streams[i];
        checkName(s.name, i);
        if (!s.parts.empty()) {
            std::uint64_t total = 0;
            for (const StreamEntry::Part& part : s.parts) {
                if (part.data == nullptr && part.size != 0)
                    throw std::invalid_argument("compound file: stream " + std::to_string(i) + " has a part without data");
                total += part.size;
            }
            if (total + (leading && i == leading->index ? ahead : 0) != s.size)
                throw std::invalid_argument("compound file: the parts of stream " + std::to_string(i) +
                                            " do not add up to its size");
        } else if (s.data == nullptr && s.size != 0) {
            throw std::invalid_argument("compound file: stream " + std::to_string(i) +
                                        " has no data but a size of " + std::to_string(s.size));
        }
        if (s.size > kMaxCompoundFileSize)
            throw std::length_error("compound file: stream " + std::to_string(i) +
                                    " is larger than a version 3 file may be");
        if (isMini(s.size))
            miniSectors += ceilDiv(s.size, kMiniSectorSize);
        else
            streamSectors += ceilDiv(s.size, kSectorSize);
    }

    // Sector counts: compare in 64 bits first, so nothing below can overflow.
    const std::uint64_t dirSectors = ceilDiv(std::uint64_t{n} + 1, kDirEntriesPerSector);
    const std::uint64_t miniFatSectors = ceilDiv(miniSectors, kIdsPerSector);
    const std::uint64_t miniStreamSectors = ceilDiv(miniSectors * kMiniSectorSize, kSectorSize);
    const std::uint64_t rest = dirSectors + miniFatSectors + miniStreamSectors + streamSectors;
    auto tooLarge = [] {
        throw std::length_error("compound file: the streams do not fit in a version 3 compound "
                                "file, which holds at most 2 GB");
    };
    if (rest > kMaxSectors) tooLarge();
    // The FAT needs an entry for every sector, its own and the DIFAT's included.
    std::uint64_t fatSectors = ceilDiv(rest, kIdsPerSector - 1);
    while (fatSectors * kIdsPerSector < fatSectors + difatSectorsFor(fatSectors) + rest)
        ++fatSectors;
    const std::uint64_t used = fatSectors + difatSectorsFor(fatSectors) + rest;
    if (used > kMaxSectors) tooLarge();

    Layout layout;
    if (leading && !isMini(streams[leading->index].size) && streams[leading->index].size > 0) {
        layout.leading = leading->index;
        layout.fatStart = static_cast<std::uint32_t>(ceilDiv(streams[leading->index].size, kSectorSize));
    } else if (ahead > 0) {
        throw std::invalid_argument("compound file: bytes ahead of a stream that cannot lead");
    }
    layout.fatSectors = static_cast<std::uint32_t>(fatSectors);
    layout.difatSectors = difatSectorsFor(fatSectors);
    layout.dirSectors = static_cast<std::uint32_t>(dirSectors);
    layout.miniFatSectors = static_cast<std::uint32_t>(miniFatSectors);
    layout.miniStreamSectors = static_cast<std::uint32_t>(miniStreamSectors);
    layout.miniSectors = static_cast<std::uint32_t>(miniSectors);
    layout.usedSectors = static_cast<std::uint32_t>(used);

    layout.start.resize(n, kEndOfChain);
    std::uint32_t nextMini = 0;
    std::uint32_t nextSector = layout.firstStreamSector();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t size = streams[i].size;
        if (size == 0) continue;
        if (i == layout.leading) {
            layout.start[i] = 0;
        } else if (isMini(size)) {
            layout.start[i] = nextMini;
            nextMini += static_cast<std::uint32_t>(ceilDiv(size, kMiniSectorSize));
        } else {
            layout.start[i] = nextSector;
            nextSector += static_cast<std::uint32_t>(ceilDiv(size, kSectorSize));
        }
    }

    std::vector<std::uint32_t> sorted(n);
    for (std::size_t i = 0; i < n; ++i) sorted[i] = static_cast<std::uint32_t>(i);
    std::sort(sorted.begin(), sorted.end(), [&streams](std::uint32_t a, std::uint32_t b) {
        return compareEntryNames(streams[a].name, streams[b].name) < 0;
    });
    for (std::size_t i = 1; i < n; ++i) {
        if (compareEntryNames(streams[sorted[i - 1]].name, streams[sorted[i]].name) == 0)
            throw std::invalid_argument(
                "compound file: streams " + std::to_string(std::min(sorted[i - 1], sorted[i])) +
                " and " + std::to_string(std::max(sorted[i - 1], sorted[i])) +
                " have the same name (names are compared without regard to case)");
    }
    layout.links.resize(n);
    if (n > 0) layout.rootChild = TreeBuilder(sorted, layout.links).build(0, n, 0);
    return layout;
}

// Collects the file's own structures in a block buffer and hands stream bytes to the sink
// as they are.
class BlockWriter {
public:
    explicit BlockWriter(ByteSink& sink) : sink_(sink) {}

    void u8(std::uint8_t v) {
        room(1);
        buffer_[used_++] = v;
    }
    void u16(std::uint16_t v) {
        room(2);
        buffer_[used_++] = static_cast<std::uint8_t>(v);
        buffer_[used_++] = static_cast<std::uint8_t>(v >> 8);
    }
    void u32(std::uint32_t v) {
        room(4);
        for (int shift = 0; shift < 32; shift += 8)
            buffer_[used_++] = static_cast<std::uint8_t>(v >> shift);
    }
    void u64(std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    void repeatU32(std::uint32_t v, std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i) u32(v);
    }
    void zeros(std::uint64_t count) {
        while (count > 0) {
            room(1);
            const std::size_t chunk =
                static_cast<std::size_t>(std::min<std::uint64_t>(count, kBlock - used_));
            std::memset(buffer_ + used_, 0, chunk);
            used_ += chunk;
            count -= chunk;
        }
    }
    // Stream bytes go straight to the sink.
    void direct(const std::uint8_t* data, std::size_t size) {
        if (size == 0) return;
        flush();
        sink_.write(data, size);
        written_ += size;
    }
    // A chain of count consecutive sectors from first on, as FAT or mini FAT entries.
    void chain(std::uint32_t first, std::uint64_t count) {
        for (std::uint64_t i = 1; i < count; ++i) u32(static_cast<std::uint32_t>(first + i));
        if (count > 0) u32(kEndOfChain);
    }
    void flush() {
        if (used_ == 0) return;
        sink_.write(buffer_, used_);
        written_ += used_;
        used_ = 0;
    }
    std::uint64_t written() const { return written_ + used_; }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    void room(std::size_t size) {
        if (kBlock - used_ < size) flush();
    }

    ByteSink& sink_;
    std::uint8_t buffer_[kBlock];
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};

void writeHeader(BlockWriter& out, const Layout& layout) {
    static const std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (std::uint8_t b : signature) out.u8(b);
    out.zeros(16);   // header CLSID
    out.u16(0x003E); // minor version
    out.u16(0x0003); // major version
    out.u16(0xFFFE); // byte order: little-endian
    out.u16(9);      // sector shift: 512
    out.u16(6);      // mini sector shift: 64
    out.zeros(6);    // reserved
    out.u32(0);      // number of directory sectors: always 0 in version 3
    out.u32(layout.fatSectors);
    out.u32(layout.dirStart());
    out.u32(0); // transaction signature
    out.u32(kMiniStreamCutoff);
    out.u32(layout.miniFatSectors > 0 ? layout.miniFatStart() : kEndOfChain);
    out.u32(layout.miniFatSectors);
    out.u32(layout.difatSectors > 0 ? layout.difatStart() : kEndOfChain);
    out.u32(layout.difatSectors);
    // The FAT occupies consecutive sectors from fatStart on.
    const std::uint32_t inHeader = std::min(layout.fatSectors, kHeaderDifatEntries);
    for (std::uint32_t i = 0; i < inHeader; ++i) out.u32(layout.fatStart + i);
    out.repeatU32(kFreeSect, kHeaderDifatEntries - inHeader);
}

void writeFat(BlockWriter& out, const Layout& layout, const std::vector<StreamEntry>& streams) {
    out.chain(0, layout.fatStart); // the leading stream, if any
    out.repeatU32(kFatSect, layout.fatSectors);
    out.repeatU32(kDifSect, layout.difatSectors);
    out.chain(layout.dirStart(), layout.dirSectors);
    out.chain(layout.miniFatStart(), layout.miniFatSectors);
    out.chain(layout.miniStreamStart(), layout.miniStreamSectors);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (!isMini(streams[i].size) && streams[i].size > 0 && i != layout.leading)
            out.chain(layout.start[i], ceilDiv(streams[i].size, kSectorSize));
    }
    out.repeatU32(kFreeSect, std::uint64_t{layout.fatSectors} * kIdsPerSector - layout.usedSectors);
}

void writeDifat(BlockWriter& out, const Layout& layout) {
    std::uint32_t fatSector = kHeaderDifatEntries;
    for (std::uint32_t k = 0; k < layout.difatSectors; ++k) {
        for (std::uint32_t j = 0; j < kDifatEntriesPerSector; ++j, ++fatSector)
            out.u32(fatSector < layout.fatSectors ? layout.fatStart + fatSector : kFreeSect);
        out.u32(k + 1 < layout.difatSectors ? layout.difatStart() + k + 1 : kEndOfChain);
    }
}

void writeDirEntry(BlockWriter& out, const std::u16string& name, std::uint8_t type,
                   const SiblingLinks& links, std::uint32_t child, std::uint32_t start,
                   std::uint64_t size) {
    for (char16_t c : name) out.u16(static_cast<std::uint16_t>(c));
    out.zeros(64 - 2 * name.size());
    out.u16(static_cast<std::uint16_t>(2 * (name.size() + 1)));
    out.u8(type);
    out.u8(links.colour);
    out.u32(links.left);
    out.u32(links.right);
    out.u32(child);
    out.zeros(16 + 4 + 8 + 8); // CLSID, state bits, creation and modified time
    out.u32(start);
    out.u64(size);
}

void writeDirectory(BlockWriter& out, const Layout& layout,
                    const std::vector<StreamEntry>& streams) {
    writeDirEntry(out, u"Root Entry", kTypeRoot, SiblingLinks{}, layout.rootChild,
                  layout.miniStreamSectors > 0 ? layout.miniStreamStart() : kEndOfChain,
                  std::uint64_t{layout.miniSectors} * kMiniSectorSize);
    for (std::size_t i = 0; i < streams.size(); ++i)
        writeDirEntry(out, streams[i].name, kTypeStream, layout.links[i], kNoStream,
                      layout.start[i], streams[i].size);
    // Unused entries: all zero but for the three stream ids ([MS-CFB] 2.6.3).
    const std::uint64_t unused =
        std::uint64_t{layout.dirSectors} * kDirEntriesPerSector - (streams.size() + 1);
    for (std::uint64_t i = 0; i < unused; ++i) {
        out.zeros(68);
        out.repeatU32(kNoStream, 3);
        out.zeros(kDirEntrySize - 80);
    }
}

void writeMiniFat(BlockWriter& out, const Layout& layout, const std::vector<StreamEntry>& streams) {
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (isMini(streams[i].size))
            out.chain(layout.start[i], ceilDiv(streams[i].size, kMiniSectorSize));
    }
    out.repeatU32(kFreeSect,
                  std::uint64_t{layout.miniFatSectors} * kIdsPerSector - layout.miniSectors);
}

// A stream's bytes, straight from the caller's buffers.
void writeStreamBytes(BlockWriter& out, const StreamEntry& s) {
    if (s.parts.empty()) {
        out.direct(s.data, s.size);
        return;
    }
    for (const StreamEntry::Part& part : s.parts) {
        if (part.size != 0) out.direct(part.data, part.size);
    }
}

void writeMiniStream(BlockWriter& out, const Layout& layout,
                     const std::vector<StreamEntry>& streams) {
    for (const StreamEntry& s : streams) {
        if (!isMini(s.size)) continue;
        writeStreamBytes(out, s);
        out.zeros(ceilDiv(s.size, kMiniSectorSize) * kMiniSectorSize - s.size);
    }
    out.zeros(std::uint64_t{layout.miniStreamSectors} * kSectorSize -
              std::uint64_t{layout.miniSectors} * kMiniSectorSize);
}

// Non-mini streams with their sectors' padding; the leading one only when asked for.
void writeStreams(BlockWriter& out, const std::vector<StreamEntry>& streams, const Layout& layout, bool leading) {
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const StreamEntry& s = streams[i];
        if (isMini(s.size) || s.size == 0 || (i == layout.leading) != leading) continue;
        writeStreamBytes(out, s);
        out.zeros(ceilDiv(s.size, kSectorSize) * kSectorSize - s.size);
    }
}

} // namespace

void ByteSink::writeAt(std::uint64_t, const void*, std::size_t) {
    throw std::logic_error("this sink cannot write back");
}

void VectorSink::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (offset > bytes_.size() || size > bytes_.size() - offset) throw std::logic_error("VectorSink::writeAt past the end");
    if (size != 0) std::memcpy(bytes_.data() + offset, data, size);
}

void VectorSink::write(const void* data, std::size_t size) {
    if (size == 0) return;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
}

int compareEntryNames(const std::u16string& a, const std::u16string& b) noexcept {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char16_t x = upperCase(a[i]);
        const char16_t y = upperCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::uint64_t compoundFileSize(const std::vector<StreamEntry>& streams) {
    return plan(streams).fileSize();
}

std::uint64_t compoundFileSize(const std::vector<StreamEntry>& streams, const Leading& leading) {
    return plan(streams, &leading).fileSize();
}

namespace {

void write(const std::vector<StreamEntry>& streams, ByteSink& sink, const Layout& layout, const Leading& leading) {
    auto out = std::make_unique<BlockWriter>(sink);
    if (!leading.headerReserved) writeHeader(*out, layout);
    writeStreams(*out, streams, layout, true);
    writeFat(*out, layout, streams);
    writeDifat(*out, layout);
    writeDirectory(*out, layout, streams);
    writeMiniFat(*out, layout, streams);
    writeMiniStream(*out, layout, streams);
    writeStreams(*out, streams, layout, false);
    out->flush();
    const std::uint64_t expected = layout.fileSize() - (leading.headerReserved ? kSectorSize + leading.ahead : 0);
    if (out->written() != expected)
        throw std::logic_error("compound file: wrote " + std::to_string(out->written()) + " bytes instead of " +
                               std::to_string(expected));
    if (leading.headerReserved) {
        VectorSink header;
        auto h = std::make_unique<BlockWriter>(header);
        writeHeader(*h, layout);
        h->flush();
        sink.writeAt(0, header.bytes().data(), header.bytes().size());
    }
}

} // namespace

void writeCompoundFile(const std::vector<StreamEntry>& streams, ByteSink& sink) {
    write(streams, sink, plan(streams), Leading{kNoLeading, false, 0});
}

void writeCompoundFile(const std::vector<StreamEntry>& streams, ByteSink& sink, const Leading& leading) {
    write(streams, sink, plan(streams, &leading), leading);
}

} // namespace Quorv::storage
