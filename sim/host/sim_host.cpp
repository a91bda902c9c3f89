#include "sim/host/sim_host.h"

#include "sim/host/default_forms.h"

namespace zq::sim {

ado::RecordsetPtr SectionOf(const SimRegDoc& doc, std::string_view field) {
    if (field.size() < 4) return nullptr;
    const std::string_view p = field.substr(0, 4);
    if (p == "DO11") return doc.rstDocTestata();
    if (p == "DO18") return doc.rstDocTestaOrd();
    if (p == "DO76") return doc.rstDocTestaVert();
    if (p == "DO30") return doc.rstDocCorpo();
    if (p == "DO31") return doc.rstDocCorpoOrd();
    if (p == "DO77") return doc.rstDocCorpoVert();
    return nullptr;
}

void ShowBoundValues(SimForm& form, const SimRegDoc& doc) {
    for (const auto& c : form.Controls()) {
        const std::string& field = c->DBField();
        if (field.size() < 4) continue;
        auto rs = SectionOf(doc, field);
        if (!rs || rs->State() != ado::adStateOpen || !rs->HasField(field)) continue;
        c->Show(rs->BOF() || rs->EOF_() ? Variant() : rs->Get(field));
    }
}

SimHost::SimHost(HostDatabasePtr database, HostSettings settings)
    : log(std::make_shared<CallLog>()),
      db(std::move(database)),
      behaviour(settings.behaviour),
      factories_(std::move(settings.commandFactory)) {
    doc = SimRegDoc::Load(db, settings.document, settings.type, log);
    messaggi = std::make_shared<SimMessaggi>();
    ditta = std::make_shared<SimDitta>(settings.document.ditta);
    ambiente = std::make_shared<SimAmbiente>(log, ditta, messaggi);
    programma = std::make_shared<SimProgramma>("Documenti", host::AmbientePtr(ambiente));

    window = std::make_shared<DocumentWindow>();
    std::weak_ptr<SimRegDoc> weak = doc;
    auto section = [weak](ado::RecordsetPtr (SimRegDoc::*get)() const) {
        return [weak, get]() -> ado::RecordsetPtr {
            auto doc = weak.lock();
            return doc ? ((*doc).*get)() : nullptr;
        };
    };
    using K = SimSubForm::Kind;
    window->docTestata = std::make_shared<SimSubForm>("FME_DocTestata", K::Testata, log,
                                                      section(&SimRegDoc::rstDocTestata));
    window->docCorpo = std::make_shared<SimSubForm>("FME_DocCorpo", K::Corpo, log,
                                                    section(&SimRegDoc::rstDocCorpo));
    window->docCorpoOrd = std::make_shared<SimSubForm>("FME_DocCorpoOrd", K::CorpoOrd, log,
                                                       section(&SimRegDoc::rstDocCorpoOrd));
    window->docCorpoVert = std::make_shared<SimSubForm>("FME_DocCorpoVert", K::CorpoVert, log,
                                                        section(&SimRegDoc::rstDocCorpoVert));
    window->frmDocumenti = std::make_shared<SimFrmDocumenti>();
    window->frmDocumenti->gridMode = settings.gridMode;
    window->grid = std::make_shared<SimGrid>(log);
    window->salvaDocumento = [this] {
        if (save) {
            save();
        } else {
            doc->Save();
        }
    };
    window->docCorpo->onMoveBookmark = [this](const Variant& bookmark) {
        // An Empty bookmark (no row found) leaves the grid where it is.
        if (bookmark.IsEmpty() || bookmark.IsNull()) return;
        doc->MoveToBookmark(bookmark);
    };
    window->docCorpo->onDeleteRow = [this] {
        const Landing l = doc->DeleteCurrentRow();
        if ((l.lineMoved || l.stateChanged) && doc->onPluginMove) doc->onPluginMove(l);
    };

    header = std::make_shared<SimForm>("frmTestata", DefaultHeaderControls(), window, log);
    body = std::make_shared<SimForm>("frmCorpo", DefaultBodyControls(), window, log);
    if (auto stato = body->BoundTo("DO30_GUID"))
        stato->AttachBoStati(std::make_shared<SimBoStati>(db, log, doc->RigaCorpo()));
    menu = std::make_shared<SimMenu>(log);
    doc->onCurrentLineChanged = [this] { ShowBoundValues(*body, *doc); };
    doc->refreshPairRebinds = behaviour.refreshPairRebinds;
    ShowDocument();
}

SimHost::~SimHost() {
    // The document's callback refers to this session.
    if (doc) doc->onCurrentLineChanged = nullptr;
}

void SimHost::ShowDocument() {
    ShowBoundValues(*header, *doc);
    ShowBoundValues(*body, *doc);
}

}  // namespace zq::sim
