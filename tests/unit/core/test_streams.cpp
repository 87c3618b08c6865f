// QvOutputStream, the record writer and QvInputStream.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/record.h"
#include "quorv/input_stream.h"
#include "support/bytes.h"

using namespace Quorv;
using quorv_test::hex;
using quorv_test::sameBytes;

TEST(OutputStream, WritesLittleEndian) {
    QvOutputStream s;
    s.writeRecordHeader(0x03E8000F, 20);
    EXPECT_EQ(s.tell(), 8);
    s.writeU32(0x80000000u);
    s.writeU16(4660);
    s.writeByte(0xAB);
    const std::uint8_t block[] = {1, 2, 3, 4, 5};
    s.writeBytes(block, 1, 3);
    s.writeBytes(block, 2, 0);
    EXPECT_TRUE(sameBytes(hex("0F 00 E8 03 14 00 00 00  00 00 00 80  34 12  AB  02 03 04"), s.bytes()));
    QvOutputStream empty;
    EXPECT_EQ(empty.size(), 0);
    EXPECT_TRUE(empty.bytes().empty());
}

TEST(OutputStream, AppendToCopiesTheBytes) {
    QvOutputStream a, b;
    a.writeU16(0x0201);
    b.writeByte(0xFF);
    a.appendTo(b);
    EXPECT_TRUE(sameBytes(hex("FF 01 02"), b.bytes()));
}

TEST(Records, LengthsAreMeasuredBeforeWriting) {
    QvOutputStream s;
    writeRecord(s, container(RecordType::Environment), [](QvOutputStream& o) {
        writeRecord(o, atom(RecordType::KinsokuAtom, 0, 3), [](QvOutputStream& a) { a.writeU32(1); });
        writeRecord(o, container(RecordType::Kinsoku, 2), [](QvOutputStream& c) {
            writeRecord(c, atom(RecordType::CString), [](QvOutputStream& a) { a.writeU16(0x41); });
        });
    });
    EXPECT_TRUE(sameBytes(hex("0F 00 F2 03 1E 00 00 00"
                              "30 00 D2 0F 04 00 00 00 01 00 00 00"
                              "2F 00 C8 0F 0A 00 00 00"
                              "00 00 BA 0F 02 00 00 00 41 00"),
                          s.bytes()));
}

TEST(Records, ABodyThatWritesAnotherLengthIsCaught) {
    QvOutputStream s;
    int calls = 0;
    EXPECT_THROW(writeRecord(s, atom(RecordType::CString),
                             [&calls](QvOutputStream& o) { o.writeZeros(++calls == 1 ? 2 : 3); }),
                 std::logic_error);
}

TEST(Records, EveryBodyRunsTwiceWhateverTheDepth) {
    QvOutputStream s;
    int innermost = 0;
    writeRecord(s, container(RecordType::List), [&](QvOutputStream& a) {
        writeRecord(a, container(RecordType::List), [&](QvOutputStream& b) {
            writeRecord(b, container(RecordType::List), [&](QvOutputStream& c) {
                writeRecord(c, atom(RecordType::CString), [&](QvOutputStream& d) {
                    ++innermost;
                    d.writeU32(7);
                });
            });
        });
    });
    EXPECT_EQ(innermost, 2);
    EXPECT_EQ(s.size(), 8 * 4 + 4);
}

TEST(InputStream, MemorySizeReadSeekAndSkip) {
    unsigned char data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QvInputStream in(data, 10);
    EXPECT_TRUE(in.isValid());
    EXPECT_EQ(in.size(), 10);
    char buf[4];
    EXPECT_EQ(in.read(buf, 0, 4), 4);
    EXPECT_EQ(in.size(), 10);
    EXPECT_EQ(in.read(), 4);
    EXPECT_EQ(in.seek(0, 2), 0);
    EXPECT_EQ(in.read(), -1);
    EXPECT_EQ(in.seek(0, 0), 0);
    EXPECT_EQ(in.read(), 0);
    EXPECT_EQ(in.seek(0, 3), 1);
    EXPECT_EQ(in.skip(3), 0);
    EXPECT_EQ(in.read(), 4);
    EXPECT_EQ(in.skip(100), 1);
}

TEST(InputStream, FilesAndHostStreams) {
    QvInputStream missing(std::string("/nonexistent/dir/picture.png"));
    EXPECT_TRUE(missing.isValid());
    EXPECT_EQ(missing.size(), -1);
    EXPECT_EQ(missing.read(), -1);

    std::string path = ::testing::TempDir() + "quorv_input_stream.bin";
    {
        std::ofstream f(path, std::ios::binary);
        f << "abcdef";
    }
    QvInputStream file(path);
    EXPECT_EQ(file.size(), 6);
    char buf[16] = {};
    EXPECT_EQ(file.read(buf, 2, 8), 6);
    EXPECT_STREQ(buf + 2, "abcdef");
    QvInputStream copy = file; // copies share the stream; no double close
    copy.close();
    std::remove(path.c_str());

    std::istringstream host("xyz");
    QvInputStream wrapped(host);
    EXPECT_EQ(wrapped.size(), 3);
    EXPECT_EQ(wrapped.read(), 'x');
    EXPECT_EQ(wrapped.get_istrm(), &host);
    QvInputStream none;
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(none.read(), -1);
}
