#include "tools/session.h"

#include <filesystem>

#include "host/error.h"
#include "sim/db/fixture.h"
#include "sim/db/progressives.h"
#include "sim/db/schema.h"
#include "sim/host/guid.h"

namespace zq::tool {

sim::SqliteConnectionPtr MakeDatabase(const SessionSetup& setup) {
    // A database is only ever made afresh: what is at the path stays (the commands that
    // take --db clear the way first, see db_path.h).
    if (setup.dbPath != ":memory:" && std::filesystem::exists(setup.dbPath))
        Raise(err::AdoProviderError, "session", setup.dbPath + " already exists");
    auto conn = sim::SqliteConnection::Open(setup.dbPath);
    // A scratch database: no waiting for the disk after each of the demo data's rows.
    conn->RunSqlite("PRAGMA synchronous = OFF");
    if (setup.demoData) {
        sim::CreateDemoDatabase(*conn, setup.righeOrdine);
    } else {
        sim::CreateSchema(*conn);
    }
    for (const auto& script : setup.scripts) conn->RunScript(script);
    if (setup.postProgressives) sim::RecomputeProgressivesFromScratch(*conn);
    return conn;
}

Session::Session(const SessionSetup& setup) : setup_(setup), conn_(MakeDatabase(setup)) {
    sim::SeedGuids(setup.guidSeed);
    OpenHost();
}

sim::OrderState Session::OrderNow() {
    return sim::TakeOrderState(*host_->doc, *conn_, setup_.flussoRighe, setup_.statoInizialeRighe);
}

void Session::OpenHost() {
    const SessionSetup& setup = setup_;
    sim::HostSettings s;
    s.document = {Variant::Int32(setup.ditta), std::to_string(setup.numreg)};
    s.type.idFlussoRighe = setup.flussoRighe;
    s.type.statoInizialeRighe = setup.statoInizialeRighe;
    s.type.gestLotti = setup.gestLotti;
    s.gridMode = setup.gridMode;
    s.behaviour = setup.behaviour;
    s.commandFactory = sim::SqliteCommandFactory();
    s.sizeGrid = setup.sizeGrid;
    host_ = std::make_unique<sim::SimHost>(std::make_shared<sim::SqliteHostDatabase>(conn_),
                                           std::move(s));
    auto remove = [](sim::SimForm& form, const std::string& name) {
        if (!form.Control(name))
            Raise(err::MemberNotFound, form.Name(), "the form has no control " + name);
        form.RemoveControl(name);
    };
    for (const auto& name : setup.headerWithout) remove(*host_->header, name);
    for (const auto& name : setup.bodyWithout) remove(*host_->body, name);
    host_->messaggi->Script(setup.answers);
    if (setup.reasonsProgram) reasons_.emplace(host_->ambiente);
    driver_ = std::make_unique<sim::HostDriver>(*host_);
}

void Session::Reopen(const std::vector<std::int16_t>& forms) {
    if (driver_->Plugin()) {
        driver_->CloseForm(2);
        driver_->CloseForm(1);
        driver_->Terminate();
    }
    savesBefore_ += driver_->SaveCount();
    for (const auto& e : driver_->Events()) eventsBefore_.push_back(e);
    for (auto& m : host_->messaggi->TakeShown()) carriedMessages_.push_back(std::move(m));
    driver_.reset();
    reasons_.reset();
    host_.reset();
    OpenHost();
    callsChecked = 0;
    lastLookup.reset();
    driver_->Initialize();
    openForms.clear();
    for (std::int16_t tipoForm : forms) {
        driver_->OpenForm(tipoForm);
        openForms.insert(tipoForm);
        currentForm = tipoForm;
    }
}

std::vector<sim::RaisedEvent> Session::Events() const {
    std::vector<sim::RaisedEvent> out = eventsBefore_;
    for (const auto& e : driver_->Events()) out.push_back(e);
    return out;
}

std::vector<sim::ShownMessage> Session::TakeMessages() {
    std::vector<sim::ShownMessage> out = std::move(carriedMessages_);
    carriedMessages_.clear();
    for (auto& m : host_->messaggi->TakeShown()) out.push_back(std::move(m));
    return out;
}

Session::~Session() {
    // The plug-in goes before the host objects it holds references to.
    driver_.reset();
    reasons_.reset();
    host_.reset();
}

}  // namespace zq::tool
