// One simulated-host session on a host database: the database made from the demo data
// and/or a SQLite script, the document opened in the simulated host with the settings a
// scenario or the demo asks for, and the driver that plays the user on it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/db/fixture.h"
#include "sim/db/sqlite_connection.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/driver.h"
#include "sim/host/order_state.h"
#include "sim/host/reasons_program.h"
#include "sim/host/size_grid.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::tool {

struct SessionSetup {
    std::string dbPath = ":memory:";  // a new file; one that exists is refused
    bool demoData = true;             // the demo data set; otherwise the empty schema
    std::int32_t righeOrdine = sim::demo::kRigheDemo;  // lines of the demo order
    // SQLite scripts run after the data set, in order (several statements each).
    std::vector<std::string> scripts;
    std::int32_t ditta = sim::demo::kDitta;
    std::int32_t numreg = sim::demo::kOrdine;
    std::int32_t flussoRighe = sim::demo::kFlussoRighe;
    std::int32_t statoInizialeRighe = sim::demo::kStatoRigheIniziale;
    std::int16_t gridMode = 0;
    bool gestLotti = false;
    std::vector<std::string> headerWithout, bodyWithout;  // controls the forms lack
    std::vector<std::int32_t> answers;                    // message-box answers, in order
    bool reasonsProgram = true;      // the host has the reasons maintenance program installed
    sim::HostBehaviour behaviour;    // the host details a host may do either way
    sim::SizeGridSettings sizeGrid;  // the size-grid and grid-posting components
    // After the scripts, the warehouse progressives are posted again from scratch (a
    // script that changes order quantities leaves them behind otherwise).
    bool postProgressives = false;
    // The GUIDs of lines appended during the session come from a generator started with
    // this seed, so that a session plays again exactly.
    std::uint64_t guidSeed = 1;
};

// The database of a setup: created, filled and scripted (no document opened).
sim::SqliteConnectionPtr MakeDatabase(const SessionSetup& setup);

class Session {
  public:
    // Raises HostError when the document is not in the database (3021) or a script fails.
    explicit Session(const SessionSetup& setup);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const SessionSetup& Setup() const { return setup_; }
    sim::SqliteConnection& Db() { return *conn_; }
    sim::SimHost& Host() { return *host_; }
    sim::HostDriver& Driver() { return *driver_; }

    // The user closes the document without saving (CloseForm of the body and header forms
    // and Terminate, when the plug-in exists) and opens it again from the database: a new
    // host document, a new plug-in object, Initialize, then the forms in `forms` order
    // (1 header, 2 body). What the expectations count goes on across it.
    void Reopen(const std::vector<std::int16_t>& forms = {1, 2});

    // Times the document was written, the events raised, messages shown and not yet looked
    // at: across reopens.
    int Saves() const { return savesBefore_ + driver_->SaveCount(); }
    std::vector<sim::RaisedEvent> Events() const;
    std::vector<sim::ShownMessage> TakeMessages();

    // The order as it stands now, in the host's memory and in the database.
    sim::OrderState OrderNow();

    // The session's fault plan, installed for its life (a "fault" step arms it), and the
    // order as it stood before each step an "asBefore" expectation names.
    sim::FaultPlan faults;
    std::map<std::size_t, sim::OrderState> orderBefore;

    // What the last look-up showed, for the expectations that read it.
    std::optional<sim::HostDriver::Lookup> lastLookup;
    // How many of the events an "events" expectation, and of the host's calls a "calls"
    // expectation, has already looked at.
    std::size_t eventsChecked = 0;
    std::size_t callsChecked = 0;
    // The forms the user has open (1 header, 2 body): a user reaches only their controls.
    std::set<std::int16_t> openForms;
    // The form the user works in: the one the host opened last (0 when it was closed). The
    // host tells the plug-in which form is current only by opening it, so a user acts on
    // the other form's controls only after going back to it.
    std::int16_t currentForm = 0;
    // The events and saves a "sound" expectation has already looked at.
    std::size_t soundEvents = 0;
    int soundSaves = 0;

  private:
    void OpenHost();

    SessionSetup setup_;
    sim::SqliteConnectionPtr conn_;
    std::unique_ptr<sim::SimHost> host_;
    std::optional<sim::ReasonsProgram> reasons_;
    std::unique_ptr<sim::HostDriver> driver_;
    int savesBefore_ = 0;
    sim::ActiveFaultPlan activeFaults_{faults};
    std::vector<sim::RaisedEvent> eventsBefore_;
    std::vector<sim::ShownMessage> carriedMessages_;
};

}  // namespace zq::tool
