#include "support/verifier.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>

#include "support/records.h"

namespace quorv_test {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

std::uint32_t u32(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) return 0;
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::string hexOf(std::uint32_t v) {
    std::ostringstream o;
    o << "0x" << std::hex << std::uppercase << v;
    return o.str();
}

std::string narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out.push_back(c < 0x20 ? '#' : (c < 0x80 ? static_cast<char>(c) : '?'));
    return out;
}

} // namespace

StreamMap readCompoundFile(const Bytes& file, std::vector<std::string>& problems) {
    StreamMap streams;
    auto fail = [&](const std::string& what) {
        problems.push_back("compound file: " + what);
        return streams;
    };
    if (file.size() < 1536 || file.size() % 512 != 0) return fail("size " + std::to_string(file.size()));
    static const std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (!std::equal(kSignature, kSignature + 8, file.begin())) return fail("signature");
    if (u16(file, 0x18) != 0x3E || u16(file, 0x1A) != 3 || u16(file, 0x1C) != 0xFFFE || u16(file, 0x1E) != 9 ||
        u16(file, 0x20) != 6 || u32(file, 0x28) != 0 || u32(file, 0x38) != 4096) {
        return fail("header fields of a version 3 file");
    }
    const std::size_t sectors = file.size() / 512 - 1;
    auto sectorOffset = [](std::uint32_t s) { return (static_cast<std::size_t>(s) + 1) * 512; };

    // FAT sectors from the header's DIFAT and the DIFAT chain.
    std::vector<std::uint32_t> fatSectors;
    const std::uint32_t fatCount = u32(file, 0x2C);
    for (std::uint32_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i) fatSectors.push_back(u32(file, 0x4C + 4 * i));
    std::uint32_t difat = u32(file, 0x44);
    for (std::uint32_t n = 0; n < u32(file, 0x48); ++n) {
        if (difat >= sectors) return fail("DIFAT chain leaves the file");
        for (std::uint32_t i = 0; i < 127 && fatSectors.size() < fatCount; ++i) {
            fatSectors.push_back(u32(file, sectorOffset(difat) + 4 * i));
        }
        difat = u32(file, sectorOffset(difat) + 508);
    }
    if (fatSectors.size() != fatCount) return fail("FAT sector count");
    std::vector<std::uint32_t> fat;
    for (std::uint32_t s : fatSectors) {
        if (s >= sectors) return fail("FAT sector beyond the file");
        for (int i = 0; i < 128; ++i) fat.push_back(u32(file, sectorOffset(s) + 4 * i));
    }
    if (fat.size() < sectors) return fail("FAT does not cover every sector");

    auto chain = [&](std::uint32_t start, const std::string& what) {
        std::vector<std::uint32_t> out;
        for (std::uint32_t s = start; s != kEndOfChain; s = fat[s]) {
            if (s >= sectors || out.size() > sectors) {
                problems.push_back("compound file: broken chain of " + what);
                out.clear();
                break;
            }
            out.push_back(s);
        }
        return out;
    };
    auto readChain = [&](std::uint32_t start, const std::string& what) {
        Bytes out;
        for (std::uint32_t s : chain(start, what)) {
            out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(sectorOffset(s)),
                       file.begin() + static_cast<std::ptrdiff_t>(sectorOffset(s) + 512));
        }
        return out;
    };

    Bytes directory = readChain(u32(file, 0x30), "the directory");
    if (directory.size() < 128 || directory[66] != 5) return fail("no root entry");
    Bytes miniStream = readChain(u32(directory, 116), "the mini stream");
    if (miniStream.size() < u32(directory, 120)) return fail("mini stream shorter than the root entry says");
    Bytes miniFatBytes = u32(file, 0x3C) == kEndOfChain ? Bytes() : readChain(u32(file, 0x3C), "the mini FAT");
    std::vector<std::uint32_t> miniFat;
    for (std::size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4) miniFat.push_back(u32(miniFatBytes, i));

    const std::size_t entries = directory.size() / 128;
    std::set<std::uint32_t> seen;
    std::function<void(std::uint32_t)> walk = [&](std::uint32_t id) {
        if (id == kNoStream) return;
        if (id >= entries || !seen.insert(id).second) {
            problems.push_back("compound file: directory tree refers to entry " + std::to_string(id) + " twice or out of range");
            return;
        }
        const std::size_t e = id * 128;
        walk(u32(directory, e + 68));
        std::uint16_t nameBytes = u16(directory, e + 64);
        std::u16string name;
        for (std::size_t i = 0; i + 2 < nameBytes && i < 62; i += 2) name.push_back(static_cast<char16_t>(u16(directory, e + i)));
        if (directory[e + 66] != 2) {
            problems.push_back("compound file: entry " + narrow(name) + " is not a stream");
        } else {
            std::uint32_t start = u32(directory, e + 116);
            std::uint64_t size = u32(directory, e + 120) | (static_cast<std::uint64_t>(u32(directory, e + 124)) << 32);
            Bytes data;
            if (size == 0) {
                if (start != kEndOfChain) problems.push_back("compound file: empty stream with a start sector");
            } else if (size < 4096) {
                for (std::uint32_t m = start, n = 0; m != kEndOfChain; m = miniFat[m], ++n) {
                    if (m >= miniFat.size() || (static_cast<std::size_t>(m) + 1) * 64 > miniStream.size() || n > miniFat.size()) {
                        problems.push_back("compound file: broken mini chain of " + narrow(name));
                        break;
                    }
                    data.insert(data.end(), miniStream.begin() + m * 64, miniStream.begin() + (m + 1) * 64);
                }
            } else {
                data = readChain(start, narrow(name));
            }
            if (data.size() < size) {
                problems.push_back("compound file: stream " + narrow(name) + " is shorter than its size");
            } else {
                data.resize(static_cast<std::size_t>(size));
            }
            if (streams.count(name)) problems.push_back("compound file: stream " + narrow(name) + " twice");
            streams[name] = std::move(data);
        }
        walk(u32(directory, e + 72));
    };
    walk(u32(directory, 76));
    return streams;
}

namespace {

class PresentationChecker {
public:
    explicit PresentationChecker(const StreamMap& streams) : streams_(streams) {}

    std::vector<std::string> run() {
        auto doc = streams_.find(u"PowerPoint Document");
        if (doc == streams_.end()) return {"no \"PowerPoint Document\" stream"};
        const Bytes& d = doc->second;
        std::vector<Record> top;
        try {
            top = parseRecords(d, 0, d.size());
        } catch (const std::exception& e) {
            problems_.push_back(std::string("\"PowerPoint Document\": ") + e.what());
            return problems_;
        }
        std::map<std::size_t, const Record*> byOffset;
        for (const Record& r : top) byOffset[r.offset] = &r;
        if (!top.empty()) {
            const auto fonts = top[0].findAll(0x0FB7); // RT_FontEntityAtom
            fontCount_ = fonts.size();
            for (const Record* f : fonts) range("font entity instance", f->instance, 0, 128);
        }
        checkPropertySets();

        checkCurrentUserAndEdits(d, byOffset);
        for (const Record& r : top) {
            checkDrawings(d, r);
            checkTexts(d, r);
        }
        if (!top.empty() && top[0].type == 0x03E8) checkPictureStore(d, top);
        return problems_;
    }

private:
    void problem(const std::string& p) { problems_.push_back(p); }

    void checkCurrentUserAndEdits(const Bytes& d, const std::map<std::size_t, const Record*>& byOffset) {
        auto cu = streams_.find(u"Current User");
        if (cu == streams_.end()) return problem("no \"Current User\" stream");
        const Bytes& c = cu->second;
        if (u16(c, 2) != 0x0FF6 || u32(c, 8) != 0x14) return problem("Current User: not a CurrentUserAtom");
        std::uint32_t lenName = u16(c, 20);
        if (u32(c, 4) != 24 + lenName || c.size() < 32 + lenName) problem("Current User: lengths");
        auto ue = byOffset.find(u32(c, 16));
        if (ue == byOffset.end() || ue->second->type != 0x0FF5) return problem("Current User does not point at a UserEditAtom");
        const std::size_t b = ue->second->bodyOffset();
        const std::uint32_t lastSlideIdRef = u32(d, b), dirOffset = u32(d, b + 12), docRef = u32(d, b + 16),
                            seed = u32(d, b + 20);
        auto dir = byOffset.find(dirOffset);
        if (dir == byOffset.end() || dir->second->type != 0x1772) return problem("user edit does not point at a PersistDirectoryAtom");
        // The persist directory: entries of (first id: 20 bits, count: 12 bits) and offsets.
        std::map<std::uint32_t, std::uint32_t> persist;
        std::size_t at = dir->second->bodyOffset();
        const std::size_t end = dir->second->end();
        while (at + 4 <= end) {
            std::uint32_t word = u32(d, at), first = word & 0xFFFFF, count = word >> 20;
            at += 4;
            if (at + 4 * count > end) return problem("persist directory entry runs past the atom");
            for (std::uint32_t k = 0; k < count; ++k, at += 4) {
                if (!persist.emplace(first + k, u32(d, at)).second) problem("persist id " + std::to_string(first + k) + " twice");
            }
        }
        std::uint32_t maxId = 0;
        auto kindAt = [&](std::uint32_t id) -> unsigned {
            auto p = persist.find(id);
            if (p == persist.end()) return 0;
            auto r = byOffset.find(p->second);
            return r == byOffset.end() ? 0 : r->second->type;
        };
        for (const auto& p : persist) {
            maxId = std::max(maxId, p.first);
            if (!byOffset.count(p.second)) problem("persist id " + std::to_string(p.first) + " points inside a record");
        }
        if (seed < maxId) problem("persistIdSeed " + std::to_string(seed) + " below the largest persist id " + std::to_string(maxId));
        if (kindAt(docRef) != 0x03E8) return problem("docPersistIdRef does not name the document container");

        const Record& document = *byOffset.at(persist.at(docRef));
        std::set<std::uint32_t> slideIds;
        for (const Record& child : document.children) {
            if (child.type != 0x0FF0) continue;
            for (const Record& atom : child.children) {
                if (atom.type != 0x03F3) continue;
                std::uint32_t ref = u32(d, atom.bodyOffset());
                unsigned want = child.instance == 1 ? 0x03F8 : 0x03EE;
                if (kindAt(ref) != want) {
                    problem("slide list entry with persist id " + std::to_string(ref) + " does not name a " +
                            (want == 0x03F8 ? "main master" : "slide"));
                }
                if (child.instance == 0) slideIds.insert(u32(d, atom.bodyOffset() + 12));
            }
        }
        if (lastSlideIdRef != 0 && !slideIds.count(lastSlideIdRef)) problem("lastSlideIdRef names no slide");
    }

    // Shape ids must be unique within each drawing; property values and shape types in range.
    void checkDrawings(const Bytes& d, const Record& r) {
        for (const Record* opt : allOf(r, 0xF00B)) checkShapeProperties(d, *opt);
        for (const Record* opt : allOf(r, 0xF122)) checkShapeProperties(d, *opt);
        for (const Record* fsp : allOf(r, 0xF00A)) range("shape type", fsp->instance, 0, 202);
        // RT_StyleTextProp9Atom sits inside the "___PPT9" tag's RT_BinaryTagDataBlob.
        for (const Record* blob : allOf(r, 0x138B)) {
            try {
                for (const Record& atom : parseRecords(d, blob->bodyOffset(), blob->end())) {
                    if (atom.type == 0x0FAC) checkBulletExtensions(d, atom);
                }
            } catch (const std::exception& e) {
                problem(std::string("tag data: ") + e.what());
            }
        }
        for (const Record* dg : allOf(r, 0xF002)) {
            std::set<std::uint32_t> spids;
            for (const Record* fsp : dg->findAll(0xF00A)) {
                std::uint32_t spid = u32(d, fsp->bodyOffset());
                if (!spids.insert(spid).second) problem("shape id " + hexOf(spid) + " twice in the drawing at " + std::to_string(dg->offset));
            }
        }
    }

    static std::vector<const Record*> allOf(const Record& r, unsigned type) {
        std::vector<const Record*> out;
        if (r.type == type) out.push_back(&r);
        r.findAll(type, out);
        return out;
    }

    // A field outside the range MS-PPT states for it.
    void range(const char* field, long value, long low, long high) {
        if (value < low || value > high) {
            problem(std::string(field) + " " + std::to_string(value) + " outside " + std::to_string(low) + ".." +
                    std::to_string(high));
        }
    }
    static long s16(std::uint16_t v) { return static_cast<std::int16_t>(v); }
    // ColorIndexStruct: index 0..7 (scheme), 0xFE (RGB) or 0xFF (undefined).
    void colorIndex(const char* field, std::uint32_t c) {
        const unsigned index = c >> 24;
        if (index > 7 && index < 0xFE) problem(std::string(field) + " with colour index " + std::to_string(index));
    }
    // ParaSpacing: 0..13200 percent, or -1..-31680 master units.
    void spacing(const char* field, std::uint16_t v) { range(field, s16(v), -31680, 13200); }
    void fontRef(const char* field, std::uint16_t v) {
        if (v != 0xFFFF && v >= fontCount_) range(field, v, 0, static_cast<long>(fontCount_) - 1);
    }

    // Paragraph exception ([MS-PPT] 2.9.20): the fields its masks select, each within its range.
    bool skipParagraphException(const Bytes& d, std::size_t& at, std::size_t end) {
        std::uint32_t m = u32(d, at);
        at += 4;
        if (m & ~0x003FFDFFu) {
            problem("paragraph exception with unexpected mask bits " + hexOf(m));
            return false;
        }
        const auto next16 = [&] { at += 2; return u16(d, at - 2); };
        if (m & 0xF) next16();                                  // bulletFlags
        if ((m & 0x80) && next16() == 0) problem("bullet character NUL");
        if (m & 0x10) fontRef("bullet font", next16());
        if (m & 0x40) {
            const long size = s16(next16());
            if (size < 0) range("bullet size (points)", size, -4000, -1);
            else range("bullet size (percent)", size, 25, 400);
        }
        if (m & 0x20) { colorIndex("bullet colour", u32(d, at)); at += 4; }
        if (m & 0x800) range("alignment", next16(), 0, 6);
        if (m & 0x1000) spacing("line spacing", next16());
        if (m & 0x2000) spacing("space before", next16());
        if (m & 0x4000) spacing("space after", next16());
        if (m & 0x100) range("left margin", s16(next16()), 0, 32767);
        if (m & 0x400) range("indent", s16(next16()), 0, 32767);
        if (m & 0x8000) range("default tab size", s16(next16()), 0, 32767);
        if (m & 0x100000) at += 2 + 4 * static_cast<std::size_t>(u16(d, at));
        if (m & 0x10000) range("font alignment", next16(), 0, 4);
        if (m & 0xE0000) next16();
        if (m & 0x200000) range("text direction", next16(), 0, 1);
        return at <= end;
    }

    bool skipCharacterException(const Bytes& d, std::size_t& at, std::size_t end) {
        std::uint32_t m = u32(d, at);
        at += 4;
        if (m & ~0x00EFFFFFu) {
            problem("character exception with unexpected mask bits " + hexOf(m));
            return false;
        }
        const auto next16 = [&] { at += 2; return u16(d, at - 2); };
        if (m & 0xFFFF) next16();
        if (m & 0x10000) fontRef("font", next16());
        if (m & 0x200000) fontRef("East Asian font", next16());
        if (m & 0x400000) fontRef("ANSI font", next16());
        if (m & 0x800000) fontRef("symbol font", next16());
        if (m & 0x20000) range("font size", next16(), 1, 4000);
        if (m & 0x40000) { colorIndex("text colour", u32(d, at)); at += 4; }
        if (m & 0x80000) range("position", s16(next16()), -100, 100);
        return at <= end;
    }

    // RT_StyleTextProp9Atom entries: TextPFException9 (bullet scheme and start number), then
    // empty character and special-information extensions.
    void checkBulletExtensions(const Bytes& d, const Record& atom) {
        std::size_t at = atom.bodyOffset();
        while (at + 4 <= atom.end()) {
            const std::uint32_t m = u32(d, at);
            at += 4;
            if (m & ~0x03800000u) return problem("TextPFException9 with unexpected mask bits " + hexOf(m));
            if (m & 0x00800000) at += 2;
            if (m & 0x02000000) { range("fBulletHasAutoNumber", u16(d, at), 0, 1); at += 2; }
            if (m & 0x01000000) {
                range("bullet numbering scheme", u16(d, at), 0, 40);
                range("bullet start number", s16(u16(d, at + 2)), 1, 32767);
                at += 4;
            }
            if (u32(d, at) != 0 || u32(d, at + 4) != 0) return problem("StyleTextProp9 entry with character or special-info fields");
            at += 8;
        }
        if (at != atom.end()) problem("StyleTextProp9 entries do not fill their atom");
    }

    // Values of OfficeArt properties that have a range in MS-ODRAW.
    void checkShapeProperties(const Bytes& d, const Record& opt) {
        for (unsigned i = 0; i < opt.instance; ++i) {
            const std::size_t e = opt.bodyOffset() + 6 * i;
            const unsigned id = u16(d, e) & 0x3FFF;
            const std::uint32_t v = u32(d, e + 2);
            switch (id) {
            case 0x0087: range("anchorText", v, 0, 9); break;
            case 0x0088: range("txflTextFlow", v, 0, 5); break;
            case 0x0144: range("shapePath", v, 0, 4); break;
            case 0x0182: range("fillOpacity", v, 0, 65536); break;
            case 0x01CB: range("lineWidth", v, 0, 20116800); break;
            case 0x01CE: range("lineDashing", v, 0, 10); break;
            case 0x0004: range("rotation (degrees)", static_cast<std::int32_t>(v) >> 16, -360, 360); break;
            default: break;
            }
        }
    }

    // Runs of counts that must add up to the text length + 1.
    void checkRuns(const Bytes& d, const Record& atom, std::size_t textLength, const char* what,
                   const std::function<bool(std::size_t&)>& skipBody, std::size_t& at) {
        std::size_t covered = 0;
        while (covered < textLength + 1) {
            if (at + 4 > atom.end()) return problem(std::string(what) + " runs end before the text does");
            covered += u32(d, at);
            at += 4;
            if (!skipBody(at)) return problem(std::string(what) + " run runs past its atom");
        }
        if (covered != textLength + 1) {
            problem(std::string(what) + " runs cover " + std::to_string(covered) + " characters of a text of " +
                    std::to_string(textLength) + " + 1");
        }
    }

    void checkTexts(const Bytes& d, const Record& r) {
        for (const Record* box : allOf(r, 0xF00D)) {
            std::size_t length = 0;
            bool haveText = false;
            for (const Record& c : box->children) {
                if (c.type == 0x0FA0) { length = c.length / 2; haveText = true; }
                if (c.type == 0x0FA8) { length = c.length; haveText = true; }
            }
            for (const Record& c : box->children) {
                if (!haveText) break;
                std::size_t at = c.bodyOffset();
                if (c.type == 0x0FA1) {
                    checkRuns(d, c, length, "paragraph", [&](std::size_t& p) {
                        range("indent level", u16(d, p), 0, 4);
                        p += 2;
                        return skipParagraphException(d, p, c.end());
                    }, at);
                    checkRuns(d, c, length, "character", [&](std::size_t& p) { return skipCharacterException(d, p, c.end()); }, at);
                    if (at != c.end()) problem("style runs do not fill their atom at " + std::to_string(c.offset));
                } else if (c.type == 0x0FA2) {
                    checkRuns(d, c, length, "master text", [](std::size_t& p) { p += 2; return true; }, at);
                    if (at != c.end()) problem("master text runs do not fill their atom");
                } else if (c.type == 0x0FAA) {
                    checkRuns(d, c, length, "special info", [&](std::size_t& p) {
                        std::uint32_t m = u32(d, p);
                        p += 4;
                        if (m & ~0x7u) return false;
                        for (std::uint32_t bit : {1u, 2u, 4u}) p += (m & bit) ? 2 : 0;
                        return p <= c.end();
                    }, at);
                    if (at != c.end()) problem("special info runs do not fill their atom");
                }
            }
        }
    }

    void checkPictureStore(const Bytes& d, const std::vector<Record>& top) {
        auto stores = top[0].findAll(0xF001);
        // The shapes showing each entry: pib n names the store's nth entry (from 1).
        std::map<std::uint32_t, std::uint32_t> shown;
        for (const Record& r : top) {
            for (const Record* t : r.findAll(0xF00B)) {
                for (std::size_t at = t->bodyOffset(); at < t->bodyOffset() + 6 * t->instance; at += 6) {
                    if ((u16(d, at) & 0x3FFF) == 0x0104) ++shown[u32(d, at + 2)];
                }
            }
        }
        shown.erase(0); // pib 0: no picture
        if (!shown.empty() && (stores.empty() || shown.rbegin()->first > stores[0]->children.size())) {
            problem("a shape shows a picture store entry that is not there");
        }
        if (stores.empty()) return;
        const Record& store = *stores[0];
        // recInstance counts the entries in 12 bits, saturating at 4095.
        const std::size_t counted = store.children.size() < 0xFFF ? store.children.size() : 0xFFF;
        if (store.instance != counted) problem("picture store's instance is not its entry count");
        auto pictures = streams_.find(u"Pictures");
        const Bytes empty;
        const Bytes& p = pictures == streams_.end() ? empty : pictures->second;
        std::set<Bytes> stored;
        std::uint32_t number = 0;
        for (const Record& e : store.children) {
            ++number;
            if (e.type != 0xF007 || e.length != 36) {
                problem("picture store entry is not a 44-byte OfficeArtFBSE");
                continue;
            }
            const std::size_t b = e.bodyOffset();
            if (u32(d, b + 24) != shown[number]) problem("picture store entry's cRef is not its number of shapes");
            std::uint32_t size = u32(d, b + 20), offset = u32(d, b + 28);
            std::uint8_t kind = d[b];
            if (size == 0 && kind == 0) continue; // an empty entry
            static const std::map<unsigned, unsigned> kBlipType = {{2, 0xF01A}, {3, 0xF01B}, {5, 0xF01D}, {6, 0xF01E}};
            auto want = kBlipType.find(kind);
            if (want == kBlipType.end()) {
                if (size != 0) problem("picture store entry of unknown kind " + std::to_string(kind) + " with data");
                continue;
            }
            if (e.instance != kind) problem("picture store entry's instance is not its BLIP type");
            if (static_cast<std::size_t>(offset) + 8 > p.size()) {
                problem("picture store entry points past the \"Pictures\" stream");
                continue;
            }
            if (u16(p, offset + 2) != want->second) problem("picture store entry points at a BLIP of another kind");
            if (u32(p, offset + 4) + 8 != size) problem("picture store entry's size is not its BLIP's");
            if (!std::equal(d.begin() + static_cast<std::ptrdiff_t>(b + 2), d.begin() + static_cast<std::ptrdiff_t>(b + 18),
                            p.begin() + static_cast<std::ptrdiff_t>(offset + 8))) {
                problem("picture store entry's identifier is not its BLIP's");
            }
            const auto data = p.begin() + static_cast<std::ptrdiff_t>(offset);
            if (size >= 24 && offset + std::size_t{size} <= p.size() && !stored.emplace(data + 24, data + size).second) {
                problem("two picture store entries hold the same data"); // after their identifiers
            }
        }
    }

    // Both property sets are present; each names its code page (932 or 65001, UTF-8) first.
    void checkPropertySets() {
        for (const char16_t* name : {u"\x0005SummaryInformation", u"\x0005" u"DocumentSummaryInformation"}) {
            auto it = streams_.find(name);
            if (it == streams_.end()) {
                problem("no " + narrow(name) + " stream");
                continue;
            }
            const Bytes& p = it->second;
            if (u16(p, 0) != 0xFFFE || u32(p, 44) != 48 || u32(p, 48) + 48 != p.size()) {
                problem(narrow(name) + ": header or size");
                continue;
            }
            const unsigned codePage = u16(p, 48 + u32(p, 60) + 4);
            if (u32(p, 56) != 1 || (codePage != 932 && codePage != 65001)) {
                problem(narrow(name) + ": the first property is not a code page of 932 or 65001");
            }
        }
    }

    const StreamMap& streams_;
    std::vector<std::string> problems_;
    std::size_t fontCount_ = 0;
};

} // namespace

std::vector<std::string> verifyPresentation(const StreamMap& streams) { return PresentationChecker(streams).run(); }

std::vector<std::string> verifyPresentationFile(const Bytes& file) {
    std::vector<std::string> problems;
    StreamMap streams = readCompoundFile(file, problems);
    if (!problems.empty()) return problems;
    return verifyPresentation(streams);
}

std::vector<std::string> verifyPresentationPath(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return {"cannot open " + path};
    Bytes file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    return verifyPresentationFile(file);
}

std::string describeProblems(const std::vector<std::string>& problems) {
    std::string out;
    for (const std::string& p : problems) out += p + "\n";
    return out;
}

} // namespace quorv_test
