#include "faults/roads.h"

#include "line_cancel/seven_lines.h"
#include "sim/host/guid.h"
#include "sim/host/size_grid.h"

namespace zq::test {

namespace {

// A failure in the host's first reads of the deletion or store event, before the road is
// open, refuses the action without telling the user why (the order stays sound).
// A failure while the size grid is prepared or shown ends the command, the order as it
// was, without the message that the change was not made.
constexpr std::uint64_t kGuidSeed = 20260412;

// The whole order, from the header form of the demo order (lines 7 to 9 form a group).
SessionOptions HeaderForm() {
    SessionOptions o;
    o.forms = {2, 1};
    return o;
}

void Pick(Session& s, std::int32_t stato) {
    s.driver->SetLineState(stato);
}

// After a line road: part of line 5 (ART-E, 5 pieces) is cancelled like any other.
void CancelPartOfLine5(Session& s) {
    s.driver->MoveToLine(5);
    s.CancelQuantity(1);
}
bool Line5WasSplit(Session& s) {
    return s.HostValue(5, "DO30_QTA1").ToDouble() == 4;
}

// A refusal: without faults too the road ends with the order as it was, and says why.
Road Refusal(Road road) {
    road.unchanged = true;
    return road;
}

// The user first corrects the refused quantity: a line is not left with one that is no
// quantity.
Road Corrected(Road road) {
    road.next = [next = road.next](Session& s) {
        s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "0");
        next(s);
    };
    return road;
}

}  // namespace

Road Open(Road road, std::string why) {
    road.open = std::move(why);
    return road;
}

Road roads::LineRoad(std::string name, std::function<void(Session&)> setup,
                     std::function<void(Session&)> act) {
    return {std::move(name), SevenLines(),      std::move(setup),
            std::move(act),  CancelPartOfLine5, Line5WasSplit};
}

Road roads::HeaderRoad(std::string name, std::function<void(Session&)> setup,
                       std::function<void(Session&)> act, std::int32_t nextState, int flag) {
    return {std::move(name),
            HeaderForm(),
            std::move(setup),
            std::move(act),
            [nextState](Session& s) { s.driver->SetHeaderState(nextState); },
            [flag](Session& s) {
                return s.Scalar(
                            "SELECT DO18_FLGNONPIUEV FROM DO18_DOCTESORD WHERE "
                            "DO18_NUMREG_CO99 = 1001")
                           .ToLong() == flag;
            }};
}

namespace {
// The size grid on the demo order's family (lines 7 to 9), from the body form on line 8.
void Griglia(Session& s, std::vector<sim::GridEdit> edits) {
    s.host->sizeGrid->PlanEdits(std::move(edits));
    s.driver->PickMenuItem("GestAnnulli");
}

void Posting(Session& s, sim::GridPosting p) {
    s.host->sizeGrid->settings.posting = p;
}

// After a grid road: line 7 cancelled wholly from the grid, by a posting that works.
void CancelLine7FromTheGrid(Session& s) {
    Posting(s, sim::GridPosting::Apply);
    s.driver->MoveToLine(7);
    Griglia(s, {sim::GridEdit::Line(7).Status("3")});
}
bool Line7WasCancelled(Session& s) {
    return s.FlowState(Guid(7)) == kStatoRigheAnnullato &&
           s.HostValue(7, "DO31_FLGNONPIUEV").ToLong() == 1;
}

Road GridRoad(std::string name, std::function<void(Session&)> setup,
              std::vector<sim::GridEdit> edits) {
    return {std::move(name),
            SessionOptions{},
            [setup](Session& s) {
                s.driver->MoveToLine(8);
                setup(s);
            },
            [edits](Session& s) { Griglia(s, edits); },
            CancelLine7FromTheGrid,
            Line7WasCancelled};
}

}  // namespace

std::vector<Road> Roads() {
    using roads::HeaderRoad;
    using roads::LineRoad;
    const auto nothing = [](Session&) {};
    std::vector<Road> out = {
        HeaderRoad(
            "cancel the whole order", nothing,
            [](Session& s) { s.driver->SetHeaderState(kStatoTestaAnnullato); }, kStatoTestaIniziale,
            0),
        HeaderRoad(
            "reinstate the order",
            [](Session& s) { s.driver->SetHeaderState(kStatoTestaAnnullato); },
            [](Session& s) { s.driver->SetHeaderState(kStatoTestaIniziale); }, kStatoTestaAnnullato,
            1),
        LineRoad(
            "cancel a whole line", [](Session& s) { s.driver->MoveToLine(3); },
            [](Session& s) { Pick(s, kStatoRigheAnnullato); }),
        LineRoad(
            "cancel part of a line",
            [](Session& s) { s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "3"); },
            [](Session& s) { Pick(s, kStatoRigheAnnullato); }),
        LineRoad(
            "cancel part of a partly delivered line",
            [](Session& s) {
                s.driver->MoveToLine(2);
                s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "5");
            },
            [](Session& s) { Pick(s, kStatoRigheAnnullato); }),
        LineRoad(
            "withdraw a line's cancellation",
            [](Session& s) {
                s.driver->MoveToLine(3);
                Pick(s, kStatoRigheAnnullato);
            },
            [](Session& s) { Pick(s, kStatoRigheIniziale); }),
        LineRoad(
            "fold a partial cancellation back",
            [](Session& s) {
                s.CancelQuantity(3);
                s.driver->MoveToLine(1);
                s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "10");
            },
            [](Session& s) { Pick(s, kStatoRigheAnnullato); }),
        Refusal(Corrected(LineRoad(
            "refuse a cancelled quantity that is no number",
            [](Session& s) { s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "abc"); },
            [](Session& s) { Pick(s, kStatoRigheAnnullato); }))),
        LineRoad(
            "delete a cancellation line",
            [](Session& s) {
                s.CancelQuantity(3);
                s.driver->MoveToLine(8);
            },
            [](Session& s) { s.driver->DeleteLine(); }),
        LineRoad(
            "delete an ordinary line", [](Session& s) { s.driver->MoveToLine(4); },
            [](Session& s) { s.driver->DeleteLine(); }),
        Refusal(LineRoad(
            "refuse to delete a master line",
            [](Session& s) {
                s.CancelQuantity(3);
                s.driver->MoveToLine(1);
            },
            [](Session& s) { s.driver->DeleteLine(); })),
        LineRoad(
            "store a line with a leftover reason and quantity",
            [](Session& s) {
                s.driver->MoveToLine(3);
                s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
                s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "2");
            },
            [](Session& s) { s.driver->StoreLine(); }),
        LineRoad(
            "store a cancelled line whose cancelled quantity was emptied",
            [](Session& s) {
                s.driver->MoveToLine(3);
                Pick(s, kStatoRigheAnnullato);
                s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "");
            },
            [](Session& s) { s.driver->StoreLine(); }),
        GridRoad(
            "size grid: split one cell and cancel another", nothing,
            {sim::GridEdit::Line(8).Status("2").Cancelled(3), sim::GridEdit::Line(9).Status("3")}),
        // Nothing is left to split: line 9 (3 pieces) is cancelled in place, away from the
        // line the sections stand on.
        GridRoad("size grid: mark another line partly cancelled for all it holds", nothing,
                 {sim::GridEdit::Line(9).Status("2").Cancelled(3)}),
        GridRoad("size grid: free a pair",
                 [](Session& s) {
                     s.driver->MoveToLine(8);
                     Griglia(s, {sim::GridEdit::Line(8).Status("2").Cancelled(3)});
                     s.driver->MoveToLine(8);  // the grid left the body on the new line
                 },
                 {sim::GridEdit::Line(8).Status("1")}),
        Refusal(GridRoad("size grid: refuse a line outside a family",
                         [](Session& s) { s.driver->MoveToLine(1); },
                         {sim::GridEdit::Line(1).Status("3")})),
        Refusal(GridRoad("size grid: posting answers false",
                         [](Session& s) { Posting(s, sim::GridPosting::AnswerFalse); },
                         {sim::GridEdit::Line(8).Status("3")})),
        Refusal(GridRoad("size grid: posting fails",
                         [](Session& s) { Posting(s, sim::GridPosting::Fail); },
                         {sim::GridEdit::Line(8).Status("3")})),
    };
    for (Road& r : DriverRoads()) out.push_back(std::move(r));
    return out;
}

void Prepare(Session& s, const Road& road) {
    sim::SeedGuids(kGuidSeed);
    s.Open();
    road.setup(s);
    s.TakeMessages();
    s.driver->ClearEvents();
}

}  // namespace zq::test
