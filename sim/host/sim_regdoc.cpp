#include "sim/host/sim_regdoc.h"

#include <string>

#include "sim/host/guid.h"
#include "sim/host/line_amounts.h"

namespace zq::sim {

namespace {

Variant B(VBool v) {
    return Variant::Bool(IsTrue(v));
}

bool IsNumericType(std::int32_t t) {
    switch (t) {
        case ado::adSmallInt:
        case ado::adInteger:
        case ado::adSingle:
        case ado::adDouble:
        case ado::adCurrency:
        case ado::adDecimal:
        case ado::adNumeric:
        case ado::adTinyInt:
        case ado::adBigInt:
            return true;
        default:
            return false;
    }
}

// Identity columns are the database's to fill.
bool IsIdColumn(const std::string& name) {
    return name.size() >= 3 &&
           (name.compare(name.size() - 3, 3, "_ID") == 0 || name.find("_ID_") != std::string::npos);
}

bool OnRow(const ado::Recordset& rs) {
    return !rs.BOF() && !rs.EOF_();
}

}  // namespace

SimRegDoc::SimRegDoc(HostDatabasePtr db, DocumentKey key, DocumentType type, CallLogPtr log)
    : db_(std::move(db)), key_(std::move(key)), type_(type), log_(std::move(log)) {
    docUI_ = std::make_shared<SimDocUI>(log_, type_.gestLotti, type_.decimaliPrezzo,
                                        type_.indicatoreAttesa);
    riga_ = std::make_shared<SimRigaCorpo>(log_, db_, type_.idFlussoRighe);
}

std::shared_ptr<SimRegDoc> SimRegDoc::Load(HostDatabasePtr db, DocumentKey key, DocumentType type,
                                           CallLogPtr log) {
    std::shared_ptr<SimRegDoc> doc(
        new SimRegDoc(std::move(db), std::move(key), type, std::move(log)));
    doc->testata_ = doc->Open(kTestata);
    if (!OnRow(*doc->testata_))
        Raise(err::AdoBofEof, "gclsRegDoc",
              "Document " + doc->key_.numreg + " of company " + doc->key_.ditta.Describe() +
                  " not found");
    doc->testaOrd_ = doc->Open(kTestaOrd);
    doc->testaVert_ = doc->Open(kTestaVert);
    doc->corpo_ = doc->Open(kCorpo);
    // A document type without the order or vertical body leaves those sections unopened.
    if (type.gestCorpoOrd) doc->corpoOrd_ = doc->Open(kCorpoOrd);
    if (type.gestCorpoVert) doc->corpoVert_ = doc->Open(kCorpoVert);
    for (std::size_t i = 0; i < kSottoSezioni.size(); ++i)
        doc->sub_[i] = doc->Open(kSottoSezioni[i]);
    doc->FollowCurrentLine();
    (void)doc->Display();
    return doc;
}

ado::RecordsetPtr SimRegDoc::Open(const Section& s, std::string_view extraCondition) const {
    std::string where = DocumentWhere(s, key_.ditta, key_.numreg);
    if (!extraCondition.empty()) where += " AND (" + std::string(extraCondition) + ")";
    return db_->OpenTable(s.table, where);
}

ado::RecordsetPtr SimRegDoc::Sub(std::string_view member) const {
    FaultPoint point(FaultKind::Get, "gclsRegDoc." + std::string(member));
    for (std::size_t i = 0; i < kSottoSezioni.size(); ++i)
        if (kSottoSezioni[i].member == member) return sub_[i];
    return nullptr;
}

ado::RecordsetPtr& SimRegDoc::Required(ado::RecordsetPtr& rs, std::string_view member) {
    if (!rs) RaiseObjectNotSet(member);
    return rs;
}

void SimRegDoc::AppendKeyedRow(ado::Recordset& rs, std::string_view prefix, bool withLine) {
    rs.AddNew();
    // A new row starts with zero in its numeric columns, as the host's defaults give.
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) {
        auto f = rs.FieldAt(i);
        if (IsNumericType(f->Type()) && !IsIdColumn(f->Name())) f->SetValue(Variant::Int32(0));
    }
    const std::string p(prefix);
    rs.Set(p + "_DITTA_CG18", key_.ditta);
    rs.Set(p + "_NUMREG_CO99", testata_->Get("DO11_NUMREG_CO99"));
    if (withLine && corpo_ && OnRow(*corpo_)) rs.Set(p + "_PROGRIGA", corpo_->Get("DO30_PROGRIGA"));
}

void SimRegDoc::CommitPendingEdit(const ado::RecordsetPtr& rs) {
    if (rs && rs->State() == ado::adStateOpen && rs->EditMode() != ado::adEditNone) rs->Update();
}

void SimRegDoc::Changed() {
    if (onCurrentLineChanged) onCurrentLineChanged();
}

void SimRegDoc::FollowCurrentLine() {
    if (!corpo_) return;
    std::int32_t prog = 0;
    std::string guid;
    if (OnRow(*corpo_)) {
        Variant p = corpo_->Get("DO30_PROGRIGA");
        if (!p.IsNull() && !p.IsEmpty()) prog = p.ToLong();
        Variant g = corpo_->Get("DO30_GUID");
        if (!g.IsNull() && !g.IsEmpty()) guid = g.ToString();
    }
    const std::string n = std::to_string(prog);
    if (corpoOrd_) {
        CommitPendingEdit(corpoOrd_);
        corpoOrd_->SetFilter(Variant(" DO31_PROGRIGA = " + n));
    }
    if (corpoVert_) {
        CommitPendingEdit(corpoVert_);
        corpoVert_->SetFilter(Variant(" DO77_PROGRIGA = " + n));
    }
    // The line-state control shows what objRigaCorpo reports while it stands on the line
    // the grid shows: the user's choice, or a state the plug-in set or confirmed.
    if (!shownGuid_.empty() && SameGuid(riga_->GuidRiga(), shownGuid_))
        shownState_ = riga_->StatoRiga();
    std::int32_t stato = type_.statoInizialeRighe;
    if (!guid.empty())
        stato = db_->FlowState(guid, type_.idFlussoRighe).value_or(type_.statoInizialeRighe);
    riga_->Follow(guid, stato);
    Changed();
}

Landing SimRegDoc::Display() {
    if (gridSuspend_ > 0) return {};
    Landing l;
    l.lineMoved = !SameGuid(riga_->GuidRiga(), shownGuid_);
    l.stateChanged = !riga_->GuidRiga().empty() && riga_->StatoRiga() != shownState_;
    shownGuid_ = riga_->GuidRiga();
    shownState_ = riga_->StatoRiga();
    return l;
}

void SimRegDoc::PluginMoved() {
    FollowCurrentLine();
    const Landing l = Display();
    if ((l.lineMoved || l.stateChanged) && onPluginMove) onPluginMove(l);
}

Landing SimRegDoc::MoveToLine(std::int32_t progRiga) {
    Required(corpo_, "rstDocCorpo");
    CommitPendingEdit(corpo_);
    corpo_->MoveFirst();
    corpo_->Find(" DO30_PROGRIGA = " + std::to_string(progRiga));
    if (corpo_->EOF_())
        Raise(err::AdoBofEof, "gclsRegDoc", "No body line " + std::to_string(progRiga));
    FollowCurrentLine();
    return Display();
}

void SimRegDoc::MoveToBookmark(const Variant& bookmark) {
    Required(corpo_, "rstDocCorpo");
    CommitPendingEdit(corpo_);
    corpo_->SetBookmark(bookmark);
    PluginMoved();
}

Landing SimRegDoc::DeleteCurrentRow() {
    auto& rs = Required(corpo_, "rstDocCorpo");
    if (!OnRow(*rs)) return {};
    rs->Delete(ado::adAffectCurrent);
    if (!rs->EOF_()) rs->MoveNext();
    if (rs->EOF_() && rs->RecordCount() > 0) rs->MoveLast();
    FollowCurrentLine();
    return Display();
}

void SimRegDoc::Save() {
    log_->Record("gclsRegDoc.Save");
    const ado::RecordsetPtr main[] = {testata_, testaOrd_, testaVert_,
                                      corpo_,   corpoOrd_, corpoVert_};
    db_->WriteDocument(key_.ditta, key_.numreg, [&] {
        auto write = [this](const ado::RecordsetPtr& rs) {
            if (!rs) return;
            CommitPendingEdit(rs);
            rs->UpdateBatch(ado::adAffectAllChapters);
        };
        for (const auto& rs : main) write(rs);
        for (const auto& rs : sub_) write(rs);
    });
    ++saves_;
}

void SimRegDoc::SetElencoDocRiferiti(std::string_view elenco) {
    FaultPoint point(FaultKind::Set, "gclsRegDoc.ElencoDocRiferiti");
    elencoDocRiferiti_ = std::string(elenco);
    log_->Record("gclsRegDoc.ElencoDocRiferiti", {Variant(elenco)});
}

void SimRegDoc::SetInElaborazione(VBool v) {
    FaultPoint point(FaultKind::Set, "gclsRegDoc.InElaborazione");
    inElaborazione_ = v;
    log_->Record("gclsRegDoc.InElaborazione", {B(v)});
}

void SimRegDoc::ApriRstDocCorpoVert(std::string_view condizione) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.ApriRstDocCorpoVert");
    log_->Record("gclsRegDoc.ApriRstDocCorpoVert", {Variant(condizione)});
    corpoVert_ = Open(kCorpoVert, condizione);
}

void SimRegDoc::ApriRstDocCorpoOrd(std::string_view condizione) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.ApriRstDocCorpoOrd");
    log_->Record("gclsRegDoc.ApriRstDocCorpoOrd", {Variant(condizione)});
    corpoOrd_ = Open(kCorpoOrd, condizione);
}

void SimRegDoc::ImpostaQuantita(double qta, VBool ricalcola, VBool aggiornaControlli,
                                std::int16_t opzioni) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.ImpostaQuantita");
    log_->Record("gclsRegDoc.ImpostaQuantita",
                 {Variant(qta), B(ricalcola), B(aggiornaControlli), Variant::Int16(opzioni)});
    auto& rs = Required(corpo_, "rstDocCorpo");
    rs->Set("DO30_QTA1", Variant(qta));
    RecalculateLineAmounts(*rs);
    rs->Update();
    if (IsTrue(aggiornaControlli)) Changed();
}

void SimRegDoc::AggiungiRigaCorpo(std::int32_t tipo, std::int32_t progRiga, std::int32_t progPadre,
                                  VBool copiaTestata) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AggiungiRigaCorpo");
    log_->Record("gclsRegDoc.AggiungiRigaCorpo", {Variant::Int32(tipo), Variant::Int32(progRiga),
                                                  Variant::Int32(progPadre), B(copiaTestata)});
    auto& rs = Required(corpo_, "rstDocCorpo");
    CommitPendingEdit(rs);
    AppendKeyedRow(*rs, "DO30", false);
    rs->Set("DO30_PROGRIGA", Variant::Int32(progRiga));
    if (rs->HasField("DO30_PROGPADRE")) rs->Set("DO30_PROGPADRE", Variant::Int32(progPadre));
    if (rs->HasField("DO30_INDTIPORIGA")) rs->Set("DO30_INDTIPORIGA", Variant::Int32(tipo));
    rs->Set("DO30_GUID", Variant(NewBracedGuid()));
    rs->Update();
    PluginMoved();
}

void SimRegDoc::AggiungiRigaCorpoOrd(std::int16_t opzioni) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AggiungiRigaCorpoOrd");
    log_->Record("gclsRegDoc.AggiungiRigaCorpoOrd", {Variant::Int16(opzioni)});
    auto& rs = Required(corpoOrd_, "rstDocCorpoOrd");
    CommitPendingEdit(rs);
    AppendKeyedRow(*rs, "DO31", true);
    rs->Update();
}

void SimRegDoc::AggiungiRigaCorpoVert(std::int16_t opzioni) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AggiungiRigaCorpoVert");
    log_->Record("gclsRegDoc.AggiungiRigaCorpoVert", {Variant::Int16(opzioni)});
    auto& rs = Required(corpoVert_, "rstDocCorpoVert");
    CommitPendingEdit(rs);
    AppendKeyedRow(*rs, "DO77", true);
    rs->Update();
}

void SimRegDoc::AggiungiRigaTestaVert(std::int16_t opzioni) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AggiungiRigaTestaVert");
    log_->Record("gclsRegDoc.AggiungiRigaTestaVert", {Variant::Int16(opzioni)});
    auto& rs = Required(testaVert_, "rstDocTestaVert");
    CommitPendingEdit(rs);
    AppendKeyedRow(*rs, "DO76", false);
    rs->Update();
}

void SimRegDoc::ImpostaArticoloOpzione(const Variant& articolo, const Variant& opzione, VBool a,
                                       VBool b, VBool c) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.ImpostaArticoloOpzione");
    log_->Record("gclsRegDoc.ImpostaArticoloOpzione", {articolo, opzione, B(a), B(b), B(c)});
    auto& rs = Required(corpo_, "rstDocCorpo");
    rs->Set("DO30_CODART_MG66", articolo);
    rs->Set("DO30_OPZIONE_MG5E", opzione);
    rs->Update();
}

void SimRegDoc::ImpostaDepositoCollegato(const Variant& deposito) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.ImpostaDepositoCollegato");
    log_->Record("gclsRegDoc.ImpostaDepositoCollegato", {deposito});
    auto& rs = Required(corpo_, "rstDocCorpo");
    rs->Set("DO30_CODDEPCOL_MG58", deposito);
    rs->Update();
}

void SimRegDoc::AcquisisciTestaVert() {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AcquisisciTestaVert");
    log_->Record("gclsRegDoc.AcquisisciTestaVert");
    CommitPendingEdit(testaVert_);
}

void SimRegDoc::AcquisisciCorpoVert() {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AcquisisciCorpoVert");
    log_->Record("gclsRegDoc.AcquisisciCorpoVert");
    CommitPendingEdit(corpoVert_);
}

void SimRegDoc::AggiornaTestata() {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.AggiornaTestata");
    log_->Record("gclsRegDoc.AggiornaTestata");
    CommitPendingEdit(testaOrd_);
}

void SimRegDoc::InizioAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.InizioAggiornaGriglia");
    log_->Record("gclsRegDoc.InizioAggiornaGriglia",
                 {B(a), Variant::Int32(b), Variant::Int32(c), B(d), B(e)});
    ++gridSuspend_;
}

void SimRegDoc::FineAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.FineAggiornaGriglia");
    log_->Record("gclsRegDoc.FineAggiornaGriglia",
                 {B(a), Variant::Int32(b), Variant::Int32(c), B(d), B(e)});
    if (gridSuspend_ > 0) --gridSuspend_;
    if (gridSuspend_ > 0) return;
    if (refreshPairRebinds) {
        // The grid redraws on the row rstDocCorpo stands on and binds its sections to it.
        PluginMoved();
        return;
    }
    // The grid redraws what it is bound to; what changed meanwhile is shown now.
    const Landing l = Display();
    if ((l.lineMoved || l.stateChanged) && onPluginMove) onPluginMove(l);
}

void SimRegDoc::DopoRigaCorpo(std::int32_t progRiga) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.DopoRigaCorpo");
    log_->Record("gclsRegDoc.DopoRigaCorpo", {Variant::Int32(progRiga)});
}

void SimRegDoc::RicalcolaTotali(VBool a, VBool b, VBool c, VBool d, VBool e, VBool f, VBool g) {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.RicalcolaTotali");
    log_->Record("gclsRegDoc.RicalcolaTotali", {B(a), B(b), B(c), B(d), B(e), B(f), B(g)});
}

void SimRegDoc::RicalcolaIva() {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.RicalcolaIva");
    log_->Record("gclsRegDoc.RicalcolaIva");
}

void SimRegDoc::RicalcolaScadenze() {
    FaultPoint point(FaultKind::Method, "gclsRegDoc.RicalcolaScadenze");
    log_->Record("gclsRegDoc.RicalcolaScadenze");
}

}  // namespace zq::sim
