// Storing a body line: the two refusals, the leftover reason cleared, and silence while the
// plug-in writes lines itself.

#include <gtest/gtest.h>

#include "session.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using sim::ShownMessage;

const std::string kAnnulloSenzaCausale =
    "Non è possibile inserire un annullo parziale senza specificare la causale annullo!";
const std::string kMasterAnnullato =
    "Non è possibile annullare un ordine che ha generato righe di annullo!";

class UpdateCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        s.CancelQuantity(3);
        s.TakeMessages();
    }
    Session s;
};

TEST_F(UpdateCheck, ACancelledCancellationLineNeedsItsReason) {
    s.Enter(8);
    s.driver().EditLineField("DO77_CODCAU_ZQ63", "");
    EXPECT_FALSE(s.driver().StoreLine());
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kAnnulloSenzaCausale, 64, kTitolo}}));

    s.driver().EditLineField("DO77_CODCAU_ZQ63", "FOR");
    EXPECT_TRUE(s.driver().StoreLine());
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_EQ(s.Current("DO77_CODCAU_ZQ63").ToString(), "FOR");
}

// The line's state changed in the form; the host stores the line.
TEST_F(UpdateCheck, ACancellationLineInAnotherStateLosesItsLeftoverReason) {
    s.Enter(8);
    s.host().doc->RigaCorpo()->Follow(s.Current("DO30_GUID").ToString(), kStatoIniziale);
    s.driver().EditLineField("DO77_CODCAU_ZQ63", "FOR");
    EXPECT_TRUE(s.driver().StoreLine());
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_TRUE(s.Current("DO77_CODCAU_ZQ63").IsNull());
    EXPECT_TRUE(s.Current("DO77_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(s.host().body->BoundTo("DO77_CODCAU_ZQ63")->Text(), "");
}

TEST_F(UpdateCheck, AMasterMayNotBeCancelledItself) {
    s.Enter(1);
    s.host().doc->RigaCorpo()->Follow(s.Braced(1), kStatoAnnullato);
    EXPECT_FALSE(s.driver().StoreLine());
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kMasterAnnullato, 64, kTitolo}}));

    s.host().doc->RigaCorpo()->Follow(s.Braced(1), kStatoConfermato);
    EXPECT_TRUE(s.driver().StoreLine());
    // Its cancelled quantity stays; only the (empty) reason is cleared.
    EXPECT_EQ(s.Current("DO77_ZQ_QTA_ANNULLO").ToDouble(), 3);
    EXPECT_TRUE(s.Current("DO77_CODCAU_ZQ63").IsNull());
}

TEST_F(UpdateCheck, AnOrdinaryLineIsStoredWithoutItsLeftoverReason) {
    s.Enter(3);
    s.driver().EditLineField("DO77_CODCAU_ZQ63", "FOR");
    s.driver().EditLineField("DO77_DESCAU_ZQ63", "Merce non disponibile");
    EXPECT_TRUE(s.driver().StoreLine());
    ASSERT_TRUE(s.driver().Save());
    EXPECT_TRUE(s.Line(3).IsNull("DO77_CODCAU_ZQ63"));
    EXPECT_TRUE(s.Line(3).IsNull("DO77_DESCAU_ZQ63"));
    // The host shows no message of its own when the sections are stored.
    EXPECT_FALSE(s.host().window->docCorpo->MsgOnUpdate());
    EXPECT_FALSE(s.host().window->docCorpoVert->MsgOnUpdate());
    EXPECT_FALSE(s.host().window->docCorpoOrd->MsgOnUpdate());
}

TEST_F(UpdateCheck, AnOrdinaryLineWithoutReasonOrQuantityIsLeftAlone) {
    s.Enter(3);
    s.host().log->Clear();
    EXPECT_TRUE(s.driver().StoreLine());
    EXPECT_EQ(s.host().log->Count("gclsRegDoc.AcquisisciCorpoVert"), 0u);
}

TEST_F(UpdateCheck, SilentWhileThePluginWritesLines) {
    s.Enter(8);
    s.driver().EditLineField("DO77_CODCAU_ZQ63", "");
    for (auto set :
         {&ClsrfTestAccess::SetCreaAnnulloInCorso, &ClsrfTestAccess::SetGrigliaInCorso}) {
        s.host().log->Clear();
        set(s.driver(), true);
        EXPECT_TRUE(s.driver().StoreLine());
        set(s.driver(), false);
        EXPECT_TRUE(s.TakeMessages().empty());
        EXPECT_EQ(s.host().log->Count("FME_DocCorpo.MsgOnUpdate"), 0u);
    }
}

}  // namespace
}  // namespace zq::test
