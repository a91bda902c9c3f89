// The simulated host's size-grid and grid-posting components as the grid command meets
// them: what the grid records, the structure it builds, the user's edits while it is shown,
// and what the posting does to the document and answers.
#include <gtest/gtest.h>

#include "support/error_of.h"
#include "support/grid_setup.h"

namespace zq::test {
namespace {

namespace g = plugin::grid;

std::vector<std::string> Columns(ado::Recordset& rs) {
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) out.push_back(rs.FieldAt(i)->Name());
    return out;
}

// A row of the grid's data by line number, through a clone.
Variant Cell(sim::SimSizeGrid& grid, std::int32_t line, std::string_view field) {
    auto rows = grid.Dati()->Clone();
    rows->SetFilter(Variant("DO30_PROGRIGA = " + std::to_string(line)));
    return rows->EOF_() ? Variant::Empty() : rows->Get(field);
}

// The posting created by its class id and run as the grid command runs it; its answer.
struct Posting {
    std::shared_ptr<sim::SimGridPosting> component;
    bool answer = false;
};
Posting Post(Session& s, sim::SimSizeGrid& grid) {
    Posting p;
    const ObjectPtr o = CreateObject(g::kClsidRegistraGriglia);
    p.component = As<sim::SimGridPosting>(o);
    SetProp(o, g::kRegistraProgramma, Variant(ObjectPtr(s.host->programma)));
    SetProp(o, g::kRegistraConnessione, Variant(ObjectPtr(s.host->db->Connection())));
    SetProp(o, g::kRegistraGriglia, Variant(grid.shared_from_this()));
    Variant args[] = {Variant::Int32(0), Variant::Int32(0), Variant(""), Variant::Bool(false)};
    CallMethodRef(o, g::kRegistraEsegui, args);
    p.answer = args[3].ToBool();
    return p;
}

class SizeGridTest : public ::testing::Test {
  protected:
    void SetUp() override { s.Open(); }
    Session s;
};

TEST_F(SizeGridTest, RecordsWhatThePlugInPassesAndBuildsItsStructureFromTheBody) {
    auto grid = PrepareGrid(s);
    EXPECT_EQ(grid->Calls(),
              (std::vector<std::string>{"Ditta=", "Programma=", "Connessione=", "TipoDocumento=",
                                        "RegDoc=", "Inizializza()", "CreaStruttura()"}));
    EXPECT_TRUE(grid->Passed(g::kGrigliaDitta).SameAs(Variant::Int32(kDitta)));
    EXPECT_EQ(GetProp(ObjectPtr(grid), g::kGrigliaTipoDocumento).ToString(), "OC");
    EXPECT_EQ(grid->Calls().back(), "TipoDocumento");
    EXPECT_EQ(s.host->log->Count("objGriglia.Ditta"), 1u);

    // The body's columns, in the body's order, then the order and cancellation columns.
    std::vector<std::string> expected = Columns(*s.host->doc->rstDocCorpo());
    for (const char* c : {"DO31_QTA1CONS", "DO31_FLGNONPIUEV", "DO77_ZQ_QTA_ORIG",
                          "DO77_ZQ_QTA_ANNULLO", "DO77_CODCAU_ZQ63", "DO77_DESCAU_ZQ63"})
        expected.push_back(c);
    auto dati = grid->Dati();
    ASSERT_TRUE(dati);
    EXPECT_EQ(Columns(*dati), expected);
    EXPECT_EQ(dati->RecordCount(), 0);
    EXPECT_EQ(dati->FieldByName("DO30_STAGIONE_MG5T")->Type(), ado::adVarChar);
    EXPECT_EQ(dati->FieldByName("DO30_QTA1")->Type(), ado::adDouble);
    EXPECT_EQ(s.host->doc->rstDocCorpo()->FieldByName("DO30_STAGIONE_MG5T")->Type(),
              ado::adSmallInt);
}

TEST_F(SizeGridTest, ASettingTakesFieldsAwayAndTheStructureNeedsTheDocument) {
    s.host->sizeGrid->settings.without = {"DO30_QTA1", "do77_zq_qta_annullo"};
    auto grid = PrepareGrid(s);
    EXPECT_FALSE(grid->Dati()->HasField("DO30_QTA1"));
    EXPECT_FALSE(grid->Dati()->HasField("DO77_ZQ_QTA_ANNULLO"));
    EXPECT_TRUE(grid->Dati()->HasField("DO77_CODCAU_ZQ63"));

    const ObjectPtr other = CreateObject(g::kClsidGriglia);
    EXPECT_TRUE(GetProp(other, g::kGrigliaDati).ToObject() == nullptr);
    EXPECT_EQ(ErrorOf([&] { CallMethod(other, g::kGrigliaCreaStruttura); }), err::ObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { SetProp(other, g::kGrigliaMostra, Variant()); }), err::ObjectNotSet);
    EXPECT_EQ(s.host->sizeGrid->Grids().size(), 2u);
}

// The edits reach the data only once the grid is shown; a line outside the grid is out of
// the user's reach; a reason typed without its description takes the reason's own.
TEST_F(SizeGridTest, TheUsersEditsGoIntoTheDataWhileTheGridIsShown) {
    auto grid = PrepareGrid(s);
    HandFamily(s, *grid);
    EXPECT_EQ(grid->Handed().rows.size(), 3u);
    s.host->sizeGrid->PlanEdits({sim::GridEdit::Line(7).Quantity(0.0).Status("3"),
                                 sim::GridEdit::Line(9).Status("2").Cancelled(1.0).Reason("FOR"),
                                 sim::GridEdit::Line(42).Quantity(1.0)});
    EXPECT_DOUBLE_EQ(Cell(*grid, 7, "DO30_QTA1").ToDouble(), 5);
    EXPECT_FALSE(grid->Changed());

    ShowGrid(*grid);
    EXPECT_DOUBLE_EQ(Cell(*grid, 7, "DO30_QTA1").ToDouble(), 0);
    EXPECT_EQ(Cell(*grid, 7, "DO30_GUID").ToString(), "3");
    EXPECT_EQ(Cell(*grid, 9, "DO30_GUID").ToString(), "2");
    EXPECT_DOUBLE_EQ(Cell(*grid, 9, "DO77_ZQ_QTA_ANNULLO").ToDouble(), 1);
    EXPECT_EQ(Cell(*grid, 9, "DO77_CODCAU_ZQ63").ToString(), "FOR");
    EXPECT_EQ(Cell(*grid, 9, "DO77_DESCAU_ZQ63").ToString(), "Merce non disponibile");
    EXPECT_EQ(Cell(*grid, 8, "DO30_GUID").ToString(), "1");
    EXPECT_EQ(grid->Dati()->Get("DO30_PROGRIGA").ToLong(), 7);  // back on the first row
    EXPECT_TRUE(grid->Changed());
    EXPECT_TRUE(grid->Passed(g::kGrigliaRigaCorrente).SameAs(Variant::Int32(8)));
    // The edits were the user's once: showing the grid again changes nothing more.
    s.host->sizeGrid->PlanEdits({sim::GridEdit::Line(9).Reason("")});
    ShowGrid(*grid);
    EXPECT_TRUE(Cell(*grid, 9, "DO77_CODCAU_ZQ63").IsNull());
    EXPECT_TRUE(Cell(*grid, 9, "DO77_DESCAU_ZQ63").IsNull());
    EXPECT_TRUE(s.host->sizeGrid->TakeEdits().empty());
}

// A changed cell quantity goes to its line through the quantity operation; a zeroed cell
// leaves its line alone; no form is put into edit state.
TEST_F(SizeGridTest, PostingSetsChangedQuantitiesAndAnswersThatTheGridChanged) {
    auto grid = PrepareGrid(s);
    HandFamily(s, *grid);
    s.host->sizeGrid->PlanEdits({sim::GridEdit::Line(7).Quantity(0.0).Status("3"),
                                 sim::GridEdit::Line(8).Quantity(6.0).Status("2").Cancelled(2.0)});
    ShowGrid(*grid);
    const Posting p = Post(s, *grid);
    EXPECT_TRUE(p.answer);
    const auto set = s.host->log->CallsTo("gclsRegDoc.ImpostaQuantita");
    ASSERT_EQ(set.size(), 1u);
    EXPECT_DOUBLE_EQ(set[0].args[0].ToDouble(), 6);
    EXPECT_TRUE(set[0].args[1].SameAs(Variant::Bool(true)));
    EXPECT_DOUBLE_EQ(s.HostValue(8, "DO30_QTA1").ToDouble(), 6);
    EXPECT_DOUBLE_EQ(s.HostValue(7, "DO30_QTA1").ToDouble(), 5);
    EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 8);  // the posting stands on its last line
    EXPECT_EQ(s.host->window->docCorpo->EditMode(), 0);
    EXPECT_EQ(s.host->window->docTestata->EditMode(), 0);
    EXPECT_EQ(p.component->Runs(), 1);
    EXPECT_EQ(s.host->log->Count("objRegistraGriglia.Registra"), 1u);
}

TEST_F(SizeGridTest, PostingAnswersFalseWhenTheUserChangedNothing) {
    auto grid = PrepareGrid(s);
    HandFamily(s, *grid);
    ShowGrid(*grid);
    EXPECT_FALSE(Post(s, *grid).answer);
    // A status alone is a change, though no quantity moves.
    s.host->sizeGrid->PlanEdits({sim::GridEdit::Line(9).Status("3")});
    ShowGrid(*grid);
    EXPECT_TRUE(Post(s, *grid).answer);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.ImpostaQuantita"), 0u);
}

TEST_F(SizeGridTest, SettingsMakeThePostingAnswerFalseOrFail) {
    auto grid = PrepareGrid(s);
    HandFamily(s, *grid);
    s.host->sizeGrid->PlanEdits({sim::GridEdit::Line(8).Quantity(6.0)});
    ShowGrid(*grid);
    s.host->sizeGrid->settings.posting = sim::GridPosting::AnswerFalse;
    EXPECT_FALSE(Post(s, *grid).answer);
    EXPECT_DOUBLE_EQ(s.HostValue(8, "DO30_QTA1").ToDouble(), 8);
    s.host->sizeGrid->settings.posting = sim::GridPosting::Fail;
    EXPECT_EQ(ErrorOf([&] { Post(s, *grid); }), -2147220991);
    EXPECT_DOUBLE_EQ(s.HostValue(8, "DO30_QTA1").ToDouble(), 8);
    EXPECT_EQ(s.host->sizeGrid->Postings().size(), 2u);
    // Without its grid the posting cannot run.
    s.host->sizeGrid->settings.posting = sim::GridPosting::Apply;
    const ObjectPtr bare = CreateObject(g::kClsidRegistraGriglia);
    SetProp(bare, g::kRegistraProgramma, Variant(ObjectPtr(s.host->programma)));
    SetProp(bare, g::kRegistraConnessione, Variant(ObjectPtr(s.host->db->Connection())));
    Variant args[] = {Variant::Int32(0), Variant::Int32(0), Variant(""), Variant::Bool(false)};
    EXPECT_EQ(ErrorOf([&] { CallMethodRef(bare, g::kRegistraEsegui, args); }), err::ObjectNotSet);
}

// Destroying the plug-in unloads its grid and clears the posting's references, in order.
TEST_F(SizeGridTest, ThePlugInsDestructionUnloadsTheGridAndClearsThePosting) {
    auto grid = PrepareGrid(s);
    HandFamily(s, *grid);
    const ObjectPtr posting = CreateObject(g::kClsidRegistraGriglia);
    SetProp(posting, g::kRegistraGriglia, Variant(ObjectPtr(grid)));
    ClsrfTestAccess::SetGridComponents(s.Plugin(), grid, posting);
    s.host->log->Clear();
    s.driver->Release();
    EXPECT_TRUE(grid->Unloaded());
    EXPECT_EQ(grid->Calls().back(), "Unload()");
    EXPECT_FALSE(grid->Dati());
    auto p = As<sim::SimGridPosting>(posting);
    EXPECT_FALSE(p->Griglia());
    const auto members = s.host->log->Members();
    const std::vector<std::string> expected{"objGriglia.Unload", "objRegistraGriglia.Griglia",
                                            "objRegistraGriglia.Connessione",
                                            "objRegistraGriglia.Programma"};
    ASSERT_GE(members.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(members.begin(), members.begin() + 4), expected);
    for (const char* m : {"objRegistraGriglia.Griglia", "objRegistraGriglia.Connessione",
                          "objRegistraGriglia.Programma"})
        EXPECT_TRUE(s.host->log->CallsTo(m).at(0).args.at(0).ToObject() == nullptr) << m;
}

}  // namespace
}  // namespace zq::test
