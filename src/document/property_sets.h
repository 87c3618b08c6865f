// OLE property-set streams ([MS-OLEPS] 2.20 PropertySetStream): SummaryInformation and
// DocumentSummaryInformation. Strings are code-page strings (VT_LPSTR, [MS-OLEPS] 2.5) in code
// page 932 when every string of the set fits it, else in code page 65001 (UTF-8): LibreOffice writes
// UTF-8 too, and it is the one code page besides 932 that LibreOffice, Apache POI and Calligra
// Stage all read (Calligra reads UTF-16 strings of code page 1200 as 8-bit text).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/output_stream.h"

namespace Quorv {

struct PropertyValue {
    enum class Type : std::uint32_t { I2 = 0x0002, I4 = 0x0003, String = 0x001E, FileTime = 0x0040 };

    std::uint32_t id;
    Type type;
    std::uint32_t number = 0;   // I2, I4
    std::wstring text;          // String
    std::uint64_t fileTime = 0; // FileTime

    static PropertyValue i4(std::uint32_t id, std::uint32_t v) { return {id, Type::I4, v, {}, 0}; }
    static PropertyValue string(std::uint32_t id, std::wstring v) { return {id, Type::String, 0, std::move(v), 0}; }
    static PropertyValue time(std::uint32_t id, std::uint64_t v) { return {id, Type::FileTime, 0, {}, v}; }
};

using FormatId = std::array<std::uint8_t, 16>;
extern const FormatId kSummaryInformationId;         // FMTID_SummaryInformation
extern const FormatId kDocumentSummaryInformationId; // FMTID_DocSummaryInformation

// Writes the 48-byte stream header (when withHeader) and one property set: PID_CODEPAGE first,
// then values in order.
void writePropertySetStream(QvOutputStream& s, const FormatId& formatId, const std::vector<PropertyValue>& values,
                            bool withHeader = true);

} // namespace Quorv
