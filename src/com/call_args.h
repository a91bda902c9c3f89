// The arguments of an interface method as they cross into the plug-in: each COM argument
// shape paired with the plug-in's parameter type. An Arg reads the COM value when it is
// made, hands the plug-in its value or reference, and afterwards writes back into the
// caller's variable only what the plug-in changed, so that a handler that does nothing
// leaves the host's by-reference arguments exactly as they were.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

#include "com/ado_client.h"
#include "com/error_info.h"
#include "com/host_client.h"
#include "com/object_bridge.h"
#include "com/variant_convert.h"
#include "host/regdoc.h"
#include "host/types.h"

namespace zq::com {

template <class C, class P>
struct Arg;

// Plain values passed by value.
template <class T>
struct PlainArg {
    T v;
    explicit PlainArg(T x) : v(x) {}
    T Get() const { return v; }
    void Commit() {}
};
template <>
struct Arg<short, std::int16_t> : PlainArg<std::int16_t> {
    using PlainArg::PlainArg;
};
template <>
struct Arg<LONG, std::int32_t> : PlainArg<std::int32_t> {
    using PlainArg::PlainArg;
};

template <>
struct Arg<VARIANT, Variant> {
    Variant v;
    explicit Arg(const VARIANT& x) : v(FromVARIANT(x)) {}
    Variant Get() const { return v; }
    void Commit() {}
};

// By reference: the caller's variable is written back only when the value changed.
template <>
struct Arg<VARIANT*, Variant&> {
    VARIANT* p;
    Variant before, v;
    explicit Arg(VARIANT* x) : p(x), before(FromVARIANT(*x)), v(before) {}
    Variant& Get() { return v; }
    void Commit() {
        if (v.SameAs(before)) return;
        UniqueVariant n;
        ToVARIANT(v, n.Get());
        VariantClear(p);
        n.MoveTo(p);
    }
};

// 16-bit integers and the 16-bit Booleans (VARIANT_BOOL and VBool are both short).
template <>
struct Arg<short*, std::int16_t&> {
    short* p;
    std::int16_t v;
    explicit Arg(short* x) : p(x), v(*x) {}
    std::int16_t& Get() { return v; }
    void Commit() {
        if (v != *p) *p = v;
    }
};

template <>
struct Arg<BSTR*, std::string&> {
    BSTR* p;
    std::string before, v;
    explicit Arg(BSTR* x) : p(x), before(Narrow(*x)), v(before) {}
    std::string& Get() { return v; }
    void Commit() {
        if (v == before) return;
        BSTR n = MakeBstr(v);
        SysFreeString(*p);
        *p = n;
    }
};

// Object references by reference: the plain Object, or the host's typed objects.
template <class T>
std::shared_ptr<T> ObjectAs(IDispatch* d);
template <>
inline ObjectPtr ObjectAs<Object>(IDispatch* d) {
    return WrapDispatch(d);
}

#define ZQ_TYPED_OBJECT(Iface, Adapter)                            \
    template <>                                                    \
    inline std::shared_ptr<Iface> ObjectAs<Iface>(IDispatch * d) { \
        return Typed<Iface, Adapter>(Variant(WrapDispatch(d)));    \
    }
ZQ_TYPED_OBJECT(ado::Connection, DispConnection)
ZQ_TYPED_OBJECT(host::IRegDoc, DispRegDoc)
ZQ_TYPED_OBJECT(host::IProgramma, DispProgramma)
ZQ_TYPED_OBJECT(host::IDitta, DispDitta)
#undef ZQ_TYPED_OBJECT

template <class T>
struct Arg<IDispatch**, std::shared_ptr<T>&> {
    IDispatch** p;
    std::shared_ptr<T> before, v;
    explicit Arg(IDispatch** x) : p(x), before(ObjectAs<T>(*x)), v(before) {}
    std::shared_ptr<T>& Get() { return v; }
    void Commit() {
        if (v == before) return;
        IDispatch* n = ExposeObject(v).Detach();
        if (*p) (*p)->Release();
        *p = n;
    }
};

// Whether a by-reference argument points nowhere (refused with E_POINTER).
template <class C>
bool IsNullRef(const C& c) {
    if constexpr (std::is_pointer_v<C>)
        return c == nullptr;
    else
        return false;
}

// Calls `method` of the plug-in's interface `target` with the COM arguments `c`, inside
// the error boundary of interface `iid`.
template <class I, class... P, class... C>
HRESULT Forward(REFIID iid, I& target, HResult (I::*method)(P...), C... c) {
    static_assert(sizeof...(P) == sizeof...(C), "one COM argument per parameter");
    if ((IsNullRef(c) || ...)) return E_POINTER;
    return Boundary(iid, [&]() -> ComResult {
        std::tuple<Arg<C, P>...> args(c...);
        const ComResult r =
            std::apply([&](auto&... a) { return (target.*method)(a.Get()...); }, args);
        // Writes made before a failure reach the caller too, as they would in process.
        std::apply([](auto&... a) { (a.Commit(), ...); }, args);
        return r;
    });
}

}  // namespace zq::com
