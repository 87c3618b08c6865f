// Text: Font, PPTParagraphFormat and PPTTextFrame.
#pragma once

#include <string>
#include <vector>

#include "quorv/export.h"
#include "quorv/length.h"
#include "quorv/shape.h"

namespace Quorv {

class QvInputStream;
class QvOutputStream;

namespace detail {
struct TextFrameAccess;
}

// How a run of characters looks. A plain value: copied into the text frame's runs by addText.
// Colours are 0x00BBGGRR (red in the low byte); 0 or less means "not set" (the master's colour).
class QUORV_EXPORT Font {
public:
    // The bounds of a font size in points; the class itself does not enforce them.
    static const double szMin;
    static const double szMax;

    // Arial, 18 points, plain, no colour, no script, font index 0, in no list.
    Font();
    // Sets bold, italic, underline, strikethrough, colour, name, size (truncated toward zero)
    // and script through their setters; font index 0, the cf flags false, in no list.
    Font(const std::wstring& name, double size, bool bold, bool italic, int underline, bool strikethrough,
         int color, int script);
    Font(const Font& other);
    Font& operator=(const Font& other);
    Font(Font&& other) noexcept;
    Font& operator=(Font&& other) noexcept;
    ~Font();

    // Back to the defaults of Font().
    void initialize();
    // The same as the constructor with these arguments.
    void initialize(const std::wstring& name, double size, bool bold, bool italic, int underline,
                    bool strikethrough, int color, int script);
    // A heap copy the caller owns (delete it).
    Font* clone() const;

    bool get_Bold() const noexcept { return bold_; }
    void set_Bold(bool v) noexcept { bold_ = v; }
    bool get_Italic() const noexcept { return italic_; }
    void set_Italic(bool v) noexcept { italic_ = v; }
    // Underlined when greater than 0.
    int get_Underline() const noexcept { return underline_; }
    void set_Underline(int v) noexcept { underline_ = v; }
    // Stored only: nothing is written for it.
    bool get_Strikethrough() const noexcept { return strikethrough_; }
    void set_Strikethrough(bool v) noexcept { strikethrough_ = v; }
    int get_Color() const noexcept { return color_; }
    void set_Color(int v) noexcept { color_ = v; }
    // Stored only: the file refers to faces by get_Index.
    const std::wstring& get_Name() const noexcept { return name_; }
    void set_Name(const std::wstring& v) { name_ = v; }
    // Size in points.
    int get_Size() const noexcept { return size_; }
    void set_Size(int v) noexcept { size_ = v; }
    // Vertical offset in points, superscript positive; the setter clamps to -100..100.
    int get_Script() const noexcept { return script_; }
    void set_Script(int v) noexcept;
    // Index of the face in the document's font table (PPTDocument::get_FontNamesIndex).
    int get_Index() const noexcept { return index_; }
    void set_Index(int v) noexcept { index_ = v; }
    // Stored only.
    bool get_cfTypeface() const noexcept { return cfTypeface_; }
    void set_cfTypeface(bool v) noexcept { cfTypeface_ = v; }
    // The face is an East Asian face: the run fills the East Asian font reference.
    bool get_cfOldtype() const noexcept { return cfOldtype_; }
    void set_cfOldtype(bool v) noexcept { cfOldtype_ = v; }
    // Stored only.
    bool get_cfAnsitype() const noexcept { return cfAnsitype_; }
    void set_cfAnsitype(bool v) noexcept { cfAnsitype_ = v; }
    // The face is a symbol face: the run fills the symbol font reference.
    bool get_cfSymboltype() const noexcept { return cfSymboltype_; }
    void set_cfSymboltype(bool v) noexcept { cfSymboltype_ = v; }
    // Key of the numbered list the run belongs to; -1: none.
    int get_listNumInfo() const noexcept { return listNumInfo_; }
    void set_listNumInfo(int v) noexcept { listNumInfo_ = v; }
    // Key of the bulleted list the run belongs to; -1: none.
    int get_listbuChar() const noexcept { return listbuChar_; }
    void set_listbuChar(int v) noexcept { listbuChar_ = v; }

    // Equal in everything that is written: the name and cfTypeface take no part.
    bool equals(const Font& other) const noexcept;
    // Always 0.
    int hashCode() const noexcept { return 0; }
    // A Font has no serialised form: read returns null, save writes nothing and returns 0.
    static Font* read(QvInputStream& stream);
    int save(QvOutputStream& stream, bool flag);

private:
    bool bold_ = false;
    bool italic_ = false;
    int underline_ = 0;
    bool strikethrough_ = false;
    int color_ = 0;
    std::wstring name_ = L"Arial";
    int size_ = 18;
    int script_ = 0;
    int index_ = 0;
    bool cfTypeface_ = false;
    bool cfOldtype_ = false;
    bool cfAnsitype_ = false;
    bool cfSymboltype_ = false;
    int listNumInfo_ = -1;
    int listbuChar_ = -1;
};

// How a paragraph looks: level, bullet or numbering, alignment, spacing, margins, direction.
// Lengths are whole points.
class QUORV_EXPORT PPTParagraphFormat {
public:
    PPTParagraphFormat();
    PPTParagraphFormat(const PPTParagraphFormat& other);
    PPTParagraphFormat& operator=(const PPTParagraphFormat& other);
    virtual ~PPTParagraphFormat();

    // Every field back to its default, except the first number of a numbered list.
    void initialize();

    // Indent level 0..5; other values are ignored.
    int GetLevel() const noexcept { return level_; }
    void SetLevel(int v) noexcept;
    // Numbering style 0..7 (0: none); other values throw QvException code 8. The getter returns
    // the file format's automatic numbering scheme: 1 -> 3, 2 -> 18, 3 -> 7, 4 -> 11, 5 -> 38,
    // 6 -> 0, 7 -> 6, and -1 for no numbering.
    int GetnumBullet() const noexcept;
    void SetnumBullet(int v);
    int GetStartBulletNum() const noexcept { return startBulletNum_; }
    void SetStartBulletNum(int v) noexcept { startBulletNum_ = v; }
    bool GetBullet() const noexcept { return bullet_; }
    void SetBullet(bool v) noexcept { bullet_ = v; }
    // The bullet has a character and face of its own (SetbuChar, SetbuTypeface).
    bool GetbTypeface() const noexcept { return bTypeface_; }
    void SetbTypeface(bool v) noexcept { bTypeface_ = v; }
    bool GetbColor() const noexcept { return bColor_; }
    void SetbColor(bool v) noexcept { bColor_ = v; }
    bool GetbSize() const noexcept { return bSize_; }
    void SetbSize(bool v) noexcept { bSize_ = v; }
    // Bullet symbol 0..7 (0: none); other values throw QvException code 8. The getter returns the
    // character code in a symbol face: 1 -> 0x6C, 2 -> 0x6E, 3 -> 0x75, 4 -> 0x70, 5 -> 0xFC,
    // 6 -> 0xD8, 7 -> 0, and -1 for none.
    int GetbuChar() const noexcept;
    void SetbuChar(int v);
    // Bullet size as a percentage of the text size (written unchanged).
    int GetbuSize() const noexcept { return buSize_; }
    void SetbuSize(int v) noexcept { buSize_ = v; }
    // Font-table index of the bullet's face; -1: none.
    int GetbuTypeface() const noexcept { return buTypeface_; }
    void SetbuTypeface(int v) noexcept { buTypeface_ = v; }
    // Bullet colour 0x00BBGGRR; 0 or less: not set.
    int GetbuColor() const noexcept { return buColor_; }
    void SetbuColor(int v) noexcept { buColor_ = v; }
    // 0 left, 1 centre, 2 right, 3 justify, 4 distributed, 5 Thai distributed, 6 justify low;
    // other values throw QvException code 9.
    int GetAlignment() const noexcept { return alignment_; }
    void SetAlignment(int v);
    // 0 or 1; other values are ignored.
    int GetTextDirection() const noexcept { return textDirection_; }
    void SetTextDirection(int v) noexcept;
    // Line spacing in points; 0: not set.
    int GetLineSpace() const noexcept { return lineSpace_; }
    void SetLineSpace(int v) noexcept { lineSpace_ = v; }
    int GetSpaceBefore() const noexcept { return spaceBefore_; }
    void SetSpaceBefore(int v) noexcept { spaceBefore_ = v; }
    int GetSpaceAfter() const noexcept { return spaceAfter_; }
    void SetSpaceAfter(int v) noexcept { spaceAfter_ = v; }
    int GetLeftMargin() const noexcept { return leftMargin_; }
    void SetLeftMargin(int v) noexcept { leftMargin_ = v; }
    // First-line indent position in points.
    int GetIndent() const noexcept { return indent_; }
    void SetIndent(int v) noexcept { indent_ = v; }
    // Stored only.
    int GetTabSize() const noexcept { return tabSize_; }
    void SetTabSize(int v) noexcept { tabSize_ = v; }

    // Equal alignment, direction, spacing, margin, indent, numbering scheme and bullet character.
    // The level, the bullet flags, the first number, the bullet's size, face and colour and the
    // tab size take no part.
    bool equals(PPTParagraphFormat other) const noexcept;

private:
    int level_ = 0;
    int numBullet_ = 0;
    int startBulletNum_ = 1;
    bool bullet_ = false;
    bool bTypeface_ = false;
    bool bColor_ = false;
    bool bSize_ = false;
    int buChar_ = 0;
    int buSize_ = 0;
    int buTypeface_ = -1;
    int buColor_ = 0;
    int alignment_ = 0;
    int textDirection_ = 0;
    int lineSpace_ = 0;
    int spaceBefore_ = 0;
    int spaceAfter_ = 0;
    int leftMargin_ = 0;
    int indent_ = 0;
    int tabSize_ = 36;
};

// A character run of a text frame: from start (an index into the frame's text) to the start of
// the next run, the last one to the end of the text.
class QUORV_EXPORT MultiFontStruct {
public:
    unsigned short start = 0;
    unsigned short reserved = 0; // always 0
    Font font;
};

// A paragraph run of a text frame: from start to the start of the next run, the last one to the
// end of the text.
class QUORV_EXPORT MultiPPTParagraphFormat {
public:
    unsigned short start = 0;
    PPTParagraphFormat format;
};

// A text box on a slide (or in a table cell) holding formatted text. Paragraphs end with U+000D,
// tabs are U+0009. Build it with setParagraphFormat (at the start of the text or right after an
// addPar), then addText / addTab, then addPar to close the paragraph.
class QUORV_EXPORT PPTTextFrame : public PPTShape {
public:
    // The box at (x, y) of width by height, in points.
    PPTTextFrame(float x, float y, float width, float height);
    // Takes the box of other only: the copy has no text, no runs and default margins and anchor.
    PPTTextFrame(const PPTTextFrame& other);
    PPTTextFrame& operator=(const PPTTextFrame&) = delete;
    ~PPTTextFrame() override;

    // With true: the recLen of the shape container output(stream, false) writes. With false: the
    // size of the client data record (with its header) plus the body of the client text box,
    // that is, what output(stream, true) writes minus 8. An empty frame first gets one space.
    int calSize(int* counter, bool whole) override;
    // With false: the shape container of the text box; a box whose position or size is infinite
    // or NaN throws QvException QV_ERR_SHAPE_NOT_FINITE (15), huge ones are clamped to the
    // anchor's range (about 4096 points), and so are the margins (NaN as 0). With true: only its
    // client data and client text box records (the form table cells use). Returns true.
    bool output(QvOutputStream& stream, bool tail) override;
    // A text frame has no picture: writes nothing, returns true.
    bool outputPicture(QvOutputStream& stream) override;

    // The text turns with the shape.
    void set_rotate(bool v) noexcept { rotate_ = v; }
    bool get_rotate() const noexcept { return rotate_; }
    // Inner margins in points.
    void set_textleft(float points) noexcept { textleft_ = Length(points); }
    void set_texttop(float points) noexcept { texttop_ = Length(points); }
    void set_textright(float points) noexcept { textright_ = Length(points); }
    void set_textbottom(float points) noexcept { textbottom_ = Length(points); }
    Length get_textleft() const noexcept { return textleft_; }
    Length get_texttop() const noexcept { return texttop_; }
    Length get_textright() const noexcept { return textright_; }
    Length get_textbottom() const noexcept { return textbottom_; }
    // Vertical anchor of the text, 0..5 as the file format numbers it (0 top, 1 middle,
    // 2 bottom, 3 top centred, 4 middle centred, 5 bottom centred); other values are ignored.
    void set_anchor(int v) noexcept;
    int get_anchor() const noexcept;

    // Appends text in the given font and returns the number of characters added (0 for an empty
    // text). A font equal to the last run's (Font::equals) continues that run. A frame holds at
    // most 65,535 UTF-16 code units: text that would go past that throws QvException code 11
    // and changes nothing.
    int addText(const std::wstring& text, const Font& font);
    // A paragraph mark (U+000D) in the given font.
    int addPar(const Font& font);
    // A tab (U+0009) in the given font.
    int addTab(const Font& font);
    // Applies a paragraph format to the paragraph that begins here (at the start of the text or
    // right after a paragraph mark); returns whether a new paragraph run was added. With replace
    // true the format replaces that of the paragraph begun last, whose first number it takes
    // over (format is changed), and the result is true.
    bool setParagraphFormat(PPTParagraphFormat& format, bool replace);

    // Copies of the run lists.
    std::vector<MultiFontStruct> getFonts() const { return fonts_; }
    std::vector<MultiPPTParagraphFormat> getparams() const { return params_; }

private:
    friend struct detail::TextFrameAccess;

    // An empty frame is written with one space.
    void ensureText();
    // The OfficeArtClientTextbox record.
    bool outtextbox(QvOutputStream& stream);
    // The OfficeArtClientData record with its header.
    int calBulletlen();
    // Whether the text has any formatting to write (else no RT_StyleTextPropAtom).
    bool calTextPropty() const;
    // One default line spacing in points per paragraph run written.
    void calDefauleLineSpace(std::vector<float>& spaces) const;
    // The paragraph runs and the character runs of RT_StyleTextPropAtom, and their byte lengths.
    bool writeParamInfo(QvOutputStream& stream) const;
    bool writeFontInfo(QvOutputStream& stream) const;
    int calparalen() const;
    int calfontlen() const;

    bool rotate_ = false;
    Length textleft_;
    Length texttop_;
    Length textright_;
    Length textbottom_;
    Length anchor_;
    std::wstring text_;
    std::size_t utf16Length_ = 0; // the text's length in UTF-16 code units
    std::vector<MultiFontStruct> fonts_;
    std::vector<MultiPPTParagraphFormat> params_;
};

} // namespace Quorv
