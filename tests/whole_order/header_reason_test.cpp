// Leaving the header reason field: the reason is carried down to the lines again only when
// its description changed, a blanked reason only clears the header's description, and
// nothing is saved either way.
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

std::size_t Propagazioni(const Session& s) {
    return s.host->log->Count("gclsRegDoc.InizioAggiornaGriglia");
}

// The order cancelled with the default reason and saved; the header form is current.
void OrdineAnnullato(Session& s) {
    s.options.forms = {2, 1};
    s.Open();
    s.driver->SetHeaderState(kStatoTestaAnnullato);
    ASSERT_EQ(s.driver->SaveCount(), 1);
}

TEST(HeaderReasonLeft, CarriedDownOnlyWhenTheDescriptionChanged) {
    const struct {
        const char* name;
        std::string typed;
        bool cambioStato;
        std::size_t propagations;
        std::string description;
    } cases[] = {
        {"another reason", "FOR", false, 1, "Merce non disponibile"},
        {"the same reason", "CLI", false, 0, "Richiesta del cliente"},
        {"an unknown code", "XXX", false, 1, ""},
        {"while the header state changes", "FOR", true, 0, "Merce non disponibile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        OrdineAnnullato(s);
        const std::size_t before = Propagazioni(s);
        s.driver->MoveFocus(1, "TXT_DO76_CODCAU_ZQ63");
        ClsrfTestAccess::CambioStatoTesta(s.Plugin()) = ToVBool(c.cambioStato);
        s.driver->TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", c.typed);
        ClsrfTestAccess::CambioStatoTesta(s.Plugin()) = VFalse;

        EXPECT_EQ(Propagazioni(s) - before, c.propagations);
        EXPECT_EQ(s.Control(1, "TXT_DO76_DESCAU_ZQ63").Text(), c.description);
        EXPECT_EQ(s.driver->SaveCount(), 1);
        EXPECT_TRUE(s.Messages().empty());
        // The lines never take the header's reason, and keep their flags.
        EXPECT_TRUE(s.HostValue(7, "DO77_CODCAU_ZQ63").IsNull());
        EXPECT_EQ(s.HostValue(7, "DO31_FLGNONPIUEV").ToLong(), 1);
    }
}

TEST(HeaderReasonLeft, BlankedClearsTheDescriptionAndTouchesNoLine) {
    Session s;
    OrdineAnnullato(s);
    const std::size_t before = Propagazioni(s);
    s.driver->MoveFocus(1, "TXT_DO76_CODCAU_ZQ63");
    s.driver->TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "");

    EXPECT_EQ(Propagazioni(s), before);
    EXPECT_EQ(s.Control(1, "TXT_DO76_DESCAU_ZQ63").Text(), "");
    EXPECT_TRUE(s.Control(1, "TXT_DO76_DESCAU_ZQ63").IsChanged());
    EXPECT_TRUE(s.Current("DO76_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(s.HostValue(7, "DO31_FLGNONPIUEV").ToLong(), 1);
    EXPECT_EQ(s.driver->SaveCount(), 1);
    // A cancelled order without its reason is not saved.
    EXPECT_FALSE(s.driver->Save());
}

// Only the header reason field of the header form drives it: the description field, or the
// reason left while the body form is the current one, re-apply nothing.
TEST(HeaderReasonLeft, OtherFieldsAndTheBodyFormDoNothing) {
    Session s;
    OrdineAnnullato(s);
    const std::size_t before = Propagazioni(s);
    s.driver->MoveFocus(1, "TXT_DO76_DESCAU_ZQ63");
    s.driver->TypeAndLeave(1, "TXT_DO76_DESCAU_ZQ63", "altro");
    EXPECT_EQ(Propagazioni(s), before);

    s.driver->OpenForm(2);
    s.driver->MoveFocus(1, "TXT_DO76_CODCAU_ZQ63");
    s.driver->TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "FOR");
    EXPECT_EQ(Propagazioni(s), before);
    EXPECT_EQ(s.driver->SaveCount(), 1);
}

}  // namespace
}  // namespace zq::test
