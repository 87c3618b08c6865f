// libFuzzer target: builds a presentation through the public API from the fuzz input, saves it
// into memory and checks the file with the structural verifier. Any crash, sanitizer report, hang,
// exception other than QvException (a clear refusal) or file the verifier rejects is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "quorv/quorv.h"
#include "support/verifier.h"

using namespace Quorv;

namespace {

struct Input {
    FuzzedDataProvider in;
    PPTDocument doc;
    std::vector<std::unique_ptr<std::istringstream>> streams; // outlive the document

    // Values a converter may pass: ordinary, zero, negative, huge, not finite.
    float length() {
        switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: return 0.0f;
        case 1: return -in.ConsumeFloatingPointInRange<float>(0, 1e6f);
        case 2: return 1e30f;
        case 3: return __builtin_inff();
        case 4: return __builtin_nanf("");
        case 5: return in.ConsumeFloatingPoint<float>();
        default: return in.ConsumeFloatingPointInRange<float>(0, 2000);
        }
    }
    int number() { return in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-2, 9) : in.ConsumeIntegral<int>(); }
    // Text with NUL, surrogates, characters beyond the BMP, Japanese, paragraph marks.
    std::wstring text(std::size_t most) {
        std::wstring s(in.ConsumeIntegralInRange<std::size_t>(0, most), L'x');
        for (wchar_t& c : s) {
            const int ranges[][2] = {{0, 0}, {0xD800, 0xDFFF}, {0x10000, 0x10FFFF}, {0x3040, 0x9FFF}, {13, 13}, {0x20, 0x7E}};
            const auto& r = ranges[in.ConsumeIntegralInRange<int>(0, 5)];
            c = static_cast<wchar_t>(in.ConsumeIntegralInRange<int>(r[0], r[1]));
        }
        return s;
    }
    template <class S> PPTPtr<S> shape(S* raw) {
        PPTPtr<S> s(raw); // owned before a setter may throw
        s->set_ShapeNum(in.ConsumeIntegralInRange<int>(-3, 3));
        s->set_Srotate(number());
        s->set_ShapeOpac(number());
        if (in.ConsumeBool()) s->set_LineColor(number());
        if (in.ConsumeBool()) s->set_FillColor(number());
        s->set_BackColor(number());
        s->set_LineWidth(length());
        s->set_LineStyle(in.ConsumeIntegralInRange<int>(-2, 11)); // may throw code 3
        return s;
    }
    Font font() {
        Font f(L"Arial", number(), in.ConsumeBool(), in.ConsumeBool(), number(), false, number(), number());
        f.set_Index(in.ConsumeBool() ? doc.get_FontNamesIndex(text(8), number()) : number());
        f.set_cfOldtype(in.ConsumeBool());
        f.set_cfSymboltype(in.ConsumeBool());
        f.set_listNumInfo(in.ConsumeIntegralInRange<int>(-1, 3));
        f.set_listbuChar(in.ConsumeIntegralInRange<int>(-1, 3));
        return f;
    }
    PPTParagraphFormat paragraph() {
        using P = PPTParagraphFormat;
        P p;
        for (auto set : {&P::SetLevel, &P::SetStartBulletNum, &P::SetbuSize, &P::SetbuTypeface, &P::SetbuColor,
                         &P::SetTextDirection, &P::SetLineSpace, &P::SetSpaceBefore, &P::SetSpaceAfter,
                         &P::SetLeftMargin, &P::SetIndent}) {
            (p.*set)(number());
        }
        for (auto set : {&P::SetBullet, &P::SetbTypeface, &P::SetbColor, &P::SetbSize}) (p.*set)(in.ConsumeBool());
        p.SetnumBullet(in.ConsumeIntegralInRange<int>(-1, 8)); // these may throw codes 8 and 9
        p.SetbuChar(in.ConsumeIntegralInRange<int>(-1, 8));
        p.SetAlignment(in.ConsumeIntegralInRange<int>(-1, 7));
        return p;
    }
    void fill(PPTTextFrame& f) {
        f.set_textleft(length());
        f.set_texttop(length());
        f.set_anchor(number());
        f.set_rotate(in.ConsumeBool());
        for (int i = in.ConsumeIntegralInRange<int>(0, 12); i > 0 && in.remaining_bytes() > 0; --i) {
            PPTParagraphFormat p = paragraph();
            switch (in.ConsumeIntegralInRange<int>(0, 4)) {
            case 0: f.setParagraphFormat(p, in.ConsumeBool()); break;
            case 1: f.addPar(font()); break;
            case 2: f.addText(std::wstring(in.ConsumeIntegralInRange<std::size_t>(0, 70000), L'x'), font()); break;
            default: f.addText(text(64), font()); break;
            }
        }
    }
    // A sample picture, damaged or cut, declared as any kind, from a stream or a missing file.
    PPTPtr<PPTShape> picture() {
        static const char* const kSamples[] = {"sample.png", "sample.jpg", "sample.bmp", "sample.gif", "sample.tif",
                                               "sample.wmf", "sample.emf", "truncated.png"};
        std::ifstream file(std::string(QUORV_TEST_DATA_DIR) + "/pictures/" + kSamples[in.ConsumeIntegralInRange<int>(0, 7)],
                           std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(file), {}};
        for (int i = in.ConsumeIntegralInRange<int>(0, 8); i > 0 && !bytes.empty(); --i) {
            bytes[in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1)] = in.ConsumeIntegral<char>();
        }
        bytes.resize(in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0, bytes.size()) : bytes.size());
        PPTPtr<PPTPicture> p = shape(new PPTPicture(length(), length(), length(), length()));
        p->set_iRotate(number());
        p->set_PicId(number());
        const auto type = static_cast<PPTPicture::ImageType>(in.ConsumeIntegralInRange<int>(0, 7));
        if (in.ConsumeIntegralInRange<int>(0, 7) == 0) return p->setFileName(type, "/nonexistent/picture.png"), p;
        streams.push_back(std::make_unique<std::istringstream>(bytes));
        p->setFileStream(type, *streams.back());
        return p;
    }
    // Rows, cells, offsets (also beyond the table), widths, merges (also off the table), borders.
    PPTPtr<PPTShape> table() {
        PPTPtr<PPTTable> t = shape(new PPTTable(length(), length(), length(), length()));
        for (int r = in.ConsumeIntegralInRange<int>(0, 6); r > 0; --r) {
            PPTPtr<PPTRow> row(new PPTRow);
            row->setRowHigh(in.ConsumeBool() ? in.ConsumeFloatingPointInRange<float>(0, 100) : length());
            for (int c = 0, n = in.ConsumeIntegralInRange<int>(0, 5); c < n; ++c) {
                PPTPtr<PPTCell> cell(new PPTCell);
                cell->set_celloffsetx(in.ConsumeBool() ? c * 50.0f : length()); // may throw code 10
                cell->set_cellWidth(in.ConsumeBool() ? 50.0f : length());
                for (auto set : {&PPTCell::set_Upmerge, &PPTCell::set_Downmerge, &PPTCell::set_noLeftLine,
                                 &PPTCell::set_noTopLine, &PPTCell::set_noRightLine, &PPTCell::set_noBottomLine}) {
                    ((*cell).*set)(in.ConsumeBool());
                }
                if (in.ConsumeBool()) cell->setCellFill(number());
                if (in.ConsumeBool()) fill(*cell->getCellTextBox());
                row->addCell(cell);
            }
            t->addRow(row);
        }
        return t;
    }
    PPTPtr<PPTShape> anyShape() {
        switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: return shape(new PPTLine(length(), length(), length(), length()));
        case 1: {
            PPTPtr<PPTRectangle> r = shape(new PPTRectangle(length(), length(), length(), length()));
            if (in.ConsumeBool()) r->set_Width(Length(length())); // may throw codes 4 and 6
            if (in.ConsumeBool()) r->set_Height(Length(length()));
            return r;
        }
        case 2: {
            PPTPtr<PPTPolyLine> p = shape(new PPTPolyLine(length(), length(), length(), length()));
            for (int i = in.ConsumeIntegralInRange<int>(0, 40); i > 0; --i) {
                _Tpoint pt{Length(length()), Length(length())};
                p->addPoint(pt);
            }
            p->set_PolyFlag(in.ConsumeBool());
            return p;
        }
        case 3: {
            PPTPtr<PPTTextFrame> f = shape(new PPTTextFrame(length(), length(), length(), length()));
            fill(*f);
            return f;
        }
        case 4: return picture();
        default: return table();
        }
    }
};

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "finding: %s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input x{FuzzedDataProvider(data, size), {}, {}};
    PPTProperties props;
    std::vector<unsigned char> file;
    try {
        x.doc.set_Width(x.length());
        x.doc.set_Hight(x.length());
        std::vector<PPTPtr<PPTSlides>> slides;
        for (int i = x.in.ConsumeIntegralInRange<int>(0, 6); i > 0; --i) slides.push_back(x.doc.addSlides(x.length(), x.length()));
        while (x.in.remaining_bytes() > 0) {
            if (x.in.ConsumeIntegralInRange<int>(0, 7) == 0) {
                for (auto set : {&PPTProperties::set_Title, &PPTProperties::set_Subject, &PPTProperties::set_Author,
                                 &PPTProperties::set_Company, &PPTProperties::set_Keyword}) {
                    (props.*set)(x.text(30));
                }
                props.set_Encrypt(x.in.ConsumeBool());
                x.doc.setProperties(&props, false);
            } else if (!slides.empty()) {
                slides[x.in.ConsumeIntegralInRange<std::size_t>(0, slides.size() - 1)]->addShape(x.anyShape());
            }
        }
        file = x.doc.saveToMemory();
    } catch (const QvException&) {
        return 0; // refused clearly
    } catch (const std::exception& e) {
        fail("something else than QvException was thrown", e.what());
    }
    const std::vector<std::string> problems = quorv_test::verifyPresentationFile(file);
    if (!problems.empty()) fail("the verifier rejects the file", quorv_test::describeProblems(problems));
    return 0;
}
