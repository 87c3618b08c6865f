#include "quorv/slide.h"

#include "drawing/shape_order.h"
#include "drawing/slide_records.h"

namespace Quorv {

PPTSlides::PPTSlides(float width, float height)
    : PPTShape(Length(0.0f, 3), Length(0.0f, 3), Length(width, 3), Length(height, 3)) {
    setObjType(OT_Slides);
}

PPTSlides::PPTSlides(const PPTSlides& other) : PPTShape(other), shapes_(other.shapes_) {
    setObjType(OT_Slides);
}

PPTSlides::~PPTSlides() = default;

void PPTSlides::addShape(PPTPtr<PPTShape> shape) {
    // A null handle would have nothing to write; it is not kept.
    if (shape) shapes_.push_back(std::move(shape));
}

int PPTSlides::calSize(int*, bool pictures) {
    if (!pictures) return 0;
    int n = 0;
    for (const auto& shape : shapes_) {
        if (shape->isA(OT_Picture)) ++n;
    }
    return n;
}

bool PPTSlides::output(QvOutputStream& stream, bool pictureStore) {
    if (pictureStore) {
        for (const auto& shape : shapes_) {
            if (shape->isA(OT_Picture)) shape->output(stream, true);
        }
        return true;
    }
    // The record is written from a sorted copy: the slide's own list keeps the order in which the
    // shapes were added, so the picture passes of every save see the same order.
    std::vector<PPTPtr<PPTShape>> sorted = shapes_;
    if (!sorted.empty()) {
        orderByShapeNum(sorted, 0, static_cast<int>(sorted.size()) - 1);
        assignShapeIds(sorted);
    }
    writeSlideRecord(stream, sorted);
    return true;
}

bool PPTSlides::outputPicture(QvOutputStream& stream) {
    for (const auto& shape : shapes_) {
        if (shape->isA(OT_Picture)) shape->outputPicture(stream);
    }
    return true;
}

void PPTSlides::orderShapes(int first, int last) {
    if (shapes_.empty()) return;
    // A range reaching past the list is cut to it.
    if (first < 0) first = 0;
    int end = static_cast<int>(shapes_.size()) - 1;
    if (last > end) last = end;
    orderByShapeNum(shapes_, first, last);
}

void PPTSlides::setShapeIds() { assignShapeIds(shapes_); }

} // namespace Quorv
