// The body fields' lost-focus drivers: a cancelled quantity, a line reason or a line
// quantity left in the body form settles the current line inside one reversal and one save,
// or re-aligns a pair without any.
#include <gtest/gtest.h>

#include "support/session.h"

namespace zq::test {
namespace {

// Line 1 (10 pieces) wholly cancelled and saved.
void LineaAnnullata(Session& s) {
    s.Open();
    s.driver->MoveToLine(1);
    s.CancelQuantity(10);
    s.driver->Save();
    ASSERT_EQ(s.driver->SaveCount(), 1);
}

struct Passo {
    int reversals, saves;
};

Passo Dopo(Session& s, const std::function<void()>& azione) {
    const int reversals = s.commands->executed, saves = s.driver->SaveCount();
    azione();
    return {s.commands->executed - reversals, s.driver->SaveCount() - saves};
}

TEST(FieldDrivers, TypedCancelledQuantitySplitsRealignsAndFoldsOnceEach) {
    Session s;
    LineaAnnullata(s);
    auto tipo = [&](const char* qta) {
        return Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", qta); });
    };

    Passo p = tipo("3");
    EXPECT_EQ(p.reversals, 1);
    EXPECT_EQ(p.saves, 1);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 7);
    EXPECT_EQ(s.Line(10).Num("DO30_QTA1"), 3);
    EXPECT_EQ(s.Line(1).Num("DO77_ZQ_QTA_ORIG"), 10);
    EXPECT_TRUE(s.ProgressivesConsistent());

    s.driver->MoveToLine(1);
    p = tipo("4");
    EXPECT_EQ(p.reversals, 1);
    EXPECT_EQ(p.saves, 1);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 6);
    EXPECT_EQ(s.Line(10).Num("DO30_QTA1"), 4);
    EXPECT_TRUE(s.ProgressivesConsistent());

    // Above the ordered quantity: taken as the whole line, never a negative master.
    s.driver->MoveToLine(1);
    p = tipo("25");
    EXPECT_EQ(p.saves, 1);
    EXPECT_EQ(s.LineNumbers().size(), 9u);
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 10);
    EXPECT_EQ(s.Line(1).Num("DO31_FLGNONPIUEV"), 1);
    EXPECT_EQ(s.FlowState(Guid(1)), kStatoRigheAnnullato);
    EXPECT_TRUE(s.ProgressivesConsistent());
    EXPECT_TRUE(s.Messages().empty());
}

TEST(FieldDrivers, NothingRunsOnALineNotCancelledOrWithTheHeaderCancelled) {
    for (const bool headerCancelled : {false, true}) {
        SCOPED_TRACE(headerCancelled);
        Session s;
        s.Open();
        if (headerCancelled) s.driver->SetHeaderState(kStatoTestaAnnullato);
        s.driver->MoveToLine(2);  // partly delivered: a settlement would warn
        const Passo p = Dopo(s, [&] {
            s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "15");
            s.driver->TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", "FOR");
            s.driver->TypeAndLeave(2, "TXT_DO30_QTA1", "20");
        });
        EXPECT_EQ(p.reversals, 0);
        EXPECT_EQ(p.saves, 0);
        EXPECT_TRUE(s.Messages().empty());
        EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 9);
    }
}

TEST(FieldDrivers, BlankedLineReasonClearsWithoutReversing) {
    Session s;
    LineaAnnullata(s);
    const Passo p = Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", ""); });
    EXPECT_EQ(p.reversals, 0);
    EXPECT_EQ(p.saves, 0);
    EXPECT_EQ(s.Control(2, "TXT_DO77_DESCAU_ZQ63").Text(), "");
    EXPECT_EQ(s.Control(2, "TXT_DO77_ZQ_QTA_ANNULLO").Text(), "0");
    EXPECT_TRUE(s.Current("DO77_DESCAU_ZQ63").IsNull());
}

// The master's own quantity left: the cancellation line takes the master's cancelled
// quantity again, nothing is reversed or saved, and the pair's starting quantity is what
// the two lines hold.
TEST(FieldDrivers, AMastersQuantityRealignsThePairWithoutReversing) {
    Session s;
    LineaAnnullata(s);
    s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "3");
    s.driver->MoveToLine(1);
    const Passo p = Dopo(s, [&] { s.driver->TypeAndLeave(2, "TXT_DO30_QTA1", "8"); });
    EXPECT_EQ(p.reversals, 0);
    EXPECT_EQ(p.saves, 0);
    EXPECT_EQ(s.HostValue(1, "DO30_QTA1").ToDouble(), 8);
    EXPECT_EQ(s.HostValue(10, "DO30_QTA1").ToDouble(), 3);
    EXPECT_EQ(s.HostValue(1, "DO77_ZQ_QTA_ORIG").ToDouble(), 11);
    EXPECT_EQ(s.HostValue(10, "DO77_ZQ_QTA_ORIG").ToDouble(), 11);
    s.driver->Save();
    EXPECT_TRUE(s.ProgressivesConsistent());
}

}  // namespace
}  // namespace zq::test
