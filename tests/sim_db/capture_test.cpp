// The two capture statements compute, on the host database, the open quantities and
// amounts that the reversal takes out of the progressives. Expected values are worked
// out by hand from the demo order.
#include <gtest/gtest.h>

#include "demo_db.h"

namespace zq::sim {
namespace {

class CaptureTest : public DemoDbTest {
  protected:
    // The captured row of a line, read back through the connection as the plug-in would.
    ado::RecordsetPtr Line(std::int32_t numreg, std::int32_t progRiga) {
        return Query("SELECT * FROM #STORNA_PROGMAG WHERE DO30_NUMREG_CO99 = " +
                     std::to_string(numreg) + " AND DO30_PROGRIGA = " + std::to_string(progRiga));
    }
    std::int32_t Count(const char* table) {
        return Query(std::string("SELECT COUNT(*) AS N FROM ") + table)->Get("N").ToLong();
    }
};

struct Expected {
    std::int32_t progRiga;
    double qta1, qta2, importo, prezzo;
    std::int32_t sconti, aValore;
};

TEST_F(CaptureTest, OpenQuantitiesAndAmountsOfEveryKindOfLine) {
    Capture("#STORNA_PROGMAG", demo::kOrdine);
    const Expected expected[] = {
        {1, 10, 0, 45, 5, 1, 0},    // ordinary, 10% discount: net 45
        {2, 12, 0, 30, 2.5, 0, 0},  // 8 of 20 delivered: 50 / 20 * 12
        {3, 4, 0, 140, 50, 0, 1},   // by value, 60 delivered of 200
        {4, 6, 0, 30, 0, 0, 1},     // by value with price 0: the whole net amount
        {5, 8, 0, 24, 3, 0, 0},     // planned rows: (5-1) + 4, type ALT ignored; 36/12*8
        {6, 10, 0, 40, 4, 0, 0},    // lots do not change the line capture
        {7, 5, 0, 100, 20, 0, 0},   // size-grid family
        {8, 8, 0, 160, 20, 0, 0},  {9, 3, 0, 60, 20, 0, 0},
    };
    EXPECT_EQ(Count("#STORNA_PROGMAG"), 9);
    for (const auto& e : expected) {
        SCOPED_TRACE(e.progRiga);
        auto rs = Line(demo::kOrdine, e.progRiga);
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_DOUBLE_EQ(rs->Get("DO30_QTA1").ToDouble(), e.qta1);
        EXPECT_DOUBLE_EQ(rs->Get("DO30_QTA2").ToDouble(), e.qta2);
        EXPECT_DOUBLE_EQ(rs->Get("DO30_IMPNETSCP").ToDouble(), e.importo);
        EXPECT_DOUBLE_EQ(rs->Get("DO30_PREZZO1").ToDouble(), e.prezzo);
        EXPECT_EQ(rs->Get("FLG_SCONTIMAG").ToLong(), e.sconti);
        EXPECT_EQ(rs->Get("DO30_FLGEVASVAL").ToLong(), e.aValore);
    }
    auto rs = Line(demo::kOrdine, 2);
    EXPECT_EQ(rs->Get("DO30_CODART_MG66").ToString(), "ART-B");
    EXPECT_EQ(rs->Get("DO30_CODDEP_MG58").ToString(), "MAG1");
    EXPECT_EQ(rs->Get("DO11_CLIFOR_CG44").ToString(), "C0001");
    EXPECT_EQ(rs->Get("DO11_DATAREG").Type(), VarType::Date);
}

TEST_F(CaptureTest, ForeignCurrencyPriceIsConvertedToEuro) {
    Capture("#STORNA_PROGMAG", demo::kOrdineValuta);
    auto rs = Line(demo::kOrdineValuta, 1);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs->Get("DO30_PREZZO1").ToDouble(), 10);  // 11 USD at 1.10
    EXPECT_DOUBLE_EQ(rs->Get("DO30_IMPNETSCP").ToDouble(), 77);
    EXPECT_DOUBLE_EQ(rs->Get("DO30_QTA1").ToDouble(), 7);
    // no exchange rate: price 0
    conn->RunSqlite("UPDATE DO11_DOCTESTATA SET DO11_CAMBIO = NULL WHERE DO11_NUMREG_CO99 = 1002");
    Capture("#STORNA_PROGMAG", demo::kOrdineValuta);
    EXPECT_DOUBLE_EQ(Line(demo::kOrdineValuta, 1)->Get("DO30_PREZZO1").ToDouble(), 0);
}

// Closed lines, lines of another kind and lines that do not move the warehouse are left
// out; a wholly delivered line stays, with nothing open; a closed order gives nothing.
TEST_F(CaptureTest, WhichLinesAndOrdersAreCaptured) {
    conn->RunSqlite("UPDATE DO31_DOCCORPOORD SET DO31_FLGNONPIUEV = 1 WHERE DO31_PROGRIGA = 3");
    conn->RunSqlite(
        "UPDATE DO30_DOCCORPO SET DO30_INDTIPORIGA = 1 WHERE DO30_PROGRIGA = 7 AND "
        "DO30_NUMREG_CO99 = 1001");
    conn->RunSqlite(
        "UPDATE DO30_DOCCORPO SET DO30_FLGAGGMAGAZ = 1 WHERE DO30_PROGRIGA = 8 AND "
        "DO30_NUMREG_CO99 = 1001");
    conn->RunSqlite(
        "UPDATE DO31_DOCCORPOORD SET DO31_QTA1CONS = 20 WHERE DO31_PROGRIGA = 2 AND "
        "DO31_NUMREG_CO99 = 1001");
    Capture("#STORNA_PROGMAG", demo::kOrdine);
    EXPECT_EQ(Count("#STORNA_PROGMAG"), 6);
    EXPECT_EQ(Line(demo::kOrdine, 3)->RecordCount(), 0);
    auto delivered = Line(demo::kOrdine, 2);
    ASSERT_EQ(delivered->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(delivered->Get("DO30_QTA1").ToDouble(), 0);
    EXPECT_DOUBLE_EQ(delivered->Get("DO30_IMPNETSCP").ToDouble(), 0);

    conn->RunSqlite("UPDATE DO18_DOCTESORD SET DO18_FLGNONPIUEV = 1 WHERE DO18_NUMREG_CO99 = 1001");
    Capture("#STORNA_PROGMAG", demo::kOrdine);
    EXPECT_EQ(Count("#STORNA_PROGMAG"), 0);
}

TEST_F(CaptureTest, LotsCaptureOpenLotQuantities) {
    Capture("#STORNA_PROGLOTTI", demo::kOrdine);
    EXPECT_EQ(Count("#STORNA_PROGLOTTI"), 2);
    auto rs = Query("SELECT * FROM #STORNA_PROGLOTTI WHERE DO52_CODLOTTO_MG4G = 'L2026A'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs->Get("DO52_QTA1").ToDouble(), 4);  // 6 less 2 delivered
    EXPECT_DOUBLE_EQ(rs->Get("DO52_IMPNETSCP").ToDouble(), 16);
    EXPECT_EQ(rs->Get("DO30_CAUSMAG_MG51").ToString(), "OC");  // the line's reason
    EXPECT_EQ(rs->Get("DO52_SCADENZA").Type(), VarType::Date);
    rs = Query("SELECT * FROM #STORNA_PROGLOTTI WHERE DO52_CODLOTTO_MG4G = 'L2026B'");
    EXPECT_DOUBLE_EQ(rs->Get("DO52_IMPNETSCP").ToDouble(), 16);
}

}  // namespace
}  // namespace zq::sim
