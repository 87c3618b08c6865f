// The document container: persist object 1, at offset 0 of the "PowerPoint Document" stream
// ([MS-PPT] 2.4.1 DocumentContainer).
#pragma once

#include <vector>

#include "core/output_stream.h"
#include "picture/picture_store.h"
#include "drawing/common_records.h"
#include "quorv/document.h"
#include "quorv/ref_counted.h"
#include "quorv/slide.h"

namespace Quorv {

struct DocumentContainerInput {
    float width;  // slide size in points
    float height;
    const std::vector<FontFamilyName>& fonts;
    const detail::PictureStore& pictures;
    const std::vector<PPTPtr<PPTSlides>>& slides;
};

// Writes RT_Document: the document atom, the text environment with the font table, the drawing
// group with the picture store (its entries written by the pictures that hold their data), the
// master list, the view settings, the slide list and the end atom.
void writeDocumentContainer(QvOutputStream& s, const DocumentContainerInput& in);

// Persist ids of the document: 1 the document container, 2 the main master, 3 the first slide,
// and 5, 6, ... for the second slide on (4 is never used).
constexpr std::uint32_t kDocumentPersistId = 1;
constexpr std::uint32_t kMasterPersistId = 2;
inline std::uint32_t slidePersistId(std::size_t i) { return i == 0 ? 3u : static_cast<std::uint32_t>(i + 4); }
// Slide ids: 256 for the first slide, counting up.
inline std::uint32_t slideId(std::size_t i) { return static_cast<std::uint32_t>(256 + i); }

} // namespace Quorv
