#include "drawing/shape_size.h"

#include <climits>

#include "core/record.h"
#include "quorv/exception.h"

namespace Quorv {

int slideRecordLength(PPTShape& shape) {
    const std::size_t n = measure([&shape](QvOutputStream& o) { shape.output(o, false); });
    if (n == 0) return 0;
    if (n - 8 > static_cast<std::size_t>(INT_MAX)) {
        throw makeException(QV_ERR_TOO_LARGE, "a shape's record exceeds 2 GB");
    }
    return static_cast<int>(n - 8);
}

} // namespace Quorv
