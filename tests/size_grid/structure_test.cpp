// The grid's data recordset as the grid command checks and copies it: the five fields the
// write-back needs, asked of the size-grid component, and the empty copy of its structure.
#include <gtest/gtest.h>

#include "host/screen.h"
#include "sim/recordset/mem_recordset.h"
#include "support/error_of.h"
#include "support/grid_setup.h"

namespace zq::test {
namespace {

// Called as from inside a host event, so that the faults armed count its calls.
VBool Controlla(Session& s, ado::RecordsetPtr rst) {
    sim::PluginCallFrame asThePlugin;
    return ClsrfTestAccess::ControllaCampiGriglia(s.Plugin(), rst);
}

ado::RecordsetPtr Clona(Session& s, ado::RecordsetPtr rst) {
    return ClsrfTestAccess::ClonaStrutturaRecordset(s.Plugin(), rst);
}

std::vector<std::string> FieldsAsked(const Session& s) {
    std::vector<std::string> out;
    for (const auto& c : s.host->log->CallsTo("objGriglia.EsisteCampo"))
        out.push_back(c.args.at(0).ToString());
    return out;
}

TEST(ControllaCampiGriglia, AGridWithTheFiveFieldsPassesSilently) {
    Session s;
    s.Open();
    auto grid = PrepareGrid(s);
    EXPECT_EQ(Controlla(s, grid->Dati()), VTrue);
    EXPECT_EQ(FieldsAsked(s),
              (std::vector<std::string>{"DO30_QTA1", "DO30_GUID", "DO77_ZQ_QTA_ANNULLO",
                                        "DO77_CODCAU_ZQ63", "DO77_DESCAU_ZQ63"}));
    EXPECT_TRUE(s.Messages().empty());
}

// The check stops at the first field missing in the order asked: its message names that
// one only, after the document type the grid holds; the hourglass goes.
TEST(ControllaCampiGriglia, TheFirstMissingFieldIsNamedWithTheDocumentType) {
    const struct {
        std::vector<std::string> without;
        std::string field;
        std::size_t asked;
    } cases[] = {
        {{"DO77_ZQ_QTA_ANNULLO"}, "DO77_ZQ_QTA_ANNULLO", 3},
        {{"DO77_ZQ_QTA_ANNULLO", "DO30_QTA1"}, "DO30_QTA1", 1},
        {{"DO30_GUID"}, "DO30_GUID", 2},
        {{"DO77_DESCAU_ZQ63", "DO77_CODCAU_ZQ63"}, "DO77_CODCAU_ZQ63", 4},
        {{"DO77_DESCAU_ZQ63"}, "DO77_DESCAU_ZQ63", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        Session s;
        s.Load().sizeGrid->settings.without = c.without;
        s.Open();
        auto grid = PrepareGrid(s);
        host::Screen()->SetMousePointer(host::vbHourglass);
        EXPECT_EQ(Controlla(s, grid->Dati()), VFalse);
        EXPECT_EQ(FieldsAsked(s).size(), c.asked);
        const auto shown = s.Messages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].testo,
                  "Errore configurazione documento OC : campo " + c.field + " mancante!");
        EXPECT_EQ(shown[0].stile, 48);
        EXPECT_EQ(shown[0].titolo, "Stato documento");
        EXPECT_EQ(s.host->screen->MousePointer(), host::vbDefault);
        EXPECT_EQ(grid->Calls().back(), "TipoDocumento");  // read for the message
    }
}

TEST(ControllaCampiGriglia, AFailingGridReachesTheCallerWithoutAMessage) {
    Session s;
    s.Open();
    auto grid = PrepareGrid(s);
    s.faults.FailMatching(sim::FaultKind::Method, "objGriglia.EsisteCampo", 2);
    EXPECT_EQ(ErrorOf([&] { Controlla(s, grid->Dati()); }), sim::kInjectedFailure);
    EXPECT_TRUE(s.Messages().empty());
    // Without a grid component at all the check cannot start either.
    ClsrfTestAccess::SetGridComponents(s.Plugin(), nullptr, nullptr);
    EXPECT_EQ(ErrorOf([&] { Controlla(s, grid->Dati()); }), err::ObjectNotSet);
}

TEST(ClonaStrutturaRecordset, TheCopyHasTheGridsFieldsWithTheStatusInPlaceOfTheGuid) {
    Session s;
    s.Open();
    auto grid = PrepareGrid(s);
    const ado::RecordsetPtr dati = grid->Dati();
    const ado::RecordsetPtr copia = Clona(s, dati);
    ASSERT_TRUE(copia);
    EXPECT_EQ(copia->State(), ado::adStateClosed);
    ASSERT_EQ(copia->FieldCount(), dati->FieldCount());
    for (std::int32_t i = 0; i < dati->FieldCount(); ++i) {
        const auto from = dati->FieldAt(i), to = copia->FieldAt(i);
        SCOPED_TRACE(from->Name());
        EXPECT_EQ(to->Name(), from->Name());
        if (from->Name() == "DO30_GUID") {
            EXPECT_EQ(from->Type(), ado::adVarChar);
            EXPECT_EQ(from->DefinedSize(), 38);
            EXPECT_EQ(to->Type(), ado::adVarChar);
            EXPECT_EQ(to->DefinedSize(), 1);
            continue;
        }
        EXPECT_EQ(to->Type(), from->Type());
        EXPECT_EQ(to->DefinedSize(), from->DefinedSize());
        EXPECT_EQ(to->Attributes(), from->Attributes());
    }
    // The season travels as its code; the copy opens disconnected and holds a line's row.
    EXPECT_EQ(copia->FieldByName("DO30_STAGIONE_MG5T")->Type(), ado::adVarChar);
    copia->Open();
    copia->AddNew();
    copia->Set("DO30_GUID", Variant("3"));
    copia->Set("DO30_STAGIONE_MG5T", Variant("PE26"));
    copia->Set("DO30_PROGRIGA", Variant::Int32(7));
    copia->Update();
    EXPECT_EQ(copia->Get("DO30_GUID").ToString(), "3");
    EXPECT_EQ(copia->Get("DO30_STAGIONE_MG5T").ToString(), "PE26");
}

sim::FieldDef Def(const char* name, std::int32_t type, std::uint8_t precision = 0,
                  std::uint8_t scale = 0) {
    sim::FieldDef f;
    f.name = name;
    f.type = type;
    f.definedSize = type == ado::adGUID ? 16 : 19;
    f.precision = precision;
    f.numericScale = scale;
    return f;
}

TEST(ClonaStrutturaRecordset, DecimalsKeepPrecisionAndScaleAnyGuidBecomesTheStatus) {
    // A decimal column of the body reaches the grid and its copy as 18 digits, 4 decimals.
    SessionOptions o;
    o.setup = {"ALTER TABLE DO30_DOCCORPO ADD COLUMN DO30_QTAUM DECIMAL(18,4)"};
    Session s(o);
    s.Open();
    auto grid = PrepareGrid(s);
    const auto copia = Clona(s, grid->Dati());
    const auto qtaUm = copia->FieldByName("DO30_QTAUM");
    EXPECT_EQ(qtaUm->Type(), ado::adNumeric);
    EXPECT_EQ(qtaUm->Precision(), 18);
    EXPECT_EQ(qtaUm->NumericScale(), 4);

    const auto other = sim::MakeRecordset(
        {Def("DO30_GUID", ado::adGUID), Def("IMPORTO", ado::adDecimal, 18, 4)}, {});
    const auto c = Clona(s, other);
    EXPECT_EQ(c->FieldByName("DO30_GUID")->Type(), ado::adVarChar);
    EXPECT_EQ(c->FieldByName("DO30_GUID")->DefinedSize(), 1);
    EXPECT_EQ(c->FieldByName("IMPORTO")->Type(), ado::adDecimal);
    EXPECT_EQ(c->FieldByName("IMPORTO")->Precision(), 18);
    EXPECT_EQ(c->FieldByName("IMPORTO")->NumericScale(), 4);
}

// A field that cannot be appended (a second field of the same name) is left out and the
// copy goes on; the decimal before it keeps its own precision and scale.
TEST(ClonaStrutturaRecordset, AFieldThatCannotBeAppendedIsLeftOut) {
    Session s;
    s.Open();
    const auto from =
        sim::MakeRecordset({Def("A", ado::adInteger), Def("D", ado::adDecimal, 10, 2),
                            Def("D", ado::adDecimal, 18, 4), Def("E", ado::adNumeric, 12, 3)},
                           {});
    const auto c = Clona(s, from);
    ASSERT_EQ(c->FieldCount(), 3);
    EXPECT_EQ(c->FieldAt(1)->Name(), "D");
    EXPECT_EQ(c->FieldAt(1)->Precision(), 10);
    EXPECT_EQ(c->FieldAt(1)->NumericScale(), 2);
    EXPECT_EQ(c->FieldAt(2)->Name(), "E");
    EXPECT_EQ(c->FieldAt(2)->Precision(), 12);
    EXPECT_EQ(c->FieldAt(2)->NumericScale(), 3);
    // No recordset at all: an empty copy, and no error.
    ado::RecordsetPtr none;
    ado::RecordsetPtr empty;
    EXPECT_EQ(ErrorOf([&] { empty = Clona(s, none); }), 0);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->FieldCount(), 0);
}

}  // namespace
}  // namespace zq::test
