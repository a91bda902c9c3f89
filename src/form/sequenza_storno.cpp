// The reversal sequence around a line settlement started from the form: capture the
// order's open quantities, settle, write the body back, run the progressive procedure and,
// where the road saves, save.

#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// Every step with its errors ignored, as in the line-state road. A settlement that carried
// nothing out leaves the capture unused, so that no later reversal takes it for its own.
bool CLSRF_REGDOC_STATI::SequenzaStorno(const std::function<bool()>& cambio, bool salva) {
    IgnoreErrors([&] {
        const std::string numReg = host::objFunzioniGlobali().ValoreTesto(
            host::Ref(RegDoc().rstDocTestata(), "rstDocTestata").Get("DO11_NUMREG_CO99"));
        CreaTempStorno(numReg, DocUI().GestLotti(), VFalse, "#STORNA_PROGMAG", "#STORNA_PROGLOTTI",
                       "#STORNA_PROGPROGETTI");
    });
    bool eseguito = false;
    IgnoreErrors([&] { eseguito = cambio(); });
    if (!eseguito) {
        blnStornoPronto = VFalse;
    } else if (salva) {
        ConcludiStorno();
    } else if (IsTrue(blnStornoPronto)) {
        IgnoreErrors([&] { AggiornaBatchCorpo(); });
        IgnoreErrors([&] { EseguiProgMagDoc(); });
    }
    SeguiRigaCorrente();
    return eseguito;
}

}  // namespace zq::plugin
