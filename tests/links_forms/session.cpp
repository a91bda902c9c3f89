#include "session.h"

namespace zq::test {

Session::Session(const std::function<void(HostDbBuilder&)>& righe,
                 std::optional<std::int32_t> statoRighe, std::optional<std::int32_t> statoTesta) {
    using namespace sim::demo;
    sim::CreateSchema(*conn);
    HostDbBuilder b(*conn);
    b.Ditta(kDitta)
        .Parametri(statoTesta, statoRighe)
        .Entita(10, "Righe documento")
        .Entita(11, "Testate documento")
        .Flusso(kFlussoRighe, 10, "Righe ordini clienti")
        .Flusso(kFlussoTesta, 11, "Ordini clienti")
        .Stato(kStatoRigheIniziale, 10, "Riga inserita")
        .Stato(kStatoRigheAnnullato, 10, "Riga annullata")
        .Stato(kStatoTestaIniziale, 11, "Ordine inserito")
        .Stato(kStatoTestaAnnullato, 11, "Ordine annullato")
        .Causale("CLI", "Richiesta del cliente", true)
        .Ordine(kOrdine)
        .FlussoDoc(kFlussoTesta, kStatoTestaIniziale);
    righe(b);
    b.Build();
    db = std::make_shared<sim::SqliteHostDatabase>(conn);
}

void Session::Vert(std::int32_t progRiga, const std::string& colonna, const Variant& valore) {
    conn->RunSqlite("UPDATE DO77_DOCCORPOVERT SET " + colonna +
                        " = ? WHERE DO77_NUMREG_CO99 = ? AND DO77_PROGRIGA = ?",
                    {valore, Variant::Int32(kOrdine), Variant::Int32(progRiga)});
}

void Session::SenzaRighe(std::int32_t progRiga, const std::string& tabella,
                         const std::string& prefisso) {
    conn->RunSqlite("DELETE FROM " + tabella + " WHERE " + prefisso + "_NUMREG_CO99 = ? AND " +
                        prefisso + "_PROGRIGA = ?",
                    {Variant::Int32(kOrdine), Variant::Int32(progRiga)});
}

void Session::Load(std::int16_t gridMode) {
    sim::HostSettings s;
    s.document = {Variant::Int32(sim::demo::kDitta), std::to_string(kOrdine)};
    s.type.idFlussoRighe = kFlusso;
    s.type.statoInizialeRighe = kIniziale;
    s.gridMode = gridMode;
    s.commandFactory = sim::SqliteCommandFactory();
    host = std::make_unique<sim::SimHost>(db, std::move(s));
    driver = std::make_unique<sim::HostDriver>(*host);
    if (!driver->Initialize()) Raise(err::InvalidArgument, "Session", "Initialize failed");
}

plugin::PluginPtr Session::Plugin() const {
    return std::dynamic_pointer_cast<plugin::CLSRF_REGDOC_STATI>(driver->Plugin().object);
}

sim::SimControl& Session::Ctl(const std::string& name) const {
    auto c = host->body->Control(name);
    if (!c) c = host->header->Control(name);
    if (!c) Raise(err::InvalidArgument, "Session", "no control " + name);
    return *c;
}

Variant Session::HostValue(const ado::RecordsetPtr& section, const std::string& lineField,
                           std::int32_t progRiga, const std::string& field) const {
    const ado::RecordsetPtr rows = section->Clone();
    rows->SetFilter(Variant(lineField + " = " + std::to_string(progRiga)));
    if (rows->BOF() && rows->EOF_()) return Variant::Null();
    return rows->Get(field);
}

}  // namespace zq::test
