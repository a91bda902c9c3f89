// Storing a body line: the two refusals, the leftover reason cleared, and silence while the
// plug-in writes lines itself.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using sim::ShownMessage;

const std::string kAnnulloSenzaCausale =
    "Non è possibile inserire un annullo parziale senza specificare la causale annullo!";
const std::string kMasterAnnullato =
    "Non è possibile annullare un ordine che ha generato righe di annullo!";

class UpdateCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        s.Open();
        s.CancelQuantity(3);
        s.TakeMessages();
    }
    Session s{SevenLines()};
};

TEST_F(UpdateCheckTest, ACancelledCancellationLineNeedsItsReason) {
    s.driver->MoveToLine(8);
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "");
    EXPECT_FALSE(s.driver->StoreLine());
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kAnnulloSenzaCausale, 64, kTitolo}}));

    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    EXPECT_TRUE(s.driver->StoreLine());
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_EQ(s.Current("DO77_CODCAU_ZQ63").ToString(), "FOR");
}

// The line's state changed in the form; the host stores the line.
TEST_F(UpdateCheckTest, ACancellationLineInAnotherStateLosesItsLeftoverReason) {
    s.driver->MoveToLine(8);
    s.host->doc->RigaCorpo()->Follow(s.Current("DO30_GUID").ToString(), kStatoRigheIniziale);
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    EXPECT_TRUE(s.driver->StoreLine());
    EXPECT_TRUE(s.TakeMessages().empty());
    EXPECT_TRUE(s.Current("DO77_CODCAU_ZQ63").IsNull());
    EXPECT_TRUE(s.Current("DO77_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(s.host->body->BoundTo("DO77_CODCAU_ZQ63")->Text(), "");
}

TEST_F(UpdateCheckTest, AMasterMayNotBeCancelledItself) {
    s.driver->MoveToLine(1);
    s.host->doc->RigaCorpo()->Follow(Guid(1), kStatoRigheAnnullato);
    EXPECT_FALSE(s.driver->StoreLine());
    EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kMasterAnnullato, 64, kTitolo}}));

    s.host->doc->RigaCorpo()->Follow(Guid(1), kStatoRigheConfermato);
    EXPECT_TRUE(s.driver->StoreLine());
    // Its cancelled quantity stays; only the (empty) reason is cleared.
    EXPECT_EQ(s.Current("DO77_ZQ_QTA_ANNULLO").ToDouble(), 3);
    EXPECT_TRUE(s.Current("DO77_CODCAU_ZQ63").IsNull());
}

TEST_F(UpdateCheckTest, AnOrdinaryLineIsStoredWithoutItsLeftoverReason) {
    s.driver->MoveToLine(3);
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "FOR");
    s.driver->EditLineField("DO77_DESCAU_ZQ63", "Merce non disponibile");
    EXPECT_TRUE(s.driver->StoreLine());
    ASSERT_TRUE(s.driver->Save());
    EXPECT_TRUE(s.Line(3).IsNull("DO77_CODCAU_ZQ63"));
    EXPECT_TRUE(s.Line(3).IsNull("DO77_DESCAU_ZQ63"));
    // The host shows no message of its own when the sections are stored.
    EXPECT_FALSE(s.host->window->docCorpo->MsgOnUpdate());
    EXPECT_FALSE(s.host->window->docCorpoVert->MsgOnUpdate());
    EXPECT_FALSE(s.host->window->docCorpoOrd->MsgOnUpdate());
}

TEST_F(UpdateCheckTest, AnOrdinaryLineWithoutReasonOrQuantityIsLeftAlone) {
    s.driver->MoveToLine(3);
    s.host->log->Clear();
    EXPECT_TRUE(s.driver->StoreLine());
    EXPECT_EQ(s.host->log->Count("gclsRegDoc.AcquisisciCorpoVert"), 0u);
}

TEST_F(UpdateCheckTest, SilentWhileThePluginWritesLines) {
    s.driver->MoveToLine(8);
    s.driver->EditLineField("DO77_CODCAU_ZQ63", "");
    using Flag = VBool& (*)(plugin::CLSRF_REGDOC_STATI&);
    for (Flag flag : {&ClsrfTestAccess::CreaAnnulloInCorso, &ClsrfTestAccess::GrigliaInCorso}) {
        s.host->log->Clear();
        flag(s.Plugin()) = VTrue;
        EXPECT_TRUE(s.driver->StoreLine());
        flag(s.Plugin()) = VFalse;
        EXPECT_TRUE(s.TakeMessages().empty());
        EXPECT_EQ(s.host->log->Count("FME_DocCorpo.MsgOnUpdate"), 0u);
    }
}

}  // namespace
}  // namespace zq::test
