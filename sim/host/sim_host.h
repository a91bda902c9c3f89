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

struct HostSettings {
    DocumentKey document;
    DocumentType type;
    std::int16_t gridMode = 0;  // FrmDocumenti.Gint_ModalitaGriglia
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
