// Bad input a converter may pass, as catalogued in docs/robustness.md: each case ends in a clear
// QvException or in a file the structural verifier accepts, and never harms an existing file.
// (Cases that belong to one feature are tested beside it; the catalogue names those tests.)
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/picture_samples.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "support/verifier.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Saves into memory and returns the verifier's findings ("" when the file is sound).
std::string saveAndVerify(PPTDocument& doc) {
    Bytes file = Quorv::detail::DocumentWriter::saveToBytes(doc, fixedContext());
    return describeProblems(verifyPresentationFile(file));
}

Font plainFont() { return Font(); }

} // namespace

TEST(Robustness, SlideSizesOutsideTheFormatsRangeAreBroughtIntoIt) {
    // MS-PPT: 576 to 32256 master units (1 to 56 inches).
    const struct {
        float points;
        std::uint32_t units;
    } cases[] = {{0.0f, 576}, {-100.0f, 576}, {kNaN, 576}, {kInf, 32256}, {-kInf, 576}, {1e30f, 32256}, {720.9f, 5767}};
    for (const auto& c : cases) {
        PPTDocument doc;
        doc.set_Width(c.points);
        doc.set_Hight(c.points);
        doc.addSlides(c.points, c.points);
        Bytes stream = documentStream(doc);
        EXPECT_EQ(readU32(stream, 16), c.units) << c.points;
        EXPECT_EQ(readU32(stream, 20), c.units) << c.points;
        EXPECT_EQ(saveAndVerify(doc), "");
    }
}

TEST(Robustness, TextFramesAndPicturesAnywhereAreClampedToTheAnchorRange) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    for (float v : {kNaN, kInf, -kInf, 1e9f, -1e9f, 4096.0f}) {
        PPTPtr<PPTTextFrame> frame(new PPTTextFrame(v, v, v, v));
        frame->set_textleft(v);
        frame->set_texttop(v);
        frame->addText(L"x", plainFont());
        slide->addShape(frame);
        PPTPtr<PPTPicture> picture(new PPTPicture(v, v, v, v));
        picture->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
        picture->set_PicId(1);
        slide->addShape(picture);
    }
    EXPECT_EQ(saveAndVerify(doc), "");
    // A frame beyond the anchor's range sits at its edge, not wrapped around to the other side.
    Bytes stream = documentStream(doc);
    Record slideRecord = parseRecords(stream, 0, stream.size()).at(2);
    std::set<int> tops;
    for (const Record* anchor : slideRecord.findAll(0xF010)) {
        tops.insert(static_cast<std::int16_t>(readU16(stream, anchor->bodyOffset())));
    }
    // NaN -> 0, +inf and 1e9 -> 32767, -inf and -1e9 -> -32768, 4096 points -> 32767.
    EXPECT_EQ(tops, (std::set<int>{-32768, 0, 32767}));
}

TEST(Robustness, FontSizesAreWrittenWithinOneToFourThousandPoints) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(10, 10, 300, 100));
    for (int size : {0, -5, 100000, 409}) {
        Font f;
        f.set_Size(size);
        f.set_Script(size == 0 ? 30 : 0);
        frame->addText(L"ab", f);
    }
    slide->addShape(frame);
    EXPECT_EQ(saveAndVerify(doc), "");
    Bytes stream = documentStream(doc);
    std::vector<Record> top = parseRecords(stream, 0, stream.size());
    auto styles = top.at(2).findAll(0x0FA1);
    ASSERT_EQ(styles.size(), 1u);
    // Skip the paragraph run (count, level, mask 0x2000 and space before); then four character runs.
    std::size_t at = styles[0]->bodyOffset() + 4 + 2 + 4 + 2;
    std::vector<int> sizes;
    for (int run = 0; run < 4; ++run) {
        std::uint32_t mask = readU32(stream, at + 4);
        at += 8;
        if (mask & 0xFFFF) at += 2;
        sizes.push_back(readU16(stream, at));
        at += 2;
        if (mask & 0x80000) at += 2;
    }
    EXPECT_EQ(sizes, (std::vector<int>{1, 1, 4000, 409}));
}

TEST(Robustness, TextWithUnpairedSurrogatesAndNulCharacters) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(10, 10, 300, 100));
    std::wstring text = L"a";
    text.push_back(static_cast<wchar_t>(0xD800)); // a lone high surrogate
    text.push_back(L'\0');
    text.push_back(static_cast<wchar_t>(0xDC00)); // a lone low surrogate
    text.push_back(static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(frame->addText(text, plainFont()), static_cast<int>(text.size()));
    slide->addShape(frame);
    PPTProperties props;
    props.set_Title(text);
    doc.setProperties(&props, false);
    EXPECT_EQ(saveAndVerify(doc), "");
    Bytes stream = documentStream(doc);
    Record slideRecord = parseRecords(stream, 0, stream.size()).at(2);
    auto chars = slideRecord.findAll(0x0FA0);
    ASSERT_EQ(chars.size(), 1u);
    // A NUL is written as U+FFFD (readers would end the text there); lone surrogates stay.
    EXPECT_TRUE(sameBytes(hex("61 00 00 D8 FD FF 00 DC 3D D8 00 DE"), slice(stream, chars[0]->bodyOffset(), 12)));
}

TEST(Robustness, ManyShapesOnOneSlideKeepTheirIdsApart) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    for (int i = 0; i < 20000; ++i) {
        PPTPtr<PPTRectangle> r(new PPTRectangle(static_cast<float>(i % 700), 10, 5, 5));
        r->set_ShapeNum(i % 7);
        slide->addShape(r);
    }
    EXPECT_EQ(saveAndVerify(doc), "");
}

TEST(Robustness, ThousandsOfPicturesBeyondWhatThePictureStoreCounts) {
    const Bytes png = pictureBytes("sample.png");
    const std::string bytes(png.begin(), png.end());
    auto deck = [&](int pictures, std::vector<std::istringstream>& streams) {
        PPTDocument doc;
        PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
        streams.reserve(static_cast<std::size_t>(pictures));
        for (int i = 0; i < pictures; ++i) {
            streams.emplace_back(bytes);
            PPTPtr<PPTPicture> p(new PPTPicture(static_cast<float>(i % 600), 10, 20, 20));
            p->setFileStream(PPTPicture::IMAGE_PNG, streams.back());
            p->set_PicId(i + 1);
            slide->addShape(p);
        }
        return doc;
    };
    // The store's recInstance holds 12 bits: 4,094 pictures and the empty entry fill it; with more
    // it says 4,095 and the readers take the entries from the container's length.
    for (int pictures : {4094, 5000}) {
        std::vector<std::istringstream> streams;
        PPTDocument doc = deck(pictures, streams);
        EXPECT_EQ(saveAndVerify(doc), "") << pictures;
        Bytes stream = documentStream(doc);
        Record document = parseRecord(stream, 0);
        auto stores = document.findAll(0xF001);
        ASSERT_EQ(stores.size(), 1u);
        EXPECT_EQ(stores[0]->instance, 0xFFFu);
        EXPECT_EQ(stores[0]->children.size(), static_cast<std::size_t>(pictures + 1));
    }
}

namespace {

class FileNames : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        existing_ = path("deck.ppt");
        std::ofstream(existing_, std::ios::binary) << "earlier file";
    }
    std::string contents() const {
        std::ifstream f(existing_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    std::size_t entries() const { return files().size(); }
    static PPTDocument deck() {
        PPTDocument doc;
        doc.addSlides(720, 540);
        return doc;
    }

    std::string existing_;
};

int codeOfSave(PPTDocument& doc, const std::string& name, std::string* system = nullptr) {
    try {
        doc.save(name);
    } catch (const QvException& e) {
        if (system) *system = e.get_SystemError();
        return e.get_Code();
    }
    return 0;
}

} // namespace

TEST_F(FileNames, TooLongUnwritableAndDirectoryNamesThrowCodeFive) {
    PPTDocument doc = deck();
    std::string system;
    EXPECT_EQ(codeOfSave(doc, dir_ + "/" + std::string(300, 'n') + ".ppt", &system), 5);
    EXPECT_NE(system.find("too long"), std::string::npos) << system;
    EXPECT_EQ(codeOfSave(doc, "/proc/quorv-test.ppt"), 5); // a file system that takes no new files
    EXPECT_EQ(codeOfSave(doc, dir_), 5);                     // the name of a directory
    EXPECT_EQ(codeOfSave(doc, std::string()), 6);
    EXPECT_EQ(contents(), "earlier file");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileNames, AFullDiskLeavesTheEarlierFileIntact) {
    // The disk fills up after 64 KiB: the limit is set in a child process, so the test's own
    // process keeps writing freely.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        PPTDocument doc;
        for (int i = 0; i < 400; ++i) doc.addSlides(720, 540); // about 130 KB
        std::string system;
        int code = codeOfSave(doc, existing_, &system);
        _exit(code == 5 && system.find("too large") != std::string::npos ? 0 : 10 + code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contents(), "earlier file");
    EXPECT_EQ(entries(), 1u);
}

TEST(Robustness, ShapesTurnedNearAQuarterTurnStoreTheTurnedBox) {
    // Readers take the anchor of a shape turned 45 to 135 (or 225 to 315) degrees as the box
    // turned by 90 degrees; a 200 x 100 frame at 90 degrees is stored as 100 x 200 about its centre.
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(100, 100, 200, 100));
    frame->set_Srotate(90);
    frame->addText(L"turned", Font());
    slide->addShape(frame);
    PPTPtr<PPTPicture> picture(new PPTPicture(100, 100, 200, 100));
    picture->set_iRotate(-90);
    picture->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
    picture->set_PicId(1);
    slide->addShape(picture);
    Bytes stream = documentStream(doc);
    Record slideRecord = parseRecords(stream, 0, stream.size()).at(2);
    auto anchors = slideRecord.findAll(0xF010);
    ASSERT_EQ(anchors.size(), 2u);
    for (const Record* a : anchors) {
        // top, left, right, bottom in master units: 50, 150, 250, 250 points.
        EXPECT_TRUE(sameBytes(hex("90 01 B0 04 D0 07 D0 07"), slice(stream, a->bodyOffset(), 8)));
    }
}
