// Late-bound host objects built from a table of members.
//
// Forms, controls, grids and menus of the host are reached only by member name. A
// DispatchObject answers the members registered in its table (names compare without
// regard to case) and raises 438 for any other, as the host's objects do. Tests remove
// members to play a host version that lacks them.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/object.h"

namespace zq::sim {

// Error the host raises when a read-only property is assigned or a method is assigned to.
inline constexpr std::int32_t kInvalidPropertyAssignment = 450;

class DispatchObject : public Object {
  public:
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant&)>;
    using MethodFn = std::function<Variant(std::span<Variant>)>;

    DispatchObject() = default;
    // Members capture the object they belong to: a copy would call into the original.
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;

    bool HasMember(std::string_view name) const;
    // The object's name in fault sites ("<name>.<member>"): its type name unless it says
    // more (a control says its own name).
    virtual std::string SiteName() const { return TypeName(); }
    // Removes a member: later calls of it raise 438.
    void RemoveMember(std::string_view name);

  protected:
    // A property: read with Get (or a call without arguments), written with Set when a
    // setter is given.
    void DefineProperty(std::string_view name, Getter get, Setter set = nullptr);
    // A method: called with Method or Get; arguments arrive by reference.
    void DefineMethod(std::string_view name, MethodFn fn);
    // Members outside the table (a form's controls by name). nullopt when there is none.
    virtual std::optional<Variant> GetDynamic(std::string_view) { return std::nullopt; }

  private:
    struct Member {
        Getter get;
        Setter set;
        MethodFn call;
    };
    static std::string Fold(std::string_view name);
    std::map<std::string, Member> members_;
};

// Checks the argument count of a late-bound call; 450 when it is short.
void RequireArgs(std::span<Variant> args, std::size_t n, std::string_view member);

}  // namespace zq::sim
