// The simulated host's message service and its text form of values for statements.
#include <gtest/gtest.h>

#include "sim/host/sim_funzioni.h"
#include "sim/host/sim_messaggi.h"
#include "support/error_of.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

TEST(SimMessaggi, AnswersFromTheScriptThenOk) {
    SimMessaggi m;
    m.Script({7, 2});
    std::int32_t a = -5, b = -5, c = -5;
    m.MostraMessaggio("Continuare?", 36, "Stato documento", nullptr, a);
    m.MostraMessaggio("Sicuro?", 33, "", nullptr, b);
    m.MostraMessaggio("Fatto", 64, "Stato documento", nullptr, c);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 1);
    const std::vector<ShownMessage> expected{{"Continuare?", 36, "Stato documento"},
                                             {"Sicuro?", 33, ""},
                                             {"Fatto", 64, "Stato documento"}};
    EXPECT_EQ(m.Shown(), expected);
    EXPECT_EQ(m.TakeShown(), expected);
    EXPECT_TRUE(m.TakeShown().empty());
}

TEST(SimFunzioniGlobali, TextFormForSql) {
    SimFunzioniGlobali f;
    EXPECT_EQ(f.ValoreTesto(Variant::Int32(1001)), "1001");
    EXPECT_EQ(f.ValoreTesto(Variant(2.5)), "2.5");
    EXPECT_EQ(f.ValoreTesto(Variant("O'Hara ")), "O'Hara ");
    EXPECT_EQ(f.ValoreTesto(Variant::Bool(true)), "1");
    EXPECT_EQ(f.ValoreTesto(Variant::Null()), "");
    EXPECT_EQ(f.ValoreTesto(Variant()), "");
    EXPECT_EQ(f.ValoreTesto(Variant::Date(46000.0)), "2025-12-09");
    EXPECT_EQ(f.ValoreTesto(Variant::Date(46000.75)), "2025-12-09 18:00:00");
    EXPECT_EQ(
        ErrorOf([&] { f.ValoreTesto(Variant(ObjectPtr(std::make_shared<SimFunzioniGlobali>()))); }),
        err::TypeMismatch);
}

}  // namespace
}  // namespace zq::sim
