// The host's undo of the current body line's pending edits, as its navigators' "annulla"
// does before the host tells the plug-in.

#include "sim/host/sim_regdoc.h"

namespace zq::sim {

namespace {

bool Stands(const ado::RecordsetPtr& rs) {
    return rs && rs->State() == ado::adStateOpen && !rs->BOF() && !rs->EOF_();
}

}  // namespace

Landing SimRegDoc::UndoCurrentLine() {
    auto& corpo = Required(corpo_, "rstDocCorpo");
    if (!Stands(corpo)) return {};
    const Variant prog = corpo->Get("DO30_PROGRIGA");
    for (const auto& rs : {corpoOrd_, corpoVert_})
        if (Stands(rs)) rs->CancelBatch(ado::adAffectCurrent);
    corpo->CancelBatch(ado::adAffectCurrent);

    // A line appended and never saved is gone: the grid stands on the last line.
    if (corpo->RecordCount() > 0) {
        corpo->MoveFirst();
        if (!prog.IsNull() && !prog.IsEmpty())
            corpo->Find(" DO30_PROGRIGA = " + std::to_string(prog.ToLong()));
        if (corpo->EOF_()) corpo->MoveLast();
    }
    FollowCurrentLine();
    return Display();
}

}  // namespace zq::sim
