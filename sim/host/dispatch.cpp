#include "sim/host/dispatch.h"

#include <cctype>

#include "sim/fault/fault_plan.h"

namespace zq::sim {

std::string DispatchObject::Fold(std::string_view name) {
    std::string s(name);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void DispatchObject::DefineProperty(std::string_view name, Getter get, Setter set) {
    members_[Fold(name)] = Member{std::move(get), std::move(set), nullptr};
}

void DispatchObject::DefineMethod(std::string_view name, MethodFn fn) {
    members_[Fold(name)] = Member{nullptr, nullptr, std::move(fn)};
}

bool DispatchObject::HasMember(std::string_view name) const {
    return members_.count(Fold(name)) != 0;
}

void DispatchObject::RemoveMember(std::string_view name) {
    members_.erase(Fold(name));
}

Variant DispatchObject::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    auto it = members_.find(Fold(member));
    // A method is a method however it is called; a property is read or written.
    const FaultKind faultKind = it != members_.end() && it->second.call ? FaultKind::Method
                                : kind == CallKind::Set                 ? FaultKind::Set
                                : kind == CallKind::Method && it == members_.end()
                                    ? FaultKind::Method
                                    : FaultKind::Get;
    FaultPoint point(faultKind, SiteName() + "." + std::string(member));
    if (it == members_.end()) {
        if (kind == CallKind::Get || (kind == CallKind::Method && args.empty())) {
            if (auto v = GetDynamic(member)) return *v;
        }
        RaiseMemberNotFound(*this, member);
    }
    const Member& m = it->second;
    if (m.call) {
        if (kind == CallKind::Set)
            Raise(kInvalidPropertyAssignment, TypeName() + "." + std::string(member),
                  "Invalid property assignment");
        return m.call(args);
    }
    if (kind == CallKind::Set) {
        if (!m.set || args.empty())
            Raise(kInvalidPropertyAssignment, TypeName() + "." + std::string(member),
                  "Invalid property assignment");
        m.set(args.back());
        return Variant();
    }
    return m.get();
}

void RequireArgs(std::span<Variant> args, std::size_t n, std::string_view member) {
    if (args.size() < n)
        Raise(kInvalidPropertyAssignment, std::string(member),
              "Wrong number of arguments or invalid property assignment");
}

}  // namespace zq::sim
