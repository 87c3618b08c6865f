#include "quorv/document.h"

#include "core/text_encoding.h"
#include "document/document_writer.h"
#include "quorv/exception.h"
#include "quorv/properties.h"
#include "quorv/slide.h"

namespace Quorv {

namespace {
// MS-PPT allows font entity instances 0 to 128: a font table holds at most 129 faces.
constexpr std::size_t kMaxFonts = 129;
} // namespace

PPTDocument::PPTDocument()
    : fontNames_{{L"Arial", 0},
                 {L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 128}, // ＭＳ Ｐゴシック
                 {L"\xFF2D\xFF33 \xFF30\x660E\x671D", 128}} {}           // ＭＳ Ｐ明朝

PPTDocument::PPTDocument(const PPTDocument&) = default;
PPTDocument& PPTDocument::operator=(const PPTDocument&) = default;
PPTDocument::~PPTDocument() = default;

PPTPtr<PPTSlides> PPTDocument::addSlides(float width, float height) {
    PPTPtr<PPTSlides> slide(new PPTSlides(width, height), true);
    slides_.push_back(slide);
    return slide;
}

void PPTDocument::setProperties(PPTProperties* p, bool deleteOld) {
    if (p == nullptr) throw makeException(QV_ERR_NULL_PROPERTIES, "setProperties");
    if (deleteOld && properties_ != p) delete properties_;
    properties_ = p;
}

int PPTDocument::get_FontNamesIndex(const std::wstring& name, int charset) {
    for (std::size_t i = 0; i < fontNames_.size(); ++i) {
        if (fontNames_[i].name == name) return static_cast<int>(i);
    }
    // The format has no room for more faces: further new names use the default font.
    if (fontNames_.size() >= kMaxFonts) return 0;
    fontNames_.push_back({name, charset});
    return static_cast<int>(fontNames_.size() - 1);
}

void PPTDocument::save(const std::wstring& fileName) {
    if (fileName.empty()) throw makeException(QV_ERR_HEIGHT_OR_FILENAME, "save");
    detail::DocumentWriter::saveToFile(*this, toUtf8(fileName), detail::SaveContext::system());
}

void PPTDocument::save(std::ostream& out) {
    detail::DocumentWriter::saveToStream(*this, out, detail::SaveContext::system());
}

std::vector<unsigned char> PPTDocument::saveToMemory() {
    return detail::DocumentWriter::saveToBytes(*this, detail::SaveContext::system());
}

void PPTDocument::save(const std::string& fileName) {
    if (fileName.empty()) throw makeException(QV_ERR_HEIGHT_OR_FILENAME, "save");
    detail::DocumentWriter::saveToFile(*this, fileName, detail::SaveContext::system());
}

} // namespace Quorv
