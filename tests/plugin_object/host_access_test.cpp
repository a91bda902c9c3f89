// Message boxes through the host, the current line's GUID, and the conversion functions.

#include "host/host_access.h"

#include <gtest/gtest.h>

#include <thread>

#include "sim/host/sim_funzioni.h"
#include "two_lines.h"

namespace zq::test {
namespace {

TEST(ShowHostMessage, ShowsThroughTheEnvironmentsMessageService) {
    Session h(TwoLines());
    h.Load();
    h.host->messaggi->Script({6});  // Yes
    EXPECT_EQ(host::ShowHostMessage(h.host->programma, "Testo", 48, "Stato documento"), 6);
    EXPECT_EQ(h.Messages(), (std::vector<sim::ShownMessage>{{"Testo", 48, "Stato documento"}}));
}

TEST(ShowHostMessage, AnswersZeroWhenTheHostCannotShowIt) {
    Session h(TwoLines());
    h.Load();
    h.host->ambiente->RemoveMessaggi();
    EXPECT_EQ(host::ShowHostMessage(h.host->programma, "Testo", 64, "Stato documento"), 0);
    EXPECT_EQ(host::ShowHostMessage(nullptr, "Testo", 0, ""), 0);
    EXPECT_TRUE(h.Messages().empty());
}

TEST(ShowHostMessage, AHostWithoutMessageServiceOpensItsFormsWithoutTheWarnings) {
    SessionOptions o = TwoLines();  // no parameters: both forms would warn
    o.parametri = false;
    o.reasons = {};
    Session h(o);
    h.Load();
    h.host->ambiente->RemoveMessaggi();
    ASSERT_TRUE(h.Initialize());
    h.driver->OpenForm(1);
    h.driver->OpenForm(2);
    EXPECT_FALSE(h.driver->CloseForm(2));
    for (const auto& e : h.driver->Events()) EXPECT_TRUE(e.result.Succeeded()) << e.name;
    EXPECT_TRUE(h.Messages().empty());
}

TEST(GetGuidRiga, GivesTheGuidExactlyAsTheHostHoldsIt) {
    Session h(TwoLines());
    h.Load();
    h.host->doc->MoveToLine(2);
    host::RigaCorpoPtr line = h.host->doc->objRigaCorpo();
    EXPECT_EQ(host::GetGuidRiga(line), sim::HostDbBuilder::GuidRiga(sim::demo::kOrdine, 2));
    line->SetGuidRiga("6f9619ff-8b86-d011-b42d-00c04fc964ff");
    EXPECT_EQ(host::GetGuidRiga(line), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
}

TEST(GetGuidRiga, AMissingLineObjectReachesTheCaller) {
    try {
        host::RigaCorpoPtr none;
        (void)host::GetGuidRiga(none);
        FAIL() << "no error raised";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), err::ObjectNotSet);
    }
}

ObjectPtr MakeFunzioni() {
    return std::make_shared<sim::SimFunzioniGlobali>();
}

TEST(ObjFunzioniGlobali, IsCreatedOncePerThread) {
    ScopedObjectFactory factory(std::string(host::kProgIdFunzioniGlobali), MakeFunzioni);
    host::IFunzioniGlobali* here = &host::objFunzioniGlobali();
    EXPECT_EQ(&host::objFunzioniGlobali(), here);

    host::IFunzioniGlobali* there = nullptr;
    std::thread([&] { there = &host::objFunzioniGlobali(); }).join();
    EXPECT_NE(there, nullptr);
    EXPECT_NE(there, here);
}

TEST(ObjFunzioniGlobali, AFailedCreationIsTriedAgainAtTheNextUse) {
    std::thread([] {
        UnregisterObjectFactory(host::kProgIdFunzioniGlobali);
        try {
            (void)host::objFunzioniGlobali();
            FAIL() << "no error raised";
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), err::CannotCreateObject);
        }
        ScopedObjectFactory factory(std::string(host::kProgIdFunzioniGlobali), MakeFunzioni);
        EXPECT_EQ(host::objFunzioniGlobali().ValoreTesto(Variant::Int32(12)), "12");
    }).join();
}

}  // namespace
}  // namespace zq::test
