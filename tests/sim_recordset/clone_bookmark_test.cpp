// Clones share rows and changes but not cursors or filters; bookmarks work across them.
#include <gtest/gtest.h>

#include "rs_fixture.h"

namespace zq::sim {
namespace {

TEST(Clone, StartsUnfilteredOnTheFirstRowWithItsOwnCursorAndFilter) {
    auto rs = MakeLines();
    rs->SetFilter(Variant("DO30_PROGRIGA = 5"));
    rs->MoveLast();
    auto clone = rs->Clone(ado::adLockUnspecified);
    EXPECT_EQ(CurrentId(*clone), 1);
    EXPECT_EQ(clone->RecordCount(), 5);
    EXPECT_TRUE(clone->Filter().SameAs(Variant::Int32(0)));
    clone->MoveNext();
    clone->MoveNext();
    EXPECT_EQ(CurrentId(*clone), 3);
    EXPECT_EQ(CurrentId(*rs), 5);

    clone->SetFilter(Variant("DO30_PROGPADRE = 9999"));
    EXPECT_EQ(VisibleIds(*clone), (std::vector<int>{2, 3}));
    EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{4, 5}));
    EXPECT_EQ(rs->Filter().ToString(), "DO30_PROGRIGA = 5");
}

// ADO keeps a row the recordset itself changed or added on view until its filter is set
// again; a filtered clone shows a matching added row only once its own filter is set again.
TEST(Clone, ChangedAndAddedRowsFollowTheFiltersOnlyOnceTheyAreSetAgain) {
    auto rs = MakeLines();
    rs->SetFilter(Variant("DO30_PROGPADRE = 9999"));
    auto open = rs->Clone();
    auto filtered = rs->Clone();
    filtered->SetFilter(Variant(" DO30_PROGRIGA = 5"));
    rs->Set("DO30_PROGPADRE", Variant::Int32(1));  // row 2 no longer matches
    rs->Update();
    rs->AddNew();
    rs->Set("ID", Variant::Int32(6));
    rs->Set("DO30_PROGRIGA", Variant::Int32(5));
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{2, 3, 6}));
    EXPECT_EQ(open->RecordCount(), 6);
    EXPECT_EQ(VisibleIds(*open), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(VisibleIds(*filtered), (std::vector<int>{4, 5}));
    rs->SetFilter(rs->Filter());
    filtered->SetFilter(filtered->Filter());
    EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{3}));
    EXPECT_EQ(VisibleIds(*filtered), (std::vector<int>{4, 5, 6}));
}

// A deleted row leaves every view at once, but the views standing on it keep it as their
// current row (no values: 3021) until the cursor moves on, either way.
TEST(Delete, RowLeavesEveryViewAndStaysCurrentUntilTheCursorMoves) {
    auto rs = MakeLines();
    auto filtered = rs->Clone();
    filtered->SetFilter(Variant("DO30_PROGRIGA = 5"));
    auto other = rs->Clone();
    for (auto* view : {rs.get(), other.get()}) view->SetBookmark(Variant(4.0));
    rs->Delete(ado::adAffectCurrent);
    for (auto* view : {rs.get(), other.get()}) {
        EXPECT_FALSE(view->EOF_());
        EXPECT_EQ(view->EditMode(), ado::adEditDelete);
        EXPECT_EQ(ErrorOf([&] { view->Get("ID"); }), 3021);
    }
    EXPECT_EQ(ErrorOf([&] { rs->Set("ID", Variant::Int32(1)); }), 3021);
    EXPECT_EQ(ErrorOf([&] { rs->Delete(); }), 3021);
    rs->Update();  // the plug-in calls Update after Delete: nothing to do
    EXPECT_EQ(filtered->RecordCount(), 1);
    EXPECT_EQ(VisibleIds(*filtered), (std::vector<int>{5}));
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->MoveNext();
    EXPECT_EQ(CurrentId(*rs), 5);
    other->MovePrevious();
    EXPECT_EQ(CurrentId(*other), 3);
}

// A bookmark reaches its row from any clone, and under any filter that keeps the row on
// view. The plug-in reaches a row so: filter, take the bookmark, lift the filter, go.
TEST(Bookmark, ReachesItsRowFromAnyCloneAndAcrossFilters) {
    auto rs = MakeLines();
    rs->MoveNext();
    rs->MoveNext();
    const Variant bm = rs->Bookmark();
    EXPECT_EQ(bm.Type(), VarType::Double);
    auto clone = rs->Clone();
    clone->SetBookmark(bm);
    EXPECT_EQ(CurrentId(*clone), 3);
    clone->MoveNext();
    EXPECT_EQ(CurrentId(*clone), 4);
    rs->SetBookmark(clone->Bookmark());
    EXPECT_EQ(CurrentId(*rs), 4);
    clone->MoveNext();
    rs->SetFilter(Variant("DO30_PROGRIGA = 5"));
    rs->SetBookmark(clone->Bookmark());
    EXPECT_EQ(CurrentId(*rs), 5);

    rs->SetFilter(Variant("DO30_PROGRIGA = 2"));
    const Variant two = rs->Bookmark();
    rs->SetFilter(Variant::Int32(0));
    rs->SetBookmark(two);
    EXPECT_EQ(CurrentId(*rs), 2);
}

// Any number naming a row is a bookmark; anything else is 3001, and so is a row the filter
// hides (not a bookmark of this view); a deleted row is 3021 (no current record there), as
// is asking for a bookmark at BOF or EOF. A refused bookmark leaves the cursor alone.
TEST(Bookmark, WhatIsNoBookmarkOfTheView) {
    auto rs = MakeLines();
    for (const Variant& bad : {Variant(), Variant::Null(), Variant::Int16(0), Variant(0.0),
                               Variant(99.0), Variant(1.5), Variant("1"), Variant(-1.0)}) {
        EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(bad); }), 3001) << bad.Describe();
    }
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(Variant::Int32(2)); }), 0);
    EXPECT_EQ(CurrentId(*rs), 2);
    const Variant second = rs->Bookmark();
    rs->MoveNext();
    const Variant third = rs->Bookmark();
    rs->Delete();
    rs->SetFilter(Variant("DO30_PROGRIGA = 5"));
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(second); }), 3001);
    EXPECT_EQ(CurrentId(*rs), 4);
    rs->SetFilter(Variant::Int32(0));
    rs->MoveLast();
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(third); }), 3021);
    EXPECT_EQ(CurrentId(*rs), 5);
    rs->MoveNext();
    EXPECT_EQ(ErrorOf([&] { rs->Bookmark(); }), 3021);
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_EQ(ErrorOf([&] { rs->Bookmark(); }), 3021);
}

}  // namespace
}  // namespace zq::sim
