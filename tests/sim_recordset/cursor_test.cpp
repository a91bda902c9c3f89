// Moving the cursor, ADO's errors at the ends, fields, closed and disconnected recordsets.
#include <gtest/gtest.h>

#include "rs_fixture.h"
#include "sim/fault/fault_plan.h"

namespace zq::sim {
namespace {

// Past either end, and in a recordset that has no rows or has lost them all, there is no
// current row: moving on, reading, writing and deleting raise 3021.
TEST(Cursor, WalksBothWaysAndRaises3021WhereThereIsNoRow) {
    auto rs = MakeLines();
    EXPECT_FALSE(rs->BOF());
    rs->MovePrevious();
    EXPECT_TRUE(rs->BOF());
    EXPECT_FALSE(rs->EOF_());
    EXPECT_EQ(ErrorOf([&] { rs->MovePrevious(); }), 3021);
    EXPECT_EQ(ErrorOf([&] { rs->Get("ID"); }), 3021);
    rs->MoveNext();
    EXPECT_EQ(CurrentId(*rs), 1);
    rs->MoveLast();
    EXPECT_EQ(CurrentId(*rs), 5);
    rs->MoveNext();
    EXPECT_TRUE(rs->EOF_());
    EXPECT_FALSE(rs->BOF());
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), 3021);
    EXPECT_EQ(ErrorOf([&] { rs->Get("ID"); }), 3021);
    EXPECT_EQ(ErrorOf([&] { rs->Set("ID", Variant::Int32(1)); }), 3021);
    EXPECT_EQ(ErrorOf([&] { rs->Delete(); }), 3021);
    rs->MovePrevious();
    EXPECT_EQ(CurrentId(*rs), 5);

    auto empty = MakeRecordset(LineFields(), {});
    auto clone = rs->Clone();
    rs->MoveFirst();
    while (!rs->EOF_()) {
        rs->Delete();
        rs->MoveNext();
    }
    for (auto* view : {empty.get(), rs.get()}) {
        EXPECT_TRUE(view->BOF());
        EXPECT_TRUE(view->EOF_());
        EXPECT_EQ(view->RecordCount(), 0);
        for (auto move : {&ado::Recordset::MoveFirst, &ado::Recordset::MoveLast,
                          &ado::Recordset::MoveNext, &ado::Recordset::MovePrevious}) {
            EXPECT_EQ(ErrorOf([&] { (view->*move)(); }), 3021);
        }
    }
    EXPECT_EQ(ErrorOf([&] { clone->MoveLast(); }), 3021);
}

// Fields are found by name without regard to case or by index, follow the cursor, and
// outlive their recordset safely.
TEST(Fields, ByNameOrIndexFollowingTheCursor) {
    ado::FieldPtr qta;
    {
        auto rs = MakeLines();
        EXPECT_EQ(rs->FieldCount(), 9);
        qta = rs->FieldByName("qta");
        EXPECT_EQ(qta->Name(), "QTA");
        EXPECT_EQ(rs->FieldAt(3)->Name(), "CODE");
        EXPECT_TRUE(rs->HasField("do30_guid"));
        EXPECT_FALSE(rs->HasField("DO30_GUIDX"));
        EXPECT_EQ(ErrorOf([&] { rs->FieldByName("DO30_GUIDX"); }), 3265);
        EXPECT_EQ(ErrorOf([&] { rs->FieldAt(9); }), 3265);
        EXPECT_EQ(ErrorOf([&] { rs->FieldAt(-1); }), 3265);
        EXPECT_EQ(qta->Value().ToDouble(), 10.0);
        rs->MoveNext();
        EXPECT_EQ(qta->Value().ToDouble(), 2.5);
    }
    EXPECT_EQ(ErrorOf([&] { qta->Value(); }), 3704);
}

// Of two fields whose names differ only in case, the first answers either spelling, as
// ADO's lookup without regard to case finds it first; a spelling the table does not use
// still finds its field.
TEST(Fields, NamesDifferingOnlyInCaseFindTheFirst) {
    auto rs = MakeRecordset({{"Qta", 5, 8}, {"QTA", 5, 8}, {"CODE", 200, 20}},
                            {{Variant(1.5), Variant(2.5), Variant("A")}});
    EXPECT_EQ(rs->Get("Qta").ToDouble(), 1.5);
    EXPECT_EQ(rs->Get("QTA").ToDouble(), 1.5);
    EXPECT_EQ(rs->Get("qta").ToDouble(), 1.5);
    EXPECT_EQ(rs->FieldByName("QTA")->Name(), "Qta");
    EXPECT_EQ(rs->Get("code").ToString(), "A");
    rs->Set("QTA", Variant(4.0));
    EXPECT_EQ(rs->FieldAt(0)->Value().ToDouble(), 4.0);
    EXPECT_EQ(rs->FieldAt(1)->Value().ToDouble(), 2.5);
}

// A fault plan names a recordset's operation by the label the recordset has when the call
// is made, also after its operations were named under an earlier label.
TEST(Fields, FaultSitesFollowTheRecordsetsLabel) {
    auto rs = MakeLines();
    FaultPlan plan;
    ActiveFaultPlan active(plan);
    PluginCallFrame frame;
    rs->MoveNext();
    LabelRecordset(rs, "DO30_DOCCORPO");
    plan.FailMatching(FaultKind::Move, "DO30_DOCCORPO.MoveNext");
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), kInjectedFailure);
    EXPECT_EQ(plan.Reached(FaultKind::Move).count("Recordset.MoveNext"), 1u);
    EXPECT_EQ(plan.Failed(FaultKind::Move).count("DO30_DOCCORPO.MoveNext"), 1u);
}

// A new recordset is closed and without fields; fields are appended, then fixed by Open.
// Without a writer, UpdateBatch only makes the changes the new baseline.
TEST(Disconnected, AppendFieldsOpenAddReadAndClearTheBatch) {
    auto rs = MakeClosedRecordset();
    EXPECT_EQ(rs->State(), ado::adStateClosed);
    EXPECT_EQ(ErrorOf([&] { rs->Open(); }), 3001);  // nothing to open without fields
    rs->AppendField("DO30_PROGRIGA", ado::adInteger, 4, ado::adFldUnspecified);
    rs->AppendField("QTA", ado::adDecimal, 19, ado::adFldIsNullable | ado::adFldMayBeNull);
    EXPECT_EQ(ErrorOf([&] { rs->AppendField("qta", ado::adInteger, 4, -1); }), 3001);
    rs->FieldByName("QTA")->SetPrecision(18);
    rs->Open();
    EXPECT_EQ(rs->State(), ado::adStateOpen);
    EXPECT_TRUE(rs->BOF() && rs->EOF_());
    EXPECT_EQ(rs->FieldByName("QTA")->Precision(), 18);
    EXPECT_EQ(ErrorOf([&] { rs->AppendField("B", ado::adInteger, 4, -1); }), 3219);
    EXPECT_EQ(ErrorOf([&] { rs->FieldByName("QTA")->SetPrecision(5); }), 3219);
    EXPECT_EQ(ErrorOf([&] { rs->Open(); }), 3219);

    for (std::int32_t line = 1; line <= 3; ++line) {
        rs->AddNew();
        rs->Set("DO30_PROGRIGA", Variant::Int32(line));
        rs->Set("QTA", Variant::Int16(static_cast<std::int16_t>(line * 2)));
        rs->Update();
    }
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->UpdateBatch(ado::adAffectAll);
    rs->CancelBatch(ado::adAffectAll);
    rs->SetFilter(Variant("DO30_PROGRIGA = 2"));
    EXPECT_TRUE(rs->Get("QTA").SameAs(Variant(4.0)));
    rs->SetFilter(Variant::Int32(ado::adFilterPendingRecords));
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST(Closed, EverythingButFieldsRaises3704AndOtherClonesGoOn) {
    auto rs = MakeLines();
    auto clone = rs->Clone();
    rs->Close();
    EXPECT_EQ(rs->State(), ado::adStateClosed);
    EXPECT_EQ(ErrorOf([&] { rs->EOF_(); }), 3704);
    EXPECT_EQ(ErrorOf([&] { rs->MoveFirst(); }), 3704);
    EXPECT_EQ(ErrorOf([&] { rs->Get("ID"); }), 3704);
    EXPECT_EQ(ErrorOf([&] { rs->SetFilter(Variant("ID = 1")); }), 3704);
    EXPECT_EQ(ErrorOf([&] { rs->Clone(); }), 3704);
    EXPECT_EQ(ErrorOf([&] { rs->UpdateBatch(); }), 3704);
    EXPECT_EQ(ErrorOf([&] { rs->Close(); }), 3704);
    EXPECT_EQ(rs->FieldByName("ID")->Name(), "ID");
    clone->MoveLast();
    EXPECT_EQ(CurrentId(*clone), 5);
}

}  // namespace
}  // namespace zq::sim
