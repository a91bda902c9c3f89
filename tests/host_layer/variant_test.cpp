// The host's value type: conversions and comparisons as the host language does them.
#include "host/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/error.h"
#include "support/error_of.h"

namespace zq {
namespace {

using test::ErrorOf;

struct TextCase {
    Variant value;
    std::string text;
};

TEST(VariantToString, WritesValuesAsTheHostDoes) {
    const TextCase cases[] = {
        {Variant(), ""},
        {Variant::Bool(true), "True"},
        {Variant::Bool(false), "False"},
        {Variant::Int16(-32768), "-32768"},
        {Variant::Int32(2147483647), "2147483647"},
        {Variant(0.0), "0"},
        {Variant(-0.0), "0"},
        {Variant(2.5), "2.5"},
        {Variant(0.1 + 0.2), "0.3"},
        {Variant(1.0 / 3.0), "0.333333333333333"},
        {Variant(123456789012345.0), "123456789012345"},
        {Variant(999999999999999.9), "1E+15"},  // 15 digits round up into exponent form
        {Variant(1e15), "1E+15"},
        {Variant(1e20), "1E+20"},
        {Variant(-1.5e300), "-1.5E+300"},
        {Variant(0.00001), "0.00001"},
        {Variant(0.000001), "1E-06"},
        {Variant(1.25e-7), "1.25E-07"},
        {Variant(" A "), " A "},
        {Variant::Date(46361.0), "2026-12-05"},
        {Variant::Date(46361.5), "2026-12-05 12:00:00"},
        {Variant::Date(0.75), "18:00:00"},
        {Variant::Date(-1.25), "1899-12-29 06:00:00"},
        {Variant::Date(2.9999999999), "1900-01-02"},  // rounds to the next midnight
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.value.ToString(), c.text) << c.value.Describe();
    }
}

TEST(VariantToString, NullObjectsAndArraysHaveNoText) {
    EXPECT_EQ(ErrorOf([] { Variant::Null().ToString(); }), err::InvalidUseOfNull);
    EXPECT_EQ(ErrorOf([] { Variant(ObjectPtr()).ToString(); }), err::TypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant(std::make_shared<VarArray>(0, 1, 0, 1)).ToString(); }),
              err::TypeMismatch);
}

struct NumberCase {
    std::string text;
    double value;
};

TEST(VariantToDouble, ReadsNumbersFromText) {
    const NumberCase cases[] = {
        {"12", 12},
        {" 12.5 ", 12.5},
        {"\t-3\t", -3},
        {"+4", 4},
        {".5", 0.5},
        {"5.", 5},
        {"1E+16", 1e16},
        {"1e-06", 1e-6},
        {"-0", 0},
        // The host's Italian locale: the comma is the decimal separator, and so is a point.
        {"1,5", 1.5},
        {" -0,25 ", -0.25},
        {",5", 0.5},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(Variant(c.text).ToDouble(), c.value) << c.text;
    }
}

TEST(VariantToDouble, RejectsWhatIsNotANumber) {
    for (const char* text : {"abc", "", "   ", "1,5,0", "1.2.3", "1,2.3", "1.000,5", "12a", "E5",
                             "1E", "inf", "nan", "- 1", "True"}) {
        EXPECT_EQ(ErrorOf([&] { Variant(text).ToDouble(); }), err::TypeMismatch) << text;
        EXPECT_FALSE(Variant(text).IsNumeric()) << text;
    }
    EXPECT_EQ(ErrorOf([] { Variant("1E400").ToDouble(); }), err::Overflow);
}

TEST(VariantToDouble, OtherKinds) {
    EXPECT_EQ(Variant().ToDouble(), 0);
    EXPECT_EQ(Variant::Bool(true).ToDouble(), -1);
    EXPECT_EQ(Variant::Date(1.5).ToDouble(), 1.5);
    EXPECT_EQ(ErrorOf([] { Variant::Null().ToDouble(); }), err::InvalidUseOfNull);
    EXPECT_EQ(ErrorOf([] { Variant(ObjectPtr()).ToDouble(); }), err::TypeMismatch);
}

struct LongCase {
    Variant value;
    std::int32_t expected;
};

TEST(VariantToLong, RoundsHalfToEven) {
    const LongCase cases[] = {
        {Variant(2.5), 2},
        {Variant(3.5), 4},
        {Variant(-2.5), -2},
        {Variant(-3.5), -4},
        {Variant(2.4999), 2},
        {Variant(2.5001), 3},
        {Variant(-0.4), 0},
        {Variant("2.5"), 2},
        {Variant(" 7 "), 7},
        {Variant::Bool(true), -1},
        {Variant(), 0},
        {Variant(2147483647.4), 2147483647},
        {Variant(-2147483648.0), -2147483647 - 1},
    };
    for (const LongCase& c : cases) {
        EXPECT_EQ(c.value.ToLong(), c.expected) << c.value.Describe();
    }
}

TEST(VariantToLong, OverflowAndNull) {
    for (double d : {2147483647.5, -2147483648.6, 1e20, std::numeric_limits<double>::infinity(),
                     std::nan("")}) {
        EXPECT_EQ(ErrorOf([&] { Variant(d).ToLong(); }), err::Overflow) << d;
    }
    EXPECT_EQ(ErrorOf([] { Variant("1E+16").ToLong(); }), err::Overflow);
    EXPECT_EQ(ErrorOf([] { Variant::Null().ToLong(); }), err::InvalidUseOfNull);
    EXPECT_EQ(ErrorOf([] { Variant("x").ToLong(); }), err::TypeMismatch);
}

TEST(VariantToInt, SixteenBitRange) {
    EXPECT_EQ(Variant(-32768.5).ToInt(), -32768);  // half to even stays in range
    EXPECT_EQ(ErrorOf([] { Variant(32767.5).ToInt(); }), err::Overflow);
    EXPECT_EQ(ErrorOf([] { Variant::Int32(40000).ToInt(); }), err::Overflow);
}

TEST(VariantToBool, TextsAndNumbers) {
    EXPECT_TRUE(Variant(" tRUE ").ToBool());
    EXPECT_FALSE(Variant("FALSE").ToBool());
    EXPECT_TRUE(Variant("-1").ToBool());
    EXPECT_TRUE(Variant("0.5").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_FALSE(Variant().ToBool());
    EXPECT_TRUE(Variant::Int16(2).ToBool());
    EXPECT_FALSE(Variant(0.0).ToBool());
    EXPECT_EQ(ErrorOf([] { Variant("yes").ToBool(); }), err::TypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant::Null().ToBool(); }), err::InvalidUseOfNull);
}

TEST(VariantKinds, IdentityAndIsNumeric) {
    EXPECT_FALSE(Variant::Int16(1).SameAs(Variant::Int32(1)));  // same value, other kind
    EXPECT_TRUE(Variant::Null().SameAs(Variant::Null()));

    EXPECT_TRUE(Variant().IsNumeric());
    EXPECT_TRUE(Variant::Bool(false).IsNumeric());
    EXPECT_TRUE(Variant(" 1.5 ").IsNumeric());
    EXPECT_FALSE(Variant::Null().IsNumeric());
    EXPECT_FALSE(Variant::Date(1).IsNumeric());

    EXPECT_EQ(ErrorOf([] { Variant::Date(3e6); }), err::Overflow);
    EXPECT_EQ(ErrorOf([] { Variant::Date(std::nan("")); }), err::Overflow);
}

TEST(VariantToObject, OnlyObjectsEmptyAndNull) {
    EXPECT_EQ(Variant().ToObject(), nullptr);
    EXPECT_EQ(Variant::Null().ToObject(), nullptr);
    EXPECT_EQ(ErrorOf([] { Variant("x").ToObject(); }), err::TypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant(1.0).ToArray(); }), err::TypeMismatch);
}

struct CompareCase {
    Variant a;
    Variant b;
    CompareResult expected;
};

TEST(VariantCompare, FollowsTheHostOperators) {
    using R = CompareResult;
    const CompareCase cases[] = {
        {Variant::Int32(1), Variant(1.0), R::Equal},
        {Variant::Int16(2), Variant(1.5), R::Greater},
        {Variant::Bool(true), Variant::Int32(-1), R::Equal},
        {Variant::Bool(false), Variant(), R::Equal},
        {Variant(), Variant::Int32(0), R::Equal},
        {Variant(), Variant(""), R::Equal},
        {Variant(""), Variant(), R::Equal},
        {Variant("a"), Variant(), R::Greater},
        {Variant("a"), Variant("A"), R::Greater},  // binary, case-sensitive
        {Variant("abc"), Variant("abd"), R::Less},
        {Variant("10"), Variant("9"), R::Less},          // two texts compare as texts
        {Variant::Int32(10), Variant("9"), R::Greater},  // a numeric text compares numerically
        {Variant(" 5 "), Variant::Int16(5), R::Equal},
        {Variant::Int32(10), Variant("abc"), R::Less},  // otherwise the number is less
        {Variant("abc"), Variant::Int32(10), R::Greater},
        {Variant::Null(), Variant::Int32(1), R::Null},
        {Variant(""), Variant::Null(), R::Null},
        {Variant::Null(), Variant::Null(), R::Null},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(Compare(c.a, c.b), c.expected) << c.a.Describe() << " vs " << c.b.Describe();
        bool equal = c.expected == R::Equal;
        bool unequal = c.expected == R::Less || c.expected == R::Greater;
        EXPECT_EQ(VarEq(c.a, c.b), equal) << c.a.Describe() << " = " << c.b.Describe();
        EXPECT_EQ(VarNe(c.a, c.b), unequal) << c.a.Describe() << " <> " << c.b.Describe();
    }
}

TEST(VariantCompare, ObjectsCannotBeCompared) {
    EXPECT_EQ(ErrorOf([] { Compare(Variant(ObjectPtr()), Variant()); }), err::TypeMismatch);
    EXPECT_EQ(
        ErrorOf([] { VarEq(Variant::Int32(1), Variant(std::make_shared<VarArray>(0, 0, 0, 0))); }),
        err::TypeMismatch);
}

TEST(VarArray, BoundsAndSubscripts) {
    VarArray a(0, 1, 1, 3);  // 2 rows, 3 columns, as the look-up column definitions
    EXPECT_EQ(a.UBound(1), 1);
    EXPECT_EQ(a.LBound(2), 1);
    a.At(0, 1) = Variant("Codice");
    a.At(1, 3) = Variant::Int32(7);
    EXPECT_EQ(a.At(0, 1).ToString(), "Codice");
    EXPECT_EQ(a.At(1, 3).ToLong(), 7);
    EXPECT_TRUE(a.At(1, 1).IsEmpty());
    EXPECT_TRUE(a.At(0, 3).IsEmpty());  // no overlap between rows
    for (auto [i, j] : {std::pair{-1, 1}, {2, 1}, {0, 0}, {0, 4}}) {
        EXPECT_EQ(ErrorOf([&] { a.At(i, j); }), err::SubscriptOutOfRange) << i << "," << j;
    }
    EXPECT_EQ(ErrorOf([&] { a.LBound(3); }), err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([] { VarArray(1, 0, 0, 0); }), err::SubscriptOutOfRange);
}

}  // namespace
}  // namespace zq
