// The size-grid command played by the simulated host through the registered library: the
// library creates the host's size-grid and grid-posting components by class id, and the
// test host serves the session's own, so that what the components were given and did is
// read on this side of the boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "com/object_bridge.h"
#include "grid/grid_members.h"
#include "host/create_object.h"
#include "sim/db/fixture.h"
#include "tools/check.h"
#include "tools/session.h"

namespace zq::comtest {
namespace {

std::set<std::string> RulesFound(tool::Session& s) {
    std::set<std::string> rules;
    for (const auto& f : tool::CheckDatabase(s.Db(), sim::demo::kOrdine)) rules.insert(f.rule);
    return rules;
}

// The size-grid command across the boundary: the grid gets each value in the kind the
// plug-in wrote it (Integer, Long, Double, Boolean, text, Nothing), the host's own objects
// back as themselves, and the data recordset the library made with the family's rows.
TEST(GridRoads, TheGridIsGivenEachValueInItsKindAndTheHostsOwnObjects) {
    namespace g = plugin::grid;
    tool::Session s{tool::SessionSetup{}};
    auto& d = s.Driver();
    ASSERT_TRUE(d.Initialize());
    d.OpenForm(1);
    d.OpenForm(2);
    d.MoveToLine(8);
    d.PickMenuItem("GestAnnulli");
    ASSERT_EQ(s.Host().sizeGrid->Grids().size(), 1u);
    const sim::SimSizeGrid& grid = *s.Host().sizeGrid->Grids().back();
    const std::pair<std::string_view, VarType> kinds[] = {
        {g::kGrigliaDitta, VarType::Long},           {g::kGrigliaTipoDocumento, VarType::String},
        {g::kGrigliaDocStandPers, VarType::Integer}, {g::kGrigliaModalitaAnnulli, VarType::Boolean},
        {g::kGrigliaProgPadre, VarType::Long},       {g::kGrigliaCambio, VarType::Double},
        {g::kGrigliaDim2Inizio, VarType::Integer},   {g::kGrigliaDim1GenGriglia1, VarType::Boolean},
        {g::kGrigliaCliFor, VarType::Long},          {g::kGrigliaArticoloCliFor, VarType::String},
        {g::kGrigliaChiamante, VarType::Object},     {g::kGrigliaRigaCorrente, VarType::Long}};
    for (const auto& [member, kind] : kinds) EXPECT_EQ(grid.Passed(member).Type(), kind) << member;
    EXPECT_EQ(grid.Passed(g::kGrigliaArticolo).ToString(), "MAGLIA");
    EXPECT_EQ(grid.Passed(g::kGrigliaDim2Inizio).ToLong(), 5);
    EXPECT_FALSE(grid.Passed(g::kGrigliaDim1GenGriglia1).ToBool());
    EXPECT_EQ(grid.Passed(g::kGrigliaRigaCorrente).ToLong(), 8);
    EXPECT_EQ(grid.Passed(g::kGrigliaChiamante).ToObject(), nullptr);  // Nothing
    EXPECT_TRUE(grid.Passed(g::kGrigliaMostra).IsEmpty());             // no owner window
    EXPECT_EQ(grid.Passed(g::kGrigliaRegDoc).ToObject(), ObjectPtr(s.Host().doc));
    EXPECT_EQ(grid.Passed(g::kGrigliaProgramma).ToObject(), ObjectPtr(s.Host().programma));
    const ObjectPtr connessione = grid.Passed(g::kGrigliaConnessione).ToObject();
    EXPECT_NE(As<ado::Connection>(connessione), nullptr);
    EXPECT_EQ(dynamic_cast<const com::DispatchHolder*>(connessione.get()), nullptr)
        << "the host's connection came back as an adapter of itself";
    // The order of the calls: the company written and read back first, the grid shown last.
    const auto& calls = grid.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0], "Ditta=");
    EXPECT_EQ(calls[1], "Ditta");
    EXPECT_EQ(calls.back(), "Mostra=");
    // The family's three lines, handed over in a recordset the library made.
    const sim::GridRows& rows = grid.Handed();
    EXPECT_EQ(rows.rows.size(), 3u);
    EXPECT_NE(std::find(rows.columns.begin(), rows.columns.end(), "DO77_ZQ_QTA_ANNULLO"),
              rows.columns.end());
    EXPECT_NE(grid.Dati(), nullptr);
    // Unchanged, the grid posts nothing: no save.
    EXPECT_EQ(d.SaveCount(), 0);
    d.Terminate();
}

// The host's size-grid components, missing from a machine: the command creates them by
// class id inside the library, which answers the plug-in's 429 when the class cannot be
// created. The posting component missing shows the platform's error box with that number;
// the grid missing is a failure of the road, which says so with its one message. Either
// way the order is as it was and the host's busy state given back.
TEST(GridRoads, GridComponentsTheHostCannotCreateLeaveTheOrderAsItWas) {
    struct Case {
        std::string_view clsid;
        std::string message;  // the box shown
        std::int32_t style;
    };
    const Case cases[] = {
        {plugin::grid::kClsidGriglia,
         "Si è verificato un errore: la modifica non è stata eseguita e il documento è rimasto "
         "com'era prima.",
         48},
        {plugin::grid::kClsidRegistraGriglia,
         "Errore: 429\rDescrizione: ActiveX component can't create object\rSource: " +
             std::string(plugin::grid::kClsidRegistraGriglia),
         0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.clsid));
        tool::Session s{tool::SessionSetup{}};
        auto& d = s.Driver();
        ASSERT_TRUE(d.Initialize());
        d.OpenForm(1);
        d.OpenForm(2);
        d.MoveToLine(7);
        const sim::OrderState before = s.OrderNow();
        const std::int16_t indicatore = s.Host().doc->clsDocUI()->IndicatoreAttesa();
        s.Host().sizeGrid->PlanEdits({sim::GridEdit::Line(7).Status("3")});
        {
            // The test host's class object finds nothing to make under the class id.
            ScopedObjectFactory missing(std::string(c.clsid), [] { return ObjectPtr(); });
            d.PickMenuItem("GestAnnulli");
        }
        const auto shown = s.TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].testo, c.message);
        EXPECT_EQ(shown[0].stile, c.style);
        const bool gridMade = c.clsid != plugin::grid::kClsidGriglia;
        EXPECT_EQ(s.Host().sizeGrid->Grids().size(), gridMade ? 1u : 0u);
        EXPECT_TRUE(s.Host().sizeGrid->Postings().empty());
        const sim::RaisedEvent* click = d.Last("FunzGenMenuItemClick");
        ASSERT_NE(click, nullptr);
        EXPECT_TRUE(click->result.Succeeded());
        EXPECT_EQ(OrderDifferences(before, s.OrderNow()), "");
        EXPECT_EQ(d.SaveCount(), 0);
        EXPECT_FALSE(IsTrue(s.Host().doc->InElaborazione()));
        EXPECT_EQ(s.Host().doc->clsDocUI()->IndicatoreAttesa(), indicatore);
        EXPECT_EQ(s.Host().screen->MousePointer(), 0);
        EXPECT_EQ(RulesFound(s), std::set<std::string>{});
        d.Terminate();
    }
}

}  // namespace
}  // namespace zq::comtest
