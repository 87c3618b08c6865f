// Pictures: an image file placed by name, and image bytes the host already holds in memory.
//   pictures OUT.ppt IMAGE...       (PNG, JPEG, placeable WMF, EMF; BMP, GIF, TIFF as "any")
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <quorv/quorv.h>

using namespace Quorv;

// The kind of image in a file, by its first bytes.
PPTPicture::ImageType typeOf(const std::string& bytes) {
    if (bytes.compare(0, 4, "\x89PNG") == 0) return PPTPicture::IMAGE_PNG;
    if (bytes.compare(0, 2, "\xFF\xD8") == 0) return PPTPicture::IMAGE_JPEG;
    if (bytes.compare(0, 4, "\xD7\xCD\xC6\x9A") == 0) return PPTPicture::IMAGE_WMF;
    if (bytes.size() > 44 && bytes.compare(40, 4, " EMF") == 0) return PPTPicture::IMAGE_EMF;
    return PPTPicture::IMAGE_ANY; // decoded by the library and stored as PNG
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: pictures OUT.ppt IMAGE...\n";
        return 2;
    }
    PPTDocument doc;
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);

    // Streams given to setFileStream must live until the first save.
    std::vector<std::unique_ptr<std::istringstream>> streams;
    int picId = 0;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) {
            std::cerr << "cannot read " << argv[i] << "\n";
            return 1;
        }
        const float x = 40.0f + 220.0f * static_cast<float>((i - 2) % 3);
        const float y = 60.0f + 160.0f * static_cast<float>((i - 2) / 3);
        PPTPtr<PPTPicture> picture(new PPTPicture(x, y, 200, 150));
        if (i % 2 == 0) {
            picture->setFileName(typeOf(bytes), argv[i]); // read from the file at every save
        } else {
            streams.push_back(std::make_unique<std::istringstream>(bytes));
            picture->setFileStream(typeOf(bytes), *streams.back()); // read once, at the first save
        }
        // Pictures are numbered in the picture store from 1, slide by slide, in the order added.
        picture->set_PicId(++picId);
        picture->set_ShapeNum(picId);
        slide->addShape(picture);
    }

    try {
        doc.save(std::string(argv[1]));
    } catch (const QvException& e) {
        std::cerr << "error " << e.get_Code() << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << "wrote " << argv[1] << "\n";
    return 0;
}
