// The real plug-in driven through the simulated host from creation to release.
#include <gtest/gtest.h>

#include "sim/host/driver.h"
#include "simhost/demo_host.h"

namespace zq::sim {
namespace {

using testing::DemoDb;
using testing::DemoSettings;

TEST(LifeCycleSmokeTest, AWholeSessionOnTheDemoOrder) {
    DemoDb demoDb;
    auto host = demoDb.Open();
    HostDriver driver(*host);
    ASSERT_TRUE(driver.Initialize(Variant::Int32(7), 3));
    driver.OpenForm(1);
    driver.OpenForm(2);
    driver.MoveToLine(5);
    host->doc->ImpostaQuantita(6, VTrue, VTrue, 0);
    EXPECT_TRUE(driver.Save());
    EXPECT_FALSE(driver.CloseForm(2));
    EXPECT_FALSE(driver.CloseForm(1));
    driver.Terminate();
    driver.Release();
    for (const auto& e : driver.Events()) EXPECT_TRUE(e.result.Succeeded()) << e.name;
    EXPECT_EQ(driver.EventNames(),
              (std::vector<std::string>{"Initialize", "OpenForm", "FunzGenInit", "OpenForm",
                                        "GRIDRowChange", "ControllaDati", "CloseForm", "CloseForm",
                                        "Terminate"}));
    EXPECT_TRUE(ProgressivesConsistent(*demoDb.conn));
    EXPECT_TRUE(host->messaggi->Shown().empty());
}

TEST(LifeCycleSmokeTest, ADocumentTypeWithoutLineSectionsGetsThemOpenedEmpty) {
    DemoDb demoDb;
    auto settings = DemoSettings();
    settings.type.gestCorpoVert = false;
    settings.type.gestCorpoOrd = false;
    auto host = demoDb.Open(settings);
    HostDriver driver(*host);
    ASSERT_TRUE(driver.Initialize());
    for (auto rs : {host->doc->rstDocCorpoVert(), host->doc->rstDocCorpoOrd()}) {
        ASSERT_TRUE(rs);
        EXPECT_TRUE(rs->BOF() && rs->EOF_());
    }
    EXPECT_TRUE(IsTrue(host->doc->DocUI()->GestCorpoVert()));
    EXPECT_TRUE(IsTrue(host->doc->DocUI()->GestCorpoOrd()));
    EXPECT_EQ(host->log->CallsTo("gclsRegDoc.ApriRstDocCorpoVert")[0].args[0].ToString(), "1=0");
}

TEST(LifeCycleSmokeTest, ReleaseWithoutTerminateStillRestoresTheBusyIndicator) {
    DemoDb demoDb;
    auto settings = DemoSettings();
    settings.type.indicatoreAttesa = 3;
    auto host = demoDb.Open(settings);
    HostDriver driver(*host);
    ASSERT_TRUE(driver.Initialize());
    host->doc->DocUI()->SetIndicatoreAttesa(0);  // the host lowered it meanwhile
    driver.Release();
    EXPECT_EQ(host->doc->DocUI()->IndicatoreAttesa(), 3);
}

}  // namespace
}  // namespace zq::sim
