// Small stand-ins for the host, enough to drive the plug-in object through its two
// interfaces: a document object, its UI options, the program with environment, company
// and message service, the conversion functions, and a connection that records every
// statement and answers queries from a script.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "data/ado.h"
#include "host/create_object.h"
#include "host/error.h"
#include "host/regdoc.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::test {

// ---- query answers ----

// A forward-only result: named columns and rows. Only what reading a result needs works;
// anything else is a fault of the test (3219).
class FakeRows : public ado::Recordset {
  public:
    FakeRows(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}

    std::int32_t FieldCount() const override { return std::int32_t(columns_.size()); }
    ado::FieldPtr FieldAt(std::int32_t i) const override;
    ado::FieldPtr FieldByName(std::string_view name) const override;
    bool HasField(std::string_view name) const override { return Column(name) >= 0; }
    std::int32_t State() const override { return ado::adStateOpen; }
    bool BOF() const override { return rows_.empty() || pos_ < 0; }
    bool EOF_() const override { return pos_ >= std::int32_t(rows_.size()); }
    std::int32_t RecordCount() const override { return std::int32_t(rows_.size()); }
    void MoveFirst() override { pos_ = 0; }
    void MoveNext() override { ++pos_; }

    Variant ValueAt(std::int32_t column) const {
        if (BOF() || EOF_()) Raise(err::AdoBofEof, "FakeRows", "BOF or EOF");
        return rows_[pos_][column];
    }
    const std::string& ColumnName(std::int32_t i) const { return columns_.at(i); }

    void AppendField(std::string_view, std::int32_t, std::int32_t, std::int32_t) override { No(); }
    void Open() override { No(); }
    void Close() override {}
    std::int32_t EditMode() const override { return ado::adEditNone; }
    void MoveLast() override { No(); }
    void MovePrevious() override { No(); }
    Variant Bookmark() const override { No(); }
    void SetBookmark(const Variant&) override { No(); }
    void Find(std::string_view, std::int32_t, std::int32_t, const Variant&) override { No(); }
    Variant Filter() const override { return Variant::Int32(0); }
    void SetFilter(const Variant&) override { No(); }
    ado::RecordsetPtr Clone(std::int32_t) override { No(); }
    void AddNew() override { No(); }
    void Update() override { No(); }
    void CancelUpdate() override { No(); }
    void Delete(std::int32_t) override { No(); }
    void UpdateBatch(std::int32_t) override { No(); }
    void CancelBatch(std::int32_t) override { No(); }

  private:
    [[noreturn]] static void No() { Raise(err::AdoNotAllowed, "FakeRows", "not in this fake"); }
    std::int32_t Column(std::string_view name) const {
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (SameName(columns_[i], name)) return std::int32_t(i);
        return -1;
    }
    std::vector<std::string> columns_;
    std::vector<std::vector<Variant>> rows_;
    std::int32_t pos_ = 0;
};

struct Statement {
    std::string text;
    std::int32_t options;
};

// Records every statement; a query whose text contains a scripted key gets that answer
// (the first key that matches), any other gets no rows. `failAll` makes every statement
// fail as a provider error does.
class FakeConnection : public ado::Connection {
  public:
    ado::RecordsetPtr Execute(std::string_view text, Variant* affected,
                              std::int32_t options) override;

    void Answer(std::string key, std::vector<std::string> columns,
                std::vector<std::vector<Variant>> rows) {
        script_.push_back({std::move(key), std::move(columns), std::move(rows)});
    }

    std::vector<Statement> statements;
    bool failAll = false;

  private:
    struct Scripted {
        std::string key;
        std::vector<std::string> columns;
        std::vector<std::vector<Variant>> rows;
    };
    std::vector<Scripted> script_;
};

// ---- the host's objects ----

// Every host call the fakes receive, in order, as "Member(args)".
using CallLog = std::vector<std::string>;

class FakeDocUI : public host::IDocUI {
  public:
    explicit FakeDocUI(CallLog& log) : log_(log) {}
    std::int16_t IndicatoreAttesa() const override;
    void SetIndicatoreAttesa(std::int16_t v) override;
    void SetGestCorpoVert(VBool v) override;
    void SetGestCorpoOrd(VBool v) override;
    VBool GestLotti() const override { return VFalse; }
    std::int16_t DecimaliPrezzo() const override { return 2; }

    std::int16_t indicatore = 0;
    std::optional<VBool> gestCorpoVert, gestCorpoOrd;
    // A fault that is no host error, to prove the interface boundary holds it.
    bool faultOnRead = false;

  private:
    CallLog& log_;
};

class FakeRigaCorpo : public host::IRigaCorpo {
  public:
    std::string GuidRiga() const override { return guid; }
    void SetGuidRiga(std::string_view g) override { guid = g; }
    std::int32_t StatoRiga() const override { return 0; }
    void SetStatoRiga(std::int32_t) override {}
    std::int32_t IdFlusso() const override { return 0; }
    void AcquisisciStato() override {}
    std::string guid;
};

// The document: body sections start closed unless `withSections`; every operation is
// logged and does nothing else.
class FakeRegDoc : public host::IRegDoc {
  public:
    FakeRegDoc(CallLog& log, bool withSections);

    ado::RecordsetPtr rstDocCorpoOrd() const override { return corpoOrd; }
    ado::RecordsetPtr rstDocCorpoVert() const override { return corpoVert; }
    host::DocUIPtr clsDocUI() const override { return docUI; }
    host::RigaCorpoPtr objRigaCorpo() const override { return rigaCorpo; }
    void ApriRstDocCorpoVert(std::string_view condizione) override;
    void ApriRstDocCorpoOrd(std::string_view condizione) override;

    ado::RecordsetPtr rstDocTestata() const override { return nullptr; }
    ado::RecordsetPtr rstDocTestaOrd() const override { return nullptr; }
    ado::RecordsetPtr rstDocTestaVert() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpo() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoProv() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoRif() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoPers() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoEst() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoUbic() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoConf() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoProge() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorOrdDet() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoLot() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoGrid() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoRaggr() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoScMag() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoCoin() const override { return nullptr; }
    ado::RecordsetPtr rstDocCorpoRatei() const override { return nullptr; }
    std::int16_t DecimaliPrezzo() const override { return 2; }
    void SetElencoDocRiferiti(std::string_view) override { Note("SetElencoDocRiferiti"); }
    VBool InElaborazione() const override { return VFalse; }
    void SetInElaborazione(VBool) override { Note("SetInElaborazione"); }
    void ImpostaQuantita(double, VBool, VBool, std::int16_t) override { Note("ImpostaQuantita"); }
    void AggiungiRigaCorpo(std::int32_t, std::int32_t, std::int32_t, VBool) override {
        Note("AggiungiRigaCorpo");
    }
    void AggiungiRigaCorpoOrd(std::int16_t) override { Note("AggiungiRigaCorpoOrd"); }
    void AggiungiRigaCorpoVert(std::int16_t) override { Note("AggiungiRigaCorpoVert"); }
    void AggiungiRigaTestaVert(std::int16_t) override { Note("AggiungiRigaTestaVert"); }
    void ImpostaArticoloOpzione(const Variant&, const Variant&, VBool, VBool, VBool) override {
        Note("ImpostaArticoloOpzione");
    }
    void ImpostaDepositoCollegato(const Variant&) override { Note("ImpostaDepositoCollegato"); }
    void AcquisisciTestaVert() override { Note("AcquisisciTestaVert"); }
    void AcquisisciCorpoVert() override { Note("AcquisisciCorpoVert"); }
    void AggiornaTestata() override { Note("AggiornaTestata"); }
    void InizioAggiornaGriglia(VBool, std::int32_t, std::int32_t, VBool, VBool) override {
        Note("InizioAggiornaGriglia");
    }
    void FineAggiornaGriglia(VBool, std::int32_t, std::int32_t, VBool, VBool) override {
        Note("FineAggiornaGriglia");
    }
    void DopoRigaCorpo(std::int32_t) override { Note("DopoRigaCorpo"); }
    void RicalcolaTotali(VBool, VBool, VBool, VBool, VBool, VBool, VBool) override {
        Note("RicalcolaTotali");
    }
    void RicalcolaIva() override { Note("RicalcolaIva"); }
    void RicalcolaScadenze() override { Note("RicalcolaScadenze"); }

    std::shared_ptr<FakeDocUI> docUI;
    std::shared_ptr<FakeRigaCorpo> rigaCorpo;
    ado::RecordsetPtr corpoOrd, corpoVert;

  private:
    void Note(std::string call) const { log_.push_back(std::move(call)); }
    CallLog& log_;
};

class FakeDitta : public host::IDitta {
  public:
    explicit FakeDitta(Variant codice) : codice_(std::move(codice)) {}
    Variant CodiceDitta() const override { return codice_; }

  private:
    Variant codice_;
};

struct Message {
    std::string text;
    std::int32_t style;
    std::string title;
    bool ownerIsNull;
};

class FakeMessaggi : public host::IMessaggi {
  public:
    void MostraMessaggio(std::string_view testo, std::int32_t stile, std::string_view titolo,
                         const ObjectPtr& owner, std::int32_t& risposta) override {
        shown.push_back({std::string(testo), stile, std::string(titolo), owner == nullptr});
        risposta = answer;
    }
    std::vector<Message> shown;
    std::int32_t answer = 1;  // OK
};

class FakeAmbiente : public host::IAmbiente {
  public:
    host::DittaPtr DittaAmbiente() const override { return ditta; }
    host::MessaggiPtr Messaggi() const override { return messaggi; }
    void RegistraProgramma(host::ProgrammaPtr&) override {}
    void EseguiProgramma(std::int32_t&, const Variant&, VBool, std::int32_t, std::int32_t,
                         std::int32_t, std::int32_t, std::int32_t, VBool, VBool,
                         host::ProgrammaPtr&) override {}
    host::DittaPtr ditta;
    std::shared_ptr<FakeMessaggi> messaggi;
};

class FakeProgramma : public host::IProgramma {
  public:
    host::AmbientePtr Ambiente() const override { return ambiente; }
    VBool Abilitato() const override { return VTrue; }
    void SetAbilitato(VBool) override {}
    void SetModale(VBool) override {}
    std::shared_ptr<FakeAmbiente> ambiente;
};

// Text and number forms as the host writes them; the text is tagged so that a test sees
// the conversion was used.
class FakeFunzioniGlobali : public host::IFunzioniGlobali {
  public:
    std::string ValoreTesto(const Variant& v) const override { return "T:" + v.ToString(); }
    double ValoreNumero(const Variant& v) const override { return v.IsNull() ? 0 : v.ToDouble(); }
};

// A late-bound object that logs every member used on it (the size-grid components).
class LoggingObject : public Object {
  public:
    LoggingObject(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;

  private:
    CallLog& log_;
    std::string name_;
};

// ---- one host session ----

// The host side of one document-registration run. The company of the environment and
// the company handed to Initialize differ on purpose: the parameters belong to the
// environment's.
struct FakeHost {
    explicit FakeHost(bool withSections = false);

    // Initialize as the host calls it, with plug-in index 3.
    VBool Initialize(std::int16_t index = 3);

    CallLog log;
    std::shared_ptr<FakeConnection> cnn = std::make_shared<FakeConnection>();
    std::shared_ptr<FakeRegDoc> doc;
    std::shared_ptr<FakeProgramma> programma = std::make_shared<FakeProgramma>();
    std::shared_ptr<FakeDitta> ditta = std::make_shared<FakeDitta>(Variant::Int32(99));
    Variant param = Variant("P1");
    std::shared_ptr<plugin::CLSRF_REGDOC_STATI> plugin =
        std::make_shared<plugin::CLSRF_REGDOC_STATI>();
    HResult lastResult;

  private:
    ScopedObjectFactory funzioni_;
};

}  // namespace zq::test

namespace zq::plugin {

// Reads the run's fields that no host road shows yet, and raises the busy flags that only
// later roads raise.
struct ClsrfTestAccess {
    static std::int32_t StatoAnnulloTesta(const PluginPtr& p) { return p->lngStatoAnnulloTesta; }
    static std::int32_t StatoAnnulloRighe(const PluginPtr& p) { return p->lngStatoAnnulloRighe; }
    static VBool MancaStatoTesta(const PluginPtr& p) { return p->blnMancaStatoTesta; }
    static VBool MancaStatoRighe(const PluginPtr& p) { return p->blnMancaStatoRighe; }
    static std::string CausaleDefault(const PluginPtr& p) { return p->strCausaleDefault; }
    static std::string DesCausaleDefault(const PluginPtr& p) { return p->strDesCausaleDefault; }
    static std::string ParamInit(const PluginPtr& p) { return p->strParamInit; }
    static ObjectPtr MenuFunzGen(const PluginPtr& p) { return p->objMenuFunzGen; }

    enum class Busy { CambioStatoTesta, GrigliaInCorso, ConfermaInCorso };
    static void SetBusy(const PluginPtr& p, Busy flag, VBool v) {
        switch (flag) {
            case Busy::CambioStatoTesta:
                p->blnCambioStatoTesta = v;
                break;
            case Busy::GrigliaInCorso:
                p->blnGrigliaInCorso = v;
                break;
            case Busy::ConfermaInCorso:
                p->blnConfermaInCorso = v;
                break;
        }
    }
    static void SetGridComponents(const PluginPtr& p, ObjectPtr griglia, ObjectPtr registra) {
        p->objGriglia = std::move(griglia);
        p->objRegistraGriglia = std::move(registra);
    }

    // The body-form opening and the line state change call these and keep the result.
    static std::int32_t StatoInizialeRighe(const PluginPtr& p, std::int32_t idFlusso) {
        p->lngStatoInizialeRighe = p->GetStatoIniziale(idFlusso);
        return p->lngStatoInizialeRighe;
    }
    static void SetFlussoStato(const PluginPtr& p, const std::string& guid, std::int32_t stato,
                               std::int32_t flusso) {
        p->SetFlussoStato(guid, stato, flusso);
    }
};

}  // namespace zq::plugin
