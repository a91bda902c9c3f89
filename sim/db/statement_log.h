// A record of the statements sent to a SqliteConnection, and faults injected into them.
//
//   auto log = std::make_shared<StatementLog>();
//   conn->SetStatementLog(log);
//   log->FailMatching("SPCO_SETFLUSSOSTATO");   // or log->FailAll()
//   ... drive the plug-in ...
//   log->Texts();                                // what was sent, in order
//
// The connection notes every text given to Execute (the plug-in's statements, the
// look-ups the host runs for it, and the host's own capture of open quantities when it
// saves) and every stored-procedure command, before running it. A statement chosen to
// fail raises the provider error a server would and never reaches the database. The
// host's direct reads and writes of its tables do not pass through here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zq::sim {

struct LoggedStatement {
    std::string text;
    std::int32_t options = 0;  // as given to Execute; adCmdStoredProc for a command
    bool failed = false;       // made to fail by this log
};

class StatementLog {
  public:
    // Called by the connection before it runs a statement: notes it, and raises
    // err::AdoProviderError when the statement was chosen to fail.
    void Before(std::string_view text, std::int32_t options);

    // Every later statement fails.
    void FailAll(bool on = true) { failAll_ = on; }
    // Every later statement whose text contains `fragment` fails.
    void FailMatching(std::string fragment) { failing_.push_back(std::move(fragment)); }
    void StopFailing() {
        failAll_ = false;
        failing_.clear();
    }

    const std::vector<LoggedStatement>& Statements() const { return statements_; }
    std::vector<std::string> Texts() const;
    void Clear() { statements_.clear(); }

  private:
    bool failAll_ = false;
    std::vector<std::string> failing_;
    std::vector<LoggedStatement> statements_;
};

}  // namespace zq::sim
