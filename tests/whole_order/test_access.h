// Reaches into the plug-in object for what no host road of this build reaches: the busy
// flag of the header decode, and the reversal procedures that the line roads will call.
#pragma once

#include <string>

#include "plugin/clsrf_regdoc_stati.h"
#include "sim/host/driver.h"

namespace zq::plugin {

struct ClsrfTestAccess {
    static CLSRF_REGDOC_STATI& Of(const sim::HostDriver& d) {
        return dynamic_cast<CLSRF_REGDOC_STATI&>(*d.Plugin().object);
    }
    static bool CambioStatoInCorso(const sim::HostDriver& d) {
        return IsTrue(Of(d).blnCambioStatoTesta);
    }
    static bool DecodificaInCorso(const sim::HostDriver& d) {
        return IsTrue(Of(d).blnDecodeCausaleTesta);
    }
    static void DecodificaCausaleTesta(const sim::HostDriver& d, bool on) {
        Of(d).blnDecodeCausaleTesta = ToVBool(on);
    }
    // The capture as every caller passes it: no projects working set, the fixed names.
    static void CreaTempStorno(const sim::HostDriver& d, const std::string& elenco,
                               VBool gestLotti) {
        Of(d).CreaTempStorno(elenco, gestLotti, VFalse, "#STORNA_PROGMAG", "#STORNA_PROGLOTTI",
                             "#STORNA_PROGPROGETTI");
    }
    static void AggiornaBatchCorpo(const sim::HostDriver& d) { Of(d).AggiornaBatchCorpo(); }
    static void EseguiProgMagDoc(const sim::HostDriver& d) { Of(d).EseguiProgMagDoc(); }
    static void GetDocumentiRiferiti(const sim::HostDriver& d) { Of(d).GetDocumentiRiferiti(); }
};

}  // namespace zq::plugin

namespace zq::testing {
using plugin::ClsrfTestAccess;
}  // namespace zq::testing
