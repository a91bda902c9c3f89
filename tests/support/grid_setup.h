// The size-grid component as the grid command prepares it on the session's document, for
// tests of the grid's procedures and of the components before the command itself runs.
//
//   auto grid = PrepareGrid(s);      // created into objGriglia, structure built
//   HandFamily(s, *grid);            // the family of lines 7-9 handed over, all free
//   s.host->sizeGrid->PlanEdits({sim::GridEdit::Line(8).Status("3")});
//   ShowGrid(*grid);                 // the user edits the cells
#pragma once

#include <memory>

#include "grid/grid_members.h"
#include "host/create_object.h"
#include "sim/host/size_grid.h"
#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {

inline std::shared_ptr<sim::SimSizeGrid> PrepareGrid(Session& s) {
    namespace g = plugin::grid;
    ObjectPtr griglia = CreateObject(g::kClsidGriglia);
    ClsrfTestAccess::SetGridComponents(s.Plugin(), griglia, nullptr);
    SetProp(griglia, g::kGrigliaDitta, Variant::Int32(kDitta));
    SetProp(griglia, g::kGrigliaProgramma, Variant(ObjectPtr(s.host->programma)));
    SetProp(griglia, g::kGrigliaConnessione, Variant(ObjectPtr(s.host->db->Connection())));
    SetProp(griglia, g::kGrigliaTipoDocumento, Variant("OC"));
    SetProp(griglia, g::kGrigliaRegDoc, Variant(ObjectPtr(s.host->doc)));
    CallMethod(griglia, g::kGrigliaInizializza);
    CallMethod(griglia, g::kGrigliaCreaStruttura);
    return As<sim::SimSizeGrid>(griglia);
}

// A copy of the grid's structure (the plug-in's own copy) with one row per line of the
// group `progPadre`: the line's body values, status "1", nothing cancelled; handed to the
// grid. Returns the recordset handed over.
inline ado::RecordsetPtr HandFamily(Session& s, sim::SimSizeGrid& grid,
                                    std::int32_t progPadre = sim::demo::kProgPadreTaglie) {
    ado::RecordsetPtr struttura = grid.Dati();
    ado::RecordsetPtr dati = ClsrfTestAccess::ClonaStrutturaRecordset(s.Plugin(), struttura);
    dati->Open();
    auto corpo = s.host->doc->rstDocCorpo()->Clone();
    corpo->SetFilter(Variant(" DO30_PROGPADRE = " + std::to_string(progPadre)));
    for (; !corpo->EOF_(); corpo->MoveNext()) {
        dati->AddNew();
        for (std::int32_t i = 0; i < dati->FieldCount(); ++i) {
            const std::string name = dati->FieldAt(i)->Name();
            if (name.rfind("DO30", 0) == 0 && name != "DO30_GUID" && name != "DO30_STAGIONE_MG5T" &&
                corpo->HasField(name))
                dati->Set(name, corpo->Get(name));
        }
        dati->Set("DO30_GUID", Variant("1"));
        if (dati->HasField("DO77_ZQ_QTA_ANNULLO")) dati->Set("DO77_ZQ_QTA_ANNULLO", Variant(0.0));
        dati->Update();
    }
    if (!(dati->BOF() && dati->EOF_())) dati->MoveFirst();
    SetProp(ObjectPtr(grid.shared_from_this()), plugin::grid::kGrigliaDati,
            Variant(ObjectPtr(dati)));
    return dati;
}

// The grid shown: the user's planned edits go into its data.
inline void ShowGrid(sim::SimSizeGrid& grid) {
    namespace g = plugin::grid;
    const ObjectPtr self = grid.shared_from_this();
    SetProp(self, g::kGrigliaRigaCorrente, Variant::Int32(8));
    SetProp(self, g::kGrigliaMostra, Variant());
}

}  // namespace zq::test
