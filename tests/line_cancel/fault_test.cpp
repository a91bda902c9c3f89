// A host or database call failing at any step of making a cancellation line, or of giving a
// master back its quantity, leaves no busy flag set, no refresh bracket or display
// suspension open, the busy indicator as the road leaves it, and a document that can still
// be walked, saved and cancelled again.

#include <gtest/gtest.h>

#include <map>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;

// The host calls a road makes, each named by member and by its occurrence among the calls
// of that member, recorded on a run without faults.
std::vector<Fault> CallsOf(const std::function<void(Session&)>& setup,
                           const std::function<void(Session&)>& road) {
    Session s(SevenLines());
    s.Open();
    setup(s);
    const std::size_t from = s.host->log->Calls().size();
    road(s);
    std::vector<Fault> out;
    std::map<std::string, int> seen;
    const auto& calls = s.host->log->Calls();
    for (std::size_t i = from; i < calls.size(); ++i)
        out.push_back({Fault::Kind::HostCall, calls[i].member, ++seen[calls[i].member]});
    return out;
}

void ExpectDocumentUsable(Session& s) {
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::CreaAnnulloInCorso(s.Plugin())));
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::RipristinoInCorso(s.Plugin())));
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::ConfermaInCorso(s.Plugin())));
    EXPECT_EQ(s.host->doc->GridSuspendDepth(), 0);
    EXPECT_TRUE(s.host->window->docCorpo->Redraw());
    EXPECT_TRUE(s.host->window->docCorpoVert->Redraw());
    EXPECT_EQ(s.host->window->docCorpo->LockCount(), 0);
    // Readable: every line can be visited, and the document saved.
    auto corpo = s.host->doc->rstDocCorpo()->Clone();
    int lines = 0;
    for (corpo->MoveFirst(); !corpo->EOF_(); corpo->MoveNext()) ++lines;
    EXPECT_GE(lines, 7);
    EXPECT_TRUE(s.driver->Save());
    // And the next partial cancellation works.
    s.driver->MoveToLine(4);
    s.driver->SetLineState(kStatoRigheConfermato);
    s.CancelQuantity(1);
    EXPECT_EQ(s.Current("DO30_CODART_MG66").ToString(), "ART-D");
    EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 1);
}

TEST(Faults, AtEveryHostCallOfMakingACancellationLine) {
    const auto setup = [](Session&) {};
    const auto road = [](Session& s) { s.CancelQuantity(3); };
    const auto calls = CallsOf(setup, road);
    ASSERT_GE(calls.size(), 20u);
    for (const Fault& f : calls) {
        SCOPED_TRACE(f.target + " #" + std::to_string(f.occurrence));
        Session s(SevenLines());
        s.Open();
        setup(s);
        const std::int16_t saved = s.Indicatore();
        s.Arm(f);
        road(s);
        ASSERT_TRUE(s.FaultFired());
        // Completed: the busy indicator stays 0 as on the road without faults; ended by the
        // error: it is back to its saved value.
        const bool completed = s.host->log->Count("GRD_CORPO.RefreshSummaryFooters") > 0;
        EXPECT_EQ(s.Indicatore(), completed ? 0 : saved);
        ExpectDocumentUsable(s);
    }
}

// The flow-state write traps its own failure: the split goes on, the state is not written.
TEST(Faults, WhenTheFlowStateCannotBeWritten) {
    for (int occurrence : {1, 2}) {  // the master's initial state, the new line's cancelled one
        SCOPED_TRACE(occurrence);
        Session s(SevenLines());
        s.Open();
        s.Arm({Fault::Kind::Statement, "SPCO_SETFLUSSOSTATO", occurrence});
        s.CancelQuantity(3);
        ASSERT_TRUE(s.FaultFired());
        EXPECT_EQ(s.Indicatore(), 0);  // the road went to its end
        EXPECT_EQ(s.host->doc->rstDocCorpo()->RecordCount(), 8);
        // The master is not set back to the initial state, so it keeps the state the user
        // picked; the new line has its state through the line-state object all the same.
        const auto master = s.FlowState(Guid(1));
        if (occurrence == 1) {
            EXPECT_EQ(master, kStatoRigheAnnullato);
        } else {
            EXPECT_EQ(master, kStatoRigheIniziale);
        }
        EXPECT_EQ(s.FlowState(s.Line(8).Text("DO30_GUID")), kStatoRigheAnnullato);
        ExpectDocumentUsable(s);
    }
}

TEST(Faults, AtEveryHostCallOfRestoringAMaster) {
    const auto setup = [](Session& s) {
        s.CancelQuantity(3);
        s.driver->MoveToLine(8);
    };
    const auto road = [](Session& s) { s.driver->DeleteLine(); };
    const auto calls = CallsOf(setup, road);
    ASSERT_GE(calls.size(), 10u);
    for (const Fault& f : calls) {
        SCOPED_TRACE(f.target + " #" + std::to_string(f.occurrence));
        Session s(SevenLines());
        s.Open();
        setup(s);
        const std::int16_t before = s.Indicatore();
        s.Arm(f);
        road(s);
        ASSERT_TRUE(s.FaultFired());
        EXPECT_EQ(s.Indicatore(), before);
        EXPECT_EQ(ClsrfTestAccess::GuidRigaCancellata(s.Plugin()), "");
        ExpectDocumentUsable(s);
    }
}

}  // namespace
}  // namespace zq::test
