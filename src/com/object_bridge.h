// How object references cross the boundary.
//
// An IDispatch arriving in this module becomes an Object: the module's own exposed
// objects come back as the Object they expose (identity is kept); an object that answers
// ADO's Recordset interface becomes a recordset adapter (so that `As<ado::Recordset>`
// succeeds, as the host language's typed assignment would); anything else becomes a
// late-bound adapter that calls by member name. An Object leaving this module becomes an
// IDispatch: an adapter gives back the pointer it wraps; any other Object is exposed
// through a dispatch object that calls its Invoke by name, unless a registered exposer
// (the test host's typed ADO and host objects) claims it.
#pragma once

#include <functional>

#include "com/com_types.h"
#include "host/identity.h"
#include "host/object.h"

namespace zq::com {

// Implemented by every adapter that wraps an IDispatch of another module. Its identity is
// the object's IUnknown, as COM defines it: the same for every interface and every
// adapter of one object.
class DispatchHolder : public ForeignObject {
  public:
    virtual IDispatch* Dispatch() const = 0;
    const void* Identity() const override;
};

ObjectPtr WrapDispatch(IDispatch* d);
ComPtr<IDispatch> ExposeObject(const ObjectPtr& o);

// An exposer answers null for objects it does not handle. Exposers are tried in the
// order registered, before the generic one.
using Exposer = std::function<ComPtr<IDispatch>(const ObjectPtr&)>;
void RegisterExposer(Exposer e);

// The Object behind one of this module's exposed dispatch objects; null for any other
// pointer (another module's objects are never unwrapped: their C++ objects belong to
// another run time).
ObjectPtr ExposedObjectOf(IUnknown* p);

// ADO's Recordset interface (every ADO version's recordset answers it).
extern const IID kIidAdoRecordset15;

}  // namespace zq::com
