// libFuzzer target: builds a presentation through the public API from the fuzz input, saves it
// into memory and checks the result with the structural verifier. Any crash, sanitizer report,
// hang, unexpected exception or file the verifier rejects is a finding. A QvException is an
// accepted outcome (the library refused bad input clearly).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "quorv/quorv.h"
#include "support/verifier.h"

using namespace Quorv;

namespace {

// Values a converter may pass: ordinary, zero, negative, huge, not finite.
float anyFloat(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return 0.0f;
    case 1: return -in.ConsumeFloatingPointInRange<float>(0.0f, 1e6f);
    case 2: return 1e30f;
    case 3: return __builtin_inff();
    case 4: return __builtin_nanf("");
    case 5: return in.ConsumeFloatingPoint<float>();
    default: return in.ConsumeFloatingPointInRange<float>(0.0f, 2000.0f);
    }
}

// Wide text with the characters that stress conversions: NUL, surrogates, beyond the BMP,
// Japanese, characters code page 932 lacks.
std::wstring anyText(FuzzedDataProvider& in, std::size_t maxLength) {
    std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    std::wstring s;
    for (std::size_t i = 0; i < n && in.remaining_bytes() > 0; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: s.push_back(L'\0'); break;
        case 1: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0xD800, 0xDFFF))); break;
        case 2: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0x10000, 0x10FFFF))); break;
        case 3: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0x3040, 0x9FFF))); break;
        case 4: s.push_back(static_cast<wchar_t>(in.ConsumeIntegral<std::uint32_t>())); break;
        case 5: s.push_back(L'\r'); break;
        default: s.push_back(static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(0x20, 0x7E))); break;
        }
    }
    return s;
}

// The attributes every shape has, with values inside and outside their ranges.
void shapeAttributes(FuzzedDataProvider& in, PPTShape& shape) {
    shape.set_ShapeNum(in.ConsumeIntegralInRange<int>(-3, 3));
    shape.set_Srotate(in.ConsumeIntegral<int>());
    shape.set_ShapeOpac(in.ConsumeIntegralInRange<int>(-50, 150));
    if (in.ConsumeBool()) shape.set_LineColor(in.ConsumeIntegral<int>());
    if (in.ConsumeBool()) shape.set_FillColor(in.ConsumeIntegral<int>());
    if (in.ConsumeBool()) shape.set_BackColor(in.ConsumeIntegral<int>());
    shape.set_LineStyle(in.ConsumeIntegralInRange<int>(-2, 11)); // may throw code 3
    shape.set_LineWidth(anyFloat(in));
}

Font anyFont(FuzzedDataProvider& in, PPTDocument& doc) {
    Font f;
    f.set_Bold(in.ConsumeBool());
    f.set_Italic(in.ConsumeBool());
    f.set_Underline(in.ConsumeIntegralInRange<int>(-1, 2));
    f.set_Color(in.ConsumeIntegral<int>());
    f.set_Size(in.ConsumeIntegralInRange<int>(-5, 500));
    f.set_Script(in.ConsumeIntegral<int>());
    f.set_Index(in.ConsumeBool() ? doc.get_FontNamesIndex(anyText(in, 8), 128) : in.ConsumeIntegralInRange<int>(-2, 300));
    f.set_cfOldtype(in.ConsumeBool());
    f.set_cfSymboltype(in.ConsumeBool());
    f.set_listNumInfo(in.ConsumeIntegralInRange<int>(-1, 3));
    f.set_listbuChar(in.ConsumeIntegralInRange<int>(-1, 3));
    return f;
}

PPTParagraphFormat anyParagraph(FuzzedDataProvider& in) {
    PPTParagraphFormat p;
    p.SetLevel(in.ConsumeIntegralInRange<int>(-1, 6));
    p.SetnumBullet(in.ConsumeIntegralInRange<int>(-1, 8)); // may throw code 8
    p.SetStartBulletNum(in.ConsumeIntegral<int>());
    p.SetBullet(in.ConsumeBool());
    p.SetbTypeface(in.ConsumeBool());
    p.SetbColor(in.ConsumeBool());
    p.SetbSize(in.ConsumeBool());
    p.SetbuChar(in.ConsumeIntegralInRange<int>(-1, 8));
    p.SetbuSize(in.ConsumeIntegral<int>());
    p.SetbuTypeface(in.ConsumeIntegralInRange<int>(-2, 200));
    p.SetbuColor(in.ConsumeIntegral<int>());
    p.SetAlignment(in.ConsumeIntegralInRange<int>(-1, 7)); // may throw code 9
    p.SetTextDirection(in.ConsumeIntegralInRange<int>(-1, 2));
    p.SetLineSpace(in.ConsumeIntegral<int>());
    p.SetSpaceBefore(in.ConsumeIntegral<int>());
    p.SetSpaceAfter(in.ConsumeIntegral<int>());
    p.SetLeftMargin(in.ConsumeIntegral<int>());
    p.SetIndent(in.ConsumeIntegral<int>());
    return p;
}

PPTPtr<PPTShape> anyTextFrame(FuzzedDataProvider& in, PPTDocument& doc) {
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(anyFloat(in), anyFloat(in), anyFloat(in), anyFloat(in)));
    shapeAttributes(in, *frame);
    frame->set_rotate(in.ConsumeBool());
    frame->set_textleft(anyFloat(in));
    frame->set_texttop(anyFloat(in));
    frame->set_anchor(in.ConsumeIntegralInRange<int>(-1, 6));
    const int steps = in.ConsumeIntegralInRange<int>(0, 12);
    for (int i = 0; i < steps && in.remaining_bytes() > 0; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: {
            PPTParagraphFormat p = anyParagraph(in);
            frame->setParagraphFormat(p, in.ConsumeBool());
            break;
        }
        case 1: frame->addPar(anyFont(in, doc)); break;
        case 2: frame->addTab(anyFont(in, doc)); break;
        case 3: frame->addText(std::wstring(in.ConsumeIntegralInRange<std::size_t>(0, 70000), L'x'), anyFont(in, doc)); break;
        default: frame->addText(anyText(in, 64), anyFont(in, doc)); break;
        }
    }
    return frame;
}

PPTPtr<PPTShape> anyDrawnShape(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: {
        PPTPtr<PPTLine> line(new PPTLine(anyFloat(in), anyFloat(in), anyFloat(in), anyFloat(in)));
        shapeAttributes(in, *line);
        return line;
    }
    case 1: {
        PPTPtr<PPTRectangle> rect(new PPTRectangle(anyFloat(in), anyFloat(in), anyFloat(in), anyFloat(in)));
        shapeAttributes(in, *rect);
        if (in.ConsumeBool()) rect->set_Width(Length(anyFloat(in))); // may throw code 4
        if (in.ConsumeBool()) rect->set_Height(Length(anyFloat(in))); // may throw code 6
        return rect;
    }
    default: {
        PPTPtr<PPTPolyLine> poly(new PPTPolyLine(anyFloat(in), anyFloat(in), anyFloat(in), anyFloat(in)));
        shapeAttributes(in, *poly);
        const int points = in.ConsumeIntegralInRange<int>(0, 40);
        for (int i = 0; i < points; ++i) {
            _Tpoint p;
            p.x = Length(anyFloat(in));
            p.y = Length(anyFloat(in));
            poly->addPoint(p);
        }
        poly->set_PolyFlag(in.ConsumeBool());
        return poly;
    }
    }
}

// The sample pictures of the tests, read once.
const std::vector<std::string>& samplePictures() {
    static const std::vector<std::string> samples = [] {
        std::vector<std::string> out;
        for (const char* name : {"sample.png", "sample.jpg", "sample.bmp", "sample.gif", "sample.tif", "sample.wmf",
                                 "sample.emf", "truncated.png", "empty.png"}) {
            std::ifstream f(std::string(QUORV_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
            out.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        }
        return out;
    }();
    return samples;
}

// A picture from a sample, damaged or cut by the fuzz input, declared as any kind, read from a
// host stream (kept alive in streams until the save) or from a file that does not exist.
PPTPtr<PPTShape> anyPicture(FuzzedDataProvider& in, std::vector<std::unique_ptr<std::istringstream>>& streams,
                            int picId) {
    PPTPtr<PPTPicture> picture(new PPTPicture(anyFloat(in), anyFloat(in), anyFloat(in), anyFloat(in)));
    shapeAttributes(in, *picture);
    picture->set_iRotate(in.ConsumeIntegral<int>());
    picture->set_PicId(in.ConsumeBool() ? picId : in.ConsumeIntegralInRange<int>(-2, 40));
    auto type = static_cast<PPTPicture::ImageType>(in.ConsumeIntegralInRange<int>(0, 7));
    const std::vector<std::string>& samples = samplePictures();
    std::string bytes = samples[in.ConsumeIntegralInRange<std::size_t>(0, samples.size() - 1)];
    const int damage = in.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < damage && !bytes.empty(); ++i) {
        bytes[in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1)] = static_cast<char>(in.ConsumeIntegral<std::uint8_t>());
    }
    if (in.ConsumeBool()) bytes.resize(in.ConsumeIntegralInRange<std::size_t>(0, bytes.size()));
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
        picture->setFileName(type, "/nonexistent/picture.png");
    } else {
        streams.push_back(std::make_unique<std::istringstream>(bytes));
        picture->setFileStream(type, *streams.back());
    }
    return picture;
}

void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "finding: %s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<std::unique_ptr<std::istringstream>> pictureStreams; // outlive the document
    int pictures = 0;
    PPTDocument doc;
    PPTProperties props;
    try {
        doc.set_Width(anyFloat(in));
        doc.set_Hight(anyFloat(in));
        const int slides = in.ConsumeIntegralInRange<int>(0, 6);
        std::vector<PPTPtr<PPTSlides>> slideList;
        for (int i = 0; i < slides; ++i) slideList.push_back(doc.addSlides(anyFloat(in), anyFloat(in)));

        while (in.remaining_bytes() > 0) {
            PPTSlides* slide = slideList.empty()
                                   ? nullptr
                                   : slideList[in.ConsumeIntegralInRange<std::size_t>(0, slideList.size() - 1)].get();
            switch (in.ConsumeIntegralInRange<int>(0, 6)) {
            case 0: doc.get_FontNamesIndex(anyText(in, 40), in.ConsumeIntegral<int>()); break;
            case 1: {
                props.set_Title(anyText(in, 30));
                props.set_Subject(anyText(in, 30));
                props.set_Author(anyText(in, 30));
                props.set_Company(anyText(in, 30));
                props.set_Keyword(anyText(in, 30));
                props.set_Encrypt(in.ConsumeBool());
                doc.setProperties(&props, false);
                break;
            }
            case 2:
                if (slide) slide->addShape(anyTextFrame(in, doc));
                break;
            case 3:
                if (slide) slide->addShape(anyDrawnShape(in));
                break;
            case 4:
                if (slide) slide->addShape(anyPicture(in, pictureStreams, ++pictures));
                break;
            default:
                // Further feature families add their shapes here.
                in.ConsumeIntegral<std::uint8_t>();
                break;
            }
        }
    } catch (const QvException&) {
        return 0; // refused clearly while building
    }

    std::vector<unsigned char> file;
    try {
        file = doc.saveToMemory();
    } catch (const QvException&) {
        return 0;
    } catch (const std::exception& e) {
        fail("save threw something else than QvException", e.what());
    }
    std::vector<std::string> problems = quorv_test::verifyPresentationFile(file);
    if (!problems.empty()) fail("the verifier rejects the file", quorv_test::describeProblems(problems));
    return 0;
}
