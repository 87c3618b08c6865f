// Z-order and shape ids of a slide's shapes.
#pragma once

#include <vector>

#include "quorv/ref_counted.h"
#include "quorv/shape.h"

namespace Quorv {

// Sorts shapes[left..right] (inclusive) by ascending ShapeNum with the classic quicksort: pivot
// at the middle index, Hoare partition. It is not stable, and files depend on the exact order
// it gives equal keys, so it must not be replaced by another sort.
void orderByShapeNum(std::vector<PPTPtr<PPTShape>>& shapes, int left, int right);

// Hands out shape ids in list order from 2. A table takes no id itself: it numbers its own
// inner shapes from the counter + 32 upward, but never below the numbers a table before it on
// the slide took (nor so low that 0x4D00 + a number is the spid 0x800 + id of an ordinary
// shape), and the next shape gets the value the table started from.
void assignShapeIds(const std::vector<PPTPtr<PPTShape>>& shapes);

} // namespace Quorv
