// Clones share rows and changes but not cursors or filters; bookmarks work across them.
#include <gtest/gtest.h>

#include "rs_fixture.h"

namespace zq::sim::testing {
namespace {

TEST(Clone, StandsOnTheFirstRowWithItsOwnCursor) {
    auto rs = MakeLines();
    rs->MoveLast();
    auto clone = rs->Clone();
    EXPECT_EQ(CurrentId(*clone), 1);
    clone->MoveNext();
    clone->MoveNext();
    EXPECT_EQ(CurrentId(*clone), 3);
    EXPECT_EQ(CurrentId(*rs), 5);
}

TEST(Clone, HasNoFilterAndKeepsItsOwn) {
    auto rs = MakeLines();
    rs->SetFilter(Variant("DO30_PROGRIGA = 5"));
    auto clone = rs->Clone(ado::adLockUnspecified);
    EXPECT_EQ(clone->RecordCount(), 5);
    EXPECT_TRUE(clone->Filter().SameAs(Variant::Int32(0)));

    clone->SetFilter(Variant("DO30_PROGPADRE = 9999"));
    EXPECT_EQ(VisibleIds(*clone), (std::vector<int>{2, 3}));
    EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{4, 5}));
    EXPECT_EQ(rs->Filter().ToString(), "DO30_PROGRIGA = 5");
}

TEST(Clone, SeesUpdatesButNotAnEditInProgress) {
    auto rs = MakeLines();
    auto clone = rs->Clone();
    rs->Set("CODE", Variant("new"));
    EXPECT_EQ(clone->Get("CODE").ToString(), "ABC");
    rs->Update();
    EXPECT_EQ(clone->Get("CODE").ToString(), "new");
    // Still pending for the batch in both: cancelling from the clone undoes it for both.
    clone->CancelBatch(ado::adAffectAll);
    EXPECT_EQ(rs->Get("CODE").ToString(), "ABC");
}

TEST(Clone, AddedRowsReachUnfilteredClonesAndFilteredOnesOnlyWhenRefiltered) {
    auto rs = MakeLines();
    auto open = rs->Clone();
    auto filtered = rs->Clone();
    filtered->SetFilter(Variant(" DO30_PROGRIGA = 5"));
    rs->AddNew();
    rs->Set("ID", Variant::Int32(6));
    rs->Set("DO30_PROGRIGA", Variant::Int32(5));
    rs->Update();
    EXPECT_EQ(open->RecordCount(), 6);
    EXPECT_EQ(VisibleIds(*open), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(VisibleIds(*filtered), (std::vector<int>{4, 5}));
    filtered->SetFilter(filtered->Filter());
    EXPECT_EQ(VisibleIds(*filtered), (std::vector<int>{4, 5, 6}));
}

TEST(Clone, DeletedRowLeavesEveryView) {
    auto rs = MakeLines();
    auto filtered = rs->Clone();
    filtered->SetFilter(Variant("DO30_PROGRIGA = 5"));
    auto other = rs->Clone();
    other->MoveLast();  // stands on 5
    rs->MoveLast();
    rs->Delete(ado::adAffectCurrent);
    EXPECT_EQ(filtered->RecordCount(), 1);
    EXPECT_EQ(VisibleIds(*filtered), (std::vector<int>{4}));
    EXPECT_EQ(rs->Clone()->RecordCount(), 4);
    // A clone standing on the row finds it deleted, and moves on from it.
    EXPECT_EQ(ErrorOf([&] { other->Get("ID"); }), 3021);
    EXPECT_EQ(other->EditMode(), ado::adEditDelete);
    other->MovePrevious();
    EXPECT_EQ(CurrentId(*other), 4);
}

TEST(Bookmark, MovesAnyCloneToTheSameRow) {
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
}

TEST(Bookmark, OfARowThatStaysVisibleSurvivesAFilter) {
    auto rs = MakeLines();
    rs->MoveLast();
    const Variant bm = rs->Bookmark();
    rs->SetFilter(Variant("DO30_PROGRIGA = 5"));
    rs->SetBookmark(bm);
    EXPECT_EQ(CurrentId(*rs), 5);
    // The plug-in's way to reach a row: filter, take the bookmark, lift the filter, go.
    rs->SetFilter(Variant("DO30_PROGRIGA = 2"));
    const Variant two = rs->Bookmark();
    rs->SetFilter(Variant::Int32(0));
    rs->SetBookmark(two);
    EXPECT_EQ(CurrentId(*rs), 2);
}

// Pinned choices: a row the filter hides is 3001 (not a bookmark of this view), a deleted
// row 3021 (no current record there); the cursor stays where it was.
TEST(Bookmark, OfAHiddenRowIs3001AndOfADeletedRowIs3021) {
    auto rs = MakeLines();
    rs->MoveNext();
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
}

TEST(Bookmark, ValuesThatAreNoBookmarkAre3001) {
    auto rs = MakeLines();
    for (const Variant& bad : {Variant(), Variant::Null(), Variant::Int16(0), Variant(0.0),
                               Variant(99.0), Variant(1.5), Variant("1"), Variant(-1.0)}) {
        EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(bad); }), 3001) << bad.Describe();
    }
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(Variant::Int32(2)); }), 0);
    EXPECT_EQ(CurrentId(*rs), 2);
}

TEST(Bookmark, AtBofOrEofIs3021) {
    auto rs = MakeLines();
    rs->MovePrevious();
    EXPECT_EQ(ErrorOf([&] { rs->Bookmark(); }), 3021);
    rs->MoveLast();
    rs->MoveNext();
    EXPECT_EQ(ErrorOf([&] { rs->Bookmark(); }), 3021);
}

TEST(Bookmark, OfAnAddedRowExistsBeforeUpdate) {
    auto rs = MakeLines();
    rs->AddNew();
    const Variant bm = rs->Bookmark();
    rs->Set("ID", Variant::Int32(6));
    rs->MoveFirst();  // commits the addition
    rs->SetBookmark(bm);
    EXPECT_EQ(CurrentId(*rs), 6);
}

}  // namespace
}  // namespace zq::sim::testing
