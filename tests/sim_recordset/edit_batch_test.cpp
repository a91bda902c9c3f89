// Editing (field writes, Update, AddNew, Delete) and the batch (UpdateBatch, CancelBatch).
#include <gtest/gtest.h>

#include "rs_fixture.h"

namespace zq::sim {
namespace {

using Log = std::vector<std::string>;

struct Batch {
    std::shared_ptr<RecordingWriter> writer = std::make_shared<RecordingWriter>();
    ado::RecordsetPtr rs = MakeLines(writer);

    void Go(const Variant& bookmark) { rs->SetBookmark(bookmark); }
    void Edit(double id, const char* field, const Variant& v) {
        Go(Variant(id));
        rs->Set(field, v);
        rs->Update();
    }
    Log Take() { return std::exchange(writer->log, {}); }
};

// CancelUpdate drops the field writes of an edit, and a row being added, whose previous
// row becomes current again.
TEST(Edit, FieldWritesStayInTheEditUntilUpdateAndCancelUpdateDropsThem) {
    Batch b;
    b.rs->Update();  // no edit: nothing to do
    b.rs->Set("QTA", Variant(4.0));
    EXPECT_EQ(b.rs->EditMode(), ado::adEditInProgress);
    EXPECT_EQ(b.rs->Get("QTA").ToDouble(), 4.0);
    b.rs->CancelUpdate();
    EXPECT_EQ(b.rs->EditMode(), ado::adEditNone);
    EXPECT_EQ(b.rs->Get("QTA").ToDouble(), 10.0);
    b.rs->MoveNext();
    b.rs->AddNew();
    b.rs->Set("ID", Variant::Int32(6));
    b.rs->CancelUpdate();
    EXPECT_EQ(CurrentId(*b.rs), 2);
    EXPECT_EQ(b.rs->RecordCount(), 5);
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(), Log{});
}

// A clone sees an edit once it is updated, and moving, going to a bookmark, setting a
// filter and Find all update the pending edit first. The batch is shared: cancelling it
// from the clone undoes the changes for both.
TEST(Edit, EveryCursorMoveUpdatesThePendingEditFirst) {
    Batch b;
    auto clone = b.rs->Clone();
    b.rs->Set("CODE", Variant("moved"));
    EXPECT_EQ(clone->Get("CODE").ToString(), "ABC");
    b.rs->MoveNext();
    EXPECT_EQ(clone->Get("CODE").ToString(), "moved");
    b.rs->Set("CODE", Variant("by bookmark"));
    b.rs->SetBookmark(Variant(1.0));
    clone->MoveNext();
    EXPECT_EQ(clone->Get("CODE").ToString(), "by bookmark");

    b.rs->Set("DO30_PROGPADRE", Variant::Int32(9999));
    b.rs->SetFilter(Variant("DO30_PROGPADRE = 9999"));
    EXPECT_EQ(b.rs->EditMode(), ado::adEditNone);
    EXPECT_EQ(VisibleIds(*b.rs), (std::vector<int>{1, 2, 3}));

    b.rs->MoveFirst();
    b.rs->Set("FLAG", Variant::Int16(7));
    b.rs->Find("FLAG = 7", 0, ado::adSearchForward, Variant::Int32(ado::adBookmarkFirst));
    EXPECT_EQ(CurrentId(*b.rs), 1);
    EXPECT_EQ(b.rs->EditMode(), ado::adEditNone);
    clone->CancelBatch(ado::adAffectAll);
    EXPECT_EQ(b.rs->Get("CODE").ToString(), "ABC");
}

TEST(Edit, ValuesTakeTheFieldType) {
    Batch b;
    b.rs->Set("DO30_PROGRIGA", Variant("7"));
    b.rs->Set("FLAG", Variant(1.0));
    b.rs->Set("CODE", Variant::Int32(12));
    b.rs->Set("NOTE", Variant());
    b.rs->Update();
    EXPECT_TRUE(b.rs->Get("DO30_PROGRIGA").SameAs(Variant::Int32(7)));
    EXPECT_TRUE(b.rs->Get("FLAG").SameAs(Variant::Int16(1)));
    EXPECT_TRUE(b.rs->Get("CODE").SameAs(Variant("12")));
    EXPECT_TRUE(b.rs->Get("NOTE").IsNull());
    EXPECT_EQ(ErrorOf([&] { b.rs->Set("QTA", Variant("many")); }), 13);
}

// The added row has its bookmark before Update.
TEST(AddNew, AppendsARowOfNullsThatBecomesCurrent) {
    Batch b;
    b.rs->AddNew();
    EXPECT_EQ(b.rs->EditMode(), ado::adEditAdd);
    EXPECT_TRUE(b.rs->Get("CODE").IsNull());
    const Variant bm = b.rs->Bookmark();
    b.rs->Set("ID", Variant::Int32(6));
    b.rs->Update();
    EXPECT_EQ(b.rs->EditMode(), ado::adEditNone);
    EXPECT_EQ(CurrentId(*b.rs), 6);
    EXPECT_EQ(b.rs->RecordCount(), 6);
    b.rs->MoveNext();
    EXPECT_TRUE(b.rs->EOF_());
    b.rs->MoveFirst();
    b.rs->SetBookmark(bm);
    EXPECT_EQ(CurrentId(*b.rs), 6);
}

TEST(Batch, WritesInsertsUpdatesAndDeletesInRowOrderThenClearsThem) {
    Batch b;
    b.Edit(3, "QTA", Variant(1.5));
    b.Go(Variant(1.0));
    b.rs->Delete();
    b.rs->AddNew();
    b.rs->Set("ID", Variant::Int32(6));
    b.rs->Update();
    b.Edit(2, "CODE", Variant("x"));
    b.rs->Set("QTA", Variant(3.0));  // left pending: UpdateBatch updates it first
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(),
              (Log{"D 1", "U 2 CODE \"abc\"->\"x\" QTA 2.5->3", "U 3 QTA 0->1.5", "I 6"}));
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(), Log{});
    // Written changes are the new baseline: nothing left to cancel.
    EXPECT_EQ(b.rs->FieldByName("QTA")->OriginalValue().ToDouble(), 3.0);
    b.rs->CancelBatch(ado::adAffectAll);
    b.Go(Variant(2.0));
    EXPECT_EQ(b.rs->Get("CODE").ToString(), "x");
    EXPECT_EQ(b.rs->RecordCount(), 5);
}

// A row added then deleted never reaches the writer; a changed row that is deleted goes
// with the values it was fetched with, so the writer finds it by its original key.
TEST(Batch, DeletesGoWithTheOriginalValuesAndAddedRowsNotAtAll) {
    Batch b;
    b.rs->Set("ID", Variant::Int32(60));
    b.rs->Update();
    EXPECT_EQ(b.rs->FieldByName("ID")->OriginalValue().ToLong(), 1);
    b.rs->Delete();
    b.rs->AddNew();
    b.rs->Set("ID", Variant::Int32(6));
    b.rs->Update();
    b.rs->Delete();
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(), (Log{"D 1"}));
}

// The host keeps recordsets filtered on the current line while the plug-in calls
// UpdateBatch 3: only the rows of that line are written, a row deleted from the view
// included; 4 writes the rest. The pending-records filter shows the rows with changes in
// the batch and, being a group filter, leaves 3 writing them all.
TEST(Batch, ScopesOnAFilteredRecordset) {
    Batch b;
    b.Edit(1, "QTA", Variant(1.0));
    b.Edit(4, "QTA", Variant(4.0));
    b.Edit(5, "QTA", Variant(5.5));
    b.rs->SetFilter(Variant(" DO30_PROGRIGA = 5"));
    b.rs->MoveLast();
    b.rs->UpdateBatch(ado::adAffectCurrent);
    EXPECT_EQ(b.Take(), (Log{"U 5 QTA 5->5.5"}));
    b.Edit(5, "QTA", Variant(6.0));
    b.rs->MoveFirst();
    b.rs->Delete(ado::adAffectCurrent);
    b.rs->Update();
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(), (Log{"D 4", "U 5 QTA 5.5->6"}));
    b.rs->UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(b.Take(), (Log{"U 1 QTA 10->1"}));

    b.rs->SetFilter(Variant::Int32(0));
    b.Edit(1, "QTA", Variant(2.0));
    b.rs->AddNew();
    b.rs->Set("ID", Variant::Int32(6));
    b.rs->Update();
    b.rs->SetFilter(Variant::Int32(ado::adFilterPendingRecords));
    EXPECT_TRUE(b.rs->Filter().SameAs(Variant::Int32(ado::adFilterPendingRecords)));
    EXPECT_EQ(VisibleIds(*b.rs), (std::vector<int>{1, 6}));
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(), (Log{"U 1 QTA 1->2", "I 6"}));
}

TEST(Batch, CancelScopesOnAFilteredRecordset) {
    Batch b;
    b.Edit(1, "QTA", Variant(1.0));
    b.Edit(4, "QTA", Variant(4.0));
    b.Go(Variant(5.0));
    b.rs->Delete();
    b.rs->AddNew();
    b.rs->Set("ID", Variant::Int32(6));
    b.rs->Set("DO30_PROGRIGA", Variant::Int32(5));
    b.rs->Update();
    auto all = b.rs->Clone();
    b.rs->SetFilter(Variant("DO30_PROGRIGA = 5"));  // 4 and 6 (5 is deleted)
    b.rs->CancelBatch(ado::adAffectAll);
    EXPECT_EQ(VisibleIds(*all), (std::vector<int>{1, 2, 3, 4}));
    all->Find("ID = 4", 0, ado::adSearchForward, Variant::Int32(ado::adBookmarkFirst));
    EXPECT_EQ(all->Get("QTA").ToDouble(), -1.0);
    all->MoveFirst();
    EXPECT_EQ(all->Get("QTA").ToDouble(), 1.0);  // outside the filter: still changed
    all->CancelBatch(ado::adAffectCurrent);
    EXPECT_EQ(all->Get("QTA").ToDouble(), 10.0);
    EXPECT_EQ(VisibleIds(*all), (std::vector<int>{1, 2, 3, 4}));  // only the current row
    b.rs->CancelBatch(ado::adAffectAllChapters);
    EXPECT_EQ(VisibleIds(*all), (std::vector<int>{1, 2, 3, 4, 5}));
    b.rs->UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(b.Take(), Log{});
}

TEST(Batch, WriterFailureStopsTheBatchAndLeavesTheRestPending) {
    Batch b;
    b.Edit(1, "QTA", Variant(1.0));
    b.Edit(2, "QTA", Variant(2.0));
    b.Edit(3, "QTA", Variant(3.0));
    b.writer->failOnCall = 1;
    EXPECT_EQ(ErrorOf([&] { b.rs->UpdateBatch(ado::adAffectAll); }), -2147217900);
    EXPECT_EQ(b.Take(), (Log{"U 1 QTA 10->1"}));
    b.rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(b.Take(), (Log{"U 2 QTA 2.5->2", "U 3 QTA 0->3"}));
}

TEST(Batch, BadAffectOrFilterConstants) {
    Batch b;
    EXPECT_EQ(ErrorOf([&] { b.rs->UpdateBatch(7); }), 3001);
    EXPECT_EQ(ErrorOf([&] { b.rs->UpdateBatch(ado::adAffectGroup); }), 3001);
    EXPECT_EQ(ErrorOf([&] { b.rs->SetFilter(Variant::Int32(7)); }), 3001);
    b.rs->MoveLast();
    b.rs->MoveNext();
    EXPECT_EQ(ErrorOf([&] { b.rs->UpdateBatch(ado::adAffectCurrent); }), 3021);
}

}  // namespace
}  // namespace zq::sim
