#include "com/dispatch_client.h"

#include <vector>

#include "com/variant_convert.h"
#include "host/error.h"

namespace zq::com {

namespace {

// The run time's numbers for the dispatch errors a late-bound call can meet.
std::int32_t RunTimeNumber(HRESULT hr) {
    switch (hr) {
        case DISP_E_UNKNOWNNAME:
        case DISP_E_MEMBERNOTFOUND:
            return err::MemberNotFound;
        case DISP_E_TYPEMISMATCH:
            return err::TypeMismatch;
        case DISP_E_BADPARAMCOUNT:
            return 450;
        case DISP_E_PARAMNOTOPTIONAL:
            return 449;
        case DISP_E_OVERFLOW:
            return err::Overflow;
        case E_OUTOFMEMORY:
            return 7;
        default:
            return 0;
    }
}

// A control-facility HRESULT carries the run-time error number in its low word.
std::int32_t NumberOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return static_cast<std::int32_t>(hr);
}

}  // namespace

void RaiseFromHresult(HRESULT hr, const EXCEPINFO* excep, std::string_view member) {
    if (hr == DISP_E_EXCEPTION && excep) {
        EXCEPINFO e = *excep;
        if (e.pfnDeferredFillIn) e.pfnDeferredFillIn(&e);
        const std::int32_t number = e.wCode != 0 ? e.wCode : NumberOf(e.scode);
        std::string source = Narrow(e.bstrSource);
        std::string description = Narrow(e.bstrDescription);
        SysFreeString(e.bstrSource);
        SysFreeString(e.bstrDescription);
        SysFreeString(e.bstrHelpFile);
        Raise(number, source.empty() ? std::string(member) : source,
              description.empty() ? "Automation error" : description);
    }
    if (const std::int32_t n = RunTimeNumber(hr)) {
        const char* text = n == err::MemberNotFound
                               ? "Object doesn't support this property or method"
                           : n == err::TypeMismatch ? "Type mismatch"
                           : n == 450 ? "Wrong number of arguments or invalid property assignment"
                           : n == 449 ? "Argument not optional"
                           : n == err::Overflow ? "Overflow"
                                                : "Out of memory";
        Raise(n, std::string(member), text);
    }
    Raise(NumberOf(hr), std::string(member), "Automation error");
}

Variant CallByName(IDispatch* d, std::string_view member, CallKind kind, std::span<Variant> args,
                   std::uint32_t missing) {
    if (!d) RaiseObjectNotSet(member);
    std::wstring name = Widen(member);
    LPOLESTR names[1] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) RaiseFromHresult(hr, nullptr, member);

    // The arguments, last first. A read or a call passes each by reference so that the
    // callee's writes come back; an assignment passes the value itself, last.
    const std::size_t n = args.size();
    std::vector<UniqueVariant> values(n);
    std::vector<VARIANT> slots(n);
    for (std::size_t i = 0; i < n; ++i) ToVARIANT(args[i], values[i].Get());
    WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {slots.data(), nullptr, static_cast<UINT>(n), 0};
    for (std::size_t i = 0; i < n; ++i) {
        VARIANT& slot = slots[n - 1 - i];
        VariantInit(&slot);
        if (i < 32 && (missing >> i) & 1u) {
            slot.vt = VT_ERROR;
            slot.scode = DISP_E_PARAMNOTFOUND;
        } else {
            slot.vt = VT_BYREF | VT_VARIANT;
            slot.pvarVal = values[i].Get();
        }
    }
    if (kind == CallKind::Set) {
        if (n == 0) Raise(450, std::string(member), "Argument not optional");
        slots[0] = values[n - 1].Ref();  // borrowed: `values` still owns it
        flags = args[n - 1].IsObject() ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    UniqueVariant result;
    EXCEPINFO excep = {};
    UINT argErr = 0;
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                   kind == CallKind::Set ? nullptr : result.Get(), &excep, &argErr);
    if (FAILED(hr)) RaiseFromHresult(hr, &excep, member);
    if (kind != CallKind::Set) {
        for (std::size_t i = 0; i < n; ++i) args[i] = FromVARIANT(values[i].Ref());
    }
    return FromVARIANT(result.Ref());
}

Variant DispObject::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    return CallByName(d_.Get(), member, kind, args);
}

Variant ByName::Read(std::string_view member) const {
    return CallByName(d_.Get(), member, CallKind::Get, {});
}

Variant ByName::Read(std::string_view member, std::initializer_list<Variant> args) const {
    std::vector<Variant> copies(args);
    return CallByName(d_.Get(), member, CallKind::Get, copies);
}

void ByName::Write(std::string_view member, Variant value) const {
    Variant args[1] = {std::move(value)};
    CallByName(d_.Get(), member, CallKind::Set, args);
}

Variant ByName::Call(std::string_view member, std::initializer_list<Variant> args) const {
    std::vector<Variant> copies(args);
    return CallByName(d_.Get(), member, CallKind::Method, copies);
}

Variant ByName::CallRef(std::string_view member, std::span<Variant> args,
                        std::uint32_t missing) const {
    return CallByName(d_.Get(), member, CallKind::Method, args, missing);
}

}  // namespace zq::com
