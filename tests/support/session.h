// One document-registration session on the simulated host, the way every test program
// builds one: an in-memory SQLite host database, the host with the document loaded, the
// driver that plays the user, and the reads tests make afterwards.
//
//   Session s;                            // the demo data set (sim/db/fixture.h)
//   s.Open();                             // load order 1001, Initialize, header then body form
//   s.driver->MoveToLine(2);              // act as the user does...
//   EXPECT_EQ(s.Line(2).Num("DO30_QTA1"), 20);   // ...and read what the database holds
//
//   SessionOptions o;                     // an order of its own on the demo company
//   o.lines = [](sim::HostDbBuilder& b) { b.Riga(1, "ART-A", 10, 5).Riga(2, "ART-B", 4, 2); };
//   o.reasons = {};                       // no cancellation reason at all
//   Session s(o);
//
// Building happens in steps so that a test can change what comes next: the constructor
// writes the database (then `setup`), Load() has the host open the document (a test may
// remove controls or replace host objects here), Initialize() creates the plug-in and
// initialises it, Open() does what is still missing and then opens the forms of `forms`
// and moves to `line`. Close() lets the plug-in and the document go; Reopen() opens the
// saved document again with a new plug-in object, as a user reopening it does.
//
// The plug-in's connection is a RecordingConnection (spies.h): Statements() lists what the
// plug-in sent; the ADO commands it creates note into `commands`. `faults` is the session's
// fault plan (sim/fault/fault_plan.h), installed for its life: arm it to make a call of the
// plug-in fail; Close() disarms it, so arm it again after Reopen().
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/clsrf_regdoc_stati.h"
#include "sim/db/fixture.h"
#include "sim/db/progressives.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/driver.h"
#include "sim/host/reasons_program.h"
#include "sim/host/sim_host.h"
#include "support/spies.h"

namespace zq::test {

// The demo ids (sim/db/fixture.h), and the confirmed line state the demo company also has.
using sim::demo::kDitta;
using sim::demo::kFlussoRighe;
using sim::demo::kFlussoTesta;
using sim::demo::kOrdine;
using sim::demo::kStatoRigheAnnullato;
using sim::demo::kStatoRigheIniziale;
using sim::demo::kStatoTestaAnnullato;
using sim::demo::kStatoTestaIniziale;
inline constexpr std::int32_t kStatoRigheConfermato = 101;

// The braced GUID the fixture gives a line (DO30_GUID), and the bare form the DO77 link
// columns hold.
std::string Guid(std::int32_t progRiga, std::int32_t numreg = kOrdine);
std::string Bare(std::int32_t progRiga, std::int32_t numreg = kOrdine);
std::string Unbraced(const std::string& guid);

struct Reason {
    std::string codice, descrizione;
    bool predefinita = false;
};

struct SessionOptions {
    // ---- the database ----
    // Without `lines`, the demo data set. With them, the demo company (its flows and states,
    // the parameters and reasons below) and one order `numreg`, in the header's initial
    // state, whose lines `lines` writes (it may add other company data too).
    std::function<void(sim::HostDbBuilder&)> lines = {};
    bool parametri = true;  // the company has a cancellation parameter row, holding:
    std::optional<std::int32_t> statoTesta = kStatoTestaAnnullato;
    std::optional<std::int32_t> statoRighe = kStatoRigheAnnullato;
    std::vector<Reason> reasons = {{"CLI", "Richiesta del cliente", true}};
    // SQLite statements run on the database before the host loads the document.
    std::vector<std::string> setup = {};

    // ---- the host ----
    std::int32_t numreg = kOrdine;  // the document the host opens
    sim::DocumentType type = StandardType();
    std::int16_t gridMode = 0;          // FrmDocumenti.Gint_ModalitaGriglia
    sim::HostBehaviour behaviour = {};  // the host details a host may do either way
    bool reasonsProgram = false;        // the reasons program can be launched
    sim::PluginFactory plugin = sim::CreateStatiPlugin;
    Variant param = Variant("PARAM");  // Initialize's parameter and plug-in index
    std::int16_t indPlugIn = 1;

    // ---- what Open() does after Initialize ----
    std::vector<std::int16_t> forms = {1, 2};  // 1 header, 2 body; the last one is current
    std::optional<std::int32_t> line = {};     // the body line the user clicks last

    // The line flow and initial line state of the demo order type.
    static sim::DocumentType StandardType();
};

// One line as the database holds it: DO30 joined with its DO31 and DO77 rows.
struct DbLine {
    bool exists = false;
    bool hasDo31 = false, hasDo77 = false;
    std::map<std::string, Variant> col;
    const Variant& operator[](const std::string& name) const;  // Null when absent
    double Num(const std::string& name) const;                 // Null reads as 0
    std::string Text(const std::string& name) const;           // Null reads as ""
    bool IsNull(const std::string& name) const;
};

class Session {
  public:
    explicit Session(SessionOptions options = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // ---- the database, before Load ----
    // Writes a column of a line's row in the table of the column's DOxx prefix (DO30, DO31,
    // DO77), or removes the line's row from the table of `prefix`.
    void WriteLine(std::int32_t progRiga, const std::string& column, const Variant& value);
    void DeleteLineRow(std::int32_t progRiga, const std::string& prefix);

    // ---- steps (each does the ones before it that are still missing) ----
    sim::SimHost& Load();
    bool Initialize() { return Initialize(options.indPlugIn); }
    bool Initialize(std::int16_t indPlugIn);
    void Open();  // initialises unless a plug-in exists; error 5 when Initialize answers False
    void Close();
    void Reopen();

    // The settings the host loads the document with; another host on the same database, as
    // a reload of the document after a save sees it (no driver stands on it).
    sim::HostSettings Settings() const;
    std::unique_ptr<sim::SimHost> NewHost() const { return NewHost(Settings()); }
    std::unique_ptr<sim::SimHost> NewHost(sim::HostSettings settings) const;

    // ---- user actions beyond the driver's ----
    // Types a quantity to cancel on the current line and gives it the cancelled state.
    void CancelQuantity(double qta);
    // Types into a control and leaves it; answers the Handled flag of the decode.
    bool TypeAndLeave(std::int16_t tipoForm, std::string_view control, const std::string& text);

    // ---- reads ----
    plugin::CLSRF_REGDOC_STATI& Plugin() const;  // error 91 before the plug-in exists
    // The plug-in's two interfaces, for a test that raises an event the driver has no
    // user action for.
    host::ICLSMG_REGDOCVERT& DocEvents() const { return *driver->Plugin().docEvents; }
    host::ICLSMG_REGDOCVERT2& FormEvents() const { return *driver->Plugin().formEvents; }
    sim::SimControl& Control(std::int16_t tipoForm, std::string_view name) const;  // or 438
    DbLine Line(std::int32_t progRiga) const;
    std::vector<std::int32_t> LineNumbers() const;  // DO30 lines in the database, in order
    // The single value a SQLite query (host side, `?` parameters) answers; error 3021 when
    // it does not answer exactly one row.
    Variant Scalar(std::string_view sql, const std::vector<Variant>& binds = {}) const;
    std::optional<std::int32_t> FlowState(const std::string& guid,
                                          std::int32_t idFlusso = kFlussoRighe) const;
    // A field of the current row of the document section the field belongs to (by its
    // DOxx prefix), Null when that section stands on no row.
    Variant Current(std::string_view field) const;
    // A field of a line's row in the document section of the field, whatever the section's
    // filter; Null when the line has no row there.
    Variant HostValue(std::int32_t progRiga, std::string_view field) const;
    std::vector<sim::ShownMessage> Messages() const { return host->messaggi->Shown(); }
    std::vector<sim::ShownMessage> TakeMessages() { return host->messaggi->TakeShown(); }
    std::int16_t Indicatore() const;
    bool ProgressivesConsistent() const { return sim::ProgressivesConsistent(*conn); }
    std::vector<sim::ProgressiveDrift> Drift() const { return sim::CompareProgressives(*conn); }
    std::vector<Statement>& Statements() { return db->recording->statements; }
    std::vector<std::string> StatementTexts() const { return db->recording->Texts(); }

    // ---- faults ----
    bool FaultFired() const { return faults.Fired() > 0; }

    SessionOptions options;
    sim::SqliteConnectionPtr conn;
    std::shared_ptr<RecordingHostDatabase> db;
    std::shared_ptr<CommandLog> commands = std::make_shared<CommandLog>();
    std::unique_ptr<sim::SimHost> host;
    std::unique_ptr<sim::HostDriver> driver;
    std::optional<sim::ReasonsProgram> reasons;

    sim::FaultPlan faults;

  private:
    sim::ActiveFaultPlan activeFaults_{faults};
};

}  // namespace zq::test
