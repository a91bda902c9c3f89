// Creation, Initialize, Terminate, release, and the methods the object answers itself,
// driven as the host drives them.

#include <gtest/gtest.h>

#include <thread>

#include "host/host_access.h"
#include "two_lines.h"

namespace zq::test {
namespace {

bool Empty(const ado::RecordsetPtr& rs) {
    return rs && rs->BOF() && rs->EOF_();
}

TEST(Initialize, OpensMissingSectionsEmptyAfterReadingTheConfiguration) {
    Session h(TwoLines());
    sim::DocumentType type = SessionOptions::StandardType();
    type.gestCorpoVert = type.gestCorpoOrd = false;
    h.options.type = type;
    h.Load();

    ASSERT_TRUE(h.Initialize());
    EXPECT_TRUE(h.driver->Last("Initialize")->result.Succeeded());
    ASSERT_EQ(h.StatementTexts(), (std::vector<std::string>{kParametri, kCausaleDefault}));
    for (const auto& s : h.Statements()) EXPECT_EQ(s.options, ado::adCmdText);

    EXPECT_EQ(h.host->log->Members(),
              (std::vector<std::string>{"clsDocUI.GestCorpoVert", "gclsRegDoc.ApriRstDocCorpoVert",
                                        "clsDocUI.GestCorpoOrd", "gclsRegDoc.ApriRstDocCorpoOrd"}));
    EXPECT_EQ(h.host->log->CallsTo("gclsRegDoc.ApriRstDocCorpoOrd")[0].args[0].ToString(), "1=0");
    EXPECT_TRUE(IsTrue(h.host->doc->DocUI()->GestCorpoVert()));
    EXPECT_TRUE(IsTrue(h.host->doc->DocUI()->GestCorpoOrd()));
    EXPECT_TRUE(Empty(h.host->doc->rstDocCorpoVert()));
    EXPECT_TRUE(Empty(h.host->doc->rstDocCorpoOrd()));
    // The parameter is kept as the host's conversion writes it.
    EXPECT_EQ(ClsrfTestAccess::ParamInit(h.Plugin()), "1");
}

TEST(Initialize, LeavesOpenSectionsAlone) {
    Session h(TwoLines());
    h.Load();
    const ado::RecordsetPtr vert = h.host->doc->rstDocCorpoVert();
    const ado::RecordsetPtr ord = h.host->doc->rstDocCorpoOrd();

    ASSERT_TRUE(h.Initialize());
    EXPECT_TRUE(h.host->log->Calls().empty());
    EXPECT_FALSE(IsTrue(h.host->doc->DocUI()->GestCorpoVert()));
    EXPECT_EQ(h.host->doc->rstDocCorpoVert(), vert);
    EXPECT_EQ(h.host->doc->rstDocCorpoOrd(), ord);
    EXPECT_FALSE(Empty(vert));  // still on the current line's row
}

TEST(Initialize, AFailedStepAnswersFalseAndKeepsWhatWasStored) {
    // A host database without the line extension table: opening the section fails.
    Session h(TwoLines());
    sim::DocumentType type = SessionOptions::StandardType();
    type.gestCorpoVert = false;
    h.options.type = type;
    h.Load();
    h.conn->RunSqlite("DROP TABLE DO77_DOCCORPOVERT");

    EXPECT_FALSE(h.Initialize(7));
    EXPECT_TRUE(h.driver->Last("Initialize")->result.Succeeded());  // only through the result
    std::int16_t index = 0;
    ASSERT_TRUE(h.DocEvents().IndPlugInStd(index).Succeeded());
    EXPECT_EQ(index, 7);
    EXPECT_EQ(h.Statements().size(), 2u);  // the configuration had been read
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(h.Plugin()), "CLI");
}

TEST(Initialize, WithoutConversionFunctionsStopsAtTheFirstStep) {
    // A thread that never made the conversion functions, in a host that cannot create them.
    std::thread([] {
        Session h(TwoLines());
        h.Load();
        UnregisterObjectFactory(host::kProgIdFunzioniGlobali);
        EXPECT_FALSE(h.Initialize(5));
        std::int16_t index = -1;
        ASSERT_TRUE(h.DocEvents().IndPlugInStd(index).Succeeded());
        EXPECT_EQ(index, 0);
        EXPECT_TRUE(h.Statements().empty());
    }).join();
}

TEST(IndPlugInStd, AnswersZeroBeforeInitializeAndTheIndexAfter) {
    Session h(TwoLines());
    h.Load();
    h.driver->CreatePlugin();
    std::int16_t index = -1;
    ASSERT_TRUE(h.DocEvents().IndPlugInStd(index).Succeeded());
    EXPECT_EQ(index, 0);

    ASSERT_TRUE(h.Initialize(12));
    ASSERT_TRUE(h.DocEvents().IndPlugInStd(index).Succeeded());
    EXPECT_EQ(index, 12);
}

TEST(Terminate, RestoresTheBusyIndicatorAndReleasesTheHostObjects) {
    Session h(TwoLines());
    sim::DocumentType type = SessionOptions::StandardType();
    type.indicatoreAttesa = 6;
    h.options.type = type;
    h.Load();
    const auto counts = [&] {
        return std::vector<long>{h.db->recording.use_count(), h.host->doc.use_count(),
                                 h.host->programma.use_count(), h.host->ditta.use_count()};
    };
    const std::vector<long> before = counts();
    ASSERT_TRUE(h.Initialize());
    EXPECT_NE(counts(), before);
    h.host->doc->DocUI()->SetIndicatoreAttesa(0);  // the host lowered it meanwhile

    h.driver->Terminate();
    EXPECT_EQ(h.host->doc->DocUI()->IndicatoreAttesa(), 6);
    EXPECT_EQ(counts(), before);

    // A second Terminate meets released references; the release then reaches nothing.
    h.driver->Terminate();
    EXPECT_TRUE(h.driver->Last("Terminate")->result.Succeeded());
    h.driver->Release();
    EXPECT_EQ(h.host->doc->DocUI()->IndicatoreHistory(), (std::vector<std::int16_t>{0, 6}));
}

TEST(Release, WithoutTerminateStillRestoresTheBusyIndicator) {
    Session h(TwoLines());
    sim::DocumentType type = SessionOptions::StandardType();
    type.indicatoreAttesa = 9;
    h.options.type = type;
    h.Load();
    ASSERT_TRUE(h.Initialize());
    h.host->doc->DocUI()->SetIndicatoreAttesa(0);

    h.driver->Release();
    EXPECT_EQ(h.host->doc->DocUI()->IndicatoreHistory(), (std::vector<std::int16_t>{0, 9}));
}

TEST(Release, UnloadsTheSizeGridAndClearsThePostingComponentInOrder) {
    Session h(TwoLines());
    ASSERT_TRUE(h.Initialize());
    auto calls = std::make_shared<std::vector<std::string>>();
    ClsrfTestAccess::SetGridComponents(h.Plugin(),
                                       std::make_shared<RecordingObject>(calls, "griglia"),
                                       std::make_shared<RecordingObject>(calls, "registra"));
    h.driver->Release();
    EXPECT_EQ(*calls, (std::vector<std::string>{"griglia.Unload", "registra.Griglia=Nothing",
                                                "registra.Connessione=Nothing",
                                                "registra.Programma=Nothing"}));
    EXPECT_EQ(h.host->doc->DocUI()->IndicatoreHistory().size(), 1u);  // then Terminate ran
}

TEST(CloseForm, IsRefusedWhileTheHeaderStateChangeRuns) {
    Session h(TwoLines());
    ASSERT_TRUE(h.Initialize());
    h.driver->OpenForm(2);
    h.driver->OpenForm(1);
    // The user closes the windows while the cancelled order is being saved.
    std::vector<bool> refused;
    const std::function<void()> save = h.host->save;
    h.host->save = [&] {
        refused = {h.driver->CloseForm(1), h.driver->CloseForm(2)};
        save();
    };
    h.driver->SetHeaderState(sim::demo::kStatoTestaAnnullato);
    EXPECT_EQ(refused, (std::vector<bool>{true, true}));
    EXPECT_EQ(h.driver->SaveCount(), 1);
    EXPECT_FALSE(h.driver->CloseForm(1));  // once it ended, closing is accepted
}

TEST(CloseForm, IsRefusedWhileTheGridWriteBackOrALineConfirmationRuns) {
    // No road raises these two yet.
    using Flag = VBool& (*)(plugin::CLSRF_REGDOC_STATI&);
    for (Flag flag : {&ClsrfTestAccess::GrigliaInCorso, &ClsrfTestAccess::ConfermaInCorso}) {
        Session h(TwoLines());
        ASSERT_TRUE(h.Initialize());
        h.driver->OpenForm(1);
        h.driver->OpenForm(2);

        flag(h.Plugin()) = VTrue;
        EXPECT_TRUE(h.driver->CloseForm(2));
        EXPECT_TRUE(h.driver->CloseForm(1));
        flag(h.Plugin()) = VFalse;
        EXPECT_FALSE(h.driver->CloseForm(2));
    }
}

TEST(FunzGenInit, KeepsOnlyTheBodyFormsMenu) {
    Session h(TwoLines());
    ASSERT_TRUE(h.Initialize());
    auto calls = std::make_shared<std::vector<std::string>>();
    ObjectPtr form = h.host->body;
    ObjectPtr bodyMenu = std::make_shared<RecordingObject>(calls, "menuCorpo");
    ObjectPtr headerMenu = std::make_shared<RecordingObject>(calls, "menuTestata");
    ObjectPtr secondBodyMenu = std::make_shared<RecordingObject>(calls, "menuCorpo2");

    ASSERT_TRUE(h.FormEvents().FunzGenInit(form, 2, bodyMenu).Succeeded());
    ASSERT_TRUE(h.FormEvents().FunzGenInit(form, 1, headerMenu).Succeeded());
    EXPECT_EQ(ClsrfTestAccess::MenuFunzGen(h.Plugin()), bodyMenu);
    ASSERT_TRUE(h.FormEvents().FunzGenInit(form, 2, secondBodyMenu).Succeeded());
    EXPECT_EQ(ClsrfTestAccess::MenuFunzGen(h.Plugin()), secondBodyMenu);
    EXPECT_EQ(bodyMenu.use_count(), 1);  // the previous menu was let go
    EXPECT_TRUE(calls->empty());         // and nothing was called on any menu
}

TEST(Cls_SrvLog, KeepsWhatTheHostAssignsAndNeverCallsIt) {
    Session h(TwoLines());
    h.Load();
    h.driver->CreatePlugin();
    EXPECT_EQ(h.Plugin().Cls_SrvLog(), nullptr);
    auto calls = std::make_shared<std::vector<std::string>>();
    ObjectPtr log = std::make_shared<RecordingObject>(calls, "srvlog");
    h.Plugin().SetCls_SrvLog(log);
    ASSERT_TRUE(h.Initialize());
    h.driver->OpenForm(2);
    EXPECT_EQ(h.Plugin().Cls_SrvLog(), log);
    EXPECT_TRUE(calls->empty());
}

}  // namespace
}  // namespace zq::test
