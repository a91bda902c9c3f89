// The statement log of the connection: what it notes, and the faults it injects.
#include "sim/db/statement_log.h"

#include <gtest/gtest.h>

#include "demo_db.h"
#include "sim/db/command.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

class StatementLogTest : public DemoDbTest {
  protected:
    void SetUp() override { conn->SetStatementLog(log); }
    std::int64_t Reasons() {
        return session.Scalar("SELECT COUNT(*) FROM ZQ63_CAU_ANNULLO").ToLong();
    }
    std::shared_ptr<StatementLog> log = std::make_shared<StatementLog>();
};

// Every text is noted with its options, a stored-procedure command by its name; the host's
// reads are not.
TEST_F(StatementLogTest, NotesTextsWithTheirOptionsAndStoredProcedureCommands) {
    conn->Execute("DELETE FROM ZQ63_CAU_ANNULLO WHERE 1 = 0", nullptr, 129);
    auto cmd = MakeCommand();
    cmd->SetActiveConnection(conn);
    cmd->SetCommandText("SPCO_SETFLUSSOSTATO");
    cmd->SetCommandType(ado::adCmdStoredProc);
    cmd->AppendParameter(
        cmd->CreateParameter("@GUID", ado::adVarChar, ado::adParamInput, 50, Variant("{G}")));
    cmd->AppendParameter(
        cmd->CreateParameter("@CODSTATO", ado::adInteger, ado::adParamInput, 4, Variant::Int32(1)));
    cmd->AppendParameter(cmd->CreateParameter("@CODFLUSSO", ado::adInteger, ado::adParamInput, 4,
                                              Variant::Int32(2)));
    cmd->Execute(nullptr, ado::adOptionUnspecified);
    (void)conn->QueryRows("SELECT 1");  // the host's own access is not a statement

    ASSERT_EQ(log->Statements().size(), 2u);
    EXPECT_EQ(log->Texts(), (std::vector<std::string>{"DELETE FROM ZQ63_CAU_ANNULLO WHERE 1 = 0",
                                                      "SPCO_SETFLUSSOSTATO"}));
    EXPECT_EQ(log->Statements()[0].options, 129);
    EXPECT_EQ(log->Statements()[1].options, ado::adCmdStoredProc);
    EXPECT_FALSE(log->Statements()[0].failed);
}

TEST_F(StatementLogTest, AStatementMadeToFailNeverReachesTheDatabase) {
    log->FailMatching("ZQ63_CAU_ANNULLO");
    const std::int64_t before = Reasons();
    EXPECT_EQ(ErrorOf([&] { conn->Execute("DELETE FROM ZQ63_CAU_ANNULLO", nullptr, 129); }),
              err::AdoProviderError);
    EXPECT_EQ(Reasons(), before);
    EXPECT_NO_THROW(conn->Execute("SELECT 1 AS X", nullptr, 1));
    EXPECT_TRUE(log->Statements()[0].failed);

    log->FailAll();
    EXPECT_EQ(ErrorOf([&] { conn->Execute("SELECT 1 AS X", nullptr, 1); }), err::AdoProviderError);
    log->StopFailing();
    EXPECT_NO_THROW(conn->Execute("DELETE FROM ZQ63_CAU_ANNULLO", nullptr, 129));
    EXPECT_EQ(Reasons(), 0);
    EXPECT_EQ(log->Statements().size(), 4u);
}

}  // namespace
}  // namespace zq::sim
