// Cancelling the whole demo order through its header state, and taking it back, as a user
// does in the simulated host; every result is read back from the database after the save.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "demo_order.h"

namespace zq::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Flags = std::vector<std::pair<std::int32_t, std::int32_t>>;

constexpr const char* kCausaleMancante =
    "Non è stata specificata la causale di annullo, impossibile bloccare l'ordine.";

// Line 8 carries a reason of its own; lines 5, 7, 8 and 9 belong to a line group; their
// extensions cover every row of the flag table used when the order is taken back.
SessionOptions LinkedLines() {
    SessionOptions o = DemoOrder();
    const std::string vert = "UPDATE DO77_DOCCORPOVERT SET ";
    const std::string where = " WHERE DO77_NUMREG_CO99 = 1001 AND DO77_PROGRIGA = ";
    o.setup = {
        "UPDATE DO30_DOCCORPO SET DO30_PROGPADRE = 1 WHERE DO30_NUMREG_CO99 = 1001 AND "
        "DO30_PROGRIGA = 5",
        vert + "DO77_ZQ_QTA_ANNULLO = 2" + where + "5",
        vert + "DO77_CODCAU_ZQ63 = 'ERR', DO77_DESCAU_ZQ63 = 'Errore di inserimento', " +
            "DO77_ZQGUID_MASTER_DO30 = '" + Bare(8) + "', DO77_ZQGUID_DETAIL_DO30 = '" + Bare(8) +
            "'" + where + "8",
        vert + "DO77_ZQGUID_MASTER_DO30 = '" + Bare(8) + "', DO77_ZQGUID_DETAIL_DO30 = '" +
            Bare(9) + "'" + where + "9",
    };
    return o;
}

std::vector<std::string> Sorted(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');) out.push_back(item);
    std::sort(out.begin(), out.end());
    return out;
}

double OpenArtB(Session& s) {
    return s.Scalar("SELECT MG70_QTA1ORD FROM MG70_PROGMAG WHERE MG70_CODART_MG66 = 'ART-B'")
        .ToDouble();
}

TEST(WholeOrder, CancelThenReinstateIsSavedWithReasonFlagsReferencesAndProgressives) {
    Session s(LinkedLines());
    s.Open();
    ASSERT_EQ(OpenArtB(s), 12);

    s.driver->SetHeaderState(kStatoTestaAnnullato);

    EXPECT_THAT(s.TakeMessages(), IsEmpty());
    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");
    EXPECT_EQ(s.Scalar("SELECT DO76_DESCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "Richiesta del cliente");
    EXPECT_EQ(s.Scalar("SELECT DO18_FLGNONPIUEV FROM DO18_DOCTESORD WHERE DO18_NUMREG_CO99 = 1001")
                  .ToLong(),
              1);
    EXPECT_EQ(LineFlags(s),
              (Flags{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 1}, {6, 0}, {7, 1}, {8, 1}, {9, 1}}));
    // The lines keep their own reasons: only line 8 has one.
    EXPECT_EQ(s.Scalar("SELECT COUNT(*) FROM DO77_DOCCORPOVERT WHERE DO77_NUMREG_CO99 = 1001 AND "
                       "DO77_CODCAU_ZQ63 IS NOT NULL")
                  .ToLong(),
              1);
    EXPECT_EQ(s.Scalar("SELECT DO77_CODCAU_ZQ63 FROM DO77_DOCCORPOVERT WHERE DO77_NUMREG_CO99 = "
                       "1001 AND DO77_PROGRIGA = 8")
                  .ToString(),
              "ERR");
    EXPECT_THAT(Sorted(s.host->doc->ElencoDocRiferiti()), ElementsAre("2001", "2002"));
    // The save posted the difference: nothing of the order is open any more.
    EXPECT_EQ(OpenArtB(s), 0);
    EXPECT_TRUE(sim::ProgressivesConsistent(*s.conn));
    EXPECT_EQ(s.Control(1, "TXT_DO18_FLGNONPIUEV").Text(), "1");
    EXPECT_FALSE(s.Control(1, "TXT_DO18_FLGNONPIUEV").Enabled());

    s.driver->SetHeaderState(kStatoTestaIniziale);

    EXPECT_EQ(s.driver->SaveCount(), 2);
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "");
    EXPECT_TRUE(s.Scalar("SELECT DO76_DESCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE "
                         "DO76_NUMREG_CO99 = 1001")
                    .IsNull());
    EXPECT_EQ(s.Scalar("SELECT DO18_FLGNONPIUEV FROM DO18_DOCTESORD WHERE DO18_NUMREG_CO99 = 1001")
                  .ToLong(),
              0);
    // No link: 0; a quantity cancelled without link: 1; a master (detail = master): 0; a
    // cancellation line (detail differs from master): 1. Lines outside the group untouched.
    EXPECT_EQ(LineFlags(s),
              (Flags{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 1}}));
    EXPECT_EQ(OpenArtB(s), 12);
    EXPECT_TRUE(sim::ProgressivesConsistent(*s.conn));
    EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").Text(), "");
    EXPECT_TRUE(s.Control(1, "TXT_DO18_FLGNONPIUEV").Enabled());
}

TEST(WholeOrder, RefusalsChangeNothingAndSaveNothing) {
    {
        SCOPED_TRACE("no default reason");
        SessionOptions o = DemoOrder();
        o.setup = {"UPDATE ZQ63_CAU_ANNULLO SET ZQ63_FLG_DEFAULT = 0"};
        Session s(o);
        s.Open();
        s.driver->SetHeaderState(kStatoTestaAnnullato);
        EXPECT_THAT(s.TakeMessages(),
                    ElementsAre(sim::ShownMessage{
                        "Non è stata specificata la causale di annullo, e non ne esiste una di "
                        "default, impossibile annullare l'ordine.",
                        64, "Stato documento"}));
        EXPECT_EQ(s.driver->SaveCount(), 0);
        EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").Text(), "");
        EXPECT_EQ(s.host->log->Count("gclsRegDoc.InizioAggiornaGriglia"), 0u);
        EXPECT_FALSE(IsTrue(ClsrfTestAccess::CambioStatoTesta(s.Plugin())));
    }
    {
        SCOPED_TRACE("parameters missing");
        SessionOptions o = DemoOrder();
        o.setup = {"UPDATE ZQ00_PARAMETRI SET ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C = NULL"};
        Session s(o);
        s.Open();
        s.driver->SetHeaderState(kStatoTestaAnnullato);
        EXPECT_THAT(s.TakeMessages(),
                    ElementsAre(sim::ShownMessage{
                        "E' necessario impostare nei parametri Vestura il valore dello stato "
                        "annullato per la testata e per le righe documento. \r\n"
                        "[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C] [ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C]",
                        48, "Stato documento"}));
        EXPECT_EQ(s.driver->SaveCount(), 0);
        EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").Text(), "");
    }
    {
        SCOPED_TRACE("another field active");
        Session s(DemoOrder());
        s.Open();
        s.host->header->SetActiveControl("TXT_DO76_DESCAU_ZQ63");
        s.driver->SetHeaderState(kStatoTestaAnnullato, false);
        EXPECT_THAT(s.TakeMessages(), IsEmpty());
        EXPECT_EQ(s.driver->SaveCount(), 0);
        EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").Text(), "");
        // ... unless the header reason is being decoded at that moment.
        ClsrfTestAccess::DecodeCausaleTesta(s.Plugin()) = VTrue;
        s.host->header->SetActiveControl("TXT_DO76_DESCAU_ZQ63");
        s.driver->SetHeaderState(kStatoTestaAnnullato, false);
        EXPECT_EQ(s.driver->SaveCount(), 1);
        EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").Text(), "CLI");
    }
}

// Picking the state the order is already in again is no change: the reason the user gave
// is not overwritten with the default one, nothing is propagated and nothing is saved.
TEST(WholeOrder, TheStateTheOrderIsInPickedAgainChangesNothing) {
    Session s(DemoOrder());
    s.Open();
    s.driver->SetHeaderState(kStatoTestaAnnullato);
    s.Control(1, "TXT_DO76_CODCAU_ZQ63").Type("ERR");
    s.driver->SetHeaderState(kStatoTestaAnnullato);

    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.InizioAggiornaGriglia"), 1u);
    EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").Text(), "ERR");
    EXPECT_TRUE(sim::ProgressivesConsistent(*s.conn));

    // The state the order was opened in counts the same way.
    s.driver->SetHeaderState(kStatoTestaIniziale);
    ASSERT_EQ(s.driver->SaveCount(), 2);
    s.Reopen();
    s.host->log->Clear();
    s.driver->SetHeaderState(kStatoTestaIniziale);
    EXPECT_EQ(s.driver->SaveCount(), 0);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.InizioAggiornaGriglia"), 0u);
}

TEST(WholeOrder, HeaderFormWithoutFlagControlLeavesTheOrderFlag) {
    Session s(DemoOrder());
    s.Load().header->RemoveControl("TXT_DO18_FLGNONPIUEV");
    s.Open();
    s.driver->SetHeaderState(kStatoTestaAnnullato);
    EXPECT_EQ(s.driver->SaveCount(), 1);
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");
    EXPECT_EQ(s.Scalar("SELECT DO18_FLGNONPIUEV FROM DO18_DOCTESORD WHERE DO18_NUMREG_CO99 = 1001")
                  .ToLong(),
              0);
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.AggiornaTestata"), 0u);
}

TEST(WholeOrder, SavingACancelledOrderNeedsAReasonWhileTheFieldIsEnabled) {
    Session s(DemoOrder());
    s.Open();
    s.driver->SetHeaderState(kStatoTestaAnnullato);
    ASSERT_EQ(s.driver->SaveCount(), 1);

    // The user blanks the reason: the description goes with it.
    EXPECT_TRUE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", ""));
    EXPECT_EQ(s.Control(1, "TXT_DO76_DESCAU_ZQ63").Text(), "");
    s.TakeMessages();

    EXPECT_FALSE(s.driver->Save());
    EXPECT_THAT(s.TakeMessages(),
                ElementsAre(sim::ShownMessage{kCausaleMancante, 64, "Stato documento"}));
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");

    s.Control(1, "TXT_DO76_CODCAU_ZQ63").SetEnabled(false);
    EXPECT_TRUE(s.driver->Save());
    EXPECT_THAT(s.TakeMessages(), IsEmpty());
    EXPECT_TRUE(s.Scalar("SELECT DO76_DESCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE "
                         "DO76_NUMREG_CO99 = 1001")
                    .IsNull());

    // A state reported as 0 in flow 0 is only remembered: nothing is written or saved,
    // but the order no longer counts as cancelled.
    s.Control(1, "TXT_DO76_CODCAU_ZQ63").SetEnabled(true);
    EXPECT_FALSE(s.driver->Save());
    s.TakeMessages();
    auto testata = s.host->doc->rstDocTestata();
    testata->Set("DO11_IDFLUSSO_CO4B", Variant::Null());
    testata->Update();
    s.driver->SetHeaderState(0);
    ASSERT_EQ(s.driver->Last("StatiTESTATAChange")->args[1].ToLong(), 0);
    EXPECT_EQ(s.driver->SaveCount(), 2);
    EXPECT_EQ(s.Control(1, "TXT_DO18_FLGNONPIUEV").Text(), "1");
    EXPECT_TRUE(s.driver->Save());
    EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

TEST(WholeOrder, AnOrderWithoutHeaderExtensionGetsOneAndTheGridIsRedrawn) {
    SessionOptions o = DemoOrder();
    o.setup = {"DELETE FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = 1001"};
    Session s(o);
    s.Open();
    s.driver->SetHeaderState(kStatoTestaAnnullato);

    const auto appends = s.host->log->CallsTo("gclsRegDoc.AggiungiRigaTestaVert");
    ASSERT_EQ(appends.size(), 1u);
    EXPECT_EQ(appends[0].args[0].ToLong(), 0);
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");
    for (const char* refresh :
         {"gclsRegDoc.InizioAggiornaGriglia", "gclsRegDoc.FineAggiornaGriglia"}) {
        const auto calls = s.host->log->CallsTo(refresh);
        ASSERT_EQ(calls.size(), 1u) << refresh;
        std::vector<std::string> args;
        for (const auto& a : calls[0].args) args.push_back(a.Describe());
        EXPECT_THAT(args, ElementsAre("True", "0", "0", "True", "True")) << refresh;
    }
    EXPECT_EQ(s.host->doc->rstDocCorpo()->Get("DO30_PROGRIGA").ToLong(), 1);
}

}  // namespace
}  // namespace zq::test
