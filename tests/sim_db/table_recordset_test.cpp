// Base-table recordsets: what the simulated host loads a document with and writes back.
#include "sim/db/table_recordset.h"

#include <gtest/gtest.h>

#include "demo_db.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

class TableRecordsetTest : public DemoDbTest {
  protected:
    // A column of a vertical line of the demo order, read straight from SQLite.
    Variant Vert(std::int32_t progRiga, const std::string& column) {
        return session.Scalar(
            "SELECT " + column +
            " FROM DO77_DOCCORPOVERT WHERE DO77_NUMREG_CO99 = 1001 AND DO77_PROGRIGA = " +
            std::to_string(progRiga));
    }
};

TEST_F(TableRecordsetTest, FieldsCarryTypesAndKeys) {
    auto rs = OpenTable(conn, "DO30_DOCCORPO", "DO30_NUMREG_CO99 = 1001");
    EXPECT_EQ(rs->RecordCount(), 9);
    EXPECT_EQ(rs->FieldByName("DO30_QTA1")->Type(), ado::adDouble);
    EXPECT_EQ(rs->FieldByName("DO30_PROGRIGA")->Type(), ado::adInteger);
    EXPECT_EQ(rs->FieldByName("DO30_INDTIPORIGA")->Type(), ado::adSmallInt);
    EXPECT_EQ(rs->FieldByName("DO30_GUID")->Type(), ado::adVarChar);
    EXPECT_EQ(rs->FieldByName("DO30_GUID")->DefinedSize(), 38);
    EXPECT_TRUE(rs->FieldByName("DO30_PROGRIGA")->Attributes() & ado::adFldKeyColumn);
    EXPECT_FALSE(rs->FieldByName("DO30_QTA1")->Attributes() & ado::adFldKeyColumn);
    EXPECT_EQ(rs->Get("DO30_PROGRIGA").ToLong(), 1);  // ordered by key
    EXPECT_EQ(rs->Get("DO30_GUID").ToString(), HostDbBuilder::GuidRiga(1001, 1));
    EXPECT_TRUE(rs->Get("DO30_PROGPADRE").IsNull());
    auto head = OpenTable(conn, "DO11_DOCTESTATA", "DO11_NUMREG_CO99 = 1001");
    EXPECT_EQ(head->Get("DO11_DATAREG").Type(), VarType::Date);
}

TEST_F(TableRecordsetTest, BatchWritesEditsInsertsAndDeletes) {
    auto rs = OpenTable(conn, "DO77_DOCCORPOVERT", "DO77_NUMREG_CO99 = 1001");
    rs->SetFilter(Variant("DO77_PROGRIGA = 2"));
    rs->Set("DO77_CODCAU_ZQ63", Variant("FOR"));
    rs->Set("DO77_ZQ_QTA_ANNULLO", Variant(3.5));
    rs->Update();
    rs->SetFilter(Variant::Int32(0));
    rs->AddNew();
    rs->Set("DO77_DITTA_CG18", Variant::Int32(1));
    rs->Set("DO77_NUMREG_CO99", Variant::Int32(1001));
    rs->Set("DO77_PROGRIGA", Variant::Int32(10));
    rs->Set("DO77_ZQGUID_MASTER_DO30", Variant("ABC"));
    rs->Update();
    rs->SetFilter(Variant("DO77_PROGRIGA = 9"));
    rs->Delete(ado::adAffectCurrent);
    rs->SetFilter(Variant::Int32(0));
    rs->UpdateBatch(ado::adAffectAllChapters);

    EXPECT_EQ(Vert(2, "DO77_CODCAU_ZQ63").ToString(), "FOR");
    EXPECT_DOUBLE_EQ(Vert(2, "DO77_ZQ_QTA_ANNULLO").ToDouble(), 3.5);
    EXPECT_DOUBLE_EQ(Vert(2, "DO77_ZQ_QTA_ORIG").ToDouble(), 0);  // not touched: kept
    EXPECT_EQ(Vert(10, "DO77_ZQGUID_MASTER_DO30").ToString(), "ABC");
    EXPECT_TRUE(Vert(10, "DO77_ZQ_QTA_ANNULLO").IsNull());
    EXPECT_EQ(session
                  .Scalar("SELECT COUNT(*) FROM DO77_DOCCORPOVERT WHERE DO77_PROGRIGA = 9 AND "
                          "DO77_NUMREG_CO99 = 1001")
                  .ToLong(),
              0);
}

TEST_F(TableRecordsetTest, NewRowTakesTheTableDefaultsForColumnsLeftNull) {
    auto rs = OpenTable(conn, "DO31_DOCCORPOORD", "DO31_NUMREG_CO99 = 1001");
    rs->AddNew();
    rs->Set("DO31_DITTA_CG18", Variant::Int32(1));
    rs->Set("DO31_NUMREG_CO99", Variant::Int32(1001));
    rs->Set("DO31_PROGRIGA", Variant::Int32(20));
    rs->Update();
    rs->UpdateBatch(ado::adAffectAll);
    EXPECT_EQ(
        session.Scalar("SELECT DO31_FLGNONPIUEV FROM DO31_DOCCORPOORD WHERE DO31_PROGRIGA = 20")
            .ToLong(),
        0);
}

TEST_F(TableRecordsetTest, RowGoneUnderneathIsAnError) {
    auto rs = OpenTable(conn, "DO31_DOCCORPOORD", "DO31_NUMREG_CO99 = 1001 AND DO31_PROGRIGA = 1");
    conn->RunSqlite(
        "DELETE FROM DO31_DOCCORPOORD WHERE DO31_NUMREG_CO99 = 1001 AND "
        "DO31_PROGRIGA = 1");
    rs->Set("DO31_FLGNONPIUEV", Variant::Int16(1));
    rs->Update();
    EXPECT_NE(ErrorOf([&] { rs->UpdateBatch(ado::adAffectAll); }), 0);
}

TEST_F(TableRecordsetTest, DuplicateKeyIsAProviderError) {
    auto rs = OpenTable(conn, "ZQ63_CAU_ANNULLO", "");
    rs->AddNew();
    rs->Set("ZQ63_CODCAU_ANNULLO", Variant("cli"));  // codes ignore case
    rs->Update();
    std::string why;
    EXPECT_EQ(ErrorOf([&] { rs->UpdateBatch(ado::adAffectAll); }, &why), err::AdoProviderError);
    EXPECT_NE(why.find("UNIQUE"), std::string::npos) << why;
}

}  // namespace
}  // namespace zq::sim
