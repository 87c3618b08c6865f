// PPTDocument: the presentation, and the only entry to saving it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "quorv/export.h"
#include "quorv/length.h"
#include "quorv/ref_counted.h"

namespace Quorv {

class PPTSlides;
class PPTProperties;
class QvOutputStream;

namespace detail {
class DocumentWriter;
}

// An entry of the document's font table: a face name and its Windows character set
// (0 ANSI, 128 Shift-JIS, ...). Character formats refer to fonts by their index in the table.
struct QUORV_EXPORT FontFamilyName {
    std::wstring name;
    int charset = 0;
};

class QUORV_EXPORT PPTDocument {
public:
    // No slides, no properties, slide size 0 x 0, and the font table "Arial" (index 0),
    // "ＭＳ Ｐゴシック" (1) and "ＭＳ Ｐ明朝" (2).
    PPTDocument();
    // Copies share the slides and the properties object of the original.
    PPTDocument(const PPTDocument&);
    PPTDocument& operator=(const PPTDocument&);
    virtual ~PPTDocument();

    // Creates a slide, appends it to the presentation and returns it.
    PPTPtr<PPTSlides> addSlides(float width, float height);
    const std::vector<PPTPtr<PPTSlides>>& getSlides() const noexcept { return slides_; }

    // Slide size in points.
    void set_Width(float points) { width_ = Length(points, 3); }
    void set_Hight(float points) { height_ = Length(points, 3); }
    Length get_Width() const noexcept { return width_; }
    Length get_Hight() const noexcept { return height_; }

    // Attaches properties (not owned: the host deletes them). A null p throws QvException code 7.
    // With deleteOld true, the properties attached so far are deleted first.
    void setProperties(PPTProperties* p, bool deleteOld);
    PPTProperties* getProperties() const noexcept { return properties_; }

    // The index of a face name in the font table, appending (name, charset) when it is new.
    int get_FontNamesIndex(const std::wstring& name, int charset);
    const std::vector<FontFamilyName>& getFontNames() const noexcept { return fontNames_; }

    // Writes the presentation to a file. The file is replaced only once the new one is complete
    // and on disk; a failed save leaves an existing file of that name untouched.
    // Throws QvException code 6 for an empty name, code 5 when the file cannot be written.
    void save(const std::wstring& fileName);
    // The same with a narrow file name (UTF-8 on POSIX systems).
    void save(const std::string& fileName);
    // Writes the same bytes as save to a stream, for hosts that keep files in memory or send
    // them on. Throws QvException code 5 when the stream reports a failure.
    void save(std::ostream& out);
    // The same bytes as save, in memory.
    std::vector<unsigned char> saveToMemory();

private:
    friend class detail::DocumentWriter;

    Length width_;
    Length height_;
    int pictureCount_ = 0;
    PPTProperties* properties_ = nullptr;
    std::vector<PPTPtr<PPTSlides>> slides_;
    std::vector<FontFamilyName> fontNames_;
};

} // namespace Quorv
