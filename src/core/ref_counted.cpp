#include "quorv/ref_counted.h"

namespace Quorv {

ShapeRCObject::~ShapeRCObject() = default;

int ShapeRCObject::release() const noexcept {
    int count = --refCount_;
    if (count <= 0) delete this;
    return count;
}

} // namespace Quorv
