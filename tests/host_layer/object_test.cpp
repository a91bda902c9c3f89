// Late-bound access by member name and object creation by name.
#include "host/object.h"

#include <gtest/gtest.h>

#include "host/create_object.h"
#include "support/error_of.h"

namespace zq {
namespace {

using test::ErrorOf;

// A control-like object: a Text property, a Child object property and a method that
// writes into its by-reference argument, as host events do with cancel flags.
class FakeControl : public Object {
  public:
    Variant text;
    ObjectPtr child;
    std::vector<Variant> lastArgs;

    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override {
        lastArgs.assign(args.begin(), args.end());
        if (SameName(member, "Text") && kind == CallKind::Get) return text;
        if (SameName(member, "Text") && kind == CallKind::Set) {
            text = args.back();
            return Variant();
        }
        if (SameName(member, "Child") && kind == CallKind::Get) return Variant(child);
        if (SameName(member, "Cancel") && kind == CallKind::Method) {
            args[0] = Variant::Bool(true);
            return Variant::Int32(static_cast<std::int32_t>(args.size()));
        }
        return Object::Invoke(member, kind, args);
    }
    std::string TypeName() const override { return "FakeControl"; }
};

TEST(LateBound, GetSetAndCallByName) {
    auto control = std::make_shared<FakeControl>();
    ObjectPtr o = control;
    SetProp(o, "TEXT", Variant("abc"));
    EXPECT_EQ(GetProp(o, "text").ToString(), "abc");
    EXPECT_EQ(GetProp(Variant(o), "Text").ToString(), "abc");
    SetProp(Variant(o), "Text", Variant("xyz"));
    EXPECT_EQ(control->text.ToString(), "xyz");
    EXPECT_EQ(GetProp(o, "Text", {Variant::Int32(1)}).ToString(), "xyz");
    EXPECT_EQ(control->lastArgs.size(), 1u);
}

TEST(LateBound, ByValueAndByReferenceArguments) {
    ObjectPtr o = std::make_shared<FakeControl>();
    Variant flag = Variant::Bool(false);
    EXPECT_EQ(CallMethod(o, "Cancel", {flag, Variant("x")}).ToLong(), 2);
    EXPECT_FALSE(flag.ToBool());  // by value: the callee's write is dropped

    std::vector<Variant> args{Variant::Bool(false)};
    CallMethodRef(o, "cancel", args);
    EXPECT_TRUE(args[0].ToBool());  // by reference: the caller sees it
}

TEST(LateBound, UnknownMemberIs438) {
    ObjectPtr o = std::make_shared<FakeControl>();
    EXPECT_EQ(ErrorOf([&] { GetProp(o, "Enabled"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { GetProp(o, "Text "); }), err::MemberNotFound);  // case only
    EXPECT_EQ(ErrorOf([&] { CallMethod(o, "Text"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([] { GetProp(std::make_shared<Object>(), "Anything"); }),
              err::MemberNotFound);
    try {
        SetProp(o, "Visible", Variant::Bool(true));
        FAIL() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Description(), "Object doesn't support this property or method");
        EXPECT_EQ(e.Source(), "FakeControl.Visible");
    }
}

TEST(LateBound, NullReferenceIs91) {
    ObjectPtr none;
    std::vector<Variant> args;
    EXPECT_EQ(ErrorOf([&] { GetProp(none, "Text", {}); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { SetProp(none, "Text", Variant()); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { CallMethod(none, "Refresh"); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { CallMethodRef(none, "Refresh", args); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { GetObject(none, "Child"); }), err::ObjectNotSet);
    // A Variant that holds no live object is "not set" too, whatever it holds.
    for (const Variant& v : {Variant(), Variant::Null(), Variant(ObjectPtr()), Variant("frm")}) {
        EXPECT_EQ(ErrorOf([&] { GetProp(v, "Text"); }), err::ObjectNotSet) << v.Describe();
        EXPECT_EQ(ErrorOf([&] { SetProp(v, "Text", Variant()); }), err::ObjectNotSet);
        EXPECT_EQ(ErrorOf([&] { CallMethod(v, "Refresh"); }), err::ObjectNotSet);
    }
}

TEST(LateBound, GetObjectReadsObjectProperties) {
    auto control = std::make_shared<FakeControl>();
    EXPECT_EQ(GetObject(control, "Child"), nullptr);
    control->child = std::make_shared<FakeControl>();
    EXPECT_EQ(GetObject(control, "Child"), control->child);
    control->text = Variant("not an object");
    EXPECT_EQ(ErrorOf([&] { GetObject(control, "Text"); }), err::TypeMismatch);
}

TEST(LateBound, EarlyBoundCast) {
    ObjectPtr o = std::make_shared<FakeControl>();
    EXPECT_NE(As<FakeControl>(o), nullptr);
    EXPECT_EQ(As<FakeControl>(nullptr), nullptr);
    EXPECT_EQ(ErrorOf([] { As<FakeControl>(std::make_shared<Object>()); }), err::TypeMismatch);
}

TEST(CreateObject, FactoriesByNameWithoutCaseAndScopedOnesRestoreThePreviousOne) {
    EXPECT_EQ(ErrorOf([] { CreateObject("Test.Unknown"); }), err::CannotCreateObject);
    RegisterObjectFactory("Test.Scoped", [] { return std::make_shared<Object>(); });
    {
        ScopedObjectFactory scoped("test.scoped", [] { return std::make_shared<FakeControl>(); });
        EXPECT_NE(As<FakeControl>(CreateObject("TEST.SCOPED")), nullptr);
    }
    EXPECT_EQ(CreateObject("Test.Scoped")->TypeName(), "Object");
    UnregisterObjectFactory("test.SCOPED");
    EXPECT_EQ(ErrorOf([] { CreateObject("Test.Scoped"); }), err::CannotCreateObject);
    {
        ScopedObjectFactory scoped("Test.Fresh", [] { return std::make_shared<Object>(); });
        EXPECT_NE(CreateObject("Test.Fresh"), nullptr);
    }
    EXPECT_EQ(ErrorOf([] { CreateObject("Test.Fresh"); }), err::CannotCreateObject);

    // A factory that gives nothing is as good as none.
    ScopedObjectFactory failing("{0000-NULL}", [] { return ObjectPtr(); });
    EXPECT_EQ(ErrorOf([] { CreateObject("{0000-null}"); }), err::CannotCreateObject);
}

}  // namespace
}  // namespace zq
