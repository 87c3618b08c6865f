#include "quorv/exception.h"
#include "quorv/text.h"

namespace Quorv {

PPTParagraphFormat::PPTParagraphFormat() = default;
PPTParagraphFormat::PPTParagraphFormat(const PPTParagraphFormat& other) = default;
PPTParagraphFormat& PPTParagraphFormat::operator=(const PPTParagraphFormat& other) = default;
PPTParagraphFormat::~PPTParagraphFormat() = default;

void PPTParagraphFormat::initialize() {
    const int startBulletNum = startBulletNum_;
    *this = PPTParagraphFormat();
    startBulletNum_ = startBulletNum;
}

void PPTParagraphFormat::SetLevel(int v) noexcept {
    if (v >= 0 && v <= 5) level_ = v;
}

int PPTParagraphFormat::GetnumBullet() const noexcept {
    // TextAutoNumberSchemeEnum ([MS-PPT] 2.13.28) for the styles 1..7: 1. (ArabicPeriod),
    // circled numbers (CircleNumDBPlain), I. (RomanUcPeriod), A) (AlphaUcParenRight),
    // Japanese with a double-byte period (JpnChsDBPeriod), a. (AlphaLcPeriod), i. (RomanLcPeriod).
    static constexpr int kSchemes[8] = {-1, 3, 18, 7, 11, 38, 0, 6};
    return numBullet_ >= 0 && numBullet_ <= 7 ? kSchemes[numBullet_] : -1;
}

void PPTParagraphFormat::SetnumBullet(int v) {
    if (v < 0 || v > 7) throw makeException(QV_ERR_BULLET, "set_NumBullet");
    numBullet_ = v;
}

int PPTParagraphFormat::GetbuChar() const noexcept {
    // Character codes of a symbol face.
    static constexpr int kChars[8] = {-1, 0x6C, 0x6E, 0x75, 0x70, 0xFC, 0xD8, 0};
    return buChar_ >= 0 && buChar_ <= 7 ? kChars[buChar_] : -1;
}

void PPTParagraphFormat::SetbuChar(int v) {
    if (v < 0 || v > 7) throw makeException(QV_ERR_BULLET, "set_SymbolBullet");
    buChar_ = v;
}

void PPTParagraphFormat::SetAlignment(int v) {
    if (v < 0 || v > 6) throw makeException(QV_ERR_ALIGNMENT, "set_ParamAnlign");
    alignment_ = v;
}

void PPTParagraphFormat::SetTextDirection(int v) noexcept {
    if (v == 0 || v == 1) textDirection_ = v;
}

bool PPTParagraphFormat::equals(PPTParagraphFormat other) const noexcept {
    return alignment_ == other.alignment_ && textDirection_ == other.textDirection_ &&
           lineSpace_ == other.lineSpace_ && spaceBefore_ == other.spaceBefore_ &&
           spaceAfter_ == other.spaceAfter_ && leftMargin_ == other.leftMargin_ && indent_ == other.indent_ &&
           GetnumBullet() == other.GetnumBullet() && GetbuChar() == other.GetbuChar();
}

} // namespace Quorv
