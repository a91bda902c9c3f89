#include "session.h"

#include "sim/db/schema.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::plugin {

CLSRF_REGDOC_STATI& ClsrfTestAccess::Of(const sim::HostDriver& d) {
    auto p = std::dynamic_pointer_cast<CLSRF_REGDOC_STATI>(d.Plugin().object);
    if (!p) RaiseObjectNotSet("plug-in");
    return *p;
}
bool ClsrfTestAccess::CreaAnnulloInCorso(const sim::HostDriver& d) {
    return IsTrue(Of(d).blnCreaAnnulloInCorso);
}
bool ClsrfTestAccess::RipristinoInCorso(const sim::HostDriver& d) {
    return IsTrue(Of(d).blnRipristinoInCorso);
}
bool ClsrfTestAccess::ConfermaInCorso(const sim::HostDriver& d) {
    return IsTrue(Of(d).blnConfermaInCorso);
}
void ClsrfTestAccess::SetCreaAnnulloInCorso(const sim::HostDriver& d, bool on) {
    Of(d).blnCreaAnnulloInCorso = ToVBool(on);
}
void ClsrfTestAccess::SetGrigliaInCorso(const sim::HostDriver& d, bool on) {
    Of(d).blnGrigliaInCorso = ToVBool(on);
}
std::vector<DO77> ClsrfTestAccess::Links(const sim::HostDriver& d) {
    auto& p = Of(d);
    return p.colLinkAnnulli ? *p.colLinkAnnulli : std::vector<DO77>{};
}
std::string ClsrfTestAccess::GuidRigaCancellata(const sim::HostDriver& d) {
    return Of(d).strGuidRigaCancellata.ToString();
}
std::int32_t ClsrfTestAccess::ProgRigaCancellata(const sim::HostDriver& d) {
    return Of(d).lngProgRigaCancellata;
}
std::int32_t ClsrfTestAccess::ProgPadreAnnulli(const sim::HostDriver& d) {
    return Of(d).lngProgPadreAnnulli;
}
ClsrfTestAccess::UltimoAnnullo ClsrfTestAccess::Ultimo(const sim::HostDriver& d) {
    auto& p = Of(d);
    return {p.strGuidUltimoAnnullo, p.lngProgRigaUltimoAnnullo, p.lngProgPadreUltimoAnnullo,
            p.lngStatoUltimoAnnullo};
}
std::int32_t ClsrfTestAccess::GetMaxDO30_PROGRIGA(CLSRF_REGDOC_STATI& p,
                                                  const ado::RecordsetPtr& rs) {
    return p.GetMaxDO30_PROGRIGA(rs);
}
std::int32_t ClsrfTestAccess::GetMaxDO30_PROGPADRE(CLSRF_REGDOC_STATI& p,
                                                   const ado::RecordsetPtr& rs) {
    return p.GetMaxDO30_PROGPADRE(rs);
}
void ClsrfTestAccess::AddLinkAnnullo(CLSRF_REGDOC_STATI& p, const std::string& detail,
                                     const std::string& master, std::int32_t progPadre) {
    p.AddLinkAnnullo(Variant(detail), Variant(master), Variant::Int32(progPadre));
}
ClsrfTestAccess::Esito ClsrfTestAccess::DuplicaRigaCorpoGrid(const sim::HostDriver& d,
                                                             double qtaOrdine, double qtaAnnullo,
                                                             const std::string& guidMaster,
                                                             bool aggiornaGriglia) {
    VBool ok = VFalse;
    double ripristino = -99;
    Of(d).DuplicaRigaCorpoGrid(qtaOrdine, qtaAnnullo, Variant(guidMaster), ok, ripristino,
                               ToVBool(aggiornaGriglia));
    return {IsTrue(ok), ripristino};
}
ClsrfTestAccess::Esito ClsrfTestAccess::CreaAnnulloParziale(const sim::HostDriver& d,
                                                            double qtaOrdine, double qtaAnnullo,
                                                            const std::string& guidMaster) {
    VBool ok = VFalse;
    double ripristino = -99;
    Of(d).CreaAnnulloParziale(qtaOrdine, qtaAnnullo, Variant(guidMaster), ok, ripristino);
    return {IsTrue(ok), ripristino};
}

}  // namespace zq::plugin

namespace zq::test {

namespace {

using sim::SqliteConnection;

void BuildOrder(SqliteConnection& conn, const OrderOptions& o) {
    sim::CreateSchema(conn);
    sim::HostDbBuilder b(conn);
    b.Ditta(kDitta)
        .Parametri(kStatoTestaAnnullato, kStatoAnnullato)
        .Entita(10, "Righe documento")
        .Entita(11, "Testate documento")
        .Flusso(kFlussoRighe, 10, "Righe ordini clienti")
        .Flusso(kFlussoTesta, 11, "Ordini clienti")
        .Stato(kStatoAnnullato, 10, "Riga annullata")
        .Stato(kStatoIniziale, 10, "Riga inserita")
        .Stato(kStatoConfermato, 10, "Riga confermata")
        .Stato(kStatoTestaIniziale, 11, "Ordine inserito")
        .Stato(kStatoTestaAnnullato, 11, "Ordine annullato")
        .Causale("CLI", "Richiesta del cliente", o.defaultReason)
        .Causale("FOR", "  Merce non disponibile  ");
    b.Ordine(kOrdine).FlussoDoc(kFlussoTesta, kStatoTestaIniziale);
    b.Riga(1, "ART-A", 10, 5)
        .Riga(2, "ART-B", 20, 2.5)
        .Consegnato(8)
        .Riga(3, "ART-C", 6, 4)
        .Riga(4, "ART-D", 4, 10)
        .Riga(5, "ART-E", 5, 2)
        .Riga(6, "ART-F", 5, 3);
    if (o.lotRow) b.Lotto(1, "L2026A", 5);
    b.Riga(7, "ART-G", 5, 1);
    b.Build();
}

}  // namespace

const Variant& DbLine::operator[](const std::string& name) const {
    static const Variant missing = Variant::Null();
    auto it = col.find(name);
    return it == col.end() ? missing : it->second;
}
double DbLine::Num(const std::string& name) const {
    const Variant& v = (*this)[name];
    return v.IsNull() ? 0 : v.ToDouble();
}
std::string DbLine::Text(const std::string& name) const {
    const Variant& v = (*this)[name];
    return v.IsNull() ? std::string() : v.ToString();
}
bool DbLine::IsNull(const std::string& name) const {
    return (*this)[name].IsNull();
}

struct Session::Faults {
    std::vector<Fault> armed;
    bool fired = false;
    int seen = 0;
};

Session::Session(OrderOptions options)
    : conn_(SqliteConnection::Open(":memory:")), faults_(std::make_shared<Faults>()) {
    BuildOrder(*conn_, options);
    sim::HostSettings settings;
    settings.document = {Variant::Int32(kDitta), std::to_string(kOrdine)};
    settings.type.idFlussoRighe = kFlussoRighe;
    settings.type.statoInizialeRighe = kStatoIniziale;
    settings.gridMode = options.gridMode;
    settings.commandFactory = sim::SqliteCommandFactory();
    host_ =
        std::make_unique<sim::SimHost>(std::make_shared<sim::SqliteHostDatabase>(conn_), settings);
    driver_ = std::make_unique<sim::HostDriver>(*host_);
    if (!driver_->Initialize()) Raise(5, "Session", "Initialize answered False");
    driver_->OpenForm(1);
    driver_->OpenForm(2);
    driver_->MoveToLine(1);
    host_->messaggi->TakeShown();
}

Session::~Session() = default;

void Session::CancelWholeOrder() {
    Variant origine{ObjectPtr(host_->header)};
    const HResult r = driver_->Plugin().formEvents->StatiTESTATAChange(
        origine, kStatoTestaAnnullato, kFlussoTesta);
    if (r.Failed()) Raise(r.number, "StatiTESTATAChange", r.description);
}

void Session::CancelQuantity(double qta) {
    driver_->EditLineField("DO77_ZQ_QTA_ANNULLO", FormatDouble(qta));
    driver_->SetLineState(kStatoAnnullato);
}

DbLine Session::Line(std::int32_t progRiga) {
    DbLine line;
    auto rows = conn_->QueryRows(
        "SELECT * FROM DO30_DOCCORPO WHERE DO30_DITTA_CG18 = ? AND DO30_NUMREG_CO99 = ? AND "
        "DO30_PROGRIGA = ?",
        {Variant::Int32(kDitta), Variant::Int32(kOrdine), Variant::Int32(progRiga)});
    if (rows.rows.empty()) return line;
    line.exists = true;
    for (std::size_t i = 0; i < rows.fields.size(); ++i)
        line.col[rows.fields[i].name] = rows.rows[0][i];
    for (const char* table : {"DO31_DOCCORPOORD", "DO77_DOCCORPOVERT"}) {
        const std::string p = std::string(table).substr(0, 4);
        auto r = conn_->QueryRows(
            "SELECT * FROM " + std::string(table) + " WHERE " + p + "_DITTA_CG18 = ? AND " + p +
                "_NUMREG_CO99 = ? AND " + p + "_PROGRIGA = ?",
            {Variant::Int32(kDitta), Variant::Int32(kOrdine), Variant::Int32(progRiga)});
        if (r.rows.empty()) continue;
        (p == "DO31" ? line.hasDo31 : line.hasDo77) = true;
        for (std::size_t i = 0; i < r.fields.size(); ++i) line.col[r.fields[i].name] = r.rows[0][i];
    }
    return line;
}

std::vector<std::int32_t> Session::LineNumbers() {
    auto rows = conn_->QueryRows(
        "SELECT DO30_PROGRIGA FROM DO30_DOCCORPO WHERE DO30_NUMREG_CO99 = ? ORDER BY 1",
        {Variant::Int32(kOrdine)});
    std::vector<std::int32_t> out;
    for (const auto& r : rows.rows) out.push_back(r[0].ToLong());
    return out;
}

std::optional<std::int32_t> Session::FlowState(const std::string& guid) {
    return sim::ReadFlowState(*conn_, guid, kFlussoRighe);
}

Variant Session::Current(std::string_view field) {
    const std::string_view p = field.substr(0, 4);
    auto& doc = *host_->doc;
    auto rs = p == "DO30"   ? doc.rstDocCorpo()
              : p == "DO31" ? doc.rstDocCorpoOrd()
                            : doc.rstDocCorpoVert();
    if (!rs || rs->BOF() || rs->EOF_()) return Variant::Null();
    return rs->Get(field);
}

std::string Session::Braced(std::int32_t progRiga) {
    return sim::HostDbBuilder::GuidRiga(kOrdine, progRiga);
}

std::vector<sim::ShownMessage> Session::TakeMessages() {
    return host_->messaggi->TakeShown();
}

std::int16_t Session::Indicatore() {
    return host_->doc->DocUI()->IndicatoreAttesa();
}

void Session::Arm(Fault fault) {
    faults_->armed.push_back(fault);
    auto state = faults_;
    if (!fault.member.empty()) {
        host_->log->beforeRecord = [state, fault](const std::string& member) mutable {
            if (member != fault.member || state->fired) return;
            if (++state->seen == fault.occurrence) {
                state->fired = true;
                Raise(err::AdoProviderError, member, "Injected failure of " + member);
            }
        };
    } else {
        // The flow-state procedure fails on its n-th call from now.
        conn_->RegisterProcedure(
            {"SPCO_SETFLUSSOSTATO",
             {"@GUID", "@CODSTATO", "@CODFLUSSO"},
             [state, fault](SqliteConnection& c, const sim::ProcedureArgs& a) -> std::int32_t {
                 if (!state->fired && ++state->seen == fault.occurrence) {
                     state->fired = true;
                     Raise(err::AdoProviderError, "SPCO_SETFLUSSOSTATO", "Injected failure");
                 }
                 sim::WriteFlowState(c, a.Get("@GUID").ToString(), a.Get("@CODSTATO").ToLong(),
                                     a.Get("@CODFLUSSO").ToLong());
                 return 0;
             }});
    }
}

bool Session::FaultFired() const {
    return faults_->fired;
}

std::string Unbraced(const std::string& guid) {
    std::string out;
    for (char c : guid)
        if (c != '{' && c != '}') out += c;
    return out;
}

}  // namespace zq::test
