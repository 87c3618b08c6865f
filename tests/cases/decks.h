// Small deck builders shared by the rows.
#pragma once

#include <functional>

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

// Record paths below the shape container of a slide's shape.
inline std::vector<unsigned> below(std::initializer_list<unsigned> more) {
    std::vector<unsigned> p = kSlideShape;
    p.insert(p.end(), more);
    return p;
}

} // namespace quorv_test
