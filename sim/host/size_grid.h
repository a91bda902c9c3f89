// The host's size-grid component and its grid-posting component, as the simulated host
// offers them to the plug-in (created by class id, reached late-bound by the member names
// of grid/grid_members.h).
//
// The size grid takes the properties the grid command writes and notes each write and
// call; its two preparation methods build its data recordset's structure from the
// document's body columns (DO30_STAGIONE_MG5T held as text, the season code) plus the
// order and cancellation columns DO31_QTA1CONS, DO31_FLGNONPIUEV, DO77_ZQ_QTA_ORIG,
// DO77_ZQ_QTA_ANNULLO, DO77_CODCAU_ZQ63, DO77_DESCAU_ZQ63, less the fields a setting takes
// away. When it is shown (the write of Mostra) the user's planned edits go into its data
// recordset, row by line number.
//
// The posting component, run with the grid, sets each line whose cell quantity the user
// changed to that quantity through the document object's quantity operation (a zeroed
// cell leaves the line alone, the plug-in settles it) and answers True when the user
// changed anything in the grid, False when the grid came back as it was handed over. A
// setting makes it answer False whatever the grid holds, or fail. Neither component puts a
// form into edit state.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/ado.h"
#include "host/regdoc.h"
#include "sim/host/call_log.h"
#include "sim/host/dispatch.h"
#include "sim/host/host_database.h"

namespace zq::sim {

// One line's cells as the user edits them in the grid; what is not given stays as shown.
//
//   GridEdit::Line(8).Quantity(6).Status("2").Cancelled(2).Reason("FOR")
struct GridEdit {
    std::int32_t line = 0;                  // DO30_PROGRIGA of the row
    std::optional<double> quantity;         // DO30_QTA1
    std::optional<std::string> status;      // DO30_GUID: "1" free, "2" partly, "3" wholly cancelled
    std::optional<double> cancelled;        // DO77_ZQ_QTA_ANNULLO
    std::optional<std::string> reason;      // DO77_CODCAU_ZQ63; "" clears code and description
    std::optional<std::string> reasonText;  // DO77_DESCAU_ZQ63; by default the reason's own

    static GridEdit Line(std::int32_t line) {
        GridEdit e;
        e.line = line;
        return e;
    }
    GridEdit& Quantity(double q) {
        quantity = q;
        return *this;
    }
    GridEdit& Status(std::string s) {
        status = std::move(s);
        return *this;
    }
    GridEdit& Cancelled(double q) {
        cancelled = q;
        return *this;
    }
    GridEdit& Reason(std::string code) {
        reason = std::move(code);
        return *this;
    }
    GridEdit& ReasonText(std::string text) {
        reasonText = std::move(text);
        return *this;
    }
};

enum class GridPosting {
    Apply,        // posts the changed quantities; True when the user changed the grid
    AnswerFalse,  // runs and answers False
    Fail,         // its run method raises an error
};

struct SizeGridSettings {
    std::vector<std::string> without;  // fields the grid's data recordset does not have
    GridPosting posting = GridPosting::Apply;
};

// The rows of a recordset at one moment.
struct GridRows {
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;
};

class SimSizeGrid;
class SimGridPosting;

// What one host session keeps for the grid components: the settings, the user's edits for
// the next grid shown, and every component the plug-in created, in order.
class SizeGridDesk : public std::enable_shared_from_this<SizeGridDesk> {
  public:
    SizeGridDesk(SizeGridSettings settings, CallLogPtr log, HostDatabasePtr db);

    SizeGridSettings settings;
    // The user will make these edits in the next grid shown.
    void PlanEdits(std::vector<GridEdit> edits);
    std::vector<GridEdit> TakeEdits();
    // DO77_DESCAU_ZQ63 for a reason code (Null when the code is unknown).
    Variant ReasonText(const std::string& code) const;

    ObjectPtr NewGrid();
    ObjectPtr NewPosting();
    const std::vector<std::shared_ptr<SimSizeGrid>>& Grids() const { return grids_; }
    const std::vector<std::shared_ptr<SimGridPosting>>& Postings() const { return postings_; }

  private:
    CallLogPtr log_;
    HostDatabasePtr db_;
    std::vector<GridEdit> edits_;
    std::vector<std::shared_ptr<SimSizeGrid>> grids_;
    std::vector<std::shared_ptr<SimGridPosting>> postings_;
};

class SimSizeGrid : public DispatchObject {
  public:
    SimSizeGrid(std::weak_ptr<SizeGridDesk> desk, CallLogPtr log);
    std::string TypeName() const override { return "objGriglia"; }

    // Each write, read and call in order: "Ditta=" (write), "Ditta" (read), "Inizializza()".
    const std::vector<std::string>& Calls() const { return calls_; }
    // The last value written to a property; Empty when none was.
    Variant Passed(std::string_view member) const;
    ado::RecordsetPtr Dati() const { return dati_; }
    // The rows of the data recordset as the plug-in handed it over.
    const GridRows& Handed() const { return handed_; }
    // The user changed a cell since the data recordset was handed over.
    bool Changed() const;
    bool Unloaded() const { return unloaded_; }
    // The document written to RegDoc.
    host::RegDocPtr Documento() const;

  private:
    void Note(std::string call, std::string_view member, std::vector<Variant> args);
    void DefinePassed(std::string_view member);
    void CreaStruttura();
    void MostraGriglia();
    void ApplyEdit(ado::Recordset& rows, const GridEdit& edit);

    std::weak_ptr<SizeGridDesk> desk_;
    CallLogPtr log_;
    std::vector<std::string> calls_;
    std::vector<std::pair<std::string, Variant>> passed_;
    ado::RecordsetPtr dati_;
    GridRows handed_;
    bool unloaded_ = false;
};

class SimGridPosting : public DispatchObject {
  public:
    SimGridPosting(GridPosting mode, CallLogPtr log);
    std::string TypeName() const override { return "objRegistraGriglia"; }

    int Runs() const { return runs_; }
    std::optional<bool> LastAnswer() const { return answer_; }
    ObjectPtr Griglia() const { return griglia_; }
    ObjectPtr Connessione() const { return connessione_; }
    ObjectPtr Programma() const { return programma_; }

  private:
    void Registra(std::span<Variant> args);
    static void PostQuantities(SimSizeGrid& grid);

    GridPosting mode_;
    CallLogPtr log_;
    ObjectPtr griglia_, connessione_, programma_;
    int runs_ = 0;
    std::optional<bool> answer_;
};

// The rows of a recordset, read through a clone (its own cursor stays where it is).
GridRows ReadRows(ado::Recordset& rs);

// A value as the components note it in the session's log: an object reference by its type
// name ("<gclsRegDoc>"), since the log must not keep the host's objects (which hold the
// log) alive; Nothing and every other value as they are.
Variant ForLog(const Variant& v);

}  // namespace zq::sim
