// Message service, conversion functions, program launcher and call log of the simulated host.
#include <gtest/gtest.h>

#include "host/create_object.h"
#include "host/error_of.h"
#include "sim/host/sim_funzioni.h"
#include "sim/host/sim_messaggi.h"
#include "sim/host/sim_programma.h"

namespace zq::sim {
namespace {

using testing::ErrorOf;

TEST(SimMessaggiTest, AnswersFromTheScriptThenOk) {
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
    m.MostraMessaggio("Ancora", 0, "", nullptr, a);
    EXPECT_EQ(m.TakeShown().size(), 1u);
    EXPECT_EQ(m.Shown().size(), 4u);
}

TEST(SimFunzioniGlobaliTest, TextFormForSql) {
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

TEST(SimFunzioniGlobaliTest, NumberOfAValue) {
    SimFunzioniGlobali f;
    EXPECT_EQ(f.ValoreNumero(Variant::Null()), 0);
    EXPECT_EQ(f.ValoreNumero(Variant("12.5")), 12.5);
    EXPECT_EQ(f.ValoreNumero(Variant("abc")), 0);
    EXPECT_EQ(f.ValoreNumero(Variant::Int16(3)), 3);
    EXPECT_EQ(f.ValoreNumero(Variant::Bool(true)), -1);
}

struct Environment {
    CallLogPtr log = std::make_shared<CallLog>();
    std::shared_ptr<SimMessaggi> messaggi = std::make_shared<SimMessaggi>();
    std::shared_ptr<SimAmbiente> ambiente =
        std::make_shared<SimAmbiente>(log, std::make_shared<SimDitta>(Variant::Int32(1)), messaggi);
    std::shared_ptr<SimProgramma> programma =
        std::make_shared<SimProgramma>("Documenti", host::AmbientePtr(ambiente));

    void Run(const char* progId, host::ProgrammaPtr& launched) {
        std::int32_t handle = 0;
        ambiente->EseguiProgramma(handle, Variant(progId), VTrue, 2, 0, 0, 0, 0, VFalse, VTrue,
                                  launched);
    }
};

TEST(SimAmbienteTest, LauncherRecordsWhatRanAndHandsTheProgramBack) {
    Environment env;
    bool ranWhileDisabled = false;
    env.programma->SetAbilitato(VFalse);
    env.ambiente->onRun = [&](const LaunchedProgram& run) {
        ranWhileDisabled = !IsTrue(env.programma->Abilitato());
        EXPECT_EQ(run.progId.ToString(), "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO");
    };
    host::ProgrammaPtr launched;
    env.Run("ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO", launched);
    EXPECT_TRUE(ranWhileDisabled);
    ASSERT_EQ(env.ambiente->Launched().size(), 1u);
    ASSERT_TRUE(launched);
    EXPECT_EQ(launched, env.ambiente->Launched()[0].programma);
    EXPECT_EQ(launched->Ambiente(), env.ambiente);  // the launched program knows its environment
    launched->SetAbilitato(VFalse);
    EXPECT_EQ(env.ambiente->Launched()[0].programma->AbilitatoHistory(),
              std::vector<VBool>{VFalse});
    auto calls = env.log->CallsTo("Ambiente.EseguiProgramma");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args.size(), 9u);
    EXPECT_EQ(calls[0].args[2].ToLong(), 2);
}

TEST(SimAmbienteTest, AFailingLaunchRaisesAndRunsNothing) {
    Environment env;
    env.ambiente->failNextLaunch = err::CannotCreateObject;
    host::ProgrammaPtr launched;
    EXPECT_EQ(ErrorOf([&] { env.Run("NON.ESISTE", launched); }), err::CannotCreateObject);
    EXPECT_FALSE(launched);
    EXPECT_TRUE(env.ambiente->Launched().empty());
    env.Run("ALTRO.PROGRAMMA", launched);  // only the next launch fails
    EXPECT_TRUE(launched);
}

TEST(SimAmbienteTest, AHostWithoutMessageServiceAnswersNull) {
    Environment env;
    EXPECT_EQ(env.ambiente->Messaggi(), env.messaggi);
    env.ambiente->RemoveMessaggi();
    EXPECT_FALSE(env.ambiente->Messaggi());
    EXPECT_EQ(env.ambiente->DittaAmbiente()->CodiceDitta().ToLong(), 1);
}

}  // namespace
}  // namespace zq::sim
