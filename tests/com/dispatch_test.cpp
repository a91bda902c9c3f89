// Late-bound calls in both directions: the plug-in calling a host object by name, and a
// host calling one of this module's objects by name.
#include "sim/host/dispatch.h"

#include <gtest/gtest.h>

#include "com/dispatch_client.h"
#include "com/object_bridge.h"
#include "com/object_dispatch.h"
#include "com/variant_convert.h"
#include "com_test_support.h"
#include "host/error.h"
#include "host/identity.h"

namespace zq::comtest {
namespace {

using com::CallByName;

std::int32_t ErrorOf(const std::function<void()>& f, std::string* source = nullptr) {
    try {
        f();
    } catch (const HostError& e) {
        if (source) *source = e.Source();
        return e.Number();
    }
    return 0;
}

TEST(DispatchClient, RefusalsBecomeTheRunTimesErrors) {
    auto fake = FakeDispatch::Create({L"Text", L"Fail"});
    std::string source;
    // A name the object does not know: 438, named after the member.
    EXPECT_EQ(ErrorOf([&] { CallByName(fake.Get(), "Enabled", CallKind::Get, {}); }, &source),
              err::MemberNotFound);
    EXPECT_EQ(source, "Enabled");
    // An exception the object raises keeps its number, source and description.
    try {
        CallByName(fake.Get(), "Fail", CallKind::Method, {});
        ADD_FAILURE() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), 5001);
        EXPECT_EQ(e.Source(), "Fake");
        EXPECT_EQ(e.Description(), "raised by the fake");
    }
    // A call through no object at all: 91.
    EXPECT_EQ(ErrorOf([&] { CallByName(nullptr, "Text", CallKind::Get, {}); }), err::ObjectNotSet);
    // Each refusal left the reference count as it was.
    EXPECT_EQ(fake->Refs(), 1u);
}

TEST(DispatchClient, HresultsMapAsTheRunTimeMapsThem) {
    const std::pair<HRESULT, std::int32_t> cases[] = {
        {DISP_E_MEMBERNOTFOUND, 438},
        {DISP_E_TYPEMISMATCH, 13},
        {DISP_E_BADPARAMCOUNT, 450},
        {DISP_E_PARAMNOTOPTIONAL, 449},
        {E_OUTOFMEMORY, 7},
        {MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 3021), 3021},
        {static_cast<HRESULT>(0x80040E14), static_cast<std::int32_t>(0x80040E14)}};
    for (const auto& [hr, number] : cases)
        EXPECT_EQ(ErrorOf([&] { com::RaiseFromHresult(hr, nullptr, "m"); }), number) << hr;
    // A provider error inside an exception keeps the provider's (negative) number.
    EXCEPINFO e = {};
    e.scode = static_cast<HRESULT>(0x80040E14);
    e.bstrDescription = SysAllocString(L"Incorrect syntax");
    std::string source;
    EXPECT_EQ(ErrorOf([&] { com::RaiseFromHresult(DISP_E_EXCEPTION, &e, "Execute"); }, &source),
              static_cast<std::int32_t>(0x80040E14));
    EXPECT_EQ(source, "Execute");
}

TEST(DispatchClient, ReadsWritesAndCallsWithTheHostLanguagesFlags) {
    auto fake = FakeDispatch::Create({L"Text", L"Owner", L"Double"});
    Variant text[1] = {Variant("abc")};
    CallByName(fake.Get(), "Text", CallKind::Set, text);
    EXPECT_EQ(fake->LastFlags(), DISPATCH_PROPERTYPUT);
    EXPECT_EQ(CallByName(fake.Get(), "TEXT", CallKind::Get, {}).ToString(), "abc");
    EXPECT_EQ(fake->LastFlags(), DISPATCH_METHOD | DISPATCH_PROPERTYGET);

    // An object is assigned by reference; the callee keeps it, and our adapter too.
    auto owner = FakeDispatch::Create({});
    {
        Variant obj[1] = {com::FromVARIANT([&] {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_DISPATCH;
            v.pdispVal = owner.Get();
            return v;
        }())};
        CallByName(fake.Get(), "Owner", CallKind::Set, obj);
        EXPECT_EQ(fake->LastFlags(), DISPATCH_PROPERTYPUTREF);
    }
    EXPECT_EQ(owner->Refs(), 2u);  // ours released, the fake's kept
    fake->values.clear();
    EXPECT_EQ(owner->Refs(), 1u);

    // Arguments go by reference: what the callee writes comes back.
    Variant args[2] = {Variant::Int32(21), Variant("x")};
    CallByName(fake.Get(), "Double", CallKind::Method, args);
    EXPECT_TRUE(args[0].SameAs(Variant::Int32(42)));
    EXPECT_EQ(args[1].ToString(), "x");
    EXPECT_EQ(fake->Refs(), 1u);
}

// A late-bound host object of the simulated host, as forms and controls are.
class Control : public sim::DispatchObject {
  public:
    Control() {
        DefineProperty(
            "Text", [this] { return Variant(text); },
            [this](const Variant& v) { text = v.ToString(); });
        DefineMethod("Bump", [](std::span<Variant> a) {
            a[0] = Variant::Int32(a[0].ToLong() + 1);
            return Variant();
        });
        DefineMethod("Fail", [](std::span<Variant>) -> Variant { Raise(3021, "rs", "EOF"); });
    }
    std::string TypeName() const override { return "Control"; }
    std::string text;
};

TEST(ObjectDispatch, AnswersByNameAndRefusesLikeAHostObject) {
    auto control = std::make_shared<Control>();
    com::ComPtr<IDispatch> d = com::ObjectDispatch::Create(control);

    // QueryInterface: IDispatch and IUnknown, nothing else, and a null out pointer refused.
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(d->QueryInterface(IID_IPersist, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(d->QueryInterface(IID_IDispatch, nullptr), E_POINTER);

    Variant v[1] = {Variant("scritto")};
    CallByName(d.Get(), "text", CallKind::Set, v);
    EXPECT_EQ(control->text, "scritto");
    EXPECT_EQ(CallByName(d.Get(), "Text", CallKind::Get, {}).ToString(), "scritto");

    Variant n[1] = {Variant::Int32(1)};
    CallByName(d.Get(), "Bump", CallKind::Method, n);
    EXPECT_TRUE(n[0].SameAs(Variant::Int32(2)));

    // The object's own refusals: a missing member is 438, an error keeps its number.
    EXPECT_EQ(ErrorOf([&] { CallByName(d.Get(), "Visible", CallKind::Get, {}); }),
              err::MemberNotFound);
    std::string source;
    EXPECT_EQ(ErrorOf([&] { CallByName(d.Get(), "Fail", CallKind::Method, {}); }, &source), 3021);
    EXPECT_EQ(source, "rs");
}

TEST(ObjectDispatch, AnObjectComesBackAsItselfOnlyInTheModuleThatExposedIt) {
    auto control = std::make_shared<Control>();
    com::ComPtr<IDispatch> d = com::ExposeObject(control);
    EXPECT_EQ(com::WrapDispatch(d.Get()), control);
    // A foreign object is wrapped, not unwrapped, and the wrapper gives the same pointer back.
    auto fake = FakeDispatch::Create({});
    ObjectPtr wrapped = com::WrapDispatch(fake.Get());
    EXPECT_EQ(com::ExposedObjectOf(fake.Get()), nullptr);
    EXPECT_EQ(com::ExposeObject(wrapped).Get(), static_cast<IDispatch*>(fake.Get()));
    wrapped.reset();
    EXPECT_EQ(fake->Refs(), 1u);
}

// Each crossing of another module's object gives a new adapter; the plug-in's comparisons
// (the section a road pictured against the one the host hands it now, a control kept
// against one found by name) must still see one object.
TEST(ObjectDispatch, AdaptersOfOneForeignObjectAreTheSameObject) {
    auto fake = FakeDispatch::Create({});
    auto other = FakeDispatch::Create({});
    const ObjectPtr first = com::WrapDispatch(fake.Get());
    const ObjectPtr second = com::WrapDispatch(fake.Get());
    ASSERT_NE(first, second);
    EXPECT_TRUE(SameObject(first, second));
    EXPECT_FALSE(SameObject(first, com::WrapDispatch(other.Get())));
    EXPECT_FALSE(SameObject(first, nullptr));
    EXPECT_TRUE(SameObject(nullptr, nullptr));
    // This module's own objects keep their identity as they are.
    auto control = std::make_shared<Control>();
    EXPECT_TRUE(SameObject(com::WrapDispatch(com::ExposeObject(control).Get()), control));
    EXPECT_FALSE(SameObject(control, first));
}

}  // namespace
}  // namespace zq::comtest
