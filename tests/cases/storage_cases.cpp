// The compound-file writer, a component of its own: expected bytes are put together by hand from
// the tables of [MS-CFB] (header 2.2, FAT 2.3, mini FAT 2.4, DIFAT 2.5, directory entry 2.6.1),
// and every case is read back by the tests' own reader of compound files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "storage/compound_file.h"
#include "support/verifier.h"

namespace Quorv::storage {
namespace {

constexpr std::uint32_t kDifSect = 0xFFFFFFFC, kFatSect = 0xFFFFFFFD, kEnd = 0xFFFFFFFE,
                        kFree = 0xFFFFFFFF, kNone = 0xFFFFFFFF;
constexpr std::uint8_t kRed = 0, kBlack = 1;

using Bytes = std::vector<std::uint8_t>;

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
    std::string label;
    std::vector<std::u16string> names;
    std::vector<Bytes> data;

    void add(std::u16string name, Bytes bytes) {
        names.push_back(std::move(name));
        data.push_back(std::move(bytes));
    }
    std::vector<StreamEntry> entries() const {
        std::vector<StreamEntry> out;
        for (std::size_t i = 0; i < names.size(); ++i)
            out.push_back({names[i], data[i].data(), data[i].size()});
        return out;
    }
    Bytes write() const {
        VectorSink sink;
        writeCompoundFile(entries(), sink);
        return sink.take();
    }
};

void put16(Bytes& v, std::uint16_t x) {
    for (int i = 0; i < 2; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void put32(Bytes& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void zeros(Bytes& v, std::size_t n) { v.insert(v.end(), n, 0); }
void append(Bytes& v, const Bytes& data, std::size_t padTo) {
    v.insert(v.end(), data.begin(), data.end());
    zeros(v, (padTo - data.size() % padTo) % padTo);
}
std::uint32_t le32(const Bytes& v, std::size_t at) {
    return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<std::uint32_t>(v[at + 3]) << 24;
}
std::size_t sectorOffset(std::uint32_t sector) { return (std::size_t{sector} + 1) * 512; }

// A header per [MS-CFB] 2.2 for a file whose FAT starts at sector 0.
Bytes header(std::uint32_t fat, std::uint32_t dirStart, std::uint32_t miniFatStart,
             std::uint32_t miniFat, std::uint32_t difatStart, std::uint32_t difat) {
    Bytes h = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    zeros(h, 16);
    for (std::uint16_t v : {0x003E, 0x0003, 0xFFFE, 9, 6}) put16(h, v);
    zeros(h, 6 + 4);
    for (std::uint32_t v : {fat, dirStart, 0u, 4096u, miniFatStart, miniFat, difatStart, difat})
        put32(h, v);
    for (std::uint32_t i = 0; i < 109; ++i) put32(h, i < fat ? i : kFree);
    return h;
}

// A directory entry per [MS-CFB] 2.6.1; an empty name makes an unused entry.
Bytes dirEntry(const std::u16string& name, std::uint8_t type, std::uint8_t colour,
               std::uint32_t left, std::uint32_t right, std::uint32_t child, std::uint32_t start,
               std::uint32_t size) {
    Bytes e;
    for (char16_t c : name) put16(e, static_cast<std::uint16_t>(c));
    zeros(e, 64 - e.size());
    put16(e, static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
    e.push_back(type);
    e.push_back(colour);
    for (std::uint32_t v : {left, right, child}) put32(e, v);
    zeros(e, 16 + 4 + 8 + 8); // CLSID, state bits, time stamps
    put32(e, start);
    put32(e, size);
    put32(e, 0);
    return e;
}
const Bytes kUnusedEntry = dirEntry(u"", 0, 0, kNone, kNone, kNone, 0, 0);

// FAT or mini FAT sectors holding these entries, FREESECT after them.
Bytes table(std::vector<std::uint32_t> entries) {
    entries.resize((entries.size() + 127) / 128 * 128, kFree);
    Bytes out;
    for (std::uint32_t v : entries) put32(out, v);
    return out;
}
void chain(std::vector<std::uint32_t>& t, std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t i = 1; i < count; ++i) t.push_back(first + i);
    t.push_back(kEnd);
}

::testing::AssertionResult sameBytes(const Bytes& got, const Bytes& want) {
    for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
        if (got[i] != want[i])
            return ::testing::AssertionFailure()
                   << "first difference at offset 0x" << std::hex << i << ": got 0x" << int{got[i]}
                   << ", expected 0x" << int{want[i]};
    }
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << got.size() << " bytes, expected " << want.size();
    return ::testing::AssertionSuccess();
}

Case workedExample() {
    Case c{"110, 300, 5000 and 100000 bytes", {}, {}};
    c.add(u"Pictures", pattern(5000, 1));
    c.add(u"PowerPoint Document", pattern(100000, 2));
    c.add(u"\x05SummaryInformation", pattern(300, 3));
    c.add(u"Current User", pattern(110, 4));
    return c;
}

TEST(CompoundFile, WorkedExampleMatchesTheTablesByteForByte) {
    const Case c = workedExample();
    const Bytes file = c.write();

    Bytes want = header(2, 2, 4, 1, kEnd, 0);
    // Sectors 0-1, FAT: FAT, FAT, directory 2-3, mini FAT 4, mini stream 5, Pictures 6-15,
    // PowerPoint Document 16-211.
    std::vector<std::uint32_t> fat = {kFatSect, kFatSect};
    chain(fat, 2, 2);
    chain(fat, 4, 1);
    chain(fat, 5, 1);
    chain(fat, 6, 10);
    chain(fat, 16, 196);
    append(want, table(fat), 512);
    // Sectors 2-3, directory. Sorted: Pictures < Current User < \5SummaryInformation <
    // PowerPoint Document; the middle one (3) is the top, Pictures alone on the last level.
    for (const Bytes& e :
         {dirEntry(u"Root Entry", 5, kBlack, kNone, kNone, 3, 5, 7 * 64),
          dirEntry(u"Pictures", 2, kRed, kNone, kNone, kNone, 6, 5000),
          dirEntry(u"PowerPoint Document", 2, kBlack, kNone, kNone, kNone, 16, 100000),
          dirEntry(u"\x05SummaryInformation", 2, kBlack, 4, 2, kNone, 0, 300),
          dirEntry(u"Current User", 2, kBlack, 1, kNone, kNone, 5, 110), kUnusedEntry, kUnusedEntry,
          kUnusedEntry})
        append(want, e, 128);
    // Sector 4, mini FAT: SummaryInformation in mini sectors 0-4, Current User in 5-6.
    std::vector<std::uint32_t> miniFat;
    chain(miniFat, 0, 5);
    chain(miniFat, 5, 2);
    append(want, table(miniFat), 512);
    // Sector 5, mini stream; then the two regular streams.
    append(want, c.data[2], 64);
    append(want, c.data[3], 64);
    zeros(want, 64);
    append(want, c.data[0], 512);
    append(want, c.data[1], 512);

    EXPECT_EQ(want.size(), 109056u);
    EXPECT_EQ(compoundFileSize(c.entries()), 109056u);
    EXPECT_TRUE(sameBytes(file, want));
}

TEST(CompoundFile, SmallestFiles) {
    // No streams, or one of 0 bytes: header, one FAT sector, one directory sector (2.9).
    for (bool withEmptyStream : {false, true}) {
        Case c{"", {}, {}};
        if (withEmptyStream) c.add(u"Empty", {});
        Bytes want = header(1, 1, kEnd, 0, kEnd, 0);
        append(want, table({kFatSect, kEnd}), 512);
        append(
            want,
            dirEntry(u"Root Entry", 5, kBlack, kNone, kNone, withEmptyStream ? 1 : kNone, kEnd, 0),
            128);
        if (withEmptyStream)
            append(want, dirEntry(u"Empty", 2, kBlack, kNone, kNone, kNone, kEnd, 0), 128);
        while (want.size() < 1536) append(want, kUnusedEntry, 128);
        EXPECT_TRUE(sameBytes(c.write(), want)) << "with empty stream: " << withEmptyStream;
        EXPECT_EQ(compoundFileSize(c.entries()), 1536u);
    }
}

Case miniOnly() {
    Case c{"only mini streams", {}, {}};
    std::uint32_t seed = 10;
    for (std::size_t size : {1, 63, 64, 65, 4095}) {
        c.add(u"m" + std::u16string(1, char16_t(u'0' + seed % 10)), pattern(size, seed));
        ++seed;
    }
    return c;
}

TEST(CompoundFile, OnlyMiniStreams) {
    const Case c = miniOnly();
    // Mini sectors 1 + 1 + 1 + 2 + 64 = 69: 1 mini FAT sector, 9 sectors of mini stream;
    // 6 entries: 2 directory sectors; FAT 1 + 2 + 1 + 9 = 13 entries in 1 sector.
    const Bytes file = c.write();
    ASSERT_EQ(file.size(), 14u * 512);
    Bytes want = header(1, 1, 3, 1, kEnd, 0);
    std::vector<std::uint32_t> fat = {kFatSect};
    chain(fat, 1, 2);
    chain(fat, 3, 1);
    chain(fat, 4, 9);
    append(want, table(fat), 512);
    EXPECT_TRUE(sameBytes(Bytes(file.begin(), file.begin() + 1024), want));
    EXPECT_EQ(le32(file, sectorOffset(1) + 116), 4u);       // root: mini stream start
    EXPECT_EQ(le32(file, sectorOffset(1) + 120), 69u * 64); // root: mini stream size
    std::vector<std::uint32_t> miniFat;
    std::uint32_t next = 0;
    for (std::uint32_t i = 0; i < 5; ++i) {
        const auto count = static_cast<std::uint32_t>((c.data[i].size() + 63) / 64);
        EXPECT_EQ(le32(file, sectorOffset(1) + 128 * (i + 1) + 116), next) << "stream " << i;
        chain(miniFat, next, count);
        const std::size_t at = sectorOffset(4) + 64 * next;
        EXPECT_TRUE(
            sameBytes(Bytes(file.begin() + at, file.begin() + at + c.data[i].size()), c.data[i]));
        next += count;
    }
    const Bytes miniFatSector(file.begin() + sectorOffset(3), file.begin() + sectorOffset(4));
    EXPECT_TRUE(sameBytes(miniFatSector, table(miniFat)));
}

Case regularOnly() {
    Case c{"only regular streams", {}, {}};
    c.add(u"A", pattern(4096, 20)); // the cutoff itself is stored in regular sectors
    c.add(u"B", pattern(4097, 21));
    c.add(u"C", pattern(10240, 22));
    return c;
}

TEST(CompoundFile, OnlyRegularStreams) {
    const Case c = regularOnly();
    // 8 + 9 + 20 sectors, 1 directory sector, 1 FAT sector; no mini FAT, no mini stream.
    Bytes want = header(1, 1, kEnd, 0, kEnd, 0);
    std::vector<std::uint32_t> fat = {kFatSect};
    chain(fat, 1, 1);
    chain(fat, 2, 8);
    chain(fat, 10, 9);
    chain(fat, 19, 20);
    append(want, table(fat), 512);
    // A < B < C: B on top, A and C on a full last level, all black.
    for (const Bytes& e : {dirEntry(u"Root Entry", 5, kBlack, kNone, kNone, 2, kEnd, 0),
                           dirEntry(u"A", 2, kBlack, kNone, kNone, kNone, 2, 4096),
                           dirEntry(u"B", 2, kBlack, 1, 3, kNone, 10, 4097),
                           dirEntry(u"C", 2, kBlack, kNone, kNone, kNone, 19, 10240)})
        append(want, e, 128);
    for (const Bytes& d : c.data) append(want, d, 512);
    EXPECT_TRUE(sameBytes(c.write(), want));
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
    EXPECT_EQ(sizeWith(29970), (1u + 236 + 1 + 29971) * 512); // 109 + 127 FAT sectors
    EXPECT_EQ(sizeWith(29971), (1u + 237 + 2 + 29972) * 512); // second DIFAT sector
    // The largest file: 32768 FAT sectors, 258 DIFAT sectors, ending at 0x7FFFFE00.
    EXPECT_EQ(sizeWith(4161275), kMaxCompoundFileSize);
    EXPECT_THROW(compoundFileSize({{u"S", &byte, std::size_t{4161275} * 512 + 1}}),
                 std::length_error);
    EXPECT_THROW(compoundFileSize(
                     {{u"S", &byte, std::size_t{1} << 31}, {u"T", &byte, std::size_t{1} << 31}}),
                 std::length_error);
}

Case difatCase() {
    Case c{"9 MB and 20 MB", {}, {}};
    c.add(u"Nine", pattern(9000000, 30));
    c.add(u"Twenty", pattern(20u << 20, 31));
    return c;
}

TEST(CompoundFile, DifatSectorsForFilesOverSevenMegabytes) {
    const Case c = difatCase();
    const Bytes file = c.write();
    // Sectors: 1 directory + 17579 + 40960 = 58540; F = 461 (128 x 461 = 59008 >= 461 + 3 +
    // 58540), X = ceil((461 - 109) / 127) = 3 at sectors 461-463, directory at 464.
    ASSERT_EQ(file.size(), 59005u * 512);
    const Bytes head(file.begin(), file.begin() + 512);
    EXPECT_TRUE(sameBytes(head, header(461, 464, kEnd, 0, 461, 3)));
    std::vector<std::uint32_t> difat; // 127 FAT sector numbers and the next DIFAT sector
    for (std::uint32_t k = 0; k < 3; ++k) {
        for (std::uint32_t j = 0; j < 127; ++j) {
            const std::uint32_t fatSector = 109 + 127 * k + j;
            difat.push_back(fatSector < 461 ? fatSector : kFree);
        }
        difat.push_back(k < 2 ? 462 + k : kEnd);
    }
    EXPECT_TRUE(sameBytes(Bytes(file.begin() + sectorOffset(461), file.begin() + sectorOffset(464)),
                          table(difat)));
    std::vector<std::uint32_t> fat(461, kFatSect);
    fat.insert(fat.end(), 3, kDifSect);
    chain(fat, 464, 1);
    chain(fat, 465, 17579);
    chain(fat, 465 + 17579, 40960);
    EXPECT_TRUE(sameBytes(Bytes(file.begin() + 512, file.begin() + sectorOffset(461)), table(fat)));
    EXPECT_EQ(le32(file, sectorOffset(464) + 128 + 116), 465u);
    EXPECT_EQ(le32(file, sectorOffset(464) + 256 + 116), 465u + 17579);
    EXPECT_TRUE(sameBytes(
        Bytes(file.begin() + sectorOffset(465), file.begin() + sectorOffset(465) + 9000000),
        c.data[0]));
    EXPECT_TRUE(sameBytes(Bytes(file.begin() + sectorOffset(465 + 17579), file.end()), c.data[1]));
}

struct TreeCheck {
    const Bytes& file;
    std::vector<std::uint32_t> inOrder;
    std::vector<int> blackHeights;
    bool redRed = false;

    std::u16string name(std::uint32_t id) const {
        const std::size_t at = sectorOffset(le32(file, 0x30)) + 128 * id;
        std::u16string n;
        for (std::size_t i = 0; i + 2 < std::size_t{file[at + 64]}; i += 2)
            n.push_back(static_cast<char16_t>(file[at + i] | file[at + i + 1] << 8));
        return n;
    }
    void walk(std::uint32_t id, bool parentRed, int blacks) {
        if (id == kNone) {
            blackHeights.push_back(blacks);
            return;
        }
        ASSERT_LT(inOrder.size(), 1000u) << "cycle";
        const std::size_t at = sectorOffset(le32(file, 0x30)) + 128 * id;
        const bool red = file[at + 67] == kRed;
        redRed = redRed || (red && parentRed);
        walk(le32(file, at + 68), red, blacks + !red);
        inOrder.push_back(id);
        walk(le32(file, at + 72), red, blacks + !red);
    }
};

TEST(CompoundFile, SiblingTreeIsSortedAndRedBlack) {
    for (std::size_t n = 0; n <= 40; ++n) {
        Case c{"", {}, {}};
        for (std::size_t i = 0; i < n; ++i) {
            // Lengths 1 to 5 and mixed case, so both rules of the order matter.
            std::u16string name(1 + (i * 7) % 5, char16_t((i % 2 ? u'a' : u'A') + (i * 11) % 26));
            name.back() = char16_t(u'0' + i % 10);
            if (i >= 10) name += char16_t(u'a' + i / 10);
            c.add(name, pattern(i * 37, static_cast<std::uint32_t>(i)));
        }
        const Bytes file = c.write();
        TreeCheck tree{file, {}, {}, false};
        tree.walk(le32(file, sectorOffset(le32(file, 0x30)) + 76), false, 0);
        ASSERT_EQ(tree.inOrder.size(), n);
        for (std::size_t i = 1; i < n; ++i)
            EXPECT_LT(compareEntryNames(tree.name(tree.inOrder[i - 1]), tree.name(tree.inOrder[i])),
                      0)
                << n << " streams, position " << i;
        std::vector<std::uint32_t> ids = tree.inOrder;
        std::sort(ids.begin(), ids.end());
        for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(ids[i], i + 1) << n << " streams";
        EXPECT_FALSE(tree.redRed) << n << " streams";
        EXPECT_EQ(std::count(tree.blackHeights.begin(), tree.blackHeights.end(),
                             tree.blackHeights.front()),
                  static_cast<long>(tree.blackHeights.size()))
            << n << " streams";
    }
}

TEST(CompoundFile, NameOrder) {
    EXPECT_LT(compareEntryNames(u"Pictures", u"Current User"), 0); // shorter first
    EXPECT_LT(compareEntryNames(u"\x05SummaryInformation", u"PowerPoint Document"), 0);
    EXPECT_EQ(compareEntryNames(u"pictures", u"PICTURES"), 0);
    EXPECT_LT(compareEntryNames(u"a", u"_"), 0); // 'A' (0x41) < '_' (0x5F) once upper-cased
    EXPECT_EQ(compareEntryNames(u"\u00E9t\u00E9", u"\u00C9T\u00C9"), 0);
    EXPECT_EQ(compareEntryNames(u"\u0434\u043E\u043A", u"\u0414\u041E\u041A"), 0);
    EXPECT_GT(compareEntryNames(u"\u00FF", u"\u00FE"), 0); // U+0178 > U+00DE
}

TEST(CompoundFile, RejectsBadInputBeforeWriting) {
    const std::uint8_t byte = 1;
    auto rejects = [&byte](std::vector<StreamEntry> streams) {
        VectorSink sink;
        bool thrown = false;
        try {
            writeCompoundFile(streams, sink);
        } catch (const std::invalid_argument&) {
            thrown = true;
        }
        return thrown && sink.bytes().empty();
    };
    EXPECT_NO_THROW(compoundFileSize({{std::u16string(31, u'x'), &byte, 1}}));
    EXPECT_TRUE(rejects({{std::u16string(32, u'x'), &byte, 1}}));
    EXPECT_TRUE(rejects({{u"", &byte, 1}}));
    for (char16_t bad : {u'/', u'\\', u':', u'!', u'\0', char16_t(0xD800), char16_t(0xDC00)})
        EXPECT_TRUE(rejects({{u"a" + std::u16string(1, bad) + u"b", &byte, 1}})) << int{bad};
    EXPECT_NO_THROW(compoundFileSize({{u"\U0001F600", &byte, 1}})); // a surrogate pair
    EXPECT_TRUE(rejects({{u"Pictures", &byte, 1}, {u"x", &byte, 1}, {u"PICTURES", &byte, 1}}));
    EXPECT_TRUE(rejects({{u"Data", nullptr, 5}}));
    EXPECT_NO_THROW(compoundFileSize({{u"Data", nullptr, 0}}));
}

TEST(CompoundFile, StreamBytesGoStraightToTheSink) {
    struct Recorder : ByteSink {
        std::vector<std::pair<const void*, std::size_t>> calls;
        std::uint64_t total = 0;
        void write(const void* data, std::size_t size) override {
            calls.emplace_back(data, size);
            total += size;
        }
    } sink;
    const Case c = workedExample();
    writeCompoundFile(c.entries(), sink);
    EXPECT_EQ(sink.total, 109056u);
    for (const Bytes& d : c.data) {
        EXPECT_EQ(std::count(sink.calls.begin(), sink.calls.end(),
                             std::make_pair(static_cast<const void*>(d.data()), d.size())),
                  1);
    }
    EXPECT_LE(sink.calls.size(), 12u);
}

// Every case read back: the streams hold the bytes written, whatever their sizes (around the
// mini-stream cutoff, one sector, the DIFAT's first sector, 50 MB).
TEST(CompoundFile, ReadsBack) {
    Case many{"0 bytes to 50 MB", {}, {}};
    std::uint32_t seed = 100;
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{64}, std::size_t{4095}, std::size_t{4096},
                             std::size_t{4097}, std::size_t{1} << 20, std::size_t{7143424}, std::size_t{50} << 20 | 123}) {
        many.add(u"Stream " + std::u16string(1, char16_t(u'A' + seed % 26)), pattern(size, seed));
        ++seed;
    }
    for (const Case& c : {workedExample(), miniOnly(), regularOnly(), difatCase(), many}) {
        std::vector<std::string> problems;
        const quorv_test::StreamMap streams = quorv_test::readCompoundFile(c.write(), problems);
        EXPECT_TRUE(problems.empty()) << c.label << ": " << quorv_test::describeProblems(problems);
        ASSERT_EQ(streams.size(), c.names.size()) << c.label;
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_TRUE(sameBytes(streams.at(c.names[i]), c.data[i])) << c.label << ", stream " << i;
        }
    }
}

} // namespace
} // namespace Quorv::storage
