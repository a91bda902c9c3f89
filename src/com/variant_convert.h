// Variant <-> VARIANT, with the conversions the host's run time makes when a value
// crosses an Automation boundary.
//
// Into the plug-in: Empty, Null, Booleans, 16/32-bit integers, doubles, dates and texts
// keep their kind; other integer widths become the narrowest of Integer, Long or Double
// that holds them; single, currency and decimal values become Double (the plug-in
// computes quantities in doubles); a missing optional argument (VT_ERROR
// DISP_E_PARAMNOTFOUND) is Empty; objects become counted references (object_bridge.h);
// by-reference forms are read through; two-dimensional SAFEARRAYs become VarArrays.
// Anything else is error 13 (type mismatch).
//
// Out of the plug-in: each kind to its VARIANT type (VT_I2, VT_I4, VT_R8, VT_DATE,
// VT_BSTR, VT_BOOL, VT_DISPATCH, VT_ARRAY|VT_VARIANT).
#pragma once

#include "com/com_types.h"
#include "host/variant.h"

namespace zq::com {

Variant FromVARIANT(const VARIANT& v);
// Writes a new value into `out`, which must hold nothing that needs clearing (VariantInit
// or VariantClear first). Raises HostError (7 out of memory, 13 for an array that cannot
// be made); `out` is then Empty.
void ToVARIANT(const Variant& v, VARIANT* out);

// Writes `v` into the variable a by-reference VARIANT points at, converted to that
// variable's type (VT_BYREF|VT_VARIANT takes the value as it is). Raises 13 when the
// value has no form of that type.
void StoreThrough(const VARIANT& byRef, const Variant& v);

}  // namespace zq::com
