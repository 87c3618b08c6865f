// Decks of the picture interoperability tests: one picture of each kind from files and from host
// streams, and pictures whose input is missing, empty, damaged or mislabelled. The images are the
// samples in tests/data/pictures (see make_samples.py there); test_pictures.py knows the layout.
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "interop_decks.h"

using namespace Quorv;

namespace {

std::string dataDir() {
    std::string here = __FILE__; // .../tests/interop/decks_pictures.cpp
    std::string::size_type cut = here.find_last_of("/\\");
    return here.substr(0, cut == std::string::npos ? 0 : cut + 1) + "../data/pictures/";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A picture read from a stream of the host. The stream lives as long as the picture, which is
// longer than the host needs to keep it (until the first save).
class StreamPicture : public PPTPicture {
public:
    StreamPicture(float x, float y, float w, float h, ImageType type, const std::string& bytes)
        : PPTPicture(x, y, w, h), data_(bytes) {
        setFileStream(type, data_);
    }

private:
    std::istringstream data_;
};

struct Sample {
    const char* file;
    PPTPicture::ImageType type;
};

// In the order they are added to each slide of pictures_kinds.
const Sample kKinds[] = {
    {"sample.png", PPTPicture::IMAGE_PNG}, {"sample.jpg", PPTPicture::IMAGE_JPEG},
    {"sample.bmp", PPTPicture::IMAGE_ANY}, {"sample.gif", PPTPicture::IMAGE_ANY},
    {"sample.tif", PPTPicture::IMAGE_ANY}, {"sample.wmf", PPTPicture::IMAGE_WMF},
    {"sample.emf", PPTPicture::IMAGE_EMF},
};

// Cell i of a 4 x 2 grid on a 720 x 540 slide.
void cell(int i, float& x, float& y) {
    x = 20.0f + static_cast<float>(i % 4) * 175.0f;
    y = 40.0f + static_cast<float>(i / 4) * 250.0f;
}

void add(PPTSlides& slide, PPTPicture* picture, int picId, int shapeNum) {
    PPTPtr<PPTPicture> p(picture);
    p->set_PicId(picId);
    p->set_ShapeNum(shapeNum);
    slide.addShape(p);
}

// Slide 1: the seven kinds from files; slide 2: the same from host streams, drawn in the reverse
// order (ShapeNum) and the last one turned by -30 degrees.
void picturesKinds(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    const std::string dir = dataDir();
    PPTPtr<PPTSlides> files = doc.addSlides(720, 540);
    PPTPtr<PPTSlides> streams = doc.addSlides(720, 540);
    const int n = static_cast<int>(std::size(kKinds));
    for (int i = 0; i < n; ++i) {
        float x, y;
        cell(i, x, y);
        auto* p = new PPTPicture(x, y, 160, 120);
        p->setFileName(kKinds[i].type, dir + kKinds[i].file);
        add(*files, p, 1 + i, i);
    }
    for (int i = 0; i < n; ++i) {
        float x, y;
        cell(i, x, y);
        auto* p = new StreamPicture(x, y, 160, 120, kKinds[i].type, readFile(dir + kKinds[i].file));
        if (i == n - 1) p->set_iRotate(-30);
        add(*streams, p, 1 + n + i, n - i);
    }
}

// Slide 1, from files: a missing file, an empty file, a truncated PNG and a JPEG declared as PNG,
// a BMP declared as PNG, a PNG declared as type 0, then a good PNG. Slide 2, from streams: an
// empty stream, a truncated PNG, a JPEG declared as PNG, then a good PNG. The host numbers every
// picture; those without data end with PicId -1.
void picturesBad(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    const std::string dir = dataDir();
    struct Bad {
        const char* file;
        PPTPicture::ImageType type;
    };
    const Bad fromFiles[] = {
        {"no-such-picture.png", PPTPicture::IMAGE_PNG}, {"empty.png", PPTPicture::IMAGE_PNG},
        {"truncated.png", PPTPicture::IMAGE_PNG},       {"sample.jpg", PPTPicture::IMAGE_PNG},
        {"sample.bmp", PPTPicture::IMAGE_PNG},          {"sample.png", PPTPicture::IMAGE_NONE},
        {"sample.png", PPTPicture::IMAGE_PNG},
    };
    PPTPtr<PPTSlides> files = doc.addSlides(720, 540);
    int id = 1;
    for (const Bad& b : fromFiles) {
        float x, y;
        cell(id - 1, x, y);
        auto* p = new PPTPicture(x, y, 160, 120);
        p->setFileName(b.type, dir + b.file);
        add(*files, p, id, id);
        ++id;
    }
    const std::string png = readFile(dir + "sample.png");
    const Bad fromStreams[] = {
        {"", PPTPicture::IMAGE_PNG},
        {"truncated.png", PPTPicture::IMAGE_PNG},
        {"sample.jpg", PPTPicture::IMAGE_PNG},
        {"sample.png", PPTPicture::IMAGE_PNG},
    };
    PPTPtr<PPTSlides> streams = doc.addSlides(720, 540);
    for (int i = 0; i < 4; ++i) {
        float x, y;
        cell(i, x, y);
        std::string bytes = *fromStreams[i].file ? readFile(dir + fromStreams[i].file) : std::string();
        add(*streams, new StreamPicture(x, y, 160, 120, fromStreams[i].type, bytes), id, id);
        ++id;
    }
}

} // namespace

namespace interop_decks {

void addPictureDecks(DeckMap& decks) {
    decks["pictures_kinds"] = picturesKinds;
    decks["pictures_bad"] = picturesBad;
}

} // namespace interop_decks
