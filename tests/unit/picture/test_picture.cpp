// PPTPicture: the model, what a save stores for it, and what happens with bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "core/output_stream.h"
#include "picture/blip_records.h"
#include "picture_helpers.h"
#include "support/picture_samples.h"

using namespace Quorv;
using namespace quorv_test;

namespace {

PPTPtr<PPTPicture> addPicture(PPTSlides& slide, int picId, int shapeNum = 0) {
    PPTPtr<PPTPicture> p(new PPTPicture(10, 20, 100, 50));
    p->set_PicId(picId);
    p->set_ShapeNum(shapeNum);
    slide.addShape(p);
    return p;
}

// A stream that can be read from its start only once: once it has been read to its end, seeking
// fails. A picture that read it twice would find no data the second time.
class OneShotBuf : public std::stringbuf {
public:
    explicit OneShotBuf(const std::string& s) : std::stringbuf(s, std::ios::in) {}

protected:
    int_type underflow() override {
        int_type c = std::stringbuf::underflow();
        if (c == traits_type::eof()) exhausted_ = true;
        return c;
    }
    std::streamsize xsgetn(char* s, std::streamsize n) override {
        std::streamsize got = std::stringbuf::xsgetn(s, n);
        if (gptr() == egptr()) exhausted_ = true;
        return got;
    }
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override {
        if (exhausted_) return pos_type(off_type(-1));
        return std::stringbuf::seekoff(off, dir, which);
    }
    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
        if (exhausted_) return pos_type(off_type(-1));
        return std::stringbuf::seekpos(pos, which);
    }

private:
    bool exhausted_ = false;
};

// A stream that says it holds 5 GiB.
class HugeBuf : public std::streambuf {
protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        if (dir == std::ios_base::end) pos_ = (off_type{5} << 30) + off;
        else if (dir == std::ios_base::beg) pos_ = off;
        else pos_ += off;
        return pos_type(pos_);
    }
    pos_type seekpos(pos_type p, std::ios_base::openmode) override {
        pos_ = off_type(p);
        return p;
    }

private:
    off_type pos_ = 0;
};

class TempFile {
public:
    explicit TempFile(const std::string& name) : path_(::testing::TempDir() + name) {}
    ~TempFile() { std::remove(path_.c_str()); }
    void write(const Bytes& b) const {
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace

TEST(PictureModel, RotationIsReducedKeepingItsSign) {
    PPTPicture p(0, 0, 10, 10);
    EXPECT_TRUE(p.isA(OT_Picture));
    p.set_iRotate(725);
    EXPECT_EQ(p.get_iRotate(), 5);
    p.set_iRotate(-30);
    EXPECT_EQ(p.get_iRotate(), -30);
    p.set_iRotate(-370);
    EXPECT_EQ(p.get_iRotate(), -10);
    p.set_iRotate(720);
    EXPECT_EQ(p.get_iRotate(), 0);
}

TEST(PictureModel, SizesAreThoseOfTheWrittenRecords) {
    struct Case {
        std::string file;
        int rotation;
        int nameBytes; // UTF-16 bytes of the last component, without the terminator
    };
    const Case cases[] = {
        {"", 0, 0},
        {"C:\\pictures\\logo.png", 0, 16},
        {"/home/me/photos/ab.jpg", 320, 12},
        {"dir\\mixed/last\\x.png", -30, 10},             // -30 is written as 330: one more property
        {"/tmp/caf\xC3\xA9-\xF0\x9F\x98\x80.png", 0, 22}, // é one unit, U+1F600 a surrogate pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        PPTPicture p(0, 0, 10, 10);
        p.setFileName(PPTPicture::IMAGE_PNG, c.file);
        p.set_iRotate(c.rotation);
        const int table = 24 + (c.rotation != 0 ? 6 : 0) + c.nameBytes + 2;
        EXPECT_EQ(p.calSize(nullptr, false), table);
        EXPECT_EQ(p.calSize(nullptr, true), 16 + 8 + table + 16);
        QvOutputStream s;
        p.output(s, false);
        EXPECT_EQ(s.size(), 8 + p.calSize(nullptr, true));
    }
}

TEST(PictureSave, StoreEntriesPointAtTheirRecords) {
    PPTDocument doc;
    PPTPtr<PPTSlides> one = doc.addSlides(720, 540);
    PPTPtr<PPTSlides> two = doc.addSlides(720, 540);
    std::istringstream png(asString(pngOfSize(300)));
    std::istringstream jpeg(asString(pictureBytes("sample.jpg")));
    addPicture(*one, 1)->setFileStream(PPTPicture::IMAGE_PNG, png);
    addPicture(*two, 2, 1)->setFileName(PPTPicture::IMAGE_JPEG, picturePath("sample.jpg"));
    addPicture(*two, 3, 2)->setFileStream(PPTPicture::IMAGE_JPEG, jpeg);

    SavedPictures saved = savePictures(doc);
    ASSERT_EQ(saved.records.size(), 3u);
    ASSERT_EQ(saved.entries.size(), 3u);
    const unsigned kinds[] = {6, 5, 5};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Record& r = saved.records[i];
        EXPECT_EQ(entryKind(saved.entries[i]), kinds[i]);
        EXPECT_EQ(entryOffset(saved.entries[i]), r.offset);
        EXPECT_EQ(entrySize(saved.entries[i]), r.length + 8);
        EXPECT_EQ(entryUid(saved.entries[i]), slice(saved.pictures, r.bodyOffset(), 16));
    }
    EXPECT_NE(entryUid(saved.entries[1]), entryUid(saved.entries[2])); // same image, two pictures
    EXPECT_EQ(saved.pibs, (std::vector<std::uint32_t>{2, 3, 4}));
}

TEST(PictureSave, ASecondSaveWritesTheSamePictures) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    auto stream = std::make_unique<std::istringstream>(asString(pictureBytes("sample.wmf")));
    addPicture(*slide, 1)->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
    addPicture(*slide, 2)->setFileStream(PPTPicture::IMAGE_WMF, *stream);
    addPicture(*slide, 3)->setFileName(PPTPicture::IMAGE_ANY, picturePath("sample.gif"));

    SavedPictures first = savePictures(doc);
    stream.reset(); // the host may drop its stream once the first save has returned
    SavedPictures second = savePictures(doc);
    ASSERT_EQ(first.records.size(), 3u);
    EXPECT_TRUE(sameBytes(first.pictures, second.pictures));
    EXPECT_TRUE(sameBytes(first.document, second.document));
}

TEST(PictureSave, CopiesShareTheHostStreamAndReadItOnce) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    const Bytes png = pictureBytes("sample.png");
    OneShotBuf buffer(asString(png));
    std::istream stream(&buffer);
    PPTPtr<PPTPicture> original = addPicture(*slide, 1);
    original->setFileStream(PPTPicture::IMAGE_PNG, stream);
    PPTPtr<PPTPicture> copy(new PPTPicture(*original));
    copy->set_PicId(2);
    slide->addShape(copy);

    SavedPictures saved = savePictures(doc);
    ASSERT_EQ(saved.records.size(), 2u);
    for (const Record& r : saved.records) {
        EXPECT_TRUE(sameBytes(png, slice(saved.pictures, r.bodyOffset() + 17, r.length - 17)));
    }
    // A copy made after the first save writes the bytes read then.
    PPTPtr<PPTPicture> late(new PPTPicture(*copy));
    late->set_PicId(3);
    slide->addShape(late);
    EXPECT_EQ(savePictures(doc).records.size(), 3u);
}

TEST(PictureSave, TheLastSourceSetWinsAndNewSourcesGetNewIdentifiers) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    std::istringstream jpeg(asString(pictureBytes("sample.jpg")));
    PPTPtr<PPTPicture> p = addPicture(*slide, 1);
    p->setFileStream(PPTPicture::IMAGE_JPEG, jpeg);
    p->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
    const detail::SaveContext context = fixedContext(); // one identifier source for all saves
    SavedPictures first = savePictures(doc, context);
    ASSERT_EQ(first.records.size(), 1u);
    EXPECT_EQ(first.records[0].type, 0xF01Eu); // the file, not the stream set before it
    EXPECT_EQ(savePictures(doc, context).entries, first.entries); // kept identifiers

    p->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
    SavedPictures renamed = savePictures(doc, context);
    EXPECT_NE(entryUid(renamed.entries[0]), entryUid(first.entries[0]));
    std::istringstream png(asString(pictureBytes("sample.png")));
    p->setFileStream(PPTPicture::IMAGE_PNG, png);
    EXPECT_NE(entryUid(savePictures(doc, context).entries[0]), entryUid(renamed.entries[0]));
}

TEST(PictureSave, StoreAndStreamFollowTheOrderOfAddingOnEverySave) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    std::istringstream a(asString(pngOfSize(100))), b(asString(pngOfSize(200))), c(asString(pngOfSize(300)));
    addPicture(*slide, 1, 3)->setFileStream(PPTPicture::IMAGE_PNG, a);
    addPicture(*slide, 2, 2)->setFileStream(PPTPicture::IMAGE_PNG, b);
    addPicture(*slide, 3, 1)->setFileStream(PPTPicture::IMAGE_PNG, c);
    for (int save = 0; save < 2; ++save) {
        SCOPED_TRACE(save);
        SavedPictures saved = savePictures(doc);
        ASSERT_EQ(saved.records.size(), 3u);
        const std::uint32_t sizes[] = {100 + 25, 200 + 25, 300 + 25};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(saved.records[i].length + 8, sizes[i]);
            EXPECT_EQ(entrySize(saved.entries[i]), sizes[i]);
        }
        // Drawn in ShapeNum order: the third picture added first, referring to the fourth entry.
        EXPECT_EQ(saved.pibs, (std::vector<std::uint32_t>{4, 3, 2}));
    }
}

TEST(PictureBadInput, EveryInputGetsTheRecordOfWhatItIs) {
    struct Case {
        const char* what;
        const char* file; // a sample, or nullptr for `bytes` given as a stream
        std::string bytes;
        PPTPicture::ImageType type;
        unsigned recordType; // 0: no data
    };
    const std::string jpegHead = "\xFF\xD8\xFF\xE0";
    const Case cases[] = {
        {"missing file", "no-such-file.png", "", PPTPicture::IMAGE_PNG, 0},
        {"empty file", "empty.png", "", PPTPicture::IMAGE_PNG, 0},
        {"empty stream", nullptr, "", PPTPicture::IMAGE_PNG, 0},
        {"truncated PNG", "truncated.png", "", PPTPicture::IMAGE_PNG, 0},
        {"truncated PNG, any image", "truncated.png", "", PPTPicture::IMAGE_ANY, 0},
        {"JPEG declared as PNG", "sample.jpg", "", PPTPicture::IMAGE_PNG, 0xF01D},
        {"PNG declared as JPEG", "sample.png", "", PPTPicture::IMAGE_JPEG, 0xF01E},
        {"WMF declared as EMF", "sample.wmf", "", PPTPicture::IMAGE_EMF, 0xF01B},
        {"EMF declared as WMF", "sample.emf", "", PPTPicture::IMAGE_WMF, 0xF01A},
        {"EMF declared as PNG", "sample.emf", "", PPTPicture::IMAGE_PNG, 0xF01A},
        {"BMP declared as PNG", "sample.bmp", "", PPTPicture::IMAGE_PNG, 0},
        {"BMP, any image", "sample.bmp", "", PPTPicture::IMAGE_ANY, 0xF01E},
        {"GIF, any image", "sample.gif", "", PPTPicture::IMAGE_ANY, 0xF01E},
        {"TIFF, any image", "sample.tif", "", PPTPicture::IMAGE_ANY, 0xF01E},
        {"JPEG, any image", "sample.jpg", "", PPTPicture::IMAGE_ANY, 0xF01D},
        {"WMF, any image", "sample.wmf", "", PPTPicture::IMAGE_ANY, 0xF01B},
        {"a JPEG signature only, any image", nullptr, jpegHead, PPTPicture::IMAGE_ANY, 0},
        {"a JPEG signature only, as JPEG", nullptr, jpegHead, PPTPicture::IMAGE_JPEG, 0},
        {"text, any image", nullptr, "not an image at all, just some text", PPTPicture::IMAGE_ANY, 0},
        {"placeable header alone", nullptr, std::string("\xD7\xCD\xC6\x9A", 4) + std::string(18, '\0'),
         PPTPicture::IMAGE_WMF, 0},
        {"type 0", "sample.png", "", PPTPicture::IMAGE_NONE, 0},
        {"type 4", "sample.png", "", PPTPicture::IMAGE_UNUSED, 0},
        {"type 9", "sample.png", "", static_cast<PPTPicture::ImageType>(9), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PPTDocument doc;
        PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
        std::istringstream stream(c.bytes);
        PPTPtr<PPTPicture> p = addPicture(*slide, 1);
        if (c.file) p->setFileName(c.type, picturePath(c.file));
        else p->setFileStream(c.type, stream);
        SavedPictures saved = savePictures(doc);
        ASSERT_EQ(saved.entries.size(), 1u);
        if (c.recordType == 0) {
            EXPECT_EQ(p->get_PicId(), -1);
            EXPECT_FALSE(saved.hasPicturesStream);
            Bytes empty(36, 0);
            empty[18] = 0xFF;
            EXPECT_TRUE(sameBytes(empty, saved.entries[0]));
            EXPECT_EQ(saved.pibs, std::vector<std::uint32_t>{0});
        } else {
            EXPECT_EQ(p->get_PicId(), 1);
            ASSERT_EQ(saved.records.size(), 1u);
            EXPECT_EQ(saved.records[0].type, c.recordType);
            EXPECT_EQ(saved.pibs, std::vector<std::uint32_t>{2});
        }
    }
}

TEST(PictureBadInput, ThePictureIdComesBackWhenTheDataDoes) {
    TempFile file("quorv-picture-late.png");
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTPicture> missing = addPicture(*slide, 1, 1);
    missing->setFileName(PPTPicture::IMAGE_PNG, file.path());
    PPTPtr<PPTPicture> good = addPicture(*slide, 2, 2);
    good->setFileName(PPTPicture::IMAGE_PNG, picturePath("sample.png"));
    EXPECT_EQ(missing->get_PicId(), 1);

    SavedPictures first = savePictures(doc);
    EXPECT_EQ(missing->get_PicId(), -1);
    EXPECT_EQ(first.pibs, (std::vector<std::uint32_t>{0, 3}));
    EXPECT_EQ(entryOffset(first.entries[1]), 0u); // the only record

    file.write(pngOfSize(80));
    SavedPictures second = savePictures(doc);
    EXPECT_EQ(missing->get_PicId(), 1);
    EXPECT_EQ(second.pibs, (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(entryOffset(second.entries[1]), 80u + 25u);

    missing->set_PicId(7); // the host may renumber at any time
    EXPECT_EQ(missing->get_PicId(), 7);
}

TEST(PictureLimits, AStreamBeyond32BitsIsRefused) {
    PPTDocument doc;
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    HugeBuf buffer;
    std::istream huge(&buffer);
    addPicture(*slide, 1)->setFileStream(PPTPicture::IMAGE_PNG, huge);
    try {
        savePictures(doc);
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), QV_ERR_PICTURE_TOO_LARGE);
        EXPECT_NE(std::string(e.what()).find("5368709120"), std::string::npos) << e.what();
    }
}

TEST(PictureLimits, RecordsMustFitTheirFieldsAndTheFile) {
    EXPECT_NO_THROW(picture::checkRecordFits(0, 1000));
    EXPECT_NO_THROW(picture::checkRecordFits(0x7FFFFE00u - 1008, 1000));
    auto code = [](std::uint64_t offset, std::uint64_t body) {
        try {
            picture::checkRecordFits(offset, body);
        } catch (const QvException& e) {
            return e.get_Code();
        }
        return 0;
    };
    EXPECT_EQ(code(0x7FFFFE00u - 1007, 1000), QV_ERR_TOO_LARGE);
    EXPECT_EQ(code(0, 0xFFFFFFF8u), QV_ERR_PICTURE_TOO_LARGE); // recLen fits, the record's size does not
    EXPECT_EQ(code(0x100000000ull, 0), QV_ERR_PICTURE_TOO_LARGE);
}

namespace {
// A source that promises more bytes than it gives.
class ShortSource : public picture::ByteSource {
public:
    std::uint64_t size() const noexcept override { return 3u << 20; }
    std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t count) override {
        if (offset >= (1u << 20)) return 0;
        std::size_t n = std::min<std::size_t>(count, (1u << 20) - offset);
        std::fill(out, out + n, 0);
        return n;
    }
};
} // namespace

TEST(PictureLimits, DataEndingEarlyIsReported) {
    ShortSource source;
    QvOutputStream s;
    try {
        picture::writeBitmapBlip(s, picture::BlipKind::Png, picture::BlipIdentifier{}, source);
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.get_Code(), QV_ERR_PICTURE_READ);
    }
}

TEST(PictureThreads, CopiesSharingAStreamSaveOnTwoThreads) {
    const Bytes png = pictureBytes("sample.png");
    std::istringstream stream(asString(png));
    PPTPtr<PPTPicture> original(new PPTPicture(0, 0, 10, 10));
    original->setFileStream(PPTPicture::IMAGE_PNG, stream);
    original->set_PicId(1);
    PPTDocument docs[2];
    for (PPTDocument& doc : docs) {
        PPTPtr<PPTPicture> copy(new PPTPicture(*original));
        doc.addSlides(720, 540)->addShape(copy);
    }
    SavedPictures saved[2];
    std::thread other([&] { saved[1] = savePictures(docs[1]); });
    saved[0] = savePictures(docs[0]);
    other.join();
    for (const SavedPictures& s : saved) {
        ASSERT_EQ(s.records.size(), 1u);
        EXPECT_TRUE(sameBytes(png, slice(s.pictures, 25, png.size())));
    }
}
