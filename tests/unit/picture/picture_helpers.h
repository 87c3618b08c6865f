// Reading back what a save wrote for pictures: the records of the "Pictures" stream, the entries
// of the picture store and the picture shapes of the slides.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "quorv/quorv.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/records.h"

namespace quorv_test {

struct SavedPictures {
    bool hasPicturesStream = false;
    Bytes pictures;              // the "Pictures" stream
    std::vector<Record> records; // its records
    std::vector<Bytes> entries;  // the bodies of the store entries after the empty first one
    std::vector<std::uint32_t> pibs; // pib of each picture shape, slide by slide in drawing order
    Bytes document;
};

inline std::uint32_t propertyValue(const Bytes& b, const Record& fopt, unsigned id) {
    for (unsigned i = 0; i < fopt.instance; ++i) {
        std::size_t at = fopt.bodyOffset() + 6 * i;
        if ((readU16(b, at) & 0x3FFF) == id) return readU32(b, at + 2);
    }
    return 0xFFFFFFFFu;
}

inline SavedPictures savePictures(Quorv::PPTDocument& doc,
                                  const Quorv::detail::SaveContext& context = fixedContext()) {
    std::map<std::u16string, Bytes> streams;
    for (auto& s : Quorv::detail::DocumentWriter::buildStreams(doc, context)) streams[s.name] = std::move(s.bytes);
    SavedPictures out;
    out.hasPicturesStream = streams.count(u"Pictures") != 0;
    if (out.hasPicturesStream) out.pictures = streams[u"Pictures"];
    out.records = parseRecords(out.pictures, 0, out.pictures.size());
    out.document = streams.at(u"PowerPoint Document");
    std::vector<Record> top = parseRecords(out.document, 0, out.document.size());
    std::vector<const Record*> fbse = top.at(0).findAll(0xF007);
    for (std::size_t i = 1; i < fbse.size(); ++i) out.entries.push_back(slice(out.document, fbse[i]->bodyOffset(), 36));
    for (const Record& r : top) {
        if (r.type != 0x03EE) continue; // slides
        for (const Record* sp : r.findAll(0xF004)) {
            if (sp->children.empty() || sp->children[0].type != 0xF00A || sp->children[0].instance != 75) continue;
            out.pibs.push_back(propertyValue(out.document, sp->children.at(1), 0x104));
        }
    }
    return out;
}

// Fields of a store entry body.
inline unsigned entryKind(const Bytes& e) { return e.at(0); }
inline Bytes entryUid(const Bytes& e) { return slice(e, 2, 16); }
inline std::uint32_t entrySize(const Bytes& e) { return readU32(e, 20); }
inline std::uint32_t entryOffset(const Bytes& e) { return readU32(e, 28); }

} // namespace quorv_test
