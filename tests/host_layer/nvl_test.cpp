// NvlVar: the default for "nothing there", and only for that.
#include "host/nvl.h"

#include <gtest/gtest.h>

#include "host/object.h"

namespace zq {
namespace {

struct NvlCase {
    Variant value;
    bool givesDefault;
};

TEST(NvlVar, DefaultOnlyForNothingThere) {
    const Variant fallback = Variant::Int32(42);
    const NvlCase cases[] = {
        {Variant::Null(), true},    {Variant(), true},
        {Variant(""), true},        {Variant("   "), true},
        {Variant(" A "), false},    {Variant("\t"), false},  // only spaces are blanks
        {Variant::Int32(0), false}, {Variant(0.0), false},
        {Variant::Int16(0), false}, {Variant::Bool(false), false},
        {Variant::Date(0), false},  {Variant("0"), false},
    };
    for (const NvlCase& c : cases) {
        Variant result = NvlVar(c.value, fallback);
        const Variant& expected = c.givesDefault ? fallback : c.value;
        // Unchanged means same kind and value: a number stays a number, " A " keeps its spaces.
        EXPECT_TRUE(result.SameAs(expected)) << c.value.Describe() << " gave " << result.Describe();
    }
}

TEST(NvlVar, ValuesWithoutTextGiveEmptyAndNeverRaise) {
    ObjectPtr object = std::make_shared<Object>();
    EXPECT_TRUE(NvlVar(Variant(object), Variant::Int32(1)).IsEmpty());
    EXPECT_TRUE(NvlVar(Variant(ObjectPtr()), Variant::Int32(1)).IsEmpty());
    EXPECT_TRUE(NvlVar(Variant(std::make_shared<VarArray>(0, 0, 0, 0)), Variant("x")).IsEmpty());
}

}  // namespace
}  // namespace zq
