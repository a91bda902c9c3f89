// Object identity as the host language's `Is` sees it. An object of another module reaches
// the plug-in through an adapter, and every crossing may give a new adapter for the same
// object: comparing the references would call one recordset or one control two objects.
#pragma once

#include "host/object.h"

namespace zq {

// Implemented by an adapter that stands for an object of another module: every adapter
// of one object answers the same identity.
class ForeignObject {
  public:
    virtual ~ForeignObject() = default;
    virtual const void* Identity() const = 0;
};

// Whether `a` and `b` are the same object (two null references are; null and an object
// are not).
bool SameObject(const ObjectPtr& a, const ObjectPtr& b);

}  // namespace zq
