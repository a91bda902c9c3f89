// One session of the simulated host: a document opened from the host database with its
// document object, the program, environment, company, message service, launcher, the
// document window with its header and body forms, the body menu and the objects the
// plug-in creates by ProgID. The driver (driver.h) plays the user on top of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "sim/host/call_log.h"
#include "sim/host/factories.h"
#include "sim/host/host_database.h"
#include "sim/host/sim_form.h"
#include "sim/host/sim_messaggi.h"
#include "sim/host/sim_programma.h"
#include "sim/host/sim_regdoc.h"
#include "sim/host/sim_screen.h"
#include "sim/host/size_grid.h"

namespace zq::sim {

// Details of the host's behaviour that the plug-in cannot rely on, because a host may do
// them either way. The simulated host plays each way; the defaults are the most plausible
// host, and `zqstati run --host-matrix` plays scenarios under every combination.
struct HostBehaviour {
    // When the grid lands on a line whose state control shows another state, the host
    // raises StatiCORPOChange with that state: before GRIDRowChange, after it, or not at
    // all. Either way the body controls already show the landed line.
    enum class LandingState { BeforeRowChange, AfterRowChange, None };
    LandingState landingState = LandingState::BeforeRowChange;
    // A move of the grid no click of the user's made (a line the plug-in appends, its
    // go-to-bookmark and row deletion, the line the grid lands on after the user deleted
    // one) raises GRIDRowChange as a click does.
    bool rowChangeOnEveryMove = false;
    // Opening the header form reports the document's stored header state: StatiTESTATAChange
    // with DO11_STATO and the header's flow, right after OpenForm, no control active.
    bool headerStateOnOpen = false;
    // Closing the body-grid refresh pair binds the line sections and objRigaCorpo to the
    // row rstDocCorpo stands on. Without it the grid only redraws: a row the plug-in moved
    // rstDocCorpo to by itself is not followed until the grid is moved to it.
    bool refreshPairRebinds = true;
    // Moving the focus to a control raises ControlEventBeforeItem for it, before the lost
    // focus of the control left. Without it the host raises only the two focus events.
    bool beforeItemOnFocus = true;
};

struct HostSettings {
    DocumentKey document;
    DocumentType type;
    std::int16_t gridMode = 0;  // FrmDocumenti.Gint_ModalitaGriglia
    HostBehaviour behaviour;
    // Creates the ADO commands the plug-in asks for (none registered when empty).
    ObjectFactory commandFactory;
    // The size-grid component's and the posting component's settings.
    SizeGridSettings sizeGrid;
};

class SimHost {
  public:
    SimHost(HostDatabasePtr db, HostSettings settings);
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    CallLogPtr log;
    HostDatabasePtr db;
    std::shared_ptr<SimRegDoc> doc;
    std::shared_ptr<SimMessaggi> messaggi;
    std::shared_ptr<SimDitta> ditta;
    std::shared_ptr<SimAmbiente> ambiente;
    std::shared_ptr<SimProgramma> programma;
    std::shared_ptr<DocumentWindow> window;
    SimFormPtr header;  // the header form (TipoForm 1)
    SimFormPtr body;    // the body form (TipoForm 2)
    std::shared_ptr<SimMenu> menu;
    HostBehaviour behaviour;
    std::shared_ptr<SimScreen> screen;
    // The grid components the plug-in creates by class id, and the user's edits for them.
    std::shared_ptr<SizeGridDesk> sizeGrid;

    SimFrmDocumenti& FrmDocumenti() { return *window->frmDocumenti; }
    // Shows the header row in the header form and the current line in the body form, as
    // data binding does.
    void ShowDocument();
    // The save the forms' SalvaDocumento runs (the driver validates through the plug-in,
    // then writes back). Without one, SalvaDocumento writes back directly.
    std::function<void()> save;

  private:
    HostFactories factories_;
};

// Shows in each bound control of `form` the value of its field in the current row of the
// document's section the field belongs to (by its DOxx prefix); a section on no row shows
// the empty text. IsChanged is left as it is.
void ShowBoundValues(SimForm& form, const SimRegDoc& doc);

// The document section a bound field belongs to, by its DOxx prefix; null for others.
ado::RecordsetPtr SectionOf(const SimRegDoc& doc, std::string_view field);

}  // namespace zq::sim
