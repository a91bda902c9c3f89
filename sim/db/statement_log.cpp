#include "sim/db/statement_log.h"

#include "host/error.h"

namespace zq::sim {

void StatementLog::Before(std::string_view text, std::int32_t options) {
    bool fail = failAll_;
    for (const std::string& f : failing_) fail = fail || text.find(f) != std::string_view::npos;
    statements_.push_back({std::string(text), options, fail});
    if (fail)
        Raise(err::AdoProviderError, "SQLite",
              "The statement was made to fail by the test: " + std::string(text));
}

std::vector<std::string> StatementLog::Texts() const {
    std::vector<std::string> out;
    out.reserve(statements_.size());
    for (const LoggedStatement& s : statements_) out.push_back(s.text);
    return out;
}

}  // namespace zq::sim
