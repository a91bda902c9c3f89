// Find: one criterion, skip, direction and start; only visible rows; EOF or BOF on a miss.
#include <gtest/gtest.h>

#include "rs_fixture.h"

namespace zq::sim {
namespace {

// From the current row or a given start (the last row, a bookmark), which counts unless
// skipped; a miss leaves EOF forward, BOF back.
TEST(Find, EitherWayFromTheCurrentRowOrAStartWithSkip) {
    auto rs = MakeLines();
    rs->Find(" DO30_GUID = '{CCCC-3}'", 0, ado::adSearchForward, Variant());
    EXPECT_EQ(CurrentId(*rs), 3);
    rs->Find("DO30_PROGRIGA = 3");
    EXPECT_EQ(CurrentId(*rs), 3);
    rs->Find("DO30_PROGRIGA = 5", 1);
    EXPECT_EQ(CurrentId(*rs), 4);
    rs->Find("DO30_PROGRIGA = 5", 1);
    EXPECT_EQ(CurrentId(*rs), 5);
    rs->Find("DO30_PROGRIGA = 5", 1);
    EXPECT_TRUE(rs->EOF_());
    EXPECT_FALSE(rs->BOF());

    rs->Find("CODE LIKE 'ab*'", 0, ado::adSearchBackward, Variant::Int32(ado::adBookmarkLast));
    EXPECT_EQ(CurrentId(*rs), 3);
    const Variant third = rs->Bookmark();
    rs->MoveFirst();
    rs->Find("CODE LIKE 'ab*'", 1, ado::adSearchBackward, third);
    EXPECT_EQ(CurrentId(*rs), 2);
    rs->Find("DO30_PROGRIGA = 3", 0, ado::adSearchForward, third);
    EXPECT_EQ(CurrentId(*rs), 3);
    rs->Find("QTA > 100", 0, ado::adSearchBackward);
    EXPECT_TRUE(rs->BOF());
    EXPECT_FALSE(rs->EOF_());
}

// Rows the filter hides or that are deleted are not found. Forward from EOF there is
// nothing left; from BOF the search starts at the first row.
TEST(Find, SeesOnlyVisibleRowsFromEitherEnd) {
    auto rs = MakeLines();
    rs->SetFilter(Variant("DO30_PROGPADRE = 0"));  // 1 and 5
    rs->Find("FLAG = 1");
    EXPECT_EQ(CurrentId(*rs), 5);
    rs->MoveFirst();
    rs->Find("ID = 2");
    EXPECT_TRUE(rs->EOF_());
    rs->Find("ID = 1");
    EXPECT_TRUE(rs->EOF_());
    rs->SetFilter(Variant("ID = 99"));
    rs->Find("ID = 1");
    EXPECT_TRUE(rs->EOF_());
    EXPECT_TRUE(rs->BOF());

    rs->SetFilter(Variant::Int32(0));
    rs->MoveNext();
    rs->Delete();
    rs->MoveFirst();
    rs->MovePrevious();
    rs->Find("ID = 1");
    EXPECT_EQ(CurrentId(*rs), 1);
    rs->Find("FLAG = 1");  // not the deleted row 2
    EXPECT_EQ(CurrentId(*rs), 5);
}

TEST(Find, TakesOneCriterionOfTheFilterGrammar) {
    auto rs = MakeLines();
    EXPECT_EQ(ErrorOf([&] { rs->Find("ID = 1 AND FLAG = 0"); }), 3001);
    EXPECT_EQ(ErrorOf([&] { rs->Find("ID = 1 OR ID = 2"); }), 3001);
    EXPECT_EQ(ErrorOf([&] { rs->Find("MISSING = 1"); }), 3265);
    EXPECT_EQ(ErrorOf([&] { rs->Find("ID = 1", 0, 0); }), 3001);
    EXPECT_EQ(ErrorOf([&] { rs->Find("ID = 1", 0, 1, Variant(77.0)); }), 3001);
    EXPECT_EQ(CurrentId(*rs), 1);
    rs->Find("DATA = #2/1/2024#");
    EXPECT_EQ(CurrentId(*rs), 2);
    rs->Find("CODE = #X'Y#");
    EXPECT_EQ(CurrentId(*rs), 4);
}

}  // namespace
}  // namespace zq::sim
