// The simulated host's document object: one document loaded from the host database into
// batch-optimistic recordsets, the host behaviour the plug-in relies on, and a record of
// every operation the plug-in asked of it.
//
// Host behaviour kept here:
// - the current line: rstDocCorpoOrd and rstDocCorpoVert stay filtered on the current body
//   line (" DO31_PROGRIGA = n", " DO77_PROGRIGA = n"), objRigaCorpo follows it and the
//   body form's bound controls show it;
// - the grid shows one line and its state; whenever the grid comes to show another line or
//   another state (a move of the user's, or one the plug-in makes: a line appended, a
//   bookmark gone to, a row deleted, the refresh pair closed on another row) that is a
//   landing, which the driver announces as HostBehaviour says. While the refresh pair is
//   open the grid does not draw: the landing is announced when it closes;
// - AggiungiRigaCorpo appends a line keyed on the header, with the given numbers, zero in
//   its numeric columns and a fresh braced GUID, and makes it current (the header holds
//   no further line defaults in this database, so the copy-header flag is only recorded);
// - ImpostaQuantita sets DO30_QTA1 and recalculates the amounts (line_amounts.h);
// - the appends of DO31/DO77/DO76 rows key the new row on the current line / the header;
// - the take-overs commit the edit pending on their recordset;
// - the refresh pair nests; when the last FineAggiornaGriglia closes it, the grid redraws
//   on the row rstDocCorpo stands on: the line sections are filtered on that line again
//   and objRigaCorpo follows it;
// - Save writes every section back (UpdateBatch with adAffectAllChapters) and posts the
//   difference of the open quantities to the progressives.
// The follow-up operations are recorded and otherwise leave the data alone.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/regdoc.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/call_log.h"
#include "sim/host/host_database.h"
#include "sim/host/sections.h"
#include "sim/host/sim_docui.h"
#include "sim/host/sim_riga_corpo.h"

namespace zq::sim {

// What the document type decides.
struct DocumentType {
    bool gestCorpoVert = true;  // the type manages the line extension (DO77)
    bool gestCorpoOrd = true;   // the type manages the order data per line (DO31)
    bool gestLotti = false;
    std::int16_t decimaliPrezzo = 2;
    std::int16_t indicatoreAttesa = 1;    // the busy indicator as the host leaves it
    std::int32_t idFlussoRighe = 0;       // flow of the body lines
    std::int32_t statoInizialeRighe = 0;  // state of a line the flow store does not know
};

// What the grid shows after a move, against what it showed before.
struct Landing {
    bool lineMoved = false;     // another line is current
    bool stateChanged = false;  // the line-state control shows another state
};

struct DocumentKey {
    Variant ditta;       // company code, as written into SQL
    std::string numreg;  // registration number
};

class SimRegDoc : public host::IRegDoc {
  public:
    // Loads the document; error 3021 when its header is not in the database.
    static std::shared_ptr<SimRegDoc> Load(HostDatabasePtr db, DocumentKey key, DocumentType type,
                                           CallLogPtr log);

    // host::IRegDoc
    ado::RecordsetPtr rstDocTestata() const override {
        return Read(testata_, "gclsRegDoc.rstDocTestata");
    }
    ado::RecordsetPtr rstDocTestaOrd() const override {
        return Read(testaOrd_, "gclsRegDoc.rstDocTestaOrd");
    }
    ado::RecordsetPtr rstDocTestaVert() const override {
        return Read(testaVert_, "gclsRegDoc.rstDocTestaVert");
    }
    ado::RecordsetPtr rstDocCorpo() const override {
        return Read(corpo_, "gclsRegDoc.rstDocCorpo");
    }
    ado::RecordsetPtr rstDocCorpoOrd() const override {
        return Read(corpoOrd_, "gclsRegDoc.rstDocCorpoOrd");
    }
    ado::RecordsetPtr rstDocCorpoVert() const override {
        return Read(corpoVert_, "gclsRegDoc.rstDocCorpoVert");
    }
    ado::RecordsetPtr rstDocCorpoProv() const override { return Sub("rstDocCorpoProv"); }
    ado::RecordsetPtr rstDocCorpoRif() const override { return Sub("rstDocCorpoRif"); }
    ado::RecordsetPtr rstDocCorpoPers() const override { return Sub("rstDocCorpoPers"); }
    ado::RecordsetPtr rstDocCorpoEst() const override { return Sub("rstDocCorpoEst"); }
    ado::RecordsetPtr rstDocCorpoUbic() const override { return Sub("rstDocCorpoUbic"); }
    ado::RecordsetPtr rstDocCorpoConf() const override { return Sub("rstDocCorpoConf"); }
    ado::RecordsetPtr rstDocCorpoProge() const override { return Sub("rstDocCorpoProge"); }
    ado::RecordsetPtr rstDocCorOrdDet() const override { return Sub("rstDocCorOrdDet"); }
    ado::RecordsetPtr rstDocCorpoLot() const override { return Sub("rstDocCorpoLot"); }
    ado::RecordsetPtr rstDocCorpoGrid() const override { return Sub("rstDocCorpoGrid"); }
    ado::RecordsetPtr rstDocCorpoRaggr() const override { return Sub("rstDocCorpoRaggr"); }
    ado::RecordsetPtr rstDocCorpoScMag() const override { return Sub("rstDocCorpoScMag"); }
    ado::RecordsetPtr rstDocCorpoCoin() const override { return Sub("rstDocCorpoCoin"); }
    ado::RecordsetPtr rstDocCorpoRatei() const override { return Sub("rstDocCorpoRatei"); }

    host::DocUIPtr clsDocUI() const override {
        return Read<host::DocUIPtr>(docUI_, "gclsRegDoc.clsDocUI");
    }
    host::RigaCorpoPtr objRigaCorpo() const override {
        return Read<host::RigaCorpoPtr>(riga_, "gclsRegDoc.objRigaCorpo");
    }
    std::int16_t DecimaliPrezzo() const override {
        return Read(type_.decimaliPrezzo, "gclsRegDoc.DecimaliPrezzo");
    }
    VBool InElaborazione() const override {
        return Read(inElaborazione_, "gclsRegDoc.InElaborazione");
    }
    void SetInElaborazione(VBool v) override;
    void SetElencoDocRiferiti(std::string_view elenco) override;

    void ApriRstDocCorpoVert(std::string_view condizione) override;
    void ApriRstDocCorpoOrd(std::string_view condizione) override;

    void ImpostaQuantita(double qta, VBool ricalcola, VBool aggiornaControlli,
                         std::int16_t opzioni) override;
    void AggiungiRigaCorpo(std::int32_t tipo, std::int32_t progRiga, std::int32_t progPadre,
                           VBool copiaTestata) override;
    void AggiungiRigaCorpoOrd(std::int16_t opzioni) override;
    void AggiungiRigaCorpoVert(std::int16_t opzioni) override;
    void AggiungiRigaTestaVert(std::int16_t opzioni) override;
    void ImpostaArticoloOpzione(const Variant& articolo, const Variant& opzione, VBool a, VBool b,
                                VBool c) override;
    void ImpostaDepositoCollegato(const Variant& deposito) override;
    void AcquisisciTestaVert() override;
    void AcquisisciCorpoVert() override;
    void AggiornaTestata() override;
    void InizioAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) override;
    void FineAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) override;
    void DopoRigaCorpo(std::int32_t progRiga) override;
    void RicalcolaTotali(VBool a, VBool b, VBool c, VBool d, VBool e, VBool f, VBool g) override;
    void RicalcolaIva() override;
    void RicalcolaScadenze() override;

    // --- host side, used by the forms, the driver and tests ---

    // The user's move: positions rstDocCorpo on the line with that DO30_PROGRIGA (error
    // 3021 when there is none), follows it and answers what the grid shows now; the driver
    // announces it.
    Landing MoveToLine(std::int32_t progRiga);
    // A move the plug-in makes through the body form's go-to-bookmark: positions
    // rstDocCorpo on the bookmark and follows it; onPluginMove announces the landing.
    void MoveToBookmark(const Variant& bookmark);
    // Deletes the current DO30 row and stands on the next line (the last one when it was
    // the last), as the body form's row deletion does; the line's DO31/DO77 rows stay.
    // Answers what the grid shows now.
    Landing DeleteCurrentRow();
    // The host's undo of the current line (sim_regdoc_undo.cpp): the pending edits of the
    // line's DO30, DO31 and DO77 rows are dropped (a line appended and not saved goes),
    // and the grid stands on the line again, or on the last one when it went.
    Landing UndoCurrentLine();
    // Filters rstDocCorpoOrd/rstDocCorpoVert on the current line, points objRigaCorpo at it
    // and shows it in the bound controls: what the host does whenever the current line
    // changes.
    void FollowCurrentLine();
    // The host's own write-back of the whole document.
    void Save();

    const DocumentKey& Key() const { return key_; }
    const DocumentType& Type() const { return type_; }
    std::shared_ptr<SimDocUI> DocUI() const { return docUI_; }
    std::shared_ptr<SimRigaCorpo> RigaCorpo() const { return riga_; }
    const std::string& ElencoDocRiferiti() const { return elencoDocRiferiti_; }
    int GridSuspendDepth() const { return gridSuspend_; }
    int SaveCount() const { return saves_; }
    // Called after the host changed what the current line shows (quantity operation with
    // control update, line appended, line moved): the session refreshes bound controls.
    std::function<void()> onCurrentLineChanged;
    // Called with the landing of a move the plug-in made (the driver raises the host's
    // events for it).
    std::function<void(Landing)> onPluginMove;
    // Whether closing the refresh pair binds the sections to rstDocCorpo's row
    // (HostBehaviour::refreshPairRebinds).
    bool refreshPairRebinds = true;

  private:
    SimRegDoc(HostDatabasePtr db, DocumentKey key, DocumentType type, CallLogPtr log);
    ado::RecordsetPtr Sub(std::string_view member) const;
    ado::RecordsetPtr Open(const Section& s, std::string_view extraCondition = {}) const;
    ado::RecordsetPtr& Required(ado::RecordsetPtr& rs, std::string_view member);
    void AppendKeyedRow(ado::Recordset& rs, std::string_view prefix, bool withLine);
    void CommitPendingEdit(const ado::RecordsetPtr& rs);
    void Changed();
    // Compares what the grid shows with what it showed and takes it as shown; nothing
    // while the refresh pair is open.
    Landing Display();
    // A move of the plug-in's: follow, display, announce.
    void PluginMoved();

    HostDatabasePtr db_;
    DocumentKey key_;
    DocumentType type_;
    CallLogPtr log_;
    std::shared_ptr<SimDocUI> docUI_;
    std::shared_ptr<SimRigaCorpo> riga_;
    ado::RecordsetPtr testata_, testaOrd_, testaVert_, corpo_, corpoOrd_, corpoVert_;
    std::array<ado::RecordsetPtr, kSottoSezioni.size()> sub_;
    std::string shownGuid_;        // the line the grid shows
    std::int32_t shownState_ = 0;  // the state its line-state control shows
    std::string elencoDocRiferiti_;
    VBool inElaborazione_ = VFalse;
    int gridSuspend_ = 0;
    int saves_ = 0;
};

}  // namespace zq::sim
