// PPTSlides: one slide of the presentation, holding its shapes.
#pragma once

#include <vector>

#include "quorv/export.h"
#include "quorv/shape.h"

namespace Quorv {

class QUORV_EXPORT PPTSlides : public PPTShape {
public:
    // Width and height in points; the box is kept but the slide size of the file is the
    // document's (PPTDocument::set_Width, set_Hight).
    PPTSlides(float width, float height);
    // The copy shares the shape objects of the original.
    PPTSlides(const PPTSlides& other);
    ~PPTSlides() override;

    // Appends a shape. The slide writes its shapes in ascending order of their ShapeNum.
    void addShape(PPTPtr<PPTShape> shape);
    // The shapes in the order they were added (or sorted into by orderShapes).
    const std::vector<PPTPtr<PPTShape>>& getShapes() const noexcept { return shapes_; }

    // With true: the number of pictures on the slide. With false: 0.
    int calSize(int* counter, bool pictures) override;
    // With true: the picture-store entries of the slide's pictures. With false: the whole slide
    // record. Saving leaves the order of the shape list unchanged.
    bool output(QvOutputStream& stream, bool pictureStore) override;
    // The picture data of the slide's pictures, in the order they were added.
    bool outputPicture(QvOutputStream& stream) override;

    // Sorts entries left..right (inclusive) of the shape list by ShapeNum, in place. The sort is
    // the classic quicksort with the middle element as pivot; it is not stable.
    void orderShapes(int left, int right);
    // Hands out shape ids in list order, starting from 2; a table numbers its own inner shapes.
    void setShapeIds();

private:
    std::vector<PPTPtr<PPTShape>> shapes_;
};

} // namespace Quorv
