// The Current User stream ([MS-PPT] 2.3.2) and the two property-set streams ([MS-OLEPS] 2.21).
#include <gtest/gtest.h>

#include <cstring>

#include "core/output_stream.h"
#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const char* const kProduct = "Korvelantaris Quorvantexis";

Bytes ascii(const char* s) { return Bytes(s, s + std::strlen(s)); }
Bytes utf16(const char* s) {
    Bytes b;
    for (const char* p = s; *p; ++p) appendU16(b, static_cast<unsigned char>(*p));
    return b;
}

Bytes expectedCurrentUser(std::uint32_t token, std::uint32_t offset) {
    Bytes b;
    appendHeader(b, 0, 0, 0x0FF6, 50);
    appendU32(b, 20);
    appendU32(b, token);
    appendU32(b, offset);
    appendU16(b, 26);
    appendU16(b, 0x03F4);
    appendBytes(b, hex("03 00 00 00"));
    appendBytes(b, ascii(kProduct));
    appendU32(b, 8);
    appendBytes(b, utf16(kProduct));
    return b;
}

Bytes header(const char* fmtid) {
    Bytes b = hex("FE FF 00 00 05 00 02 00");
    b.resize(b.size() + 16, 0);
    appendU32(b, 1);
    appendBytes(b, hex(fmtid));
    appendU32(b, 48);
    return b;
}

const char* const kSummaryId = "E0 85 9F F2 F9 4F 68 10 AB 91 08 00 2B 27 B3 D9";
const char* const kDocSummaryId = "02 D5 CD D5 9C 2E 1B 10 93 97 08 00 2B 2C F9 AE";

void appendString(Bytes& b, const Bytes& text) {
    appendU32(b, 0x1E);
    std::uint32_t size = text.empty() ? 0 : static_cast<std::uint32_t>((text.size() + 4) / 4 * 4);
    appendU32(b, size);
    appendBytes(b, text);
    b.resize(b.size() + (size - text.size()), 0);
}

Bytes expectedSummary(const Bytes& title, const Bytes& subject, const Bytes& author, const Bytes& keywords) {
    Bytes values;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ids;
    auto mark = [&](std::uint32_t id) { ids.push_back({id, static_cast<std::uint32_t>(8 + 88 + values.size())}); };
    mark(0x01);
    appendBytes(values, hex("02 00 00 00 A4 03 00 00"));
    mark(0x02);
    appendString(values, title);
    mark(0x03);
    appendString(values, subject);
    mark(0x04);
    appendString(values, author);
    mark(0x05);
    appendString(values, keywords);
    mark(0x08);
    appendString(values, ascii(kProduct));
    mark(0x09);
    appendString(values, ascii("1"));
    mark(0x12);
    appendString(values, ascii("Microsoft PowerPoint"));
    mark(0x0A);
    appendBytes(values, hex("40 00 00 00 00 00 00 00 00 00 00 00"));
    mark(0x0D);
    appendU32(values, 0x40);
    appendU32(values, static_cast<std::uint32_t>(kFixedTime));
    appendU32(values, static_cast<std::uint32_t>(kFixedTime >> 32));
    mark(0x0F);
    appendBytes(values, hex("03 00 00 00 0A 00 00 00"));

    Bytes b = header(kSummaryId);
    appendU32(b, static_cast<std::uint32_t>(8 + 88 + values.size()));
    appendU32(b, 11);
    for (auto& p : ids) {
        appendU32(b, p.first);
        appendU32(b, p.second);
    }
    appendBytes(b, values);
    return b;
}

PPTDocument oneSlide() {
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    doc.addSlides(720, 540);
    return doc;
}

} // namespace

TEST(CurrentUser, WrittenForEveryDocument) {
    PPTDocument doc = oneSlide();
    auto streams = streamsOf(doc);
    const Bytes& stream = streams.at(u"Current User");
    const Bytes& document = streams.at(u"PowerPoint Document");
    std::uint32_t userEdit = static_cast<std::uint32_t>(document.size() - 36);
    EXPECT_EQ(stream.size(), 110u);
    EXPECT_TRUE(sameBytes(expectedCurrentUser(0xE391C05F, userEdit), stream));
    EXPECT_EQ(streams.count(u"\x0005SummaryInformation"), 1u);
    EXPECT_EQ(streams.count(u"Pictures"), 0u);
}

TEST(CurrentUser, EncryptFlagOnlyChangesTheToken) {
    PPTDocument doc = oneSlide();
    PPTProperties props;
    props.set_Encrypt(true);
    doc.setProperties(&props, false);
    auto streams = streamsOf(doc);
    std::uint32_t userEdit = static_cast<std::uint32_t>(streams.at(u"PowerPoint Document").size() - 36);
    EXPECT_TRUE(sameBytes(expectedCurrentUser(0xF3D1C4DF, userEdit), streams.at(u"Current User")));
    QvOutputStream direct;
    EXPECT_EQ(props.saveCurrentUser(direct, 4000, false), 110);
    EXPECT_TRUE(sameBytes(hex("A0 0F 00 00"), slice(direct.bytes(), 16, 4)));
}

TEST(PropertySets, EmptyProperties) {
    PPTDocument doc = oneSlide();
    PPTProperties props;
    doc.setProperties(&props, false);
    auto streams = streamsOf(doc);
    const Bytes& summary = streams.at(u"\x0005SummaryInformation");
    // Every string is null-terminated: "Microsoft PowerPoint" takes 24 bytes, so the set is
    // 216 + 4 x 8 bytes.
    EXPECT_EQ(readU32(summary, 48), 248u);
    EXPECT_EQ(summary.size(), 296u);
    EXPECT_TRUE(sameBytes(expectedSummary({}, {}, {}, {}), summary));

    Bytes docSummary = header(kDocSummaryId);
    appendBytes(docSummary, hex("28 00 00 00 02 00 00 00  01 00 00 00 18 00 00 00  0F 00 00 00 20 00 00 00"
                                "02 00 00 00 A4 03 00 00  1E 00 00 00 00 00 00 00"));
    EXPECT_TRUE(sameBytes(docSummary, streams.at(u"\x0005" u"DocumentSummaryInformation")));
    EXPECT_EQ(streams.at(u"\x0005" u"DocumentSummaryInformation").size(), 88u);
}

TEST(PropertySets, ValuesAreCodePage932WithTheSpaceTheSettersAdd) {
    PPTProperties props;
    props.set_Title(L"Report");
    EXPECT_EQ(props.get_Title(), L"Report ");
    props.set_Company(L"ABC");
    EXPECT_EQ(props.get_Company(), L"ABC ");
    props.set_Subject(std::wstring(L"cut\0here", 8));
    EXPECT_EQ(props.get_Subject(), L"cut ");
    props.set_Author(L"\x65E5\x672C"); // two Japanese characters: 4 bytes, plus the space
    props.set_Keyword(L"");
    EXPECT_EQ(props.get_Keyword(), L"");

    PPTDocument doc = oneSlide();
    doc.setProperties(&props, false);
    auto streams = streamsOf(doc);
    EXPECT_TRUE(sameBytes(expectedSummary(ascii("Report "), ascii("cut "), hex("93 FA 96 7B 20"), {}),
                          streams.at(u"\x0005SummaryInformation")));
    const Bytes& docSummary = streams.at(u"\x0005" u"DocumentSummaryInformation");
    EXPECT_EQ(readU32(docSummary, 48), 48u); // 40 + 8 for "ABC " and its terminator
    EXPECT_TRUE(sameBytes(hex("1E 00 00 00 08 00 00 00 41 42 43 20 00 00 00 00"), slice(docSummary, 48 + 32, 16)));
}

TEST(PropertySets, SetPropertiesRules) {
    PPTDocument doc;
    try {
        doc.setProperties(nullptr, false);
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), 7);
    }
    PPTProperties* p = new PPTProperties;
    doc.setProperties(p, false);
    doc.setProperties(p, true); // replacing the attached object by itself deletes nothing
    doc.setProperties(new PPTProperties, true); // deletes p
    delete doc.getProperties();
}
