// Filter criteria: the grammar, the comparisons, and what a filter does to the cursor.
#include <gtest/gtest.h>

#include "rs_fixture.h"

namespace zq::sim {
namespace {

struct FilterCase {
    const char* criteria;
    std::vector<int> ids;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << '"' << c.criteria << '"';
}

class FilterGrammarTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterGrammarTest, ShowsExactlyTheMatchingRows) {
    const auto& c = GetParam();
    auto rs = MakeLines();
    rs->SetFilter(Variant(c.criteria));
    EXPECT_EQ(VisibleIds(*rs), c.ids) << c.criteria;
    EXPECT_EQ(rs->RecordCount(), static_cast<std::int32_t>(c.ids.size())) << c.criteria;
}

INSTANTIATE_TEST_SUITE_P(PluginTexts, FilterGrammarTest,
                         ::testing::Values(FilterCase{" DO30_PROGRIGA = 5", {4, 5}},
                                           FilterCase{"DO30_PROGRIGA= 5", {4, 5}},
                                           FilterCase{"DO30_PROGRIGA = 3", {3}},
                                           FilterCase{"DO30_PROGPADRE = 9999", {2, 3}},
                                           FilterCase{" DO30_PROGPADRE = 0", {1, 5}},
                                           FilterCase{"DO30_GUID = {BBBB-2}", {2}},
                                           FilterCase{"DO30_GUID ='{DDDD-4}'", {4}},
                                           FilterCase{" DO30_GUID = '{EEEE-5}'", {5}},
                                           FilterCase{"DO30_PROGRIGA = 42", {}}));

INSTANTIATE_TEST_SUITE_P(NamesAndBlanks, FilterGrammarTest,
                         ::testing::Values(FilterCase{"do30_progriga=5", {4, 5}},
                                           FilterCase{"  CODE   =   'Abd'  ", {3}},
                                           FilterCase{"[CODE] = 'Abd'", {3}},
                                           FilterCase{"CODE='X''Y'", {4}},
                                           FilterCase{"NOTE = 'O''Malley'", {1}},
                                           FilterCase{"DO30_PROGRIGA\t=\r\n1", {1}}));

// Texts compare without regard to case: the client cursor engine matches 'abc' to "ABC",
// and a GUID in upper case to the same GUID stored in lower case.
INSTANTIATE_TEST_SUITE_P(
    Texts, FilterGrammarTest,
    ::testing::Values(FilterCase{"CODE = 'abc'", {1, 2}}, FilterCase{"CODE = 'ABC'", {1, 2}},
                      FilterCase{"DO30_GUID = {CCCC-3}", {3}},
                      FilterCase{"CODE <> 'abc'", {3, 4, 5}}, FilterCase{"CODE < 'abd'", {1, 2, 5}},
                      FilterCase{"CODE >= 'ABD'", {3, 4}}, FilterCase{"CODE = 5", {5}},
                      FilterCase{"NOTE = ''", {3}}));

INSTANTIATE_TEST_SUITE_P(Like, FilterGrammarTest,
                         ::testing::Values(FilterCase{"CODE LIKE 'ab*'", {1, 2, 3}},
                                           FilterCase{"CODE like 'AB%'", {1, 2, 3}},
                                           FilterCase{"NOTE LIKE '*mal*'", {1}},
                                           FilterCase{"CODE LIKE 'abc'", {1, 2}},
                                           FilterCase{"NOTE LIKE '*'", {1, 3, 4, 5}},
                                           FilterCase{"DO30_GUID LIKE '{c*'", {3}}));

INSTANTIATE_TEST_SUITE_P(
    NumbersAndDates, FilterGrammarTest,
    ::testing::Values(FilterCase{"QTA > 2.5", {1, 5}}, FilterCase{"QTA >= 2.5", {1, 2, 5}},
                      FilterCase{"QTA < 0", {4}}, FilterCase{"QTA <= 0", {3, 4}},
                      FilterCase{"QTA >= 1E1", {1}}, FilterCase{"QTA = $10.00", {1}},
                      FilterCase{"QTA = -1", {4}}, FilterCase{"QTA = '2.5'", {2}},
                      FilterCase{"DO30_PROGRIGA = '5'", {4, 5}},
                      FilterCase{"DATA < #1/1/2024#", {4}},
                      FilterCase{"DATA = #2024-01-15#", {1, 5}},
                      FilterCase{"DATA >= #01/15/2024#", {1, 2, 5}},
                      FilterCase{"DATA > #12/31/2023 23:59:59#", {1, 2, 5}}));

// Null never equals anything, and is never unequal either; "= NULL" and "<> NULL" are
// the way to ask for it.
INSTANTIATE_TEST_SUITE_P(
    Nulls, FilterGrammarTest,
    ::testing::Values(FilterCase{"NOTE = NULL", {2}}, FilterCase{"NOTE <> null", {1, 3, 4, 5}},
                      FilterCase{"NOTE <> 'note'", {1, 3, 5}}, FilterCase{"FLAG <> 0", {2, 5}},
                      FilterCase{"FLAG = 0", {1, 3}}, FilterCase{"DATA = NULL", {3}}));

INSTANTIATE_TEST_SUITE_P(
    AndOr, FilterGrammarTest,
    ::testing::Values(
        FilterCase{"DO30_PROGRIGA = 1 OR DO30_PROGRIGA = 3", {1, 3}},
        FilterCase{"DO30_PROGRIGA = 5 AND DO30_PROGPADRE = 7", {4}},
        FilterCase{"(DO30_PROGRIGA = 5 AND DO30_PROGPADRE = 0) OR (CODE = 'ABC' AND QTA > 5)",
                   {1, 5}},
        FilterCase{"((DO30_PROGRIGA = 1)) or (QTA < 0)", {1, 4}},
        FilterCase{"(CODE = 'abc' AND QTA > 5) AND FLAG = 0", {1}},
        // Without parentheses AND binds first: 1, or (2 and QTA > 100).
        FilterCase{"DO30_PROGRIGA = 1 OR DO30_PROGRIGA = 2 AND QTA > 100", {1}},
        FilterCase{"DO30_PROGRIGA = 2 AND QTA > 100 OR DO30_PROGRIGA = 1", {1}}));

struct BadFilter {
    const char* criteria;
    std::int32_t error;
};

void PrintTo(const BadFilter& c, std::ostream* os) {
    *os << '"' << c.criteria << '"';
}

class FilterErrorsTest : public ::testing::TestWithParam<BadFilter> {};

TEST_P(FilterErrorsTest, RaiseAndKeepThePreviousFilter) {
    const auto& c = GetParam();
    auto rs = MakeLines();
    rs->SetFilter(Variant("DO30_PROGPADRE = 9999"));
    rs->MoveNext();
    EXPECT_EQ(ErrorOf([&] { rs->SetFilter(Variant(c.criteria)); }), c.error) << c.criteria;
    EXPECT_EQ(rs->Filter().ToString(), "DO30_PROGPADRE = 9999");
    EXPECT_EQ(CurrentId(*rs), 3);
    EXPECT_EQ(rs->RecordCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    All, FilterErrorsTest,
    ::testing::Values(
        // ADO's rule: an OR group may not be ANDed to another clause.
        BadFilter{"(DO30_PROGRIGA = 1 OR DO30_PROGRIGA = 2) AND QTA > 0", 3001},
        BadFilter{"QTA > 0 AND (DO30_PROGRIGA = 1 OR DO30_PROGRIGA = 2)", 3001},
        BadFilter{"NOPE = 1", 3265}, BadFilter{"QTA > 0 OR nope = 1", 3265},
        BadFilter{"CODE = 'abc", 3001}, BadFilter{"CODE 'abc'", 3001},
        BadFilter{"CODE = abc", 3001}, BadFilter{"CODE LIKE '*bc'", 3001},
        BadFilter{"CODE LIKE 'a*c'", 3001}, BadFilter{"QTA > NULL", 3001},
        BadFilter{"(CODE = 'a'", 3001}, BadFilter{"CODE = 'a')", 3001},
        BadFilter{"CODE = 'a' AND", 3001}, BadFilter{"CODE = 'a' XOR QTA = 1", 3001},
        BadFilter{"DO30_GUID = {AB", 3001}, BadFilter{"= 5", 3001}, BadFilter{"CODE =", 3001},
        BadFilter{"DATA = #13/45/2024", 3001}));

// A filter that matches nothing leaves BOF and EOF (the grammar cases check it).
TEST(Filter, MovesToTheFirstVisibleRow) {
    auto rs = MakeLines();
    rs->MoveLast();
    rs->SetFilter(Variant(" DO30_PROGRIGA = 5"));
    EXPECT_FALSE(rs->BOF());
    EXPECT_FALSE(rs->EOF_());
    EXPECT_EQ(CurrentId(*rs), 4);
}

// The plug-in saves a recordset's filter, lifts it, filters again and puts the saved one back.
TEST(Filter, ZeroOrEmptyTextRemovesItAndASavedFilterCanBePutBack) {
    for (const Variant& none : {Variant::Int32(0), Variant(""), Variant::Int16(0), Variant("0")}) {
        auto rs = MakeLines();
        rs->SetFilter(Variant("DO30_PROGPADRE = 9999"));
        const Variant saved = rs->Filter();
        EXPECT_EQ(saved.ToString(), "DO30_PROGPADRE = 9999");
        rs->MoveLast();
        rs->SetFilter(none);
        EXPECT_EQ(rs->RecordCount(), 5) << none.Describe();
        EXPECT_EQ(CurrentId(*rs), 1) << none.Describe();
        EXPECT_TRUE(rs->Filter().SameAs(Variant::Int32(0))) << rs->Filter().Describe();
        rs->SetFilter(Variant("DO30_PROGRIGA = 1"));
        rs->SetFilter(saved);
        EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{2, 3}));
    }
}

}  // namespace
}  // namespace zq::sim
