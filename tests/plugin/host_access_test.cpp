// Message boxes through the host, the current line's GUID, and the conversion functions.

#include "host/host_access.h"

#include <gtest/gtest.h>

#include <thread>

#include "fakes.h"

namespace zq::test {
namespace {

TEST(ShowHostMessage, ShowsThroughTheEnvironmentsMessageServiceWithANullOwner) {
    FakeHost host;
    host.programma->ambiente->messaggi->answer = 6;  // Yes
    EXPECT_EQ(host::ShowHostMessage(host.programma, "Testo", 48, "Stato documento"), 6);
    const std::vector<Message>& shown = host.programma->ambiente->messaggi->shown;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Testo");
    EXPECT_EQ(shown[0].style, 48);
    EXPECT_EQ(shown[0].title, "Stato documento");
    EXPECT_TRUE(shown[0].ownerIsNull);
}

TEST(ShowHostMessage, AnswersZeroWhenTheHostCannotShowIt) {
    FakeHost host;
    host.programma->ambiente->messaggi = nullptr;
    EXPECT_EQ(host::ShowHostMessage(host.programma, "Testo", 64, "Stato documento"), 0);

    host.programma->ambiente = nullptr;
    EXPECT_EQ(host::ShowHostMessage(host.programma, "Testo", 64, "Stato documento"), 0);
    EXPECT_EQ(host::ShowHostMessage(nullptr, "Testo", 0, ""), 0);
}

TEST(GetGuidRiga, GivesTheGuidExactlyAsTheHostHoldsIt) {
    auto riga = std::make_shared<FakeRigaCorpo>();
    host::RigaCorpoPtr line = riga;
    riga->guid = "{6F9619FF-8B86-D011-B42D-00C04FC964FF}";
    EXPECT_EQ(host::GetGuidRiga(line), "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
    riga->guid = "6f9619ff-8b86-d011-b42d-00c04fc964ff";
    EXPECT_EQ(host::GetGuidRiga(line), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
}

TEST(GetGuidRiga, AMissingLineObjectReachesTheCaller) {
    host::RigaCorpoPtr none;
    try {
        (void)host::GetGuidRiga(none);
        FAIL() << "no error raised";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), err::ObjectNotSet);
    }
}

TEST(ObjFunzioniGlobali, IsCreatedOncePerThread) {
    ScopedObjectFactory factory(std::string(host::kProgIdFunzioniGlobali),
                                [] { return std::make_shared<FakeFunzioniGlobali>(); });
    host::IFunzioniGlobali* here = &host::objFunzioniGlobali();
    EXPECT_EQ(&host::objFunzioniGlobali(), here);
    EXPECT_EQ(here->ValoreTesto(Variant::Int32(12)), "T:12");

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
        ScopedObjectFactory factory(std::string(host::kProgIdFunzioniGlobali),
                                    [] { return std::make_shared<FakeFunzioniGlobali>(); });
        EXPECT_EQ(host::objFunzioniGlobali().ValoreNumero(Variant::Null()), 0);
    }).join();
}

}  // namespace
}  // namespace zq::test
