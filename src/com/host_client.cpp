#include "com/host_client.h"

#include "com/ado_client.h"

namespace zq::com {

namespace {

Variant B(VBool v) {
    return Variant::Bool(IsTrue(v));
}
Variant I(std::int16_t v) {
    return Variant::Int16(v);
}
Variant L(std::int32_t v) {
    return Variant::Int32(v);
}
VBool ToVB(const Variant& v) {
    return ToVBool(v.ToBool());
}

}  // namespace

// ---- clsDocUI ----

std::int16_t DispDocUI::IndicatoreAttesa() const {
    return Read("IndicatoreAttesa").ToInt();
}
void DispDocUI::SetIndicatoreAttesa(std::int16_t v) {
    Write("IndicatoreAttesa", I(v));
}
void DispDocUI::SetGestCorpoVert(VBool v) {
    Write("GestCorpoVert", B(v));
}
void DispDocUI::SetGestCorpoOrd(VBool v) {
    Write("GestCorpoOrd", B(v));
}
VBool DispDocUI::GestLotti() const {
    return ToVB(Read("GestLotti"));
}
std::int16_t DispDocUI::DecimaliPrezzo() const {
    return Read("DecimaliPrezzo").ToInt();
}

// ---- objRigaCorpo ----

std::string DispRigaCorpo::GuidRiga() const {
    return Read("GuidRiga").ToString();
}
void DispRigaCorpo::SetGuidRiga(std::string_view guid) {
    Write("GuidRiga", Variant(guid));
}
std::int32_t DispRigaCorpo::StatoRiga() const {
    return Read("StatoRiga").ToLong();
}
void DispRigaCorpo::SetStatoRiga(std::int32_t idStato) {
    Write("StatoRiga", L(idStato));
}
std::int32_t DispRigaCorpo::IdFlusso() const {
    return Read("IdFlusso").ToLong();
}
void DispRigaCorpo::AcquisisciStato() {
    Call("AcquisisciStato");
}

// ---- gclsRegDoc ----

ado::RecordsetPtr DispRegDoc::Rst(std::string_view member) const {
    return held_.Get<ado::Recordset, DispRecordset>(member, Read(member));
}
host::DocUIPtr DispRegDoc::clsDocUI() const {
    return held_.Get<host::IDocUI, DispDocUI>("clsDocUI", Read("clsDocUI"));
}
host::RigaCorpoPtr DispRegDoc::objRigaCorpo() const {
    return held_.Get<host::IRigaCorpo, DispRigaCorpo>("objRigaCorpo", Read("objRigaCorpo"));
}
std::int16_t DispRegDoc::DecimaliPrezzo() const {
    return Read("DecimaliPrezzo").ToInt();
}
void DispRegDoc::SetElencoDocRiferiti(std::string_view elenco) {
    Write("ElencoDocRiferiti", Variant(elenco));
}
VBool DispRegDoc::InElaborazione() const {
    return ToVB(Read("InElaborazione"));
}
void DispRegDoc::SetInElaborazione(VBool v) {
    Write("InElaborazione", B(v));
}
void DispRegDoc::ApriRstDocCorpoVert(std::string_view condizione) {
    Call("ApriRstDocCorpoVert", {Variant(condizione)});
}
void DispRegDoc::ApriRstDocCorpoOrd(std::string_view condizione) {
    Call("ApriRstDocCorpoOrd", {Variant(condizione)});
}
void DispRegDoc::ImpostaQuantita(double qta, VBool ricalcola, VBool aggiornaControlli,
                                 std::int16_t opzioni) {
    Call("ImpostaQuantita", {Variant(qta), B(ricalcola), B(aggiornaControlli), I(opzioni)});
}
void DispRegDoc::AggiungiRigaCorpo(std::int32_t tipo, std::int32_t progRiga, std::int32_t progPadre,
                                   VBool copiaTestata) {
    Call("AggiungiRigaCorpo", {L(tipo), L(progRiga), L(progPadre), B(copiaTestata)});
}
void DispRegDoc::AggiungiRigaCorpoOrd(std::int16_t opzioni) {
    Call("AggiungiRigaCorpoOrd", {I(opzioni)});
}
void DispRegDoc::AggiungiRigaCorpoVert(std::int16_t opzioni) {
    Call("AggiungiRigaCorpoVert", {I(opzioni)});
}
void DispRegDoc::AggiungiRigaTestaVert(std::int16_t opzioni) {
    Call("AggiungiRigaTestaVert", {I(opzioni)});
}
void DispRegDoc::ImpostaArticoloOpzione(const Variant& articolo, const Variant& opzione, VBool a,
                                        VBool b, VBool c) {
    Call("ImpostaArticoloOpzione", {articolo, opzione, B(a), B(b), B(c)});
}
void DispRegDoc::ImpostaDepositoCollegato(const Variant& deposito) {
    Call("ImpostaDepositoCollegato", {deposito});
}
void DispRegDoc::AcquisisciTestaVert() {
    Call("AcquisisciTestaVert");
}
void DispRegDoc::AcquisisciCorpoVert() {
    Call("AcquisisciCorpoVert");
}
void DispRegDoc::AggiornaTestata() {
    Call("AggiornaTestata");
}
void DispRegDoc::InizioAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) {
    Call("InizioAggiornaGriglia", {B(a), L(b), L(c), B(d), B(e)});
}
void DispRegDoc::FineAggiornaGriglia(VBool a, std::int32_t b, std::int32_t c, VBool d, VBool e) {
    Call("FineAggiornaGriglia", {B(a), L(b), L(c), B(d), B(e)});
}
void DispRegDoc::DopoRigaCorpo(std::int32_t progRiga) {
    Call("DopoRigaCorpo", {L(progRiga)});
}
void DispRegDoc::RicalcolaTotali(VBool a, VBool b, VBool c, VBool d, VBool e, VBool f, VBool g) {
    Call("RicalcolaTotali", {B(a), B(b), B(c), B(d), B(e), B(f), B(g)});
}
void DispRegDoc::RicalcolaIva() {
    Call("RicalcolaIva");
}
void DispRegDoc::RicalcolaScadenze() {
    Call("RicalcolaScadenze");
}

// ---- company, messages, program, environment, conversions ----

Variant DispDitta::CodiceDitta() const {
    return Read("CodiceDitta");
}

void DispMessaggi::MostraMessaggio(std::string_view testo, std::int32_t stile,
                                   std::string_view titolo, const ObjectPtr& owner,
                                   std::int32_t& risposta) {
    Variant args[5] = {Variant(testo), L(stile), Variant(titolo), Variant(owner), L(risposta)};
    CallRef("MostraMessaggio", args);
    risposta = args[4].ToLong();
}

host::AmbientePtr DispProgramma::Ambiente() const {
    return Typed<host::IAmbiente, DispAmbiente>(Read("Ambiente"));
}
VBool DispProgramma::Abilitato() const {
    return ToVB(Read("Abilitato"));
}
void DispProgramma::SetAbilitato(VBool v) {
    Write("Abilitato", B(v));
}
void DispProgramma::SetModale(VBool v) {
    Write("Modale", B(v));
}

host::DittaPtr DispAmbiente::DittaAmbiente() const {
    return Typed<host::IDitta, DispDitta>(Read("DittaAmbiente"));
}
host::MessaggiPtr DispAmbiente::Messaggi() const {
    return Typed<host::IMessaggi, DispMessaggi>(Read("Messaggi"));
}
void DispAmbiente::RegistraProgramma(host::ProgrammaPtr& programma) {
    Variant args[1] = {Variant(ObjectPtr(programma))};
    CallRef("RegistraProgramma", args);
    programma = Typed<host::IProgramma, DispProgramma>(args[0]);
}
void DispAmbiente::EseguiProgramma(std::int32_t& handle, const Variant& progId, VBool a,
                                   std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                                   std::int32_t f, VBool g, VBool h,
                                   host::ProgrammaPtr& programma) {
    Variant args[11] = {L(handle),
                        progId,
                        B(a),
                        L(b),
                        L(c),
                        L(d),
                        L(e),
                        L(f),
                        B(g),
                        B(h),
                        Variant(ObjectPtr(programma))};
    CallRef("EseguiProgramma", args);
    handle = args[0].ToLong();
    programma = Typed<host::IProgramma, DispProgramma>(args[10]);
}

std::string DispFunzioniGlobali::ValoreTesto(const Variant& v) const {
    return Call("ValoreTesto", {v}).ToString();
}
double DispFunzioniGlobali::ValoreNumero(const Variant& v) const {
    return Call("ValoreNumero", {v}).ToDouble();
}

}  // namespace zq::com
