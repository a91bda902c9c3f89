#include "host/object.h"

#include <cctype>

namespace zq {

Variant Object::Invoke(std::string_view member, CallKind, std::span<Variant>) {
    RaiseMemberNotFound(*this, member);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void RaiseMemberNotFound(const Object& o, std::string_view member) {
    Raise(err::MemberNotFound, o.TypeName() + "." + std::string(member),
          "Object doesn't support this property or method");
}

void RaiseObjectNotSet(std::string_view member) {
    // The member named as source tells a trace which call met the null reference.
    Raise(err::ObjectNotSet, std::string(member), "Object variable or With block variable not set");
}

namespace {

Object& Target(const ObjectPtr& o, std::string_view member) {
    if (!o) RaiseObjectNotSet(member);
    return *o;
}

// A Variant used as an object: anything but a live reference is "not set".
ObjectPtr TargetOf(const Variant& v, std::string_view member) {
    if (!v.IsObject()) RaiseObjectNotSet(member);
    ObjectPtr o = v.ToObject();
    if (!o) RaiseObjectNotSet(member);
    return o;
}

}  // namespace

Variant GetProp(const ObjectPtr& o, std::string_view member) {
    return Target(o, member).Invoke(member, CallKind::Get, {});
}

Variant GetProp(const ObjectPtr& o, std::string_view member, std::vector<Variant> args) {
    return Target(o, member).Invoke(member, CallKind::Get, args);
}

void SetProp(const ObjectPtr& o, std::string_view member, Variant value) {
    Variant args[1] = {std::move(value)};
    Target(o, member).Invoke(member, CallKind::Set, args);
}

Variant CallMethod(const ObjectPtr& o, std::string_view member,
                   std::initializer_list<Variant> args) {
    std::vector<Variant> copies(args);  // the callee's writes land in the copies
    return Target(o, member).Invoke(member, CallKind::Method, copies);
}

Variant CallMethodRef(const ObjectPtr& o, std::string_view member, std::span<Variant> args) {
    return Target(o, member).Invoke(member, CallKind::Method, args);
}

Variant GetProp(const Variant& o, std::string_view member) {
    return GetProp(TargetOf(o, member), member);
}

void SetProp(const Variant& o, std::string_view member, Variant value) {
    SetProp(TargetOf(o, member), member, std::move(value));
}

Variant CallMethod(const Variant& o, std::string_view member, std::initializer_list<Variant> args) {
    return CallMethod(TargetOf(o, member), member, args);
}

ObjectPtr GetObject(const ObjectPtr& o, std::string_view member) {
    return GetProp(o, member).ToObject();
}

}  // namespace zq
