// The header reason field was left: a reason whose description changed is carried down to
// the lines again; a blanked reason only clears the header's description.

#include "host/control_text.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// The lines keep their own reasons (the propagation never overwrites them), and nothing is
// saved: the user saves the order.
void CLSRF_REGDOC_STATI::AggiornaCausaleTestata() {
    if (IsTrue(IsAnnulliOffTestata()) || !FotografaPercorso()) return;
    if (host::LeggiTesto(ctlCodCausaleTesta).empty()) {
        host::ScriviTesto(ctlDesCausaleTesta, Variant(std::string()));
        host::Ref(RegDoc().rstDocTestaVert(), "rstDocTestaVert")
            .Set("DO76_DESCAU_ZQ63", Variant::Null());
        return;
    }
    if (!IsTrue(blnCambioStatoTesta)) PropagaStatoTestata();
}

}  // namespace zq::plugin
