#include "faults/roads.h"

#include "line_cancel/seven_lines.h"
#include "sim/host/guid.h"

namespace zq::test {

namespace {

// A failure in the host's first reads of the deletion or store event, before the road is
// open, refuses the action without telling the user why (the order stays sound).
constexpr const char* kRefusedSilently = "refused without a message when an early read fails";

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
        Refusal(LineRoad(
            "refuse a cancelled quantity that is no number",
            [](Session& s) { s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "abc"); },
            [](Session& s) { Pick(s, kStatoRigheAnnullato); })),
        Open(LineRoad(
                 "delete a cancellation line",
                 [](Session& s) {
                     s.CancelQuantity(3);
                     s.driver->MoveToLine(8);
                 },
                 [](Session& s) { s.driver->DeleteLine(); }),
             kRefusedSilently),
        Open(LineRoad(
                 "delete an ordinary line", [](Session& s) { s.driver->MoveToLine(4); },
                 [](Session& s) { s.driver->DeleteLine(); }),
             kRefusedSilently),
        Refusal(LineRoad(
            "refuse to delete a master line",
            [](Session& s) {
                s.CancelQuantity(3);
                s.driver->MoveToLine(1);
            },
            [](Session& s) { s.driver->DeleteLine(); })),
        Open(LineRoad(
                 "store a line with a leftover reason and quantity",
                 [](Session& s) {
                     s.driver->MoveToLine(3);
                     s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
                     s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "2");
                 },
                 [](Session& s) { s.driver->StoreLine(); }),
             kRefusedSilently),
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
