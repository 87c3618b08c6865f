// PPTProperties: the document's descriptive properties (title, subject, author, company, keywords).
#pragma once

#include <string>
#include <vector>

#include "quorv/export.h"
#include "quorv/ref_counted.h"

namespace Quorv {

class QvOutputStream;
class PPTSlides;
struct FontFamilyName;

class QUORV_EXPORT PPTProperties {
public:
    PPTProperties();
    PPTProperties(const PPTProperties&);
    PPTProperties& operator=(const PPTProperties&);
    virtual ~PPTProperties();
    // A new copy on the heap; the caller owns it.
    PPTProperties* clone() const;

    const std::wstring& get_Title() const noexcept { return title_; }
    const std::wstring& get_Subject() const noexcept { return subject_; }
    const std::wstring& get_Author() const noexcept { return author_; }
    const std::wstring& get_Company() const noexcept { return company_; }
    const std::wstring& get_Keyword() const noexcept { return keyword_; }

    // Each setter stores the value up to its first NUL character and, when the value is not
    // empty, one space after it; an empty value stores an empty string.
    void set_Title(const std::wstring& v);
    void set_Subject(const std::wstring& v);
    void set_Author(const std::wstring& v);
    void set_Company(const std::wstring& v);
    void set_Keyword(const std::wstring& v);

    // Selects the header token of the Current User record; nothing is encrypted.
    void set_Encrypt(bool v) noexcept { encrypt_ = v; }
    bool get_Encrypt() const noexcept { return encrypt_; }

    // With false appends the whole SummaryInformation property-set stream; with true nothing.
    int saveSummaryInformation(QvOutputStream& out, bool skip);
    // Appends the DocumentSummaryInformation stream; with true only its property set.
    int saveDocumentSummaryInformation(QvOutputStream& out, std::vector<PPTPtr<PPTSlides>> slides,
                                       std::vector<FontFamilyName> fonts, bool setOnly);
    // Appends the Current User stream for a user edit at currentEditOffset; returns its size.
    int saveCurrentUser(QvOutputStream& out, int currentEditOffset, bool unused);

private:
    std::wstring title_;
    std::wstring subject_;
    std::wstring author_;
    std::wstring company_;
    std::wstring keyword_;
    bool encrypt_ = false;
};

} // namespace Quorv
