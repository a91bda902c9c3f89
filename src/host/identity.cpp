#include "host/identity.h"

namespace zq {

bool SameObject(const ObjectPtr& a, const ObjectPtr& b) {
    if (a == b) return true;
    if (!a || !b) return false;
    const auto* fa = dynamic_cast<const ForeignObject*>(a.get());
    const auto* fb = dynamic_cast<const ForeignObject*>(b.get());
    return fa && fb && fa->Identity() == fb->Identity();
}

}  // namespace zq
