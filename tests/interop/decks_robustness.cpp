// Decks of bad input a converter may pass (docs/robustness.md): the library either refuses it
// with a QvException or writes a file both readers open. These are the files it writes.
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "interop_decks.h"

using namespace Quorv;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Text with lone surrogates, NUL characters, characters beyond the BMP; fonts of sizes the
// format cannot hold; frames far off the slide or at NaN; font names too long for the font table
// and more faces than it holds.
void robustnessText(PPTDocument& doc, PPTProperties& props) {
    doc.set_Width(0); // no slide size set: written as the smallest the format allows
    doc.set_Hight(kNaN);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(20, 20, 400, 200));
    std::wstring odd = L"lone ";
    odd.push_back(static_cast<wchar_t>(0xD800));
    odd += L" nul ";
    odd.push_back(L'\0');
    odd += L" low ";
    odd.push_back(static_cast<wchar_t>(0xDC00));
    odd += L" controls ";
    for (wchar_t c : {L'\x01', L'\x0B', L'\x0C', L'\x1F', L'\x7F'}) odd.push_back(c);
    odd += L" emoji ";
    odd.push_back(static_cast<wchar_t>(0x1F600));
    Font f;
    frame->addText(odd, f);
    frame->addPar(f);
    for (int size : {0, -3, 100000}) {
        Font g;
        g.set_Size(size);
        g.set_Script(size == 0 ? 40 : 0);
        g.set_Index(doc.get_FontNamesIndex(std::wstring(50, L'F') + std::to_wstring(size), 0));
        frame->addText(L"size " + std::to_wstring(size) + L" ", g);
    }
    slide->addShape(frame);
    for (int i = 0; i < 300; ++i) doc.get_FontNamesIndex(L"Face " + std::to_wstring(i), 0);
    for (float v : {kNaN, kInf, -1e9f, 1e9f}) {
        PPTPtr<PPTTextFrame> far(new PPTTextFrame(v, v, v, v));
        far->addText(L"far", Font());
        slide->addShape(far);
    }
    std::wstring title = L"title ";
    title.push_back(static_cast<wchar_t>(0xD800));
    title.push_back(static_cast<wchar_t>(0x0E01)); // not in code page 932
    props.set_Title(title);
    doc.setProperties(&props, false);
}

// Pictures whose input is damaged: cut, empty, of no known kind, missing, at NaN.
void robustnessPictures(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    const char* const inputs[] = {"\x89PNG\r\n\x1a\n\x00\x00", "", "not a picture at all", "\xFF\xD8\xFF"};
    int id = 0;
    for (const char* bytes : inputs) {
        // The streams live as long as the pictures: the library reads them during the save.
        auto* stream = new std::istringstream(std::string(bytes, bytes + std::char_traits<char>::length(bytes)));
        struct Owner : public PPTPicture {
            Owner(float x, std::istringstream* s) : PPTPicture(x, 20, 100, 80), stream(s) {
                setFileStream(IMAGE_ANY, *stream);
            }
            ~Owner() override { delete stream; }
            std::istringstream* stream;
        };
        PPTPtr<PPTPicture> p(new Owner(20.0f + 120.0f * static_cast<float>(id), stream));
        p->set_PicId(++id);
        slide->addShape(p);
    }
    PPTPtr<PPTPicture> missing(new PPTPicture(kNaN, kNaN, kInf, kInf));
    missing->setFileName(PPTPicture::IMAGE_PNG, "/nonexistent/picture.png");
    missing->set_PicId(++id);
    slide->addShape(missing);
}

// Tables whose merges run off the table and whose cells start beyond the last column.
void robustnessTables(PPTDocument& doc, PPTProperties&) {
    doc.set_Width(720);
    doc.set_Hight(540);
    PPTPtr<PPTSlides> slide = doc.addSlides(720, 540);
    PPTPtr<PPTTable> table(new PPTTable(40, 40, 400, 200));
    for (int r = 0; r < 3; ++r) {
        PPTPtr<PPTRow> row(new PPTRow());
        row->setRowHigh(30);
        for (int c = 0; c < 3; ++c) {
            PPTPtr<PPTCell> cell(new PPTCell());
            cell->set_celloffsetx(static_cast<float>(c) * (r == 1 ? 170.0f : 100.0f));
            cell->set_cellWidth(100);
            cell->set_Upmerge(r == 0 || c == 2);   // up from the first row: nothing above
            cell->set_Downmerge(r == 2 || c == 0); // down from the last row: nothing below
            cell->getCellTextBox()->addText(L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c), Font());
            row->addCell(cell);
        }
        table->addRow(row);
    }
    slide->addShape(table);
}

} // namespace

namespace interop_decks {

void addRobustnessDecks(DeckMap& decks) {
    decks["robustness_text"] = robustnessText;
    decks["robustness_pictures"] = robustnessPictures;
    decks["robustness_tables"] = robustnessTables;
}

} // namespace interop_decks
