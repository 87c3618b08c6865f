// A shape for tests of the slide: writes a fixed OfficeArt container, and records what it was asked.
#pragma once

#include <string>
#include <vector>

#include "core/output_stream.h"
#include "core/record.h"
#include "quorv/shape.h"

namespace quorv_test {

class FakeShape : public Quorv::PPTShape {
public:
    // A shape of the given kind whose record body is bodyBytes long (0: writes nothing).
    FakeShape(std::string name, int shapeNum, Quorv::ObjType kind = Quorv::OT_TextFrame, int bodyBytes = 16)
        : PPTShape(0.0f, 0.0f, 10.0f, 10.0f), name_(std::move(name)), body_(bodyBytes) {
        set_ShapeNum(shapeNum);
        setObjType(kind);
    }

    int calSize(int* counter, bool flag) override {
        if (!flag && isA(Quorv::OT_Table)) {
            tableCounterOnEntry = *counter;
            *counter += 5; // a table numbers inner shapes from the counter
            return 5;
        }
        return flag ? body_ : 0;
    }
    bool output(Quorv::QvOutputStream& s, bool flag) override {
        if (flag) {
            ++storeEntriesWritten;
            return true;
        }
        if (body_ <= 0) return true;
        Quorv::writeRecord(s, Quorv::container(Quorv::RecordType::OfficeArtSpContainer), [this](Quorv::QvOutputStream& o) {
            o.writeU32(static_cast<std::uint32_t>(get_ShapeId()));
            o.writeZeros(static_cast<std::size_t>(body_ - 4));
        });
        return true;
    }
    bool outputPicture(Quorv::QvOutputStream&) override {
        ++picturesWritten;
        return true;
    }

    const std::string& name() const { return name_; }

    int tableCounterOnEntry = -1;
    int storeEntriesWritten = 0;
    int picturesWritten = 0;

private:
    std::string name_;
    int body_;
};

} // namespace quorv_test
