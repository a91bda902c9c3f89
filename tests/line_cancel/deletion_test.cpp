// Deleting body lines: the guards, the restoration of a master when its cancellation line
// goes, the clean-up of the deleted line's rows and the reversal of the progressives.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using sim::ShownMessage;

const std::string kRigaConAnnullo =
    "Non è possibile cancellare una riga che ha generato un annullo! Eliminare l'annullo "
    "parziale prima.";
const std::string kDocumentoAnnullato =
    "Non è possibile cancellare una riga perchè il documento è stato annullato totalmente";

TEST(Deletion, AMasterWithACancellationLineIsRefused) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);
    s.driver->MoveToLine(1);
    s.TakeMessages();
    EXPECT_FALSE(s.driver->DeleteLine());
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kRigaConAnnullo, 64, kTitolo}}));
    EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 8);
    EXPECT_EQ(s.driver->Last("BeginDeleteDocCorpo"), nullptr);
}

// The user puts the order header into the cancelled state; the header-state road runs
// without the host's save around it.
void CancelWholeOrder(Session& s) {
    Variant origine{ObjectPtr(s.host->header)};
    const HResult r = s.driver->Plugin().formEvents->StatiTESTATAChange(
        origine, kStatoTestaAnnullato, kFlussoTesta);
    if (r.Failed()) Raise(r.number, "StatiTESTATAChange", r.description);
}

TEST(Deletion, NoLineOfAWhollyCancelledOrderMayGo) {
    Session s(SevenLines());
    s.Open();
    CancelWholeOrder(s);
    s.TakeMessages();
    const std::int16_t before = s.Indicatore();
    s.driver->MoveToLine(4);
    EXPECT_FALSE(s.driver->DeleteLine());
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kDocumentoAnnullato, 64, kTitolo}}));
    EXPECT_EQ(s.Indicatore(), before);
    const auto& history = s.host->doc->DocUI()->IndicatoreHistory();
    ASSERT_GE(history.size(), 2u);
    EXPECT_EQ(history[history.size() - 2], 0);  // held at 0 while the message shows
    EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 7);
}

// Once the cancellation line is gone, the master can be split again: the state the grid
// showed on the way must not make the plug-in take the new cancellation for a repeat.
TEST(Deletion, TheMasterCanBeCancelledAgainOnceItsCancellationLineIsGone) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);
    s.driver->MoveToLine(8);
    ASSERT_TRUE(s.driver->DeleteLine());
    s.driver->MoveToLine(1);
    s.CancelQuantity(4);
    s.driver->Save();
    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 6);
    EXPECT_EQ(s.Line(8).Num("DO30_QTA1"), 4);
    EXPECT_EQ(s.FlowState(s.Line(8).Text("DO30_GUID")), kStatoRigheAnnullato);
}

// A cancellation line of 3 whose master was ordered with 10 (now 7) is deleted.
TEST(Deletion, ACancellationLineGivesItsMasterTheQuantityBack) {
    Session s(SevenLines());
    s.Open();
    s.CancelQuantity(3);
    s.driver->MoveToLine(8);
    s.driver->ClearEvents();
    const int saves = s.driver->SaveCount();
    ASSERT_TRUE(s.driver->DeleteLine());

    // The grid lands on line 7, whose state is not the cancelled one the deleted line showed:
    // the state change it announces only moves the remembered state on.
    EXPECT_EQ(s.driver->EventNames(),
              (std::vector<std::string>{"UIBeforeDeleteDocBody", "BeginDeleteDocCorpo",
                                        "StatiCORPOChange", "EndDeleteDocCorpo",
                                        "UIAfterDeleteDocBody", "ControllaDati"}));
    EXPECT_EQ(s.driver->SaveCount(), saves + 1);
    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));
    const DbLine gone = s.Line(8);
    EXPECT_FALSE(gone.hasDo31 || gone.hasDo77);
    const DbLine master = s.Line(1);
    EXPECT_EQ(master.Num("DO30_QTA1"), 10);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ANNULLO"), 0);
    EXPECT_EQ(master.Num("DO77_ZQ_QTA_ORIG"), 0);
    EXPECT_TRUE(master.IsNull("DO77_ZQGUID_MASTER_DO30"));
    EXPECT_TRUE(master.IsNull("DO77_ZQGUID_DETAIL_DO30"));
    EXPECT_TRUE(master.IsNull("DO77_CODCAU_ZQ63"));
    EXPECT_TRUE(master.IsNull("DO77_DESCAU_ZQ63"));
    EXPECT_EQ(master.Num("DO31_FLGNONPIUEV"), 0);
    EXPECT_TRUE(ClsrfTestAccess::Links(s.Plugin()).empty());
    EXPECT_EQ(ClsrfTestAccess::GuidRigaCancellata(s.Plugin()), "");
    EXPECT_EQ(ClsrfTestAccess::ProgRigaCancellata(s.Plugin()), 0);
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::RipristinoInCorso(s.Plugin())));
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 1);  // the master is the current line
    EXPECT_EQ(s.host->window->docCorpo->LockCount(), 0);
    EXPECT_TRUE(s.Drift().empty());
}

TEST(Deletion, AnOrdinaryLineLosesItsRowsAndLeavesTheProgressives) {
    Session s(SevenLines());
    s.Open();
    s.driver->MoveToLine(5);
    ASSERT_TRUE(s.driver->DeleteLine());
    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_EQ(s.LineNumbers(), (std::vector<std::int32_t>{1, 2, 3, 4, 6, 7}));
    const DbLine gone = s.Line(5);
    EXPECT_FALSE(gone.hasDo31 || gone.hasDo77);
    EXPECT_TRUE(s.Drift().empty());
    // The capture took no lots for a document type without them, and the reversal dropped
    // its working set.
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGLOTTI"));
    EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGMAG"));
}

// Lots are captured only where the document manages them, and every reversal works from
// its own capture: a deletion followed by other settlements never takes a lot quantity out
// twice, whichever way the document type goes.
TEST(Deletion, LotsAreReversedOnceWhetherTheTypeManagesThemOrNot) {
    for (const bool gestLotti : {false, true}) {
        SCOPED_TRACE(gestLotti);
        SessionOptions o = SevenLines({.lotRow = true});
        o.type.gestLotti = gestLotti;
        Session s(o);
        s.Open();
        s.CancelQuantity(3);  // line 1 split: the cancellation line 8 is current
        s.driver->MoveToLine(7);
        ASSERT_TRUE(s.driver->DeleteLine());
        EXPECT_TRUE(s.Drift().empty());
        EXPECT_FALSE(s.conn->TableExists("#STORNA_PROGLOTTI"));

        // The lot's line is cancelled whole and saved: the host's save posts it.
        s.driver->MoveToLine(6);
        s.driver->SetLineState(kStatoRigheAnnullato);
        ASSERT_TRUE(s.driver->Save());
        EXPECT_TRUE(s.Drift().empty());

        // Its cancellation withdrawn, and the first master's cancellation line deleted.
        s.driver->SetLineState(kStatoRigheIniziale);
        ASSERT_TRUE(s.driver->Save());
        s.driver->MoveToLine(8);
        ASSERT_TRUE(s.driver->DeleteLine());
        EXPECT_TRUE(s.Drift().empty());
    }
}

TEST(Deletion, InGridMode2NothingIsRemembered) {
    Session s(SevenLines({.gridMode = 2}));
    s.Open();
    s.driver->MoveToLine(5);
    ASSERT_TRUE(s.driver->DeleteLine());
    EXPECT_EQ(s.driver->SaveCount(), 0);
    EXPECT_EQ(ClsrfTestAccess::GuidRigaCancellata(s.Plugin()), "");
    // The extension rows of the line stay for the host's own clean-up.
    auto vert = s.host->doc->rstDocCorpoVert()->Clone();
    vert->SetFilter(Variant("DO77_PROGRIGA = 5"));
    EXPECT_FALSE(vert->EOF_());
}

}  // namespace
}  // namespace zq::test
