#include "plugin_host.h"

#include "sim/db/schema.h"

namespace zq::test {

using namespace sim::demo;

Variant RecordingObject::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    std::string call = name_ + "." + std::string(member);
    if (kind == CallKind::Set) call += "=" + args.back().Describe();
    calls_->push_back(call);
    return Variant();
}

void PluginHost::Configured(sim::HostDbBuilder& b) {
    b.Parametri(kStatoTestaAnnullato, kStatoRigheAnnullato)
        .Causale("CLI", "Richiesta cliente", true);
}

PluginHost::PluginHost(const std::function<void(sim::HostDbBuilder&)>& config) {
    sim::CreateSchema(*conn);
    sim::HostDbBuilder b(*conn);
    b.Ditta(kDitta)
        .Entita(10, "Righe documento")
        .Flusso(kFlussoRighe, 10, "Righe ordini clienti")
        .Stato(kStatoRigheAnnullato, 10, "Riga annullata")
        .Stato(kStatoRigheIniziale, 10, "Riga inserita");
    config(b);
    b.Ordine(kOrdine).Riga(1, "ART-A", 10, 5).Riga(2, "ART-B", 4, 2);
    b.Build();
    db = std::make_shared<sim::SqliteHostDatabase>(conn);
}

sim::DocumentType PluginHost::StandardType() {
    sim::DocumentType t;
    t.idFlussoRighe = kFlussoRighe;
    t.statoInizialeRighe = kStatoRigheIniziale;
    return t;
}

void PluginHost::Open(sim::DocumentType type) {
    if (host) return;
    sim::HostSettings s;
    s.document = {Variant::Int32(kDitta), std::to_string(kOrdine)};
    s.type = type;
    s.commandFactory = sim::SqliteCommandFactory();
    host = std::make_unique<sim::SimHost>(db, std::move(s));
    driver = std::make_unique<sim::HostDriver>(*host);
    conn->SetStatementLog(statements);
}

void PluginHost::Reopen(sim::DocumentType type) {
    driver.reset();
    host.reset();
    statements->Clear();
    Open(type);
}

bool PluginHost::Initialize(std::int16_t indPlugIn) {
    Open();
    return driver->Initialize(Variant::Bool(true), indPlugIn);
}

plugin::PluginPtr PluginHost::Plugin() const {
    return std::dynamic_pointer_cast<plugin::CLSRF_REGDOC_STATI>(driver->Plugin().object);
}

}  // namespace zq::test
