// Counted host objects and late-bound access by member name.
//
// Every host object, ADO object and substitute derives from Object. Early-bound code
// casts to the typed interface (see regdoc.h, ado.h); late-bound code calls Invoke with
// the member name, as the host language does through IDispatch. Member names compare
// without regard to case. A member the object does not have raises error 438; any call
// through a null reference raises error 91.
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/error.h"
#include "host/variant.h"

namespace zq {

enum class CallKind { Get, Set, Method };

class Object : public std::enable_shared_from_this<Object> {
  public:
    virtual ~Object() = default;

    // Late-bound entry point. `args` are passed by reference: a callee may write into
    // them and the caller sees the change. For Set the last argument is the new value.
    virtual Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args);

    // A short type name for traces and error texts.
    virtual std::string TypeName() const { return "Object"; }
};

// Case-insensitive comparison of member names and keys.
bool SameName(std::string_view a, std::string_view b);

[[noreturn]] void RaiseMemberNotFound(const Object& o, std::string_view member);
[[noreturn]] void RaiseObjectNotSet(std::string_view member);

// Late-bound helpers. Each raises 91 on a null object (or a Variant that holds none).
Variant GetProp(const ObjectPtr& o, std::string_view member);
Variant GetProp(const ObjectPtr& o, std::string_view member, std::vector<Variant> args);
void SetProp(const ObjectPtr& o, std::string_view member, Variant value);
// Arguments by value: the callee's writes are dropped.
Variant CallMethod(const ObjectPtr& o, std::string_view member,
                   std::initializer_list<Variant> args = {});
// Arguments by reference: the callee's writes land in `args`.
Variant CallMethodRef(const ObjectPtr& o, std::string_view member, std::span<Variant> args);

Variant GetProp(const Variant& o, std::string_view member);
void SetProp(const Variant& o, std::string_view member, Variant value);
Variant CallMethod(const Variant& o, std::string_view member,
                   std::initializer_list<Variant> args = {});

// Reads a property that holds an object; Empty, Null and Nothing give a null reference.
ObjectPtr GetObject(const ObjectPtr& o, std::string_view member);

// Early-bound cast: null when `o` is null; error 13 when the object is of another kind.
template <class T>
std::shared_ptr<T> As(const ObjectPtr& o) {
    if (!o) return nullptr;
    auto t = std::dynamic_pointer_cast<T>(o);
    if (!t) Raise(13, o->TypeName(), "Type mismatch");
    return t;
}

}  // namespace zq
