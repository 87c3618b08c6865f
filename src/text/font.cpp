#include <climits>
#include <cmath>

#include "quorv/text.h"

namespace Quorv {

const double Font::szMin = 1.0;
const double Font::szMax = 409.0;

namespace {

// A size given as a double, truncated toward zero into an int (saturating; NaN gives 0).
int truncatedSize(double size) noexcept {
    if (std::isnan(size)) return 0;
    if (size >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (size <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(size);
}

} // namespace

Font::Font() = default;

Font::Font(const std::wstring& name, double size, bool bold, bool italic, int underline, bool strikethrough,
           int color, int script) {
    initialize(name, size, bold, italic, underline, strikethrough, color, script);
}

Font::Font(const Font& other) = default;

Font& Font::operator=(const Font& other) = default;

Font::Font(Font&& other) noexcept = default;
Font& Font::operator=(Font&& other) noexcept = default;
Font::~Font() = default;

void Font::initialize() { *this = Font(); }

void Font::initialize(const std::wstring& name, double size, bool bold, bool italic, int underline,
                      bool strikethrough, int color, int script) {
    set_Bold(bold);
    set_Italic(italic);
    set_Underline(underline);
    set_Strikethrough(strikethrough);
    set_Color(color);
    set_Name(name);
    set_Size(truncatedSize(size));
    set_Script(script);
    index_ = 0;
    cfTypeface_ = false;
    cfOldtype_ = false;
    cfAnsitype_ = false;
    cfSymboltype_ = false;
    listNumInfo_ = -1;
    listbuChar_ = -1;
}

Font* Font::clone() const { return new Font(*this); }

void Font::set_Script(int v) noexcept { script_ = v < -100 ? -100 : (v > 100 ? 100 : v); }

bool Font::equals(const Font& o) const noexcept {
    return bold_ == o.bold_ && italic_ == o.italic_ && underline_ == o.underline_ && color_ == o.color_ &&
           strikethrough_ == o.strikethrough_ && size_ == o.size_ && index_ == o.index_ &&
           script_ == o.script_ && cfOldtype_ == o.cfOldtype_ && cfAnsitype_ == o.cfAnsitype_ &&
           cfSymboltype_ == o.cfSymboltype_ && listNumInfo_ == o.listNumInfo_ && listbuChar_ == o.listbuChar_;
}

Font* Font::read(QvInputStream&) { return nullptr; }

int Font::save(QvOutputStream&, bool) { return 0; }

} // namespace Quorv
