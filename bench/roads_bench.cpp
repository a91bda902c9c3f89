// The plug-in's roads on orders of 100 to 30,000 lines, each driven through the simulated
// host exactly as the host drives it (the driver's user actions, the host's events in host
// order), and the host's own load and save of the same order as the reference.
//
// Counters of every road benchmark (averages over its iterations; time = the timed action):
//   us_per_line   time per line of the order
//   own_ms        the action less the host saves it triggered: the plug-in's own work, with
//                 the host operations it asks for
//   saves_ms      the host saves the action triggered
//   host_ms       the host's own load + save of the same order, measured in the same run
//   host_save_ms  the host's own save of the unchanged order
//   own_vs_host   own_ms / host_ms
//   road_vs_save  time / host_save_ms
// scripts/bench.sh runs them and writes docs/performance.md's figures.
#include "roads.h"
#include "sim/db/fixture.h"
#include "sim/host/size_grid.h"

namespace zq::bench {
namespace {

using sim::demo::kStatoRigheAnnullato;
using sim::demo::kStatoTestaAnnullato;

void Nothing(RoadRun&) {}

void Open(RoadRun& r) {
    r.OpenOrder();
}

// On the body form, the user cancels 3 pieces of a line in the middle of the order.
void PartialOnMiddleLine(RoadRun& r) {
    r.OpenOrder();
    r.Driver().OpenForm(2);
    r.Driver().MoveToLine(r.MiddleLine());
    r.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
}

// The user opens the order: the plug-in's Initialize and form set-up.
[[maybe_unused]] const bool kLoad = RegisterRoad({"load", Nothing, Open});

// The user sets the header to the cancelled state: every line of a line group is flagged
// and the order saved.
[[maybe_unused]] const bool kWholeOrderCancel =
    RegisterRoad({"whole_order_cancel", Open,
                  [](RoadRun& r) { r.Driver().SetHeaderState(kStatoTestaAnnullato); }});

// The user sets the line state to cancelled: the line is split into master and
// cancellation line.
[[maybe_unused]] const bool kPartialCancel =
    RegisterRoad({"partial_cancel", PartialOnMiddleLine,
                  [](RoadRun& r) { r.Driver().SetLineState(kStatoRigheAnnullato); }});

// The user deletes the cancellation line just made: the master gets its quantity back and
// the order is saved.
[[maybe_unused]] const bool kDeleteCancellationLine =
    RegisterRoad({"delete_cancellation_line",
                  [](RoadRun& r) {
                      PartialOnMiddleLine(r);
                      r.Driver().SetLineState(kStatoRigheAnnullato);
                      r.Driver().MoveToLine(r.Lines() + 1);
                  },
                  [](RoadRun& r) { r.Driver().DeleteLine(); }});

// The reference: the host loads the same order and saves it, without the plug-in.
[[maybe_unused]] const bool kHostLoadSave =
    RegisterRoad({"host_load_save", Nothing, [](RoadRun& r) { r.HostLoadAndSave(); }});

// The user picks "Gestione annulli" on line 8 of the first size family and, in the grid,
// splits line 8 and cancels line 9: the grid handed the family, the write-back, the
// reversal and the save.
[[maybe_unused]] const bool kSizeGrid = RegisterRoad(
    {"size_grid",
     [](RoadRun& r) {
         r.OpenOrder();
         r.Driver().OpenForm(2);
         r.Driver().MoveToLine(8);
         r.Driver().Host().sizeGrid->PlanEdits(
             {sim::GridEdit::Line(8).Status("2").Cancelled(3), sim::GridEdit::Line(9).Status("3")});
     },
     [](RoadRun& r) { r.Driver().PickMenuItem("GestAnnulli"); }});

// Further roads (the field drivers) join here, one registration each.

}  // namespace
}  // namespace zq::bench
