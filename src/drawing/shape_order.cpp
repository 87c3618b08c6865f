#include "drawing/shape_order.h"

#include <utility>

namespace Quorv {

void orderByShapeNum(std::vector<PPTPtr<PPTShape>>& shapes, int left, int right) {
    auto num = [&shapes](int k) { return shapes[static_cast<std::size_t>(k)]->get_ShapeNum(); };
    // The two halves of a partition are disjoint, so sorting them in either order gives the same
    // result: recurse into the smaller one and loop on the larger one to bound the stack depth.
    while (left < right) {
        int i = left;
        int j = right;
        int pivot = num(left + (right - left) / 2);
        do {
            while (num(i) < pivot && i < right) ++i;
            while (num(j) > pivot && j > left) --j;
            if (i <= j) {
                std::swap(shapes[static_cast<std::size_t>(i)], shapes[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - left < right - i) {
            if (left < j) orderByShapeNum(shapes, left, j);
            left = i;
        } else {
            if (i < right) orderByShapeNum(shapes, i, right);
            right = j;
        }
    }
}

void assignShapeIds(const std::vector<PPTPtr<PPTShape>>& shapes) {
    int counter = 2;
    for (const auto& shape : shapes) {
        if (shape->isA(OT_Table)) {
            int saved = counter;
            counter += 32;
            shape->calSize(&counter, false); // lays the table out and numbers its inner shapes
            counter = saved;
        } else {
            shape->set_ShapeId(counter);
            ++counter;
        }
    }
}

} // namespace Quorv
