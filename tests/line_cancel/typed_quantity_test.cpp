// What the user types as a cancelled quantity: the host's text box keeps it, the plug-in
// reads it in the host's Italian locale and refuses what is no quantity.

#include <gtest/gtest.h>

#include "seven_lines.h"

namespace zq::test {
namespace {

using sim::ShownMessage;

const std::string kQtaNonValida =
    "La quantità annullata non è valida: indicare un numero maggiore o uguale a zero.";

// Line 1 (ART-A, 10 pieces, initial state): typed into, then given the cancelled state.
void TypeAndCancel(Session& s, const std::string& text) {
    s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", text);
    s.driver->SetLineState(kStatoRigheAnnullato);
}

TEST(TypedQuantity, WhatIsNoQuantityIsRefusedAndTheLineStaysAsItWas) {
    for (const char* text : {"abc", "-1", "NaN", "inf", "1e309", "-0,5", "1,2,3"}) {
        SCOPED_TRACE(text);
        Session s(SevenLines());
        s.Open();
        const auto lines = s.LineNumbers();
        TypeAndCancel(s, text);
        EXPECT_EQ(s.TakeMessages(), (std::vector<ShownMessage>{{kQtaNonValida, 64, kTitolo}}));
        const auto& qta = *s.host->body->BoundTo("DO77_ZQ_QTA_ANNULLO");
        EXPECT_FALSE(qta.IsValid());
        EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 10);
        EXPECT_EQ(s.LineNumbers(), lines);
        EXPECT_EQ(s.FlowState(Guid(1)).value_or(kStatoRigheIniziale), kStatoRigheIniziale);
        EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), kStatoRigheIniziale);
        // Saved, nothing of it reaches the database.
        ASSERT_TRUE(s.driver->Save());
        EXPECT_EQ(s.Line(1).Num("DO30_QTA1"), 10);
        EXPECT_EQ(s.Line(1).Num("DO77_ZQ_QTA_ANNULLO"), 0);
    }
}

// "1,5" and "1.5" are both one and a half: the line is split into 8,5 and 1,5.
TEST(TypedQuantity, TheCommaAndThePointAreBothTheDecimalSeparator) {
    for (const char* text : {"1,5", "1.5", " 1,5 "}) {
        SCOPED_TRACE(text);
        Session s(SevenLines());
        s.Open();
        TypeAndCancel(s, text);
        EXPECT_TRUE(s.TakeMessages().empty());
        EXPECT_EQ(s.HostValue(1, "DO30_QTA1").ToDouble(), 8.5);
        ASSERT_EQ(s.LineNumbers().size(), 8u);
        EXPECT_EQ(s.HostValue(s.LineNumbers().back(), "DO30_QTA1").ToDouble(), 1.5);
    }
}

// A quantity typed on a line that is neither cancelled nor a master never reaches the
// database: storing the line clears it with the leftover reason.
TEST(TypedQuantity, ALeftoverQuantityIsClearedWhenTheLineIsStored) {
    Session s(SevenLines());
    s.Open();
    s.driver->MoveToLine(3);
    s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "2");
    ASSERT_TRUE(s.driver->StoreLine());
    ASSERT_TRUE(s.driver->Save());
    EXPECT_EQ(s.Line(3).Num("DO77_ZQ_QTA_ANNULLO"), 0);
}

}  // namespace
}  // namespace zq::test
