// Life cycle of the plug-in object: creation, Initialize, Terminate and destruction.

#include "plugin/clsrf_regdoc_stati.h"

#include "grid/grid_members.h"
#include "host/host_access.h"
#include "host/policy.h"

namespace zq::plugin {

using host::Ref;

CLSRF_REGDOC_STATI::CLSRF_REGDOC_STATI() {
    // No connection or host object exists yet: only the index starts known.
    intIndPlugIn = 0;
}

// Every step with its errors ignored, so that the host can always release the object.
// Terminate runs again last: when the host already called it, its steps meet released
// references and are ignored; when it did not, the busy indicator is restored here.
CLSRF_REGDOC_STATI::~CLSRF_REGDOC_STATI() {
    (void)ComBoundary([&] {
        if (objGriglia) {
            CleanUp([&] { CallMethod(objGriglia, grid::kGrigliaUnload); });
            objGriglia.reset();
        }
        if (objRegistraGriglia) {
            const Variant nothing{ObjectPtr()};
            CleanUp([&] { SetProp(objRegistraGriglia, grid::kRegistraGriglia, nothing); });
            CleanUp([&] { SetProp(objRegistraGriglia, grid::kRegistraConnessione, nothing); });
            CleanUp([&] { SetProp(objRegistraGriglia, grid::kRegistraProgramma, nothing); });
            objRegistraGriglia.reset();
        }
        for (ObjectPtr* ctl : {&ctlCodCausaleTesta, &ctlDesCausaleTesta, &ctlQtaOrig,
                               &ctlQtaAnnullo, &ctlCodCausaleRiga, &ctlDesCausaleRiga,
                               &ctlStatoRiga, &ctlQta1, &ctlQta2, &ctlTipoRiga})
            ctl->reset();
        colLinkAnnulli.reset();
        objMenuFunzGen.reset();
        (void)Terminate();
    });
}

ado::Connection& CLSRF_REGDOC_STATI::Cnn() const {
    return Ref(cnnDB, "cnnDB");
}

host::IRegDoc& CLSRF_REGDOC_STATI::RegDoc() const {
    return Ref(gclsRegDoc, "gclsRegDoc");
}

host::IDocUI& CLSRF_REGDOC_STATI::DocUI() const {
    return Ref(RegDoc().clsDocUI(), "clsDocUI");
}

// The first error ends it with result False; what was done before it stays done. The
// parameter and reason readings trap their own errors, so a missing configuration does
// not make the run fail.
HResult CLSRF_REGDOC_STATI::Initialize(Variant Param, ado::ConnectionPtr& cnn,
                                       host::RegDocPtr& regDoc, host::ProgrammaPtr& programma,
                                       host::DittaPtr& ditta, std::int16_t indPlugIn,
                                       VBool& Result) {
    return ComBoundary([&] {
        Result = VFalse;
        const bool ready = EndQuietly([&] {
            strParamInit = host::objFunzioniGlobali().ValoreTesto(Param);

            cnnDB = cnn;
            gclsRegDoc = regDoc;
            objProgramma = programma;
            objDitta = ditta;
            intIndPlugIn = indPlugIn;

            LeggiParametriAnnullo();
            strCausaleDefault = GetCausaleDefault(strDesCausaleDefault);

            // A document type without the vertical or the order body still gets both
            // sections, opened empty, because every later road reads them.
            if (!RegDoc().rstDocCorpoVert()) {
                DocUI().SetGestCorpoVert(VTrue);
                RegDoc().ApriRstDocCorpoVert("1=0");
            }
            if (!RegDoc().rstDocCorpoOrd()) {
                DocUI().SetGestCorpoOrd(VTrue);
                RegDoc().ApriRstDocCorpoOrd("1=0");
            }

            intAttesaSalvata = DocUI().IndicatoreAttesa();
        });
        Result = ToVBool(ready);
    });
}

HResult CLSRF_REGDOC_STATI::Terminate() {
    return ComBoundary([&] {
        CleanUp([&] { DocUI().SetIndicatoreAttesa(intAttesaSalvata); });
        // The document goes without its last changes written (a save clears the list): the
        // lines lose the fields the user changed, so the states picked with them go back
        // to the written ones and the flow-state store keeps agreeing with the lines.
        for (const auto& scritto : statiRigaScritti)
            IgnoreErrors([&] { SetFlussoStato(scritto.first, scritto.second, lngFlussoDoc); });
        statiRigaScritti.clear();
        cnnDB.reset();
        gclsRegDoc.reset();
        objProgramma.reset();
        objDitta.reset();
    });
}

}  // namespace zq::plugin
