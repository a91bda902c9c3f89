#include "com/variant_convert.h"

#include <cmath>
#include <limits>

#include "com/object_bridge.h"
#include "host/error.h"

namespace zq::com {

namespace {

[[noreturn]] void Mismatch(VARTYPE vt) {
    Raise(err::TypeMismatch, "VARIANT " + std::to_string(vt), "Type mismatch");
}

Variant FromInteger(long long i) {
    if (i >= std::numeric_limits<std::int16_t>::min() &&
        i <= std::numeric_limits<std::int16_t>::max())
        return Variant::Int16(static_cast<std::int16_t>(i));
    if (i >= std::numeric_limits<std::int32_t>::min() &&
        i <= std::numeric_limits<std::int32_t>::max())
        return Variant::Int32(static_cast<std::int32_t>(i));
    return Variant(static_cast<double>(i));
}

// A 32-bit kind stays Long even when the value is small: the host sees the type it sent.
Variant FromLong(long long i) {
    if (i >= std::numeric_limits<std::int32_t>::min() &&
        i <= std::numeric_limits<std::int32_t>::max())
        return Variant::Int32(static_cast<std::int32_t>(i));
    return Variant(static_cast<double>(i));
}

Variant FromObject(IUnknown* u) {
    if (!u) return Variant(ObjectPtr());
    ComPtr<IDispatch> d;
    if (FAILED(u->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.Put()))) || !d)
        Mismatch(VT_UNKNOWN);
    return Variant(WrapDispatch(d.Get()));
}

Variant FromArray(SAFEARRAY* sa, VARTYPE elementType) {
    if (!sa) return Variant(VarArrayPtr());
    if (SafeArrayGetDim(sa) != 2) Mismatch(VT_ARRAY | elementType);
    LONG l1, u1, l2, u2;
    SafeArrayGetLBound(sa, 1, &l1);
    SafeArrayGetUBound(sa, 1, &u1);
    SafeArrayGetLBound(sa, 2, &l2);
    SafeArrayGetUBound(sa, 2, &u2);
    auto out = std::make_shared<VarArray>(l1, u1, l2, u2);
    for (LONG i = l1; i <= u1; ++i) {
        for (LONG j = l2; j <= u2; ++j) {
            LONG index[2] = {i, j};
            UniqueVariant item;
            if (elementType == VT_VARIANT) {
                if (FAILED(SafeArrayGetElement(sa, index, item.Get()))) Mismatch(VT_ARRAY);
            } else {
                // Typed arrays: read the element into a VARIANT of that type.
                VARIANT* v = item.Get();
                if (FAILED(SafeArrayGetElement(sa, index, &v->lVal))) Mismatch(VT_ARRAY);
                v->vt = elementType;
            }
            out->At(i, j) = FromVARIANT(item.Ref());
        }
    }
    return Variant(out);
}

double FromCurrency(CY cy) {
    return static_cast<double>(cy.int64) / 10000.0;
}

}  // namespace

Variant FromVARIANT(const VARIANT& v) {
    const VARTYPE vt = v.vt;
    if (vt & VT_ARRAY)
        return FromArray((vt & VT_BYREF) ? *v.pparray : v.parray,
                         static_cast<VARTYPE>(vt & VT_TYPEMASK));
    if (vt == (VT_BYREF | VT_VARIANT)) {
        if (!v.pvarVal) return Variant();
        return FromVARIANT(*v.pvarVal);
    }
    if (vt & VT_BYREF) {
        // Every other by-reference form: read through to the value.
        UniqueVariant copy;
        if (FAILED(VariantCopyInd(copy.Get(), const_cast<VARIANT*>(&v)))) Mismatch(vt);
        return FromVARIANT(copy.Ref());
    }
    switch (vt) {
        case VT_EMPTY:
            return Variant();
        case VT_NULL:
            return Variant::Null();
        case VT_I2:
            return Variant::Int16(v.iVal);
        case VT_I4:
            return Variant::Int32(v.lVal);
        case VT_INT:
            return Variant::Int32(v.intVal);
        case VT_I1:
            return Variant::Int16(v.cVal);
        case VT_UI1:
            return Variant::Int16(v.bVal);
        case VT_UI2:
            return FromInteger(v.uiVal);
        case VT_UI4:
            return FromLong(v.ulVal);
        case VT_UINT:
            return FromLong(v.uintVal);
        case VT_I8:
            return FromLong(v.llVal);
        case VT_UI8:
            return v.ullVal > static_cast<ULONGLONG>(std::numeric_limits<std::int32_t>::max())
                       ? Variant(static_cast<double>(v.ullVal))
                       : Variant::Int32(static_cast<std::int32_t>(v.ullVal));
        case VT_R4:
            return Variant(static_cast<double>(v.fltVal));
        case VT_R8:
            return Variant(v.dblVal);
        case VT_CY:
            return Variant(FromCurrency(v.cyVal));
        case VT_DECIMAL: {
            double d = 0;
            DECIMAL dec = v.decVal;
            if (FAILED(VarR8FromDec(&dec, &d))) Raise(err::Overflow, "DECIMAL", "Overflow");
            return Variant(d);
        }
        case VT_DATE:
            return Variant::Date(v.date);
        case VT_BSTR:
            return Variant(Narrow(v.bstrVal));
        case VT_BOOL:
            return Variant::Bool(v.boolVal != VARIANT_FALSE);
        case VT_DISPATCH:
            return FromObject(v.pdispVal);
        case VT_UNKNOWN:
            return FromObject(v.punkVal);
        case VT_ERROR:
            // The host language's "missing" optional argument; other error values have no
            // counterpart among the plug-in's values.
            if (v.scode == DISP_E_PARAMNOTFOUND) return Variant();
            return Variant::Int32(v.scode);
        default:
            Mismatch(vt);
    }
}

namespace {

SAFEARRAY* ToSafeArray(const VarArray& a) {
    SAFEARRAYBOUND bounds[2];
    bounds[0].lLbound = a.LBound(1);
    bounds[0].cElements = static_cast<ULONG>(a.UBound(1) - a.LBound(1) + 1);
    bounds[1].lLbound = a.LBound(2);
    bounds[1].cElements = static_cast<ULONG>(a.UBound(2) - a.LBound(2) + 1);
    SAFEARRAY* sa = SafeArrayCreate(VT_VARIANT, 2, bounds);
    if (!sa) Raise(7, "SAFEARRAY", "Out of memory");
    try {
        for (int i = a.LBound(1); i <= a.UBound(1); ++i) {
            for (int j = a.LBound(2); j <= a.UBound(2); ++j) {
                LONG index[2] = {i, j};
                UniqueVariant item;
                ToVARIANT(a.At(i, j), item.Get());
                if (FAILED(SafeArrayPutElement(sa, index, item.Get())))
                    Raise(7, "SAFEARRAY", "Out of memory");
            }
        }
    } catch (...) {
        SafeArrayDestroy(sa);
        throw;
    }
    return sa;
}

}  // namespace

void ToVARIANT(const Variant& v, VARIANT* out) {
    VariantInit(out);
    switch (v.Type()) {
        case VarType::Empty:
            return;
        case VarType::Null:
            out->vt = VT_NULL;
            return;
        case VarType::Integer:
            out->vt = VT_I2;
            out->iVal = v.ToInt();
            return;
        case VarType::Long:
            out->vt = VT_I4;
            out->lVal = v.ToLong();
            return;
        case VarType::Double:
            out->vt = VT_R8;
            out->dblVal = v.RawDouble();
            return;
        case VarType::Date:
            out->vt = VT_DATE;
            out->date = v.ToDouble();
            return;
        case VarType::String:
            out->bstrVal = MakeBstr(v.RawString());
            out->vt = VT_BSTR;
            return;
        case VarType::Boolean:
            out->vt = VT_BOOL;
            out->boolVal = v.ToBool() ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        case VarType::Object:
            out->pdispVal = ExposeObject(v.ToObject()).Detach();
            out->vt = VT_DISPATCH;
            return;
        case VarType::Array: {
            const VarArrayPtr a = v.ToArray();
            if (!a) {
                out->vt = VT_ARRAY | VT_VARIANT;
                out->parray = nullptr;
                return;
            }
            out->parray = ToSafeArray(*a);
            out->vt = VT_ARRAY | VT_VARIANT;
            return;
        }
    }
}

void StoreThrough(const VARIANT& byRef, const Variant& v) {
    if (!(byRef.vt & VT_BYREF) || !byRef.byref) return;
    const VARTYPE type = static_cast<VARTYPE>(byRef.vt & ~VT_BYREF);
    UniqueVariant value;
    ToVARIANT(v, value.Get());
    if (type == VT_VARIANT) {
        VariantClear(byRef.pvarVal);
        value.MoveTo(byRef.pvarVal);
        return;
    }
    UniqueVariant typed;
    if (FAILED(VariantChangeType(typed.Get(), value.Get(), 0, type))) Mismatch(type);
    VARIANT& t = *typed.Get();
    switch (type) {
        case VT_I2:
            *byRef.piVal = t.iVal;
            return;
        case VT_I4:
            *byRef.plVal = t.lVal;
            return;
        case VT_R8:
            *byRef.pdblVal = t.dblVal;
            return;
        case VT_DATE:
            *byRef.pdate = t.date;
            return;
        case VT_BOOL:
            *byRef.pboolVal = t.boolVal;
            return;
        case VT_BSTR:
            SysFreeString(*byRef.pbstrVal);
            *byRef.pbstrVal = t.bstrVal;
            t.vt = VT_EMPTY;  // the caller's variable owns it now
            return;
        case VT_DISPATCH:
            if (*byRef.ppdispVal) (*byRef.ppdispVal)->Release();
            *byRef.ppdispVal = t.pdispVal;
            t.vt = VT_EMPTY;
            return;
        default:
            Mismatch(byRef.vt);
    }
}

}  // namespace zq::com
