#include <utility>

#include "core/record.h"
#include "quorv/exception.h"
#include "quorv/text.h"
#include "text/style_runs.h"

namespace Quorv {

namespace {

// Run starts are 16-bit, and counts and positions in the file are UTF-16 code units.
constexpr std::size_t kMaxTextUnits = 0xFFFF;

} // namespace

PPTTextFrame::PPTTextFrame(float x, float y, float width, float height)
    : PPTShape(Length(x, 3), Length(y, 3), Length(x + width, 3), Length(y + height, 3)) {
    setObjType(OT_TextFrame);
}

PPTTextFrame::PPTTextFrame(const PPTTextFrame& other) : PPTShape(other) { setObjType(OT_TextFrame); }

PPTTextFrame::~PPTTextFrame() = default;

bool PPTTextFrame::outputPicture(QvOutputStream&) { return true; }

void PPTTextFrame::set_anchor(int v) noexcept {
    if (v >= 0 && v <= 5) anchor_ = Length(static_cast<float>(v));
}

int PPTTextFrame::get_anchor() const noexcept { return static_cast<int>(static_cast<float>(anchor_)); }

int PPTTextFrame::addText(const std::wstring& text, const Font& font) {
    if (text.empty()) return 0;
    const std::size_t units = text::utf16Length(text);
    if (units > kMaxTextUnits - utf16Length_) throw makeException(QV_ERR_TEXT_TOO_LONG, "addText");

    // Everything that can fail happens before the frame changes.
    const bool newRun = fonts_.empty() || !fonts_.back().font.equals(font);
    MultiFontStruct run;
    if (newRun) {
        run.start = static_cast<unsigned short>(text_.size());
        run.font = font;
        fonts_.reserve(fonts_.size() + 1);
    }
    text_.append(text);
    utf16Length_ += units;
    if (newRun) fonts_.push_back(std::move(run));
    return static_cast<int>(text.size());
}

int PPTTextFrame::addPar(const Font& font) { return addText(std::wstring(1, L'\r'), font); }

int PPTTextFrame::addTab(const Font& font) { return addText(std::wstring(1, L'\t'), font); }

bool PPTTextFrame::setParagraphFormat(PPTParagraphFormat& format, bool replace) {
    MultiPPTParagraphFormat run;
    run.start = static_cast<unsigned short>(text_.size());
    if (replace && !params_.empty()) {
        // The paragraph keeps its place and the first number of its list.
        run.start = params_.back().start;
        format.SetStartBulletNum(params_.back().format.GetStartBulletNum());
    }
    run.format = format;
    const std::size_t before = params_.size();

    if (replace) {
        if (!params_.empty()) params_.pop_back();
        params_.push_back(run);
        return true;
    }
    if (!text_.empty()) {
        // A format is only taken where a paragraph begins.
        if (text_.back() != L'\r') return false;
        if (params_.empty() || !text::sameWrittenParagraph(params_.back().format, format)) params_.push_back(run);
    } else if (params_.empty()) {
        params_.push_back(run);
    } else if (!text::sameWrittenParagraph(params_.back().format, format)) {
        params_.back() = run;
    }
    return params_.size() > before;
}

void PPTTextFrame::ensureText() {
    if (text_.empty()) addText(L" ", Font());
}

bool PPTTextFrame::calTextPropty() const {
    return text::hasTextProperties(fonts_, text::writtenParagraphs(params_));
}

void PPTTextFrame::calDefauleLineSpace(std::vector<float>& spaces) const {
    spaces = text::defaultLineSpaces(text_, fonts_, text::writtenParagraphs(params_));
}

bool PPTTextFrame::writeParamInfo(QvOutputStream& stream) const {
    text::writeParagraphRuns(stream, text_, fonts_, text::writtenParagraphs(params_));
    return true;
}

bool PPTTextFrame::writeFontInfo(QvOutputStream& stream) const {
    text::writeCharacterRuns(stream, text_, fonts_);
    return true;
}

int PPTTextFrame::calparalen() const {
    return static_cast<int>(measure([this](QvOutputStream& o) { writeParamInfo(o); }));
}

int PPTTextFrame::calfontlen() const {
    return static_cast<int>(measure([this](QvOutputStream& o) { writeFontInfo(o); }));
}

} // namespace Quorv
