#include "quorv/properties.h"

#include "core/output_stream.h"
#include "core/save_context.h"
#include "document/current_user.h"
#include "document/property_sets.h"
#include "quorv/document.h"
#include "quorv/slide.h"

namespace Quorv {

namespace {

// Keeps the value up to its first NUL and adds one space after a value that is not empty.
std::wstring propertyText(const std::wstring& v) {
    std::wstring text = v.substr(0, v.find(L'\0'));
    if (!v.empty()) text.push_back(L' ');
    return text;
}

std::uint64_t saveTime(const QvOutputStream& out) {
    const detail::SaveContext* context = out.context();
    return (context && context->now) ? context->now() : detail::systemFileTime();
}

} // namespace

PPTProperties::PPTProperties() = default;
PPTProperties::PPTProperties(const PPTProperties&) = default;
PPTProperties& PPTProperties::operator=(const PPTProperties&) = default;
PPTProperties::~PPTProperties() = default;

PPTProperties* PPTProperties::clone() const { return new PPTProperties(*this); }

void PPTProperties::set_Title(const std::wstring& v) { title_ = propertyText(v); }
void PPTProperties::set_Subject(const std::wstring& v) { subject_ = propertyText(v); }
void PPTProperties::set_Author(const std::wstring& v) { author_ = propertyText(v); }
void PPTProperties::set_Company(const std::wstring& v) { company_ = propertyText(v); }
void PPTProperties::set_Keyword(const std::wstring& v) { keyword_ = propertyText(v); }

int PPTProperties::saveSummaryInformation(QvOutputStream& out, bool skip) {
    if (skip) return 0;
    const std::size_t start = out.position();
    using V = PropertyValue;
    const std::vector<PropertyValue> values = {
        V::string(0x02, title_),
        V::string(0x03, subject_),
        V::string(0x04, author_),
        V::string(0x05, keyword_),
        V::string(0x08, kProductUserName),       // PIDSI_LASTAUTHOR
        V::string(0x09, L"1"),                   // PIDSI_REVNUMBER
        V::string(0x12, L"Microsoft PowerPoint"), // PIDSI_APPNAME
        V::time(0x0A, 0),                        // PIDSI_EDITTIME
        V::time(0x0D, saveTime(out)),            // PIDSI_LASTSAVE_DTM
        V::i4(0x0F, 10),                         // PIDSI_WORDCOUNT
    };
    writePropertySetStream(out, kSummaryInformationId, values);
    return static_cast<int>(out.position() - start);
}

int PPTProperties::saveDocumentSummaryInformation(QvOutputStream& out, std::vector<PPTPtr<PPTSlides>>,
                                                  std::vector<FontFamilyName>, bool setOnly) {
    const std::size_t start = out.position();
    const std::vector<PropertyValue> values = {PropertyValue::string(0x0F, company_)}; // PIDDSI_COMPANY
    writePropertySetStream(out, kDocumentSummaryInformationId, values, !setOnly);
    return static_cast<int>(out.position() - start);
}

int PPTProperties::saveCurrentUser(QvOutputStream& out, int currentEditOffset, bool) {
    return writeCurrentUser(out, static_cast<std::uint32_t>(currentEditOffset), encrypt_);
}

} // namespace Quorv
