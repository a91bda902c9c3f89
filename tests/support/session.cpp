#include "support/session.h"

#include "host/error.h"
#include "sim/db/schema.h"

namespace zq::test {

namespace {

// The line tables by their column prefix.
const char* LineTable(std::string_view prefix) {
    if (prefix == "DO30") return "DO30_DOCCORPO";
    if (prefix == "DO31") return "DO31_DOCCORPOORD";
    if (prefix == "DO77") return "DO77_DOCCORPOVERT";
    Raise(err::InvalidArgument, "Session", "no line table for " + std::string(prefix));
}

// "WHERE <prefix>_DITTA_CG18 = ? AND <prefix>_NUMREG_CO99 = ? AND <prefix>_PROGRIGA = ?"
std::string WhereLine(const std::string& p) {
    return " WHERE " + p + "_DITTA_CG18 = ? AND " + p + "_NUMREG_CO99 = ? AND " + p +
           "_PROGRIGA = ?";
}

// The demo company's flows and states, its parameters and reasons as the options say, and
// the order with its lines.
void BuildOrder(sim::SqliteConnection& conn, const SessionOptions& o) {
    sim::CreateSchema(conn);
    sim::HostDbBuilder b(conn);
    b.Ditta(kDitta)
        .Entita(10, "Righe documento")
        .Entita(11, "Testate documento")
        .Flusso(kFlussoRighe, 10, "Righe ordini clienti")
        .Flusso(kFlussoTesta, 11, "Ordini clienti")
        .Stato(kStatoRigheIniziale, 10, "Riga inserita")
        .Stato(kStatoRigheConfermato, 10, "Riga confermata")
        .Stato(kStatoRigheAnnullato, 10, "Riga annullata")
        .Stato(kStatoTestaIniziale, 11, "Ordine inserito")
        .Stato(kStatoTestaAnnullato, 11, "Ordine annullato");
    if (o.parametri) b.Parametri(o.statoTesta, o.statoRighe);
    for (const Reason& r : o.reasons) b.Causale(r.codice, r.descrizione, r.predefinita);
    b.Ordine(o.numreg).FlussoDoc(kFlussoTesta, kStatoTestaIniziale);
    o.lines(b);
    b.Build();
}

}  // namespace

std::string Guid(std::int32_t progRiga, std::int32_t numreg) {
    return sim::HostDbBuilder::GuidRiga(numreg, progRiga);
}

std::string Bare(std::int32_t progRiga, std::int32_t numreg) {
    return Unbraced(Guid(progRiga, numreg));
}

std::string Unbraced(const std::string& guid) {
    std::string out;
    for (char c : guid)
        if (c != '{' && c != '}') out += c;
    return out;
}

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

sim::DocumentType SessionOptions::StandardType() {
    sim::DocumentType t;
    t.idFlussoRighe = kFlussoRighe;
    t.statoInizialeRighe = kStatoRigheIniziale;
    return t;
}

Session::Session(SessionOptions o)
    : options(std::move(o)), conn(sim::SqliteConnection::Open(":memory:")) {
    if (options.lines) {
        BuildOrder(*conn, options);
    } else {
        sim::CreateDemoDatabase(*conn);
    }
    for (const auto& sql : options.setup) conn->RunSqlite(sql);
    db = std::make_shared<RecordingHostDatabase>(conn);
}

Session::~Session() {
    Close();
}

sim::HostSettings Session::Settings() const {
    sim::HostSettings s;
    s.document = {Variant::Int32(kDitta), std::to_string(options.numreg)};
    s.type = options.type;
    s.gridMode = options.gridMode;
    s.behaviour = options.behaviour;
    s.commandFactory = SpyCommandFactory(commands, conn);
    return s;
}

std::unique_ptr<sim::SimHost> Session::NewHost(sim::HostSettings settings) const {
    return std::make_unique<sim::SimHost>(db, std::move(settings));
}

sim::SimHost& Session::Load() {
    if (!host) {
        host = NewHost(Settings());
        if (options.reasonsProgram) reasons.emplace(host->ambiente);
        driver = std::make_unique<sim::HostDriver>(*host, options.plugin);
    }
    return *host;
}

bool Session::Initialize(std::int16_t indPlugIn) {
    Load();
    return driver->Initialize(options.param, indPlugIn);
}

void Session::Open() {
    if (!driver || !driver->Plugin()) {
        if (!Initialize()) Raise(err::InvalidArgument, "Session", "Initialize answered False");
    }
    for (std::int16_t tipoForm : options.forms) driver->OpenForm(tipoForm);
    if (options.line) driver->MoveToLine(*options.line);
    // What the opening showed and raised is not what a test is after.
    host->messaggi->TakeShown();
    driver->ClearEvents();
    Statements().clear();
}

void Session::Close() {
    // The plug-in goes before the host objects it refers to; no fault outlives the host.
    faults.Disarm();
    driver.reset();
    reasons.reset();
    host.reset();
}

void Session::Reopen() {
    Close();
    Open();
}

void Session::CancelQuantity(double qta) {
    driver->EditLineField("DO77_ZQ_QTA_ANNULLO", FormatDouble(qta));
    driver->SetLineState(kStatoRigheAnnullato);
}

bool Session::TypeAndLeave(std::int16_t tipoForm, std::string_view control,
                           const std::string& text) {
    driver->TypeAndLeave(tipoForm, control, text);
    return driver->Last("ControlEventStartDecode")->results.at(0).ToBool();
}

plugin::CLSRF_REGDOC_STATI& Session::Plugin() const {
    auto p = driver ? std::dynamic_pointer_cast<plugin::CLSRF_REGDOC_STATI>(driver->Plugin().object)
                    : nullptr;
    if (!p) RaiseObjectNotSet("plug-in");
    return *p;
}

sim::SimControl& Session::Control(std::int16_t tipoForm, std::string_view name) const {
    auto c = (tipoForm == 1 ? host->header : host->body)->Control(name);
    if (!c) Raise(err::MemberNotFound, tipoForm == 1 ? "header" : "body", std::string(name));
    return *c;
}

void Session::WriteLine(std::int32_t progRiga, const std::string& column, const Variant& value) {
    const std::string p = column.substr(0, 4);
    conn->RunSqlite(
        "UPDATE " + std::string(LineTable(p)) + " SET " + column + " = ?" + WhereLine(p),
        {value, Variant::Int32(kDitta), Variant::Int32(options.numreg), Variant::Int32(progRiga)});
}

void Session::DeleteLineRow(std::int32_t progRiga, const std::string& prefix) {
    conn->RunSqlite(
        "DELETE FROM " + std::string(LineTable(prefix)) + WhereLine(prefix),
        {Variant::Int32(kDitta), Variant::Int32(options.numreg), Variant::Int32(progRiga)});
}

DbLine Session::Line(std::int32_t progRiga) const {
    DbLine line;
    for (const std::string p : {"DO30", "DO31", "DO77"}) {
        auto r = conn->QueryRows(
            "SELECT * FROM " + std::string(LineTable(p)) + WhereLine(p),
            {Variant::Int32(kDitta), Variant::Int32(options.numreg), Variant::Int32(progRiga)});
        if (r.rows.empty()) {
            if (p == "DO30") return line;
            continue;
        }
        (p == "DO30" ? line.exists : p == "DO31" ? line.hasDo31 : line.hasDo77) = true;
        for (std::size_t i = 0; i < r.fields.size(); ++i) line.col[r.fields[i].name] = r.rows[0][i];
    }
    return line;
}

std::vector<std::int32_t> Session::LineNumbers() const {
    auto rows = conn->QueryRows(
        "SELECT DO30_PROGRIGA FROM DO30_DOCCORPO WHERE DO30_NUMREG_CO99 = ? ORDER BY 1",
        {Variant::Int32(options.numreg)});
    std::vector<std::int32_t> out;
    for (const auto& r : rows.rows) out.push_back(r[0].ToLong());
    return out;
}

Variant Session::Scalar(std::string_view sql, const std::vector<Variant>& binds) const {
    auto r = conn->QueryRows(sql, binds);
    if (r.rows.size() != 1)
        Raise(err::AdoBofEof, "Session",
              std::to_string(r.rows.size()) + " rows: " + std::string(sql));
    return r.rows[0][0];
}

std::optional<std::int32_t> Session::FlowState(const std::string& guid,
                                               std::int32_t idFlusso) const {
    return sim::ReadFlowState(*conn, guid, idFlusso);
}

Variant Session::Current(std::string_view field) const {
    auto rs = sim::SectionOf(*host->doc, field);
    if (!rs || rs->BOF() || rs->EOF_()) return Variant::Null();
    return rs->Get(field);
}

Variant Session::HostValue(std::int32_t progRiga, std::string_view field) const {
    auto section = sim::SectionOf(*host->doc, field);
    if (!section) Raise(err::InvalidArgument, "Session", "no section for " + std::string(field));
    const ado::RecordsetPtr rows = section->Clone();
    rows->SetFilter(
        Variant(std::string(field.substr(0, 4)) + "_PROGRIGA = " + std::to_string(progRiga)));
    if (rows->BOF() && rows->EOF_()) return Variant::Null();
    return rows->Get(field);
}

std::int16_t Session::Indicatore() const {
    return host->doc->DocUI()->IndicatoreAttesa();
}

}  // namespace zq::test
