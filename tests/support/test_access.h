// The plug-in's fields and procedures that no host road shows directly, for tests that set
// a busy flag no road raises yet, read what a road left behind, or call one procedure the
// way the road that owns it calls it. Every accessor takes the plug-in object itself
// (Session::Plugin() in a session, or an object a test made on its own).
#pragma once

#include <cstdint>
#include <string>

#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

struct ClsrfTestAccess {
    using P = CLSRF_REGDOC_STATI;

    // ---- busy flags, read and set ----
    static VBool& DecodeCausaleTesta(P& p) { return p.blnDecodeCausaleTesta; }
    static VBool& CambioStatoTesta(P& p) { return p.blnCambioStatoTesta; }
    static VBool& PropagaInCorso(P& p) { return p.blnPropagaInCorso; }
    static VBool& ApplicaInCorso(P& p) { return p.blnApplicaInCorso; }
    static VBool& ConfermaInCorso(P& p) { return p.blnConfermaInCorso; }
    static VBool& CreaAnnulloInCorso(P& p) { return p.blnCreaAnnulloInCorso; }
    static VBool& RipristinoInCorso(P& p) { return p.blnRipristinoInCorso; }
    static VBool& GrigliaInCorso(P& p) { return p.blnGrigliaInCorso; }

    // ---- what Initialize and the forms' opening read ----
    struct States {
        std::int32_t testa, righe;
        VBool mancaTesta, mancaRighe;
        bool operator==(const States&) const = default;
    };
    static States StatesOf(const P& p) {
        return {p.lngStatoAnnulloTesta, p.lngStatoAnnulloRighe, p.blnMancaStatoTesta,
                p.blnMancaStatoRighe};
    }
    static std::string CausaleDefault(const P& p) { return p.strCausaleDefault; }
    static std::string DesCausaleDefault(const P& p) { return p.strDesCausaleDefault; }
    static std::string ParamInit(const P& p) { return p.strParamInit; }
    static ObjectPtr MenuFunzGen(const P& p) { return p.objMenuFunzGen; }
    static void SetGridComponents(P& p, ObjectPtr griglia, ObjectPtr registra) {
        p.objGriglia = std::move(griglia);
        p.objRegistraGriglia = std::move(registra);
    }

    // ---- flow states ----
    static std::int32_t StatoIniziale(P& p, std::int32_t idFlusso) {
        return p.GetStatoIniziale(idFlusso);
    }
    static void SetFlussoStato(P& p, const std::string& guid, std::int32_t stato,
                               std::int32_t flusso) {
        p.SetFlussoStato(guid, stato, flusso);
    }

    // ---- the current line, the line being deleted, the last cancellation line ----
    static std::string GuidRigaCorrente(const P& p) { return p.strGuidRigaCorrente; }
    static std::int32_t ProgRigaCorrente(const P& p) { return p.lngProgRigaCorrente; }
    static std::int32_t ProgPadreCorrente(const P& p) { return p.lngProgPadreCorrente; }
    static std::string GuidRigaCancellata(const P& p) { return p.strGuidRigaCancellata.ToString(); }
    static std::int32_t ProgRigaCancellata(const P& p) { return p.lngProgRigaCancellata; }
    struct UltimoAnnullo {
        std::string guid;
        std::int32_t progRiga, progPadre, stato;
    };
    static UltimoAnnullo Ultimo(const P& p) {
        return {p.strGuidUltimoAnnullo, p.lngProgRigaUltimoAnnullo, p.lngProgPadreUltimoAnnullo,
                p.lngStatoUltimoAnnullo};
    }

    // ---- links between master and cancellation lines, numbering ----
    static LinkAnnulli Links(const P& p) {
        return p.colLinkAnnulli ? *p.colLinkAnnulli : LinkAnnulli{};
    }
    static std::int32_t& ProgPadreAnnulli(P& p) { return p.lngProgPadreAnnulli; }
    static void AddLinkAnnullo(P& p, const std::string& detail, const std::string& master,
                               const Variant& progPadre) {
        p.AddLinkAnnullo(Variant(detail), Variant(master), progPadre);
    }
    static void RemoveLinkAnnullo(P& p, const std::string& detail) {
        p.RemoveLinkAnnullo(Variant(detail));
    }
    static VBool FindDetailGuid(P& p, const std::string& master, Variant& detail) {
        return p.FindDetailGuid(Variant(master), detail);
    }
    static VBool FindMasterGuid(P& p, const std::string& detail, Variant& master) {
        return p.FindMasterGuid(Variant(detail), master);
    }
    static std::int32_t GetMaxDO30_PROGRIGA(P& p, const ado::RecordsetPtr& rs) {
        return p.GetMaxDO30_PROGRIGA(rs);
    }
    static std::int32_t GetMaxDO30_PROGPADRE(P& p, const ado::RecordsetPtr& rs) {
        return p.GetMaxDO30_PROGPADRE(rs);
    }

    // ---- line look-ups ----
    static Variant GetBookmarkByGuid(P& p, ado::RecordsetPtr rst, const std::string& guid,
                                     VBool blocca) {
        return p.GetBookmarkByGuid(rst, guid, blocca);
    }
    static Variant GetProgRigaByGuid(P& p, ado::RecordsetPtr rst, const std::string& guid,
                                     VBool blocca = VFalse) {
        return p.GetProgRigaByGuid(rst, guid, blocca);
    }
    static Variant GetCampoByProgRiga(P& p, ado::RecordsetPtr rst, std::int32_t prog,
                                      const std::string& campo, VBool blocca = VFalse) {
        return p.GetCampoByProgRiga(rst, prog, campo, blocca);
    }

    // ---- line roads, called as the roads that own them call them ----
    static void ApplicaStatoRighe(P& p, std::int32_t stato, std::int32_t flusso,
                                  const std::string& cod, const std::string& des, VBool sovrascrivi,
                                  std::int32_t progRiga) {
        p.ApplicaStatoRighe(stato, flusso, cod, des, sovrascrivi, progRiga);
    }
    struct Esito {
        bool ok;
        double qtaRipristino;
    };
    // On the current line, as the line cancellation calls it.
    static Esito CreaAnnulloParziale(P& p, double qtaOrdine, double qtaAnnullo,
                                     const std::string& guidMaster) {
        VBool ok = VFalse;
        double ripristino = -99;
        p.CreaAnnulloParziale(qtaOrdine, qtaAnnullo, Variant(guidMaster), ok, ripristino);
        return {IsTrue(ok), ripristino};
    }
    // On the current line, as the size-grid write-back calls it.
    static Esito DuplicaRigaCorpoGrid(P& p, double qtaOrdine, double qtaAnnullo,
                                      const std::string& guidMaster, bool aggiornaGriglia) {
        VBool ok = VFalse;
        double ripristino = -99;
        p.DuplicaRigaCorpoGrid(qtaOrdine, qtaAnnullo, Variant(guidMaster), ok, ripristino,
                               ToVBool(aggiornaGriglia));
        return {IsTrue(ok), ripristino};
    }

    // ---- referenced documents and progressive reversal ----
    // The capture as every caller passes it: no projects working set, the fixed names.
    static void CreaTempStorno(P& p, const std::string& elenco, VBool gestLotti) {
        p.CreaTempStorno(elenco, gestLotti, VFalse, "#STORNA_PROGMAG", "#STORNA_PROGLOTTI",
                         "#STORNA_PROGPROGETTI");
    }
    static void AggiornaBatchCorpo(P& p) { p.AggiornaBatchCorpo(); }
    static void EseguiProgMagDoc(P& p) { p.EseguiProgMagDoc(); }
    static void GetDocumentiRiferiti(P& p) { p.GetDocumentiRiferiti(); }

    // ---- size grid: layout, seasons, the grid's data recordset, sub-rows ----
    static const LayoutGriglia& Layout(const P& p) { return p.layoutGriglia; }
    static ObjectPtr Griglia(const P& p) { return p.objGriglia; }
    static ObjectPtr RegistraGriglia(const P& p) { return p.objRegistraGriglia; }
    static VBool GetDimeConf(P& p, std::int32_t ditta) { return p.GetDimeConf(ditta); }
    static std::string Get_MG5T_CODICE(P& p, std::int16_t idStagione) {
        return p.Get_MG5T_CODICE(idStagione);
    }
    // Asks objGriglia, as the grid command does after handing the grid its data.
    static VBool ControllaCampiGriglia(P& p, ado::RecordsetPtr& rst) {
        return p.ControllaCampiGriglia(rst);
    }
    static ado::RecordsetPtr ClonaStrutturaRecordset(P& p, ado::RecordsetPtr& rst) {
        return p.ClonaStrutturaRecordset(rst);
    }
    static void EliminaSottorigheCorpo(P& p, std::int32_t progRiga) {
        p.EliminaSottorigheCorpo(progRiga);
    }
};

}  // namespace zq::plugin

namespace zq::test {
using plugin::ClsrfTestAccess;
}  // namespace zq::test
