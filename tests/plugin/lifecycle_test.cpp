// Creation, Initialize, Terminate, release, and the methods the object answers itself.

#include <gtest/gtest.h>

#include <thread>

#include "fakes.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using Busy = ClsrfTestAccess::Busy;

const char* const kParametri =
    " SELECT ZQ00_IDSTATO_ANNULLO_TESTA_CO4C,ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C FROM "
    "ZQ00_PARAMETRI WHERE ZQ00_DITTA_CG18 = 1";
const char* const kCausaleDefault =
    " SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO FROM ZQ63_CAU_ANNULLO with (nolock)  WHERE "
    "ZQ63_FLG_DEFAULT = 1 ";

TEST(Initialize, OpensMissingSectionsEmptyAfterReadingTheConfiguration) {
    FakeHost host(/*withSections=*/false);
    host.doc->docUI->indicatore = 4;

    EXPECT_EQ(host.Initialize(), VTrue);
    EXPECT_TRUE(host.lastResult.Succeeded());

    // Parameters first, then the default reason, each once, as queries.
    ASSERT_EQ(host.cnn->statements.size(), 2u);
    EXPECT_EQ(host.cnn->statements[0].text, kParametri);
    EXPECT_EQ(host.cnn->statements[1].text, kCausaleDefault);
    for (const Statement& s : host.cnn->statements) EXPECT_EQ(s.options, ado::adCmdText);

    // Then the two sections, each flagged as managed and opened empty, then the busy
    // indicator is read.
    const CallLog expected{"SetGestCorpoVert(True)", "ApriRstDocCorpoVert(1=0)",
                           "SetGestCorpoOrd(True)", "ApriRstDocCorpoOrd(1=0)", "IndicatoreAttesa"};
    EXPECT_EQ(host.log, expected);
    ASSERT_TRUE(host.doc->rstDocCorpoVert());
    ASSERT_TRUE(host.doc->rstDocCorpoOrd());
    EXPECT_TRUE(host.doc->rstDocCorpoVert()->BOF() && host.doc->rstDocCorpoVert()->EOF_());
    EXPECT_TRUE(host.doc->rstDocCorpoOrd()->BOF() && host.doc->rstDocCorpoOrd()->EOF_());
    EXPECT_EQ(ClsrfTestAccess::ParamInit(host.plugin), "T:P1");
}

TEST(Initialize, LeavesOpenSectionsAlone) {
    FakeHost host(/*withSections=*/true);
    const ado::RecordsetPtr vert = host.doc->corpoVert, ord = host.doc->corpoOrd;

    EXPECT_EQ(host.Initialize(), VTrue);
    EXPECT_EQ(host.log, CallLog{"IndicatoreAttesa"});
    EXPECT_FALSE(host.doc->docUI->gestCorpoVert.has_value());
    EXPECT_FALSE(host.doc->docUI->gestCorpoOrd.has_value());
    EXPECT_EQ(host.doc->rstDocCorpoVert(), vert);
    EXPECT_EQ(host.doc->rstDocCorpoOrd(), ord);
}

TEST(Initialize, AFailedStepAnswersFalseAndKeepsWhatWasStored) {
    FakeHost host;
    host.doc->docUI = nullptr;  // step 5 meets a missing UI options object

    EXPECT_EQ(host.Initialize(7), VFalse);
    EXPECT_TRUE(host.lastResult.Succeeded());  // failure only through the result
    std::int16_t index = 0;
    ASSERT_TRUE(host.plugin->IndPlugInStd(index).Succeeded());
    EXPECT_EQ(index, 7);
    EXPECT_EQ(host.cnn->statements.size(), 2u);  // steps 3 and 4 had run
}

TEST(Initialize, WithoutConversionFunctionsStopsAtTheFirstStep) {
    // A thread that never made the conversion functions, and a host that cannot create
    // them: nothing after step 1 runs.
    std::thread([] {
        FakeHost host;
        UnregisterObjectFactory(host::kProgIdFunzioniGlobali);
        EXPECT_EQ(host.Initialize(5), VFalse);
        EXPECT_TRUE(host.lastResult.Succeeded());
        std::int16_t index = -1;
        ASSERT_TRUE(host.plugin->IndPlugInStd(index).Succeeded());
        EXPECT_EQ(index, 0);
        EXPECT_TRUE(host.cnn->statements.empty());
    }).join();
}

TEST(Initialize, AFaultThatIsNoHostErrorBecomesAFailedCall) {
    FakeHost host;
    host.doc->docUI->faultOnRead = true;

    const VBool result = host.Initialize();
    EXPECT_TRUE(host.lastResult.Failed());
    EXPECT_NE(host.lastResult.description.find("busy indicator unreadable"), std::string::npos);
    EXPECT_EQ(result, VFalse);
}

TEST(IndPlugInStd, AnswersZeroBeforeInitializeAndTheIndexAfter) {
    FakeHost host;
    std::int16_t index = -1;
    ASSERT_TRUE(host.plugin->IndPlugInStd(index).Succeeded());
    EXPECT_EQ(index, 0);

    ASSERT_EQ(host.Initialize(12), VTrue);
    ASSERT_TRUE(host.plugin->IndPlugInStd(index).Succeeded());
    EXPECT_EQ(index, 12);
}

TEST(Terminate, RestoresTheBusyIndicatorAndReleasesTheHostObjects) {
    FakeHost host;
    host.doc->docUI->indicatore = 6;
    ASSERT_EQ(host.Initialize(), VTrue);
    host.doc->docUI->indicatore = 0;  // a procedure lowered it around a message

    std::weak_ptr<FakeConnection> cnn = host.cnn;
    std::weak_ptr<FakeRegDoc> doc = host.doc;
    std::weak_ptr<FakeProgramma> programma = host.programma;
    std::weak_ptr<FakeDitta> ditta = host.ditta;
    std::shared_ptr<FakeDocUI> docUI = host.doc->docUI;

    ASSERT_TRUE(host.plugin->Terminate().Succeeded());
    EXPECT_EQ(docUI->indicatore, 6);

    host.cnn.reset();
    host.doc.reset();
    host.programma.reset();
    host.ditta.reset();
    EXPECT_TRUE(cnn.expired());
    EXPECT_TRUE(doc.expired());
    EXPECT_TRUE(programma.expired());
    EXPECT_TRUE(ditta.expired());

    // A second Terminate meets released references and still succeeds.
    EXPECT_TRUE(host.plugin->Terminate().Succeeded());
    host.log.clear();
    host.plugin.reset();  // the release runs Terminate once more: nothing reaches the host
    EXPECT_TRUE(host.log.empty());
}

TEST(Release, WithoutTerminateStillRestoresTheBusyIndicator) {
    FakeHost host;
    host.doc->docUI->indicatore = 9;
    ASSERT_EQ(host.Initialize(), VTrue);
    host.doc->docUI->indicatore = 0;

    host.plugin.reset();
    EXPECT_EQ(host.doc->docUI->indicatore, 9);
    EXPECT_EQ(host.log.back(), "SetIndicatoreAttesa(9)");
}

TEST(Release, UnloadsTheSizeGridAndClearsThePostingComponentInOrder) {
    FakeHost host;
    ASSERT_EQ(host.Initialize(), VTrue);
    ClsrfTestAccess::SetGridComponents(host.plugin,
                                       std::make_shared<LoggingObject>(host.log, "griglia"),
                                       std::make_shared<LoggingObject>(host.log, "registra"));
    host.log.clear();

    host.plugin.reset();
    const CallLog expected{"griglia.Unload", "registra.Griglia=Nothing",
                           "registra.Connessione=Nothing", "registra.Programma=Nothing",
                           "SetIndicatoreAttesa(0)"};
    EXPECT_EQ(host.log, expected);
}

TEST(CloseForm, IsRefusedWhileEachLongProcedureRuns) {
    for (Busy flag : {Busy::CambioStatoTesta, Busy::GrigliaInCorso, Busy::ConfermaInCorso}) {
        FakeHost host;
        ASSERT_EQ(host.Initialize(), VTrue);
        ObjectPtr form;
        VBool cancel = VFalse;

        ClsrfTestAccess::SetBusy(host.plugin, flag, VTrue);
        ASSERT_TRUE(host.plugin->CloseForm(form, 2, cancel).Succeeded());
        EXPECT_EQ(cancel, VTrue) << int(flag);

        // Once it ended, closing is accepted: the flag is left as the host gave it.
        ClsrfTestAccess::SetBusy(host.plugin, flag, VFalse);
        cancel = VFalse;
        ASSERT_TRUE(host.plugin->CloseForm(form, 2, cancel).Succeeded());
        EXPECT_EQ(cancel, VFalse) << int(flag);
    }
}

TEST(CloseForm, NeverClearsACancelTheHostAlreadySet) {
    FakeHost host;
    ObjectPtr form;
    VBool cancel = VTrue;
    ASSERT_TRUE(host.plugin->CloseForm(form, 1, cancel).Succeeded());
    EXPECT_EQ(cancel, VTrue);
}

TEST(FunzGenInit, KeepsOnlyTheBodyFormsMenu) {
    FakeHost host;
    ObjectPtr form;
    ObjectPtr headerMenu = std::make_shared<LoggingObject>(host.log, "menuTestata");
    ObjectPtr bodyMenu = std::make_shared<LoggingObject>(host.log, "menuCorpo");
    ObjectPtr secondBodyMenu = std::make_shared<LoggingObject>(host.log, "menuCorpo2");

    ASSERT_TRUE(host.plugin->FunzGenInit(form, 2, bodyMenu).Succeeded());
    EXPECT_EQ(ClsrfTestAccess::MenuFunzGen(host.plugin), bodyMenu);
    ASSERT_TRUE(host.plugin->FunzGenInit(form, 1, headerMenu).Succeeded());
    EXPECT_EQ(ClsrfTestAccess::MenuFunzGen(host.plugin), bodyMenu);
    ASSERT_TRUE(host.plugin->FunzGenInit(form, 2, secondBodyMenu).Succeeded());
    EXPECT_EQ(ClsrfTestAccess::MenuFunzGen(host.plugin), secondBodyMenu);
    EXPECT_EQ(bodyMenu.use_count(), 1);  // the previous menu was let go
    EXPECT_TRUE(host.log.empty());       // and nothing was called on any menu
}

TEST(Cls_SrvLog, KeepsWhatTheHostAssignsAndNeverCallsIt) {
    FakeHost host;
    EXPECT_EQ(host.plugin->Cls_SrvLog(), nullptr);
    ObjectPtr log = std::make_shared<LoggingObject>(host.log, "srvlog");
    host.plugin->SetCls_SrvLog(log);
    ASSERT_EQ(host.Initialize(), VTrue);
    EXPECT_EQ(host.plugin->Cls_SrvLog(), log);
    for (const std::string& call : host.log) EXPECT_EQ(call.rfind("srvlog", 0), std::string::npos);
}

}  // namespace
}  // namespace zq::test
