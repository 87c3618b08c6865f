// Small deck builders shared by the rows.
#pragma once

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

#include "quorv/quorv.h"
#include "support/rows.h"

namespace quorv_test {

// A deck of one 720 x 540 slide holding the shapes make returns (made anew for every save).
inline Deck slideWith(std::function<std::vector<Quorv::PPTPtr<Quorv::PPTShape>>()> make) {
    return [make](Quorv::PPTDocument& doc, Quorv::PPTProperties&) {
        doc.set_Width(720);
        doc.set_Hight(540);
        Quorv::PPTPtr<Quorv::PPTSlides> slide = doc.addSlides(720, 540);
        for (const auto& shape : make()) slide->addShape(shape);
    };
}

// A deck of one slide holding one shape.
template <class Make>
Deck oneShape(Make make) {
    return slideWith([make] { return std::vector<Quorv::PPTPtr<Quorv::PPTShape>>{make()}; });
}

// A text frame at (0, 0), 100 x 100, built by fill.
inline Deck oneFrame(std::function<void(Quorv::PPTTextFrame&)> fill) {
    return oneShape([fill] {
        Quorv::PPTPtr<Quorv::PPTTextFrame> f(new Quorv::PPTTextFrame(0, 0, 100, 100));
        fill(*f);
        return Quorv::PPTPtr<Quorv::PPTShape>(f);
    });
}

// A picture that owns the stream it reads its bytes from.
class StreamPicture : public Quorv::PPTPicture {
public:
    StreamPicture(float x, float y, float w, float h, ImageType type, const std::vector<std::uint8_t>& bytes)
        : PPTPicture(x, y, w, h), data_(std::string(bytes.begin(), bytes.end())) {
        setFileStream(type, data_);
    }

private:
    std::istringstream data_;
};

// The client data whose RT_StyleTextProp9Atom holds entries (e bytes of them).
inline std::string clientData(unsigned e, const std::string& entries) {
    char head[200];
    std::snprintf(head, sizeof head,
                  "0F 00 11 F0 %02X 00 00 00  0F 00 88 13 %02X 00 00 00  0F 00 8A 13 %02X 00 00 00"
                  "00 00 BA 0F 0E 00 00 00  5F 00 5F 00 5F 00 50 00 50 00 54 00 39 00" // "___PPT9"
                  "00 00 8B 13 %02X 00 00 00  00 00 AC 0F %02X 00 00 00",
                  54 + e, 46 + e, 38 + e, 8 + e, e);
    return head + entries;
}

// Record paths below the shape container of a slide's shape.
inline std::vector<unsigned> below(std::initializer_list<unsigned> more) {
    std::vector<unsigned> p = kSlideShape;
    p.insert(p.end(), more);
    return p;
}

} // namespace quorv_test
