// Builds a deck from its JSON description; docs/deck-format.md is the reference of the format.
#include "deck_json.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "json_reader.h"

namespace quorv_tool {

std::string DeckError::describe(const std::string& fileName) const {
    if (line_ > 0) {
        return fileName + ":" + std::to_string(line_) + ":" + std::to_string(column_) + ": malformed JSON: " + what();
    }
    if (path_.empty()) return fileName + ": " + what();
    return fileName + ": " + path_ + ": " + what();
}

namespace {

using namespace Quorv;

// Runs a library call for the value at node; a QvException becomes a DeckError at that path,
// with the library's code.
void libraryCall(const JsonNode& node, const std::function<void()>& call) {
    try {
        call();
    } catch (const QvException& e) {
        std::string message = "rejected by quorv: error " + std::to_string(e.get_Code());
        if (node.isNumber()) message = node.json().dump() + " " + message;
        if (*e.what()) {
            message += ": " + std::string(e.what());
        } else if (!e.get_Detail().empty()) {
            message += " (" + e.get_Detail() + ")";
        }
        node.fail(message);
    }
}

// ---- Values ----------------------------------------------------------------------------------

// A colour: "#rrggbb", "0xXXXXXXXX" (the raw OfficeArt colour value, e.g. a scheme colour), or
// the raw value as a whole number.
int readColor(const JsonNode& node) {
    if (node.isNumber()) return static_cast<int>(static_cast<std::uint32_t>(node.integer(-1, INT32_MAX)));
    if (!node.isString()) node.expected("a colour (\"#rrggbb\")");
    std::string s = node.string();
    auto hexValue = [&](const std::string& digits) {
        std::uint32_t v = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9') {
                d = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                d = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                d = c - 'A' + 10;
            } else {
                node.fail("\"" + s + "\" is not a colour (\"#rrggbb\" or \"0x\" and up to 8 hex digits)");
            }
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return v;
    };
    if (s.size() == 7 && s[0] == '#') {
        std::uint32_t rgb = hexValue(s.substr(1));
        // OfficeArt colours hold red in the low byte: 0x00BBGGRR.
        return static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    if (s.size() > 2 && s.size() <= 10 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        return static_cast<int>(hexValue(s.substr(2)));
    }
    node.fail("\"" + s + "\" is not a colour (\"#rrggbb\" or \"0x\" and up to 8 hex digits)");
}

// Lengths that must not be negative (sizes of boxes, margins).
float readSize(const JsonNode& node) {
    float v = node.points();
    if (v < 0) node.fail("must not be negative");
    return v;
}

// ---- Fonts -----------------------------------------------------------------------------------

// Key lists, each said once: what an object of a kind may hold is a join of these.
Names join(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Names kFontKeys = {"face",  "charset", "size",   "bold",      "italic", "underline",  "strikethrough",
                         "color", "script",  "eastAsian", "symbol", "bulletList", "numberList"};
const Names kBoxKeys = {"x", "y", "width", "height"};
const Names kOutlineKeys = {"lineColor", "lineWidth", "lineStyle"};
const Names kFillKeys = {"fillColor", "opacity"};
// Margins, anchor and text: text frames and table cells alike.
const Names kTextBodyKeys = {"margins", "anchor", "font", "text", "paragraphs"};
const Names kCellKeys =
    join({kTextBodyKeys, {"span", "offset", "width", "fill", "mergeUp", "mergeDown", "noBorder"}});

// Font keys given at one level (text frame, paragraph, run); a level inherits what it leaves out.
struct FontKeys {
    std::optional<std::wstring> face;
    std::optional<int> charset;
    std::optional<int> size, underline, color, script, bulletList, numberList;
    std::optional<bool> bold, italic, strikethrough, eastAsian, symbol;

    void over(const FontKeys& outer) {
        auto inherit = [](auto& mine, const auto& theirs) {
            if (!mine) mine = theirs;
        };
        inherit(face, outer.face);
        inherit(charset, outer.charset);
        inherit(size, outer.size);
        inherit(underline, outer.underline);
        inherit(color, outer.color);
        inherit(script, outer.script);
        inherit(bulletList, outer.bulletList);
        inherit(numberList, outer.numberList);
        inherit(bold, outer.bold);
        inherit(italic, outer.italic);
        inherit(strikethrough, outer.strikethrough);
        inherit(eastAsian, outer.eastAsian);
        inherit(symbol, outer.symbol);
    }
};

// Reads the font keys of an object whose keys were already checked.
FontKeys readFontKeys(const JsonObject& o) {
    FontKeys f;
    if (auto n = o.find("face")) {
        f.face = n->text();
        if (f.face->empty()) n->fail("must not be empty");
    }
    if (auto n = o.find("charset")) f.charset = n->integer(0, 255);
    if (auto n = o.find("size")) f.size = n->integer(static_cast<int>(Font::szMin), static_cast<int>(Font::szMax));
    if (auto n = o.find("bold")) f.bold = n->boolean();
    if (auto n = o.find("italic")) f.italic = n->boolean();
    if (auto n = o.find("underline")) f.underline = n->boolean() ? 1 : 0;
    if (auto n = o.find("strikethrough")) f.strikethrough = n->boolean();
    if (auto n = o.find("color")) f.color = readColor(*n);
    if (auto n = o.find("script")) f.script = n->integer(-100, 100);
    if (auto n = o.find("eastAsian")) f.eastAsian = n->boolean();
    if (auto n = o.find("symbol")) f.symbol = n->boolean();
    if (auto n = o.find("bulletList")) f.bulletList = n->integer(-1, INT32_MAX);
    if (auto n = o.find("numberList")) f.numberList = n->integer(-1, INT32_MAX);
    return f;
}

FontKeys readFont(const JsonNode& node) { return readFontKeys(node.object(kFontKeys)); }

class DeckBuilder {
public:
    DeckBuilder(const DeckSource& source, PPTDocument& doc, PPTProperties& props)
        : source_(source), doc_(doc), props_(props) {}

    void build(const JsonNode& root);

private:
    Font makeFont(const FontKeys& desc);
    void readProperties(const JsonNode& node);
    void readSlide(const JsonNode& node, float width, float height);
    PPTPtr<PPTShape> readShape(const JsonNode& node, int position);
    void readCommon(const JsonObject& o, PPTShape& shape, int position);
    PPTPtr<PPTShape> readText(const JsonObject& o);
    void readTextBody(const JsonObject& o, PPTTextFrame& frame);
    // Reads one paragraph; endPrevious is the mark that ends the paragraph before it (null for
    // the first). Returns the mark that ends this paragraph.
    Font readParagraph(const JsonNode& node, PPTTextFrame& frame, const FontKeys& frameFont,
                       const Font* endPrevious);
    PPTParagraphFormat readParagraphFormat(const JsonObject& o);
    PPTPtr<PPTShape> readLine(const JsonObject& o);
    PPTPtr<PPTShape> readRectangle(const JsonObject& o);
    PPTPtr<PPTShape> readPolyline(const JsonObject& o);
    PPTPtr<PPTShape> readPicture(const JsonObject& o);
    PPTPtr<PPTShape> readTable(const JsonObject& o);
    PPTPtr<PPTCell> readCell(const JsonNode& node, float offset, float width, float tableWidth);

    const DeckSource& source_;
    int pictures_ = 0; // pictures so far, in the order of the picture store
    PPTDocument& doc_;
    PPTProperties& props_;
};

Font DeckBuilder::makeFont(const FontKeys& desc) {
    Font font;
    if (desc.face) {
        font.set_Name(*desc.face);
        font.set_Index(doc_.get_FontNamesIndex(*desc.face, desc.charset.value_or(0)));
    }
    if (desc.size) font.set_Size(*desc.size);
    if (desc.bold) font.set_Bold(*desc.bold);
    if (desc.italic) font.set_Italic(*desc.italic);
    if (desc.underline) font.set_Underline(*desc.underline);
    if (desc.strikethrough) font.set_Strikethrough(*desc.strikethrough);
    if (desc.color) font.set_Color(*desc.color);
    if (desc.script) font.set_Script(*desc.script);
    if (desc.eastAsian) font.set_cfOldtype(*desc.eastAsian);
    if (desc.symbol) font.set_cfSymboltype(*desc.symbol);
    if (desc.bulletList) font.set_listbuChar(*desc.bulletList);
    if (desc.numberList) font.set_listNumInfo(*desc.numberList);
    return font;
}

void DeckBuilder::build(const JsonNode& root) {
    JsonObject o = root.object({"width", "height", "properties", "slides"});
    // A 4:3 slide of 10 x 7.5 inches unless the deck says otherwise.
    float width = 720.0f, height = 540.0f;
    if (auto n = o.find("width")) width = readSize(*n);
    if (auto n = o.find("height")) height = readSize(*n);
    doc_.set_Width(width);
    doc_.set_Hight(height);
    if (auto n = o.find("properties")) readProperties(*n);
    std::vector<JsonNode> slides = o["slides"].array();
    if (slides.empty()) o["slides"].fail("a deck needs at least one slide");
    for (const JsonNode& slide : slides) readSlide(slide, width, height);
}

void DeckBuilder::readProperties(const JsonNode& node) {
    JsonObject o = node.object({"title", "subject", "author", "company", "keywords", "encrypt"});
    if (auto n = o.find("title")) props_.set_Title(n->text());
    if (auto n = o.find("subject")) props_.set_Subject(n->text());
    if (auto n = o.find("author")) props_.set_Author(n->text());
    if (auto n = o.find("company")) props_.set_Company(n->text());
    if (auto n = o.find("keywords")) props_.set_Keyword(n->text());
    if (auto n = o.find("encrypt")) props_.set_Encrypt(n->boolean());
    doc_.setProperties(&props_, false);
}

void DeckBuilder::readSlide(const JsonNode& node, float width, float height) {
    JsonObject o = node.object({"shapes"});
    PPTPtr<PPTSlides> slide = doc_.addSlides(width, height);
    std::optional<JsonNode> shapes = o.find("shapes");
    if (!shapes) return;
    int position = 0;
    for (const JsonNode& shape : shapes->array()) slide->addShape(readShape(shape, position++));
}

// A shape kind: its type name, its keys beside "type" and "z", and the reader of the keys that
// are its own. readCommon reads the attributes shapes share, as far as the kind's keys allow them.
struct ShapeKind {
    const char* type;
    Names keys;
    PPTPtr<PPTShape> (DeckBuilder::*read)(const JsonObject&);
};

PPTPtr<PPTShape> DeckBuilder::readShape(const JsonNode& node, int position) {
    static const ShapeKind kKinds[] = {
        {"text", join({kBoxKeys, {"rotation"}, kOutlineKeys, kFillKeys, {"backColor", "rotateText"}, kTextBodyKeys}),
         &DeckBuilder::readText},
        {"line", join({{"x1", "y1", "x2", "y2"}, kOutlineKeys}), &DeckBuilder::readLine},
        {"rectangle", join({kBoxKeys, kOutlineKeys, kFillKeys}), &DeckBuilder::readRectangle},
        {"polyline", join({kBoxKeys, kOutlineKeys, kFillKeys, {"points", "closed"}}), &DeckBuilder::readPolyline},
        {"picture", join({kBoxKeys, {"rotation", "file", "format"}}), &DeckBuilder::readPicture},
        {"table", join({kBoxKeys, {"columns", "rows"}}), &DeckBuilder::readTable},
    };
    if (!node.isObject()) node.expected("an object");
    Names types;
    for (const ShapeKind& kind : kKinds) types.push_back(kind.type);
    const ShapeKind& kind = kKinds[JsonObject(node)["type"].choice(types, "shape type", false)];
    const JsonObject o = node.object(join({{"type", "z"}, kind.keys}));
    PPTPtr<PPTShape> shape = (this->*kind.read)(o);
    readCommon(o, *shape, position);
    return shape;
}

// The attributes shapes share; a kind's keys say which it has.
void DeckBuilder::readCommon(const JsonObject& o, PPTShape& shape, int position) {
    // Without "z" the shapes are drawn in the order of the deck.
    shape.set_ShapeNum(position);
    if (auto n = o.find("z")) shape.set_ShapeNum(n->integer(INT32_MIN, INT32_MAX));
    if (auto n = o.find("opacity")) shape.set_ShapeOpac(n->integer(0, 100));
    if (auto n = o.find("lineColor")) shape.set_LineColor(readColor(*n));
    if (auto n = o.find("fillColor")) shape.set_FillColor(readColor(*n));
    if (auto n = o.find("backColor")) shape.set_BackColor(readColor(*n));
    if (auto n = o.find("lineWidth")) shape.set_LineWidth(readSize(*n));
    if (auto n = o.find("lineStyle")) {
        int style = n->choice({"solid", "dash", "dot", "dashDot", "dashDotDot", "dotGEL", "dashGEL", "longDash",
                               "dashDotGEL", "longDashDot", "longDashDotDot"},
                              "line style", true);
        libraryCall(*n, [&] { shape.set_LineStyle(style); });
    }
}

// ---- Text ------------------------------------------------------------------------------------

PPTPtr<PPTShape> DeckBuilder::readText(const JsonObject& o) {
    PPTPtr<PPTTextFrame> frame(new PPTTextFrame(o["x"].points(), o["y"].points(), readSize(o["width"]),
                                                readSize(o["height"])));
    if (auto n = o.find("rotation")) frame->set_Srotate(n->integer(-359, 359));
    if (auto n = o.find("rotateText")) frame->set_rotate(n->boolean());
    readTextBody(o, *frame);
    return frame;
}

// Margins, anchor and text: shared by text frames and table cells.
void DeckBuilder::readTextBody(const JsonObject& o, PPTTextFrame& frame) {
    if (auto n = o.find("margins")) {
        if (n->isNumber()) {
            float m = readSize(*n);
            frame.set_textleft(m);
            frame.set_texttop(m);
            frame.set_textright(m);
            frame.set_textbottom(m);
        } else {
            JsonObject m = n->object({"left", "top", "right", "bottom"});
            if (auto v = m.find("left")) frame.set_textleft(readSize(*v));
            if (auto v = m.find("top")) frame.set_texttop(readSize(*v));
            if (auto v = m.find("right")) frame.set_textright(readSize(*v));
            if (auto v = m.find("bottom")) frame.set_textbottom(readSize(*v));
        }
    }
    if (auto n = o.find("anchor")) {
        int anchor = n->isNumber() ? n->integer(0, 5)
                                   : n->choice({"top", "middle", "bottom", "topCentered", "middleCentered",
                                                "bottomCentered"},
                                               "anchor", false);
        frame.set_anchor(anchor);
    }
    FontKeys font;
    if (auto n = o.find("font")) font = readFont(*n);
    std::optional<JsonNode> text = o.find("text");
    std::optional<JsonNode> paragraphs = o.find("paragraphs");
    if (text && paragraphs) o.fail("give either \"text\" or \"paragraphs\", not both");
    if (text) {
        // Plain text: one paragraph per line.
        std::wstring all = text->text();
        Font f = makeFont(font);
        std::size_t start = 0;
        bool first = true;
        for (;;) {
            std::size_t end = all.find(L'\n', start);
            std::wstring line = all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
            if (line.find(L'\r') != std::wstring::npos) text->fail("holds a carriage return; end lines with \\n");
            if (!first) libraryCall(*text, [&] { frame.addPar(f); });
            libraryCall(*text, [&] { frame.addText(line, f); });
            first = false;
            if (end == std::wstring::npos) break;
            start = end + 1;
        }
    } else if (paragraphs) {
        std::optional<Font> mark;
        for (const JsonNode& p : paragraphs->array()) mark = readParagraph(p, frame, font, mark ? &*mark : nullptr);
    }
}

Font DeckBuilder::readParagraph(const JsonNode& node, PPTTextFrame& frame, const FontKeys& frameFont,
                               const Font* endPrevious) {
    // The paragraph mark ends a paragraph in that paragraph's own font (list keys included).
    if (endPrevious) libraryCall(node, [&] { frame.addPar(*endPrevious); });
    // A paragraph is a string, or an object with its format and its text or runs.
    if (node.isString()) {
        Font f = makeFont(frameFont);
        PPTParagraphFormat plain;
        frame.setParagraphFormat(plain, false);
        std::wstring text = node.text();
        if (text.find_first_of(L"\r\n") != std::wstring::npos) node.fail("holds a line break; start a new paragraph");
        libraryCall(node, [&] { frame.addText(text, f); });
        return f;
    }
    JsonObject o = node.object({"text", "runs", "font", "level", "align", "direction", "lineSpacing",
                                "spaceBefore", "spaceAfter", "leftMargin", "indent", "tabSize", "bullet",
                                "numbering"});
    FontKeys paragraphFont;
    if (auto n = o.find("font")) paragraphFont = readFont(*n);
    paragraphFont.over(frameFont);
    const Font markFont = makeFont(paragraphFont);
    PPTParagraphFormat format = readParagraphFormat(o);
    frame.setParagraphFormat(format, false);

    std::optional<JsonNode> text = o.find("text");
    std::optional<JsonNode> runs = o.find("runs");
    if (text && runs) o.fail("give either \"text\" or \"runs\", not both");
    auto addRun = [&](const JsonNode& where, const std::wstring& s, const Font& f) {
        if (s.find_first_of(L"\r\n") != std::wstring::npos) where.fail("holds a line break; start a new paragraph");
        libraryCall(where, [&] { frame.addText(s, f); });
    };
    if (text) addRun(*text, text->text(), markFont);
    if (runs) {
        for (const JsonNode& run : runs->array()) {
            if (run.isString()) {
                addRun(run, run.text(), markFont);
                continue;
            }
            JsonObject r = run.object(join({{"text"}, kFontKeys}));
            FontKeys runFont = readFontKeys(r);
            runFont.over(paragraphFont);
            JsonNode t = r["text"];
            addRun(t, t.text(), makeFont(runFont));
        }
    }
    return markFont;
}

PPTParagraphFormat DeckBuilder::readParagraphFormat(const JsonObject& o) {
    PPTParagraphFormat p;
    if (auto n = o.find("level")) p.SetLevel(n->integer(0, 5));
    if (auto n = o.find("align")) {
        int align = n->choice({"left", "center", "right", "justify", "distributed", "thaiDistributed", "justifyLow"},
                              "alignment", true);
        libraryCall(*n, [&] { p.SetAlignment(align); });
    }
    if (auto n = o.find("direction")) p.SetTextDirection(n->integer(0, 1));
    if (auto n = o.find("lineSpacing")) p.SetLineSpace(n->integer(0, 32767));
    if (auto n = o.find("spaceBefore")) p.SetSpaceBefore(n->integer(0, 32767));
    if (auto n = o.find("spaceAfter")) p.SetSpaceAfter(n->integer(0, 32767));
    if (auto n = o.find("leftMargin")) p.SetLeftMargin(n->integer(0, 4095));
    if (auto n = o.find("indent")) p.SetIndent(n->integer(0, 4095));
    if (auto n = o.find("tabSize")) p.SetTabSize(n->integer(0, 4095));
    if (auto n = o.find("bullet")) {
        if (n->isBoolean()) {
            p.SetBullet(n->boolean());
        } else {
            JsonObject b = n->object({"char", "face", "charset", "color", "size"});
            p.SetBullet(true);
            if (auto c = b.find("char")) {
                int ch = c->integer(INT32_MIN, INT32_MAX);
                libraryCall(*c, [&] { p.SetbuChar(ch); });
                p.SetbTypeface(true);
            }
            if (auto f = b.find("face")) {
                std::wstring face = f->text();
                if (face.empty()) f->fail("must not be empty");
                int charset = 2; // a symbol face unless told otherwise
                if (auto cs = b.find("charset")) charset = cs->integer(0, 255);
                p.SetbuTypeface(doc_.get_FontNamesIndex(face, charset));
                p.SetbTypeface(true);
            } else if (auto cs = b.find("charset")) {
                cs->fail("needs a \"face\" beside it");
            }
            if (auto c = b.find("color")) {
                p.SetbuColor(readColor(*c));
                p.SetbColor(true);
            }
            if (auto s = b.find("size")) {
                p.SetbuSize(s->integer(25, 400));
                p.SetbSize(true);
            }
        }
    }
    if (auto n = o.find("numbering")) {
        JsonNode style = *n;
        std::optional<JsonNode> start;
        std::optional<JsonObject> numbering;
        if (!n->isNumber()) {
            numbering = n->object({"style", "start"});
            style = (*numbering)["style"];
            start = numbering->find("start");
        }
        int v = style.integer(INT32_MIN, INT32_MAX);
        libraryCall(style, [&] { p.SetnumBullet(v); });
        if (v != 0) p.SetBullet(true); // numbering 0 leaves a bullet given beside it alone
        if (start) p.SetStartBulletNum(start->integer(1, 32767));
    }
    return p;
}

// ---- Lines, rectangles, polylines ------------------------------------------------------------

PPTPtr<PPTShape> DeckBuilder::readLine(const JsonObject& o) {
    PPTPtr<PPTLine> line(new PPTLine(o["x1"].points(), o["y1"].points(), o["x2"].points(), o["y2"].points()));
    return line;
}

PPTPtr<PPTShape> DeckBuilder::readRectangle(const JsonObject& o) {
    PPTPtr<PPTRectangle> rect(new PPTRectangle(o["x"].points(), o["y"].points(), 0.0f, 0.0f));
    // The library checks the size.
    JsonNode width = o["width"], height = o["height"];
    float w = width.points(), h = height.points();
    libraryCall(width, [&] { rect->set_Width(Length(w)); });
    libraryCall(height, [&] { rect->set_Height(Length(h)); });
    return rect;
}

PPTPtr<PPTShape> DeckBuilder::readPolyline(const JsonObject& o) {
    JsonNode pointsNode = o["points"];
    std::vector<JsonNode> items = pointsNode.array();
    if (items.size() < 2) pointsNode.fail("a polyline needs at least 2 points");
    std::vector<std::pair<float, float>> points;
    points.reserve(items.size());
    for (const JsonNode& item : items) {
        if (!item.isArray()) item.expected("a point [x, y]");
        if (item.json().size() != 2) {
            item.fail("a point has 2 numbers [x, y], found " + std::to_string(item.json().size()));
        }
        std::vector<JsonNode> xy = item.array();
        points.emplace_back(xy[0].points(), xy[1].points());
    }
    // The box defaults to the bounding box of the points.
    float minX = points[0].first, maxX = minX, minY = points[0].second, maxY = minY;
    for (const auto& p : points) {
        minX = std::min(minX, p.first);
        maxX = std::max(maxX, p.first);
        minY = std::min(minY, p.second);
        maxY = std::max(maxY, p.second);
    }
    float x = minX, y = minY, w = maxX - minX, h = maxY - minY;
    if (auto n = o.find("x")) x = n->points();
    if (auto n = o.find("y")) y = n->points();
    if (auto n = o.find("width")) w = readSize(*n);
    if (auto n = o.find("height")) h = readSize(*n);
    PPTPtr<PPTPolyLine> poly(new PPTPolyLine(x, y, w, h));
    for (const auto& xy : points) {
        _Tpoint p{Length(xy.first), Length(xy.second)};
        poly->addPoint(p);
    }
    if (auto n = o.find("closed")) poly->set_PolyFlag(n->boolean());
    return poly;
}

// ---- Pictures --------------------------------------------------------------------------------

PPTPtr<PPTShape> DeckBuilder::readPicture(const JsonObject& o) {
    const float x = o["x"].points(), y = o["y"].points(), w = readSize(o["width"]), h = readSize(o["height"]);
    JsonNode fileNode = o["file"];
    const std::string file = fileNode.string();
    if (file.empty()) fileNode.fail("must not be empty");
    const bool absolute = file[0] == '/' || file[0] == '\\' || (file.size() > 1 && file[1] == ':');
    const std::string path = absolute ? file : source_.baseDir + file;
    std::ifstream in(path, std::ios::binary);
    if (!in) fileNode.fail("cannot read picture \"" + file + "\": " + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) fileNode.fail("cannot read picture \"" + file + "\": read error");
    if (bytes.empty()) fileNode.fail("picture \"" + file + "\" is empty");
    const PPTPicture::ImageType found = PPTPicture::imageTypeOf(bytes.data(), bytes.size());
    if (found == PPTPicture::IMAGE_NONE) {
        fileNode.fail("\"" + file + "\" is not a PNG, JPEG, WMF, EMF, BMP, GIF or TIFF image");
    }
    PPTPicture::ImageType type = found;
    if (auto n = o.find("format")) {
        static const PPTPicture::ImageType kTypes[] = {PPTPicture::IMAGE_PNG, PPTPicture::IMAGE_JPEG,
                                                       PPTPicture::IMAGE_WMF, PPTPicture::IMAGE_EMF,
                                                       PPTPicture::IMAGE_ANY};
        type = kTypes[n->choice({"png", "jpeg", "wmf", "emf", "any"}, "picture format", false)];
        if (type != PPTPicture::IMAGE_ANY && type != found) {
            n->fail("\"" + file + "\" is not a " + n->string() + " image");
        }
    }
    // The library reads the file itself when it saves, and stores the file's name with the
    // picture.
    PPTPtr<PPTPicture> picture(new PPTPicture(x, y, w, h));
    picture->setFileName(type, path);
    if (auto n = o.find("rotation")) picture->set_iRotate(n->integer(-359, 359));
    // The picture store holds the pictures slide by slide, in the order they were added.
    picture->set_PicId(++pictures_);
    return picture;
}

// ---- Tables ----------------------------------------------------------------------------------

// The number of columns a cell covers.
int spanOf(const JsonNode& cell) {
    if (!cell.isObject()) return 1;
    std::optional<JsonNode> span = cell.object(kCellKeys).find("span");
    return span ? span->integer(1, 4096) : 1;
}

// A row as the deck gives it, checked before anything is built.
struct RowKeys {
    std::optional<JsonNode> height;
    std::vector<JsonNode> cells;
};

std::vector<RowKeys> readRows(const JsonNode& rowsNode) {
    std::vector<RowKeys> rows;
    for (const JsonNode& row : rowsNode.array()) {
        JsonObject r = row.object({"height", "cells"});
        JsonNode cellsNode = r["cells"];
        rows.push_back({r.find("height"), cellsNode.array()});
        if (rows.back().cells.empty()) cellsNode.fail("a row needs at least one cell");
    }
    if (rows.empty()) rowsNode.fail("a table needs at least one row");
    return rows;
}

// Column edges from the table's left edge: given, or the table's width shared equally among the
// columns of its widest row.
std::vector<float> readColumns(const JsonObject& o, float width, const std::vector<RowKeys>& rows) {
    std::vector<float> edges{0.0f};
    if (auto n = o.find("columns")) {
        std::vector<JsonNode> widths = n->array();
        if (widths.empty()) n->fail("give at least one column width");
        for (const JsonNode& w : widths) edges.push_back(edges.back() + readSize(w));
        return edges;
    }
    std::size_t widest = 0;
    for (const RowKeys& row : rows) {
        std::size_t columns = 0;
        for (const JsonNode& cell : row.cells) columns += static_cast<std::size_t>(spanOf(cell));
        widest = std::max(widest, columns);
    }
    for (std::size_t c = 1; c <= widest; ++c) {
        edges.push_back(width * static_cast<float>(c) / static_cast<float>(widest));
    }
    return edges;
}

PPTPtr<PPTShape> DeckBuilder::readTable(const JsonObject& o) {
    const float x = o["x"].points(), y = o["y"].points(), w = readSize(o["width"]), h = readSize(o["height"]);
    const std::vector<RowKeys> rows = readRows(o["rows"]);
    float givenHeight = 0;
    int rowsWithoutHeight = 0;
    for (const RowKeys& row : rows) {
        if (row.height) {
            givenHeight += readSize(*row.height);
        } else {
            ++rowsWithoutHeight;
        }
    }
    const std::vector<float> edges = readColumns(o, w, rows);
    const std::size_t columnCount = edges.size() - 1;
    // Rows without a height share what the rows with one leave of the table's height.
    const float sharedHeight =
        rowsWithoutHeight == 0 ? 0.0f : std::max(0.0f, h - givenHeight) / static_cast<float>(rowsWithoutHeight);

    PPTPtr<PPTTable> table(new PPTTable(x, y, w, h));
    for (const RowKeys& keys : rows) {
        PPTPtr<PPTRow> row(new PPTRow());
        row->setRowHigh(keys.height ? readSize(*keys.height) : sharedHeight);
        std::size_t column = 0;
        for (const JsonNode& cellNode : keys.cells) {
            const std::size_t span = static_cast<std::size_t>(spanOf(cellNode));
            if (column + span > columnCount) {
                cellNode.fail("the row has more columns than the table (" + std::to_string(columnCount) + ")");
            }
            row->addCell(readCell(cellNode, edges[column], edges[column + span] - edges[column], w));
            column += span;
        }
        table->addRow(row);
    }
    return table;
}

// A cell: a string is its text; an object may move and size it and gives its fill, borders,
// merges and text body.
PPTPtr<PPTCell> DeckBuilder::readCell(const JsonNode& node, float offset, float width, float tableWidth) {
    PPTPtr<PPTCell> cell(new PPTCell());
    PPTPtr<PPTTextFrame> frame = cell->getCellTextBox();
    if (node.isString()) {
        std::wstring text = node.text();
        if (text.find_first_of(L"\r\n") != std::wstring::npos) {
            node.fail("holds a line break; give the cell paragraphs");
        }
        libraryCall(node, [&] { frame->addText(text, Font()); });
    } else {
        JsonObject c = node.object(kCellKeys);
        if (auto n = c.find("offset")) offset = n->points();
        if (auto n = c.find("width")) width = readSize(*n);
        if (auto n = c.find("fill")) cell->setCellFill(readColor(*n));
        if (auto n = c.find("mergeUp")) cell->set_Upmerge(n->boolean());
        if (auto n = c.find("mergeDown")) cell->set_Downmerge(n->boolean());
        if (auto n = c.find("noBorder")) {
            using Setter = void (PPTCell::*)(bool);
            static const Setter kSides[] = {&PPTCell::set_noLeftLine, &PPTCell::set_noTopLine,
                                            &PPTCell::set_noRightLine, &PPTCell::set_noBottomLine};
            for (const JsonNode& side : n->array()) {
                const Setter leaveOut = kSides[side.choice({"left", "top", "right", "bottom"}, "border", false)];
                (cell.get()->*leaveOut)(true);
            }
        }
        if (auto n = c.find("offset")) {
            libraryCall(*n, [&] { cell->set_celloffsetx(offset); });
            if (offset >= tableWidth) n->fail("the cell starts at or beyond the table's right edge");
        }
        readTextBody(c, *frame);
    }
    cell->set_celloffsetx(offset);
    cell->set_cellWidth(width);
    return cell;
}

} // namespace

void buildDeck(const std::string& text, const DeckSource& source, PPTDocument& doc, PPTProperties& props) {
    Json json = parseJson(text);
    DeckBuilder(source, doc, props).build(JsonNode(json, ""));
}

} // namespace quorv_tool
