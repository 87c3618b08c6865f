#include "drawing/shape_order.h"

#include <algorithm>
#include <climits>
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
    // Ordinary shapes take 2, 3, ... and write spid 0x800 + id; the shapes inside tables write
    // 0x4D00 + their number. Table numbers start at least this far up, so that no table shape
    // writes the spid of an ordinary one however many shapes the slide holds.
    long long ordinary = 0;
    for (const auto& shape : shapes) {
        if (!shape->isA(OT_Table)) ++ordinary;
    }
    const long long highestOrdinarySpid = 0x800 + 1 + ordinary;
    const long long lowest = highestOrdinarySpid + 1 - 0x4D00;
    int tableNext = lowest > 0 ? static_cast<int>(std::min<long long>(lowest, INT_MAX)) : 0;

    int counter = 2;
    for (const auto& shape : shapes) {
        if (shape->isA(OT_Table)) {
            // A table numbers its inner shapes from 32 above the counter, and after the numbers
            // the tables before it took; the next ordinary shape still gets the counter's value.
            int start = counter + 32;
            if (start < tableNext) start = tableNext;
            shape->calSize(&start, false); // lays the table out; leaves start past its numbers
            tableNext = start;
        } else {
            shape->set_ShapeId(counter);
            ++counter;
        }
    }
}

} // namespace Quorv
