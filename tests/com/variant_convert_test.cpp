// Variant <-> VARIANT as values cross the boundary.
#include "com/variant_convert.h"

#include <gtest/gtest.h>

#include "com_test_support.h"
#include "host/error.h"

namespace zq::comtest {
namespace {

using com::FromVARIANT;
using com::ToVARIANT;
using com::UniqueVariant;

Variant RoundTrip(const Variant& v, VARTYPE expected) {
    UniqueVariant out;
    ToVARIANT(v, out.Get());
    EXPECT_EQ(out.Ref().vt, expected) << v.Describe();
    return FromVARIANT(out.Ref());
}

std::int32_t ErrorOf(const VARIANT& v) {
    try {
        FromVARIANT(v);
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

TEST(VariantConvert, EveryKindKeepsItsKindAndValueBothWays) {
    EXPECT_TRUE(RoundTrip(Variant(), VT_EMPTY).IsEmpty());
    EXPECT_TRUE(RoundTrip(Variant::Null(), VT_NULL).IsNull());
    EXPECT_TRUE(RoundTrip(Variant::Int16(-7), VT_I2).SameAs(Variant::Int16(-7)));
    EXPECT_TRUE(RoundTrip(Variant::Int32(70000), VT_I4).SameAs(Variant::Int32(70000)));
    EXPECT_TRUE(RoundTrip(Variant(2.5), VT_R8).SameAs(Variant(2.5)));
    EXPECT_TRUE(RoundTrip(Variant::Date(45000.25), VT_DATE).SameAs(Variant::Date(45000.25)));
    EXPECT_TRUE(RoundTrip(Variant::Bool(true), VT_BOOL).SameAs(Variant::Bool(true)));
    EXPECT_TRUE(RoundTrip(Variant::Bool(false), VT_BOOL).SameAs(Variant::Bool(false)));
    // Texts are UTF-8 inside, UTF-16 outside: accented letters survive.
    EXPECT_EQ(RoundTrip(Variant("Non è possibile"), VT_BSTR).ToString(), "Non è possibile");
    EXPECT_EQ(RoundTrip(Variant(""), VT_BSTR).ToString(), "");

    UniqueVariant b;
    ToVARIANT(Variant::Bool(true), b.Get());
    EXPECT_EQ(b.Ref().boolVal, VARIANT_TRUE);  // -1, as the host's Booleans
}

TEST(VariantConvert, OtherNumberKindsBecomeTheRunTimesOwn) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI1;
    v.bVal = 200;
    EXPECT_TRUE(FromVARIANT(v).SameAs(Variant::Int16(200)));
    v.vt = VT_I8;
    v.llVal = 5'000'000'000LL;
    EXPECT_TRUE(FromVARIANT(v).SameAs(Variant(5e9)));
    v.vt = VT_R4;
    v.fltVal = 1.5f;
    EXPECT_TRUE(FromVARIANT(v).SameAs(Variant(1.5)));
    v.vt = VT_CY;
    v.cyVal.int64 = 123456;  // 12.3456
    EXPECT_DOUBLE_EQ(FromVARIANT(v).ToDouble(), 12.3456);
    VARIANT d;
    VariantInit(&d);
    d.vt = VT_R8;
    d.dblVal = 7.25;
    VARIANT dec;
    VariantInit(&dec);
    ASSERT_EQ(VariantChangeType(&dec, &d, 0, VT_DECIMAL), S_OK);
    EXPECT_TRUE(FromVARIANT(dec).SameAs(Variant(7.25)));
    // The host language's omitted optional argument.
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_TRUE(FromVARIANT(v).IsEmpty());
    v.vt = VT_RECORD;
    EXPECT_EQ(ErrorOf(v), err::TypeMismatch);
}

TEST(VariantConvert, ByReferenceFormsAreReadThroughAndWrittenInTheirType) {
    LONG number = 41;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &number;
    EXPECT_TRUE(FromVARIANT(ref).SameAs(Variant::Int32(41)));
    com::StoreThrough(ref, Variant::Int16(42));
    EXPECT_EQ(number, 42);

    BSTR text = SysAllocString(L"prima");
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &text;
    com::StoreThrough(ref, Variant("dopo"));
    EXPECT_STREQ(text, L"dopo");
    SysFreeString(text);

    VARIANT inner;
    VariantInit(&inner);
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &inner;
    com::StoreThrough(ref, Variant::Null());
    EXPECT_EQ(inner.vt, VT_NULL);

    SHORT flag = 0;
    ref.vt = VT_BYREF | VT_BOOL;
    ref.pboolVal = &flag;
    com::StoreThrough(ref, Variant::Int16(1));  // any non-zero number is True
    EXPECT_EQ(flag, VARIANT_TRUE);
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &flag;
    EXPECT_THROW(com::StoreThrough(ref, Variant("no number")), HostError);
}

TEST(VariantConvert, TwoDimensionalArraysKeepTheirBoundsAndItems) {
    auto a = std::make_shared<VarArray>(0, 1, 1, 3);
    a->At(0, 1) = Variant("Codice");
    a->At(1, 3) = Variant::Int32(1500);
    a->At(1, 2) = Variant::Null();
    const Variant back = RoundTrip(Variant(a), VT_ARRAY | VT_VARIANT);
    const VarArrayPtr b = back.ToArray();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->LBound(1), 0);
    EXPECT_EQ(b->UBound(1), 1);
    EXPECT_EQ(b->LBound(2), 1);
    EXPECT_EQ(b->UBound(2), 3);
    EXPECT_EQ(b->At(0, 1).ToString(), "Codice");
    EXPECT_TRUE(b->At(1, 3).SameAs(Variant::Int32(1500)));
    EXPECT_TRUE(b->At(1, 2).IsNull());
    EXPECT_TRUE(b->At(0, 2).IsEmpty());

    // A one-dimensional array has no counterpart among the plug-in's values.
    SAFEARRAYBOUND bound = {2, 0};
    VARIANT one;
    VariantInit(&one);
    one.vt = VT_ARRAY | VT_VARIANT;
    one.parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
    EXPECT_EQ(ErrorOf(one), err::TypeMismatch);
    VariantClear(&one);
}

TEST(VariantConvert, ObjectsKeepTheirIdentityAndReferenceCount) {
    auto fake = FakeDispatch::Create({L"Value"});
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_DISPATCH;
        v.pdispVal = fake.Get();
        const Variant inside = FromVARIANT(v);
        EXPECT_EQ(fake->Refs(), 2u);  // the adapter holds one reference
        UniqueVariant out;
        ToVARIANT(inside, out.Get());
        EXPECT_EQ(out.Ref().pdispVal, fake.Get());  // the same object goes back
        EXPECT_EQ(fake->Refs(), 3u);
    }
    EXPECT_EQ(fake->Refs(), 1u);

    UniqueVariant nothing;
    ToVARIANT(Variant(ObjectPtr()), nothing.Get());
    EXPECT_EQ(nothing.Ref().vt, VT_DISPATCH);
    EXPECT_EQ(nothing.Ref().pdispVal, nullptr);
}

}  // namespace
}  // namespace zq::comtest
