// Cancelling the whole demo order through its header state, and taking it back, as a user
// does in the simulated host; every result is read back from the database after the save.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "order_session.h"
#include "test_access.h"

namespace zq::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Flags = std::vector<std::pair<std::int32_t, std::int32_t>>;

constexpr const char* kCausaleMancante =
    "Non è stata specificata la causale di annullo, impossibile bloccare l'ordine.";

std::string Unbraced(std::int32_t prog) {
    std::string g = sim::HostDbBuilder::GuidRiga(sim::demo::kOrdine, prog);
    return g.substr(1, g.size() - 2);
}

// Line 8 carries a reason of its own; lines 5, 7, 8 and 9 belong to a line group; their
// extensions cover every row of the flag table used when the order is taken back.
SessionOptions LinkedLines() {
    SessionOptions o;
    const std::string vert = "UPDATE DO77_DOCCORPOVERT SET ";
    const std::string where = " WHERE DO77_NUMREG_CO99 = 1001 AND DO77_PROGRIGA = ";
    o.setup = {
        "UPDATE DO30_DOCCORPO SET DO30_PROGPADRE = 1 WHERE DO30_NUMREG_CO99 = 1001 AND "
        "DO30_PROGRIGA = 5",
        vert + "DO77_ZQ_QTA_ANNULLO = 2" + where + "5",
        vert + "DO77_CODCAU_ZQ63 = 'ERR', DO77_DESCAU_ZQ63 = 'Errore di inserimento', " +
            "DO77_ZQGUID_MASTER_DO30 = '" + Unbraced(8) + "', DO77_ZQGUID_DETAIL_DO30 = '" +
            Unbraced(8) + "'" + where + "8",
        vert + "DO77_ZQGUID_MASTER_DO30 = '" + Unbraced(8) + "', DO77_ZQGUID_DETAIL_DO30 = '" +
            Unbraced(9) + "'" + where + "9",
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

double OpenArtB(OrderSession& s) {
    return s.Scalar("SELECT MG70_QTA1ORD FROM MG70_PROGMAG WHERE MG70_CODART_MG66 = 'ART-B'")
        .ToDouble();
}

TEST(WholeOrder, CancelThenReinstateIsSavedWithReasonFlagsReferencesAndProgressives) {
    OrderSession s(LinkedLines());
    s.OpenOrder();
    ASSERT_EQ(OpenArtB(s), 12);

    s.Driver().SetHeaderState(kAnnullato);

    EXPECT_THAT(s.Messages(), IsEmpty());
    EXPECT_EQ(s.Driver().SaveCount(), 1);
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
    EXPECT_EQ(s.LineFlags(),
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
    EXPECT_THAT(Sorted(s.Host().doc->ElencoDocRiferiti()), ElementsAre("2001", "2002"));
    // The save posted the difference: nothing of the order is open any more.
    EXPECT_EQ(OpenArtB(s), 0);
    EXPECT_TRUE(sim::ProgressivesConsistent(s.Db()));
    EXPECT_EQ(s.HeaderControl("TXT_DO18_FLGNONPIUEV").Text(), "1");
    EXPECT_FALSE(s.HeaderControl("TXT_DO18_FLGNONPIUEV").Enabled());

    s.Driver().SetHeaderState(kInserito);

    EXPECT_EQ(s.Driver().SaveCount(), 2);
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
    EXPECT_EQ(s.LineFlags(),
              (Flags{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 1}}));
    EXPECT_EQ(OpenArtB(s), 12);
    EXPECT_TRUE(sim::ProgressivesConsistent(s.Db()));
    EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Text(), "");
    EXPECT_TRUE(s.HeaderControl("TXT_DO18_FLGNONPIUEV").Enabled());
}

TEST(WholeOrder, RefusalsChangeNothingAndSaveNothing) {
    {
        SCOPED_TRACE("no default reason");
        SessionOptions o;
        o.setup = {"UPDATE ZQ63_CAU_ANNULLO SET ZQ63_FLG_DEFAULT = 0"};
        OrderSession s(o);
        s.OpenOrder();
        s.Driver().SetHeaderState(kAnnullato);
        EXPECT_THAT(s.Messages(),
                    ElementsAre(sim::ShownMessage{
                        "Non è stata specificata la causale di annullo, e non ne esiste una di "
                        "default, impossibile annullare l'ordine.",
                        64, "Stato documento"}));
        EXPECT_EQ(s.Driver().SaveCount(), 0);
        EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Text(), "");
        EXPECT_EQ(s.Host().log->Count("gclsRegDoc.InizioAggiornaGriglia"), 0u);
        EXPECT_FALSE(ClsrfTestAccess::CambioStatoInCorso(s.Driver()));
    }
    {
        SCOPED_TRACE("parameters missing");
        SessionOptions o;
        o.setup = {"UPDATE ZQ00_PARAMETRI SET ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C = NULL"};
        OrderSession s(o);
        s.OpenOrder();
        s.Driver().SetHeaderState(kAnnullato);
        EXPECT_THAT(s.Messages(),
                    ElementsAre(sim::ShownMessage{
                        "E' necessario impostare nei parametri Vestura il valore dello stato "
                        "annullato per la testata e per le righe documento. \r\n"
                        "[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C] [ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C]",
                        48, "Stato documento"}));
        EXPECT_EQ(s.Driver().SaveCount(), 0);
        EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Text(), "");
    }
    {
        SCOPED_TRACE("another field active");
        OrderSession s;
        s.OpenOrder();
        s.Host().header->SetActiveControl("TXT_DO76_DESCAU_ZQ63");
        s.Driver().SetHeaderState(kAnnullato, false);
        EXPECT_THAT(s.Messages(), IsEmpty());
        EXPECT_EQ(s.Driver().SaveCount(), 0);
        EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Text(), "");
        // ... unless the header reason is being decoded at that moment.
        ClsrfTestAccess::DecodificaCausaleTesta(s.Driver(), true);
        s.Host().header->SetActiveControl("TXT_DO76_DESCAU_ZQ63");
        s.Driver().SetHeaderState(kAnnullato, false);
        EXPECT_EQ(s.Driver().SaveCount(), 1);
        EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Text(), "CLI");
    }
}

TEST(WholeOrder, SameCancelledStateTwiceSavesTwicePropagatesOnce) {
    OrderSession s;
    s.OpenOrder();
    s.Driver().SetHeaderState(kAnnullato);
    s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Type("ERR");
    s.Driver().SetHeaderState(kAnnullato);

    EXPECT_EQ(s.Driver().SaveCount(), 2);
    EXPECT_EQ(s.Host().log->Count("gclsRegDoc.InizioAggiornaGriglia"), 1u);
    EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").Text(), "CLI");
    EXPECT_TRUE(sim::ProgressivesConsistent(s.Db()));
}

TEST(WholeOrder, HeaderFormWithoutFlagControlLeavesTheOrderFlag) {
    SessionOptions o;
    o.headerWithout = {"TXT_DO18_FLGNONPIUEV"};
    OrderSession s(o);
    s.OpenOrder();
    s.Driver().SetHeaderState(kAnnullato);
    EXPECT_EQ(s.Driver().SaveCount(), 1);
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");
    EXPECT_EQ(s.Scalar("SELECT DO18_FLGNONPIUEV FROM DO18_DOCTESORD WHERE DO18_NUMREG_CO99 = 1001")
                  .ToLong(),
              0);
    EXPECT_EQ(s.Host().log->Count("gclsRegDoc.AggiornaTestata"), 0u);
}

TEST(WholeOrder, SavingACancelledOrderNeedsAReasonWhileTheFieldIsEnabled) {
    OrderSession s;
    s.OpenOrder();
    s.Driver().SetHeaderState(kAnnullato);
    ASSERT_EQ(s.Driver().SaveCount(), 1);

    // The user blanks the reason: the description goes with it.
    EXPECT_TRUE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", ""));
    EXPECT_EQ(s.HeaderControl("TXT_DO76_DESCAU_ZQ63").Text(), "");
    s.Messages();

    EXPECT_FALSE(s.Driver().Save());
    EXPECT_THAT(s.Messages(),
                ElementsAre(sim::ShownMessage{kCausaleMancante, 64, "Stato documento"}));
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");

    s.HeaderControl("TXT_DO76_CODCAU_ZQ63").SetEnabled(false);
    EXPECT_TRUE(s.Driver().Save());
    EXPECT_THAT(s.Messages(), IsEmpty());
    EXPECT_TRUE(s.Scalar("SELECT DO76_DESCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE "
                         "DO76_NUMREG_CO99 = 1001")
                    .IsNull());

    // A state reported as 0 in flow 0 is only remembered: nothing is written or saved,
    // but the order no longer counts as cancelled.
    s.HeaderControl("TXT_DO76_CODCAU_ZQ63").SetEnabled(true);
    EXPECT_FALSE(s.Driver().Save());
    s.Messages();
    auto testata = s.Host().doc->rstDocTestata();
    testata->Set("DO11_IDFLUSSO_CO4B", Variant::Null());
    testata->Update();
    s.Driver().SetHeaderState(0);
    ASSERT_EQ(s.Driver().Last("StatiTESTATAChange")->args[1].ToLong(), 0);
    EXPECT_EQ(s.Driver().SaveCount(), 2);
    EXPECT_EQ(s.HeaderControl("TXT_DO18_FLGNONPIUEV").Text(), "1");
    EXPECT_TRUE(s.Driver().Save());
    EXPECT_THAT(s.Messages(), IsEmpty());
}

TEST(WholeOrder, AnOrderWithoutHeaderExtensionGetsOneAndTheGridIsRedrawn) {
    SessionOptions o;
    o.setup = {"DELETE FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = 1001"};
    OrderSession s(o);
    s.OpenOrder();
    s.Driver().SetHeaderState(kAnnullato);

    const auto appends = s.Host().log->CallsTo("gclsRegDoc.AggiungiRigaTestaVert");
    ASSERT_EQ(appends.size(), 1u);
    EXPECT_EQ(appends[0].args[0].ToLong(), 0);
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "CLI");
    for (const char* refresh :
         {"gclsRegDoc.InizioAggiornaGriglia", "gclsRegDoc.FineAggiornaGriglia"}) {
        const auto calls = s.Host().log->CallsTo(refresh);
        ASSERT_EQ(calls.size(), 1u) << refresh;
        std::vector<std::string> args;
        for (const auto& a : calls[0].args) args.push_back(a.Describe());
        EXPECT_THAT(args, ElementsAre("True", "0", "0", "True", "True")) << refresh;
    }
    EXPECT_EQ(s.Host().doc->rstDocCorpo()->Get("DO30_PROGRIGA").ToLong(), 1);
}

}  // namespace
}  // namespace zq::testing
