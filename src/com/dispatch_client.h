// Late-bound calls by member name on another module's IDispatch, as the host language
// makes them: GetIDsOfNames, then Invoke with DISPATCH_METHOD | DISPATCH_PROPERTYGET for
// a read or a call, DISPATCH_PROPERTYPUT for an assignment and DISPATCH_PROPERTYPUTREF
// when the value assigned is an object. Arguments go by reference (VT_BYREF|VT_VARIANT),
// so that the callee's writes come back into them.
//
// Failures raise HostError as the host's run time reports them: an unknown name or
// member 438; an exception raised by the callee with its own number (a control-facility
// HRESULT gives its low word, any other HRESULT itself), source and description; the
// dispatch errors as their run-time numbers (13 type mismatch, 450 wrong number of
// arguments, 449 argument not optional, 6 overflow, 7 out of memory); any other failed
// HRESULT as itself, "Automation error".
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "com/com_types.h"
#include "com/object_bridge.h"
#include "host/object.h"

namespace zq::com {

// Calls `member` on `d`. Bit i of `missing` sends argument i as the host language's
// "omitted" (VT_ERROR DISP_E_PARAMNOTFOUND), for optional arguments before given ones.
Variant CallByName(IDispatch* d, std::string_view member, CallKind kind, std::span<Variant> args,
                   std::uint32_t missing = 0);

// The error a failed call reports, as HostError's fields.
[[noreturn]] void RaiseFromHresult(HRESULT hr, const EXCEPINFO* excep, std::string_view member);

// An Object that is another module's IDispatch.
class DispObject : public Object, public DispatchHolder {
  public:
    explicit DispObject(ComPtr<IDispatch> d) : d_(std::move(d)) {}
    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;
    std::string TypeName() const override { return "Object"; }
    IDispatch* Dispatch() const override { return d_.Get(); }

  private:
    ComPtr<IDispatch> d_;
};

// The typed adapters' common base: calls on the wrapped IDispatch by name.
class ByName : public DispatchHolder {
  public:
    explicit ByName(ComPtr<IDispatch> d) : d_(std::move(d)) {}
    IDispatch* Dispatch() const override { return d_.Get(); }

  protected:
    Variant Read(std::string_view member) const;
    Variant Read(std::string_view member, std::initializer_list<Variant> args) const;
    void Write(std::string_view member, Variant value) const;
    Variant Call(std::string_view member, std::initializer_list<Variant> args = {}) const;
    Variant CallRef(std::string_view member, std::span<Variant> args,
                    std::uint32_t missing = 0) const;
    Variant InvokeByName(std::string_view member, CallKind kind, std::span<Variant> args) const {
        return CallByName(d_.Get(), member, kind, args);
    }

  private:
    ComPtr<IDispatch> d_;
};

}  // namespace zq::com
