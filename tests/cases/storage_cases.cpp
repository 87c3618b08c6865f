// The compound-file writer, a component of its own: expected bytes are put together by hand from
// the tables of [MS-CFB] (header 2.2, FAT 2.3, mini FAT 2.4, DIFAT 2.5, directory entry 2.6.1).
// Every file the other tests write is read back by the verifier's reader and by olefile.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "storage/compound_file.h"
#include "support/bytes.h"

namespace Quorv::storage {
namespace {

using quorv_test::appendU16;
using quorv_test::appendU32;
using quorv_test::Bytes;
using quorv_test::readU32;
using quorv_test::sameBytes;

constexpr std::uint32_t kDifSect = 0xFFFFFFFC, kFatSect = 0xFFFFFFFD, kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF,
                        kNone = 0xFFFFFFFF;
constexpr std::uint8_t kRed = 0, kBlack = 1;

// Bytes that do not repeat with any period a misplaced sector could hide behind.
Bytes pattern(std::size_t size, std::uint32_t seed) {
    Bytes out(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    return out;
}

struct Case {
    std::vector<std::pair<std::u16string, Bytes>> streams;

    std::vector<StreamEntry> entries() const {
        std::vector<StreamEntry> out;
        for (const auto& s : streams) out.push_back({s.first, s.second.data(), s.second.size()});
        return out;
    }
    Bytes write() const {
        VectorSink sink;
        writeCompoundFile(entries(), sink);
        return sink.take();
    }
};

void zeros(Bytes& v, std::size_t n) { v.insert(v.end(), n, 0); }
void append(Bytes& v, const Bytes& data, std::size_t padTo) {
    v.insert(v.end(), data.begin(), data.end());
    zeros(v, (padTo - data.size() % padTo) % padTo);
}
std::size_t sectorOffset(std::uint32_t sector) { return (std::size_t{sector} + 1) * 512; }

// A header for a file whose FAT sectors are 0 .. fat - 1.
Bytes header(std::uint32_t fat, std::uint32_t dirStart, std::uint32_t miniFatStart, std::uint32_t miniFat,
             std::uint32_t difatStart, std::uint32_t difat) {
    Bytes h = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    zeros(h, 16);
    for (std::uint16_t v : {0x003E, 0x0003, 0xFFFE, 9, 6}) appendU16(h, v);
    zeros(h, 6 + 4);
    for (std::uint32_t v : {fat, dirStart, 0u, 4096u, miniFatStart, miniFat, difatStart, difat}) appendU32(h, v);
    for (std::uint32_t i = 0; i < 109; ++i) appendU32(h, i < fat ? i : kFree);
    return h;
}

// A directory entry; an empty name makes an unused entry.
Bytes dirEntry(const std::u16string& name, std::uint8_t type, std::uint8_t colour, std::uint32_t left,
               std::uint32_t right, std::uint32_t child, std::uint32_t start, std::uint32_t size) {
    Bytes e;
    for (char16_t c : name) appendU16(e, c);
    zeros(e, 64 - e.size());
    appendU16(e, static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
    e.push_back(type);
    e.push_back(colour);
    for (std::uint32_t v : {left, right, child}) appendU32(e, v);
    zeros(e, 16 + 4 + 8 + 8); // CLSID, state bits, time stamps
    for (std::uint32_t v : {start, size, 0u}) appendU32(e, v);
    return e;
}

// FAT, mini FAT or DIFAT sectors holding these entries, FREESECT after them.
Bytes table(std::vector<std::uint32_t> entries) {
    entries.resize((entries.size() + 127) / 128 * 128, kFree);
    Bytes out;
    for (std::uint32_t v : entries) appendU32(out, v);
    return out;
}
void chain(std::vector<std::uint32_t>& t, std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t i = 1; i < count; ++i) t.push_back(first + i);
    t.push_back(kEnd);
}

Case workedExample() {
    return {{{u"Pictures", pattern(5000, 1)}, {u"PowerPoint Document", pattern(100000, 2)},
             {u"\x05SummaryInformation", pattern(300, 3)}, {u"Current User", pattern(110, 4)}}};
}
Case difatCase() { return {{{u"Nine", pattern(9000000, 30)}, {u"Twenty", pattern(20u << 20, 31)}}}; }

TEST(CompoundFile, WorkedExampleMatchesTheTablesByteForByte) {
    const Case c = workedExample();
    Bytes want = header(2, 2, 4, 1, kEnd, 0);
    // Sectors 0-1 FAT, directory 2-3, mini FAT 4, mini stream 5, Pictures 6-15, PowerPoint
    // Document 16-211.
    std::vector<std::uint32_t> fat = {kFatSect, kFatSect};
    for (auto run : {std::make_pair(2u, 2u), {4u, 1u}, {5u, 1u}, {6u, 10u}, {16u, 196u}}) chain(fat, run.first, run.second);
    append(want, table(fat), 512);
    // Sorted: Pictures < Current User < \5SummaryInformation < PowerPoint Document; the third is
    // the top, Pictures alone on the last level, red.
    for (const Bytes& e : {dirEntry(u"Root Entry", 5, kBlack, kNone, kNone, 3, 5, 7 * 64),
                           dirEntry(u"Pictures", 2, kRed, kNone, kNone, kNone, 6, 5000),
                           dirEntry(u"PowerPoint Document", 2, kBlack, kNone, kNone, kNone, 16, 100000),
                           dirEntry(u"\x05SummaryInformation", 2, kBlack, 4, 2, kNone, 0, 300),
                           dirEntry(u"Current User", 2, kBlack, 1, kNone, kNone, 5, 110), dirEntry(u"", 0, 0, kNone, kNone, kNone, 0, 0),
                           dirEntry(u"", 0, 0, kNone, kNone, kNone, 0, 0), dirEntry(u"", 0, 0, kNone, kNone, kNone, 0, 0)}) {
        append(want, e, 128);
    }
    std::vector<std::uint32_t> miniFat; // SummaryInformation in mini sectors 0-4, Current User 5-6
    chain(miniFat, 0, 5);
    chain(miniFat, 5, 2);
    append(want, table(miniFat), 512);
    append(want, c.streams[2].second, 64);
    append(want, c.streams[3].second, 64);
    zeros(want, 64);
    append(want, c.streams[0].second, 512);
    append(want, c.streams[1].second, 512);
    EXPECT_EQ(compoundFileSize(c.entries()), 109056u);
    EXPECT_TRUE(sameBytes(want, c.write()));
}

// Sizes worked out by hand from "128 x FAT sectors >= all sectors, the FAT's and DIFAT's own
// included"; one directory sector plus k sectors of a single stream.
TEST(CompoundFile, FatAndDifatSectorCounts) {
    const std::uint8_t byte = 0;
    auto sizeWith = [&byte](std::uint64_t sectors) {
        return compoundFileSize({{u"S", &byte, static_cast<std::size_t>(sectors * 512)}});
    };
    EXPECT_EQ(sizeWith(126), (1u + 1 + 127) * 512);           // FAT 1: 128 entries exactly
    EXPECT_EQ(sizeWith(127), (1u + 2 + 128) * 512);           // FAT 2
    EXPECT_EQ(sizeWith(13842), (1u + 109 + 13843) * 512);     // 109 FAT sectors, no DIFAT
    EXPECT_EQ(sizeWith(13843), (1u + 110 + 1 + 13844) * 512); // first DIFAT sector
    EXPECT_EQ(sizeWith(29971), (1u + 237 + 2 + 29972) * 512); // second DIFAT sector
    EXPECT_EQ(sizeWith(4161275), kMaxCompoundFileSize);       // the largest file, ending at 0x7FFFFE00
    EXPECT_THROW(compoundFileSize({{u"S", &byte, std::size_t{4161275} * 512 + 1}}), std::length_error);
}

TEST(CompoundFile, DifatSectorsForFilesOverSevenMegabytes) {
    const Bytes file = difatCase().write();
    // 1 directory + 17579 + 40960 sectors; F = 461 FAT sectors, X = 3 DIFAT sectors at 461-463,
    // the directory at 464.
    ASSERT_EQ(file.size(), 59005u * 512);
    EXPECT_TRUE(sameBytes(header(461, 464, kEnd, 0, 461, 3), Bytes(file.begin(), file.begin() + 512)));
    std::vector<std::uint32_t> difat; // 127 FAT sector numbers and the next DIFAT sector
    for (std::uint32_t k = 0; k < 3; ++k) {
        for (std::uint32_t j = 0; j < 127; ++j) difat.push_back(109 + 127 * k + j < 461 ? 109 + 127 * k + j : kFree);
        difat.push_back(k < 2 ? 462 + k : kEnd);
    }
    EXPECT_TRUE(sameBytes(table(difat), Bytes(file.begin() + sectorOffset(461), file.begin() + sectorOffset(464))));
    std::vector<std::uint32_t> fat(461, kFatSect);
    fat.insert(fat.end(), 3, kDifSect);
    for (auto run : {std::make_pair(464u, 1u), {465u, 17579u}, {465u + 17579u, 40960u}}) chain(fat, run.first, run.second);
    EXPECT_TRUE(sameBytes(table(fat), Bytes(file.begin() + 512, file.begin() + sectorOffset(461))));
}

// Shorter names first, then by the upper-case code units.
TEST(CompoundFile, NameOrder) {
    EXPECT_LT(compareEntryNames(u"Pictures", u"Current User"), 0);
    EXPECT_LT(compareEntryNames(u"\x05SummaryInformation", u"PowerPoint Document"), 0);
    EXPECT_EQ(compareEntryNames(u"pictures", u"PICTURES"), 0);
    EXPECT_LT(compareEntryNames(u"a", u"_"), 0); // 'A' (0x41) < '_' (0x5F) once upper-cased
    EXPECT_EQ(compareEntryNames(u"\u00E9t\u00E9", u"\u00C9T\u00C9"), 0);
    EXPECT_EQ(compareEntryNames(u"\u0434\u043E\u043A", u"\u0414\u041E\u041A"), 0);
    EXPECT_GT(compareEntryNames(u"\u00FF", u"\u00FE"), 0); // U+0178 > U+00DE
}

} // namespace
} // namespace Quorv::storage
