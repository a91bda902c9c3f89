#include "tools/check.h"

#include <filesystem>

#include "host/error.h"
#include "tools/json_out.h"

namespace zq::tool {

int RunCheck(const std::string& path, std::optional<std::int32_t> numreg, bool json,
             std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    std::string problem;
    if (path.empty()) {
        problem = "give the database file to audit";
    } else if (!fs::exists(status)) {
        problem = "no such file";
    } else if (fs::is_directory(status)) {
        problem = "is a folder, not a database file";
    } else if (!fs::is_regular_file(status)) {
        problem = "is not a regular file";
    }
    if (!problem.empty()) {
        err << "zqstati check: " << path << ": " << problem << "\n";
        return 2;
    }
    std::vector<Finding> findings;
    std::size_t documents = 0;
    try {
        // Read-only: the audit never changes what it looks at.
        auto conn = sim::SqliteConnection::Open(path, sim::OpenMode::ReadOnly);
        findings = CheckDatabase(*conn, numreg);
        documents =
            numreg ? 1
                   : conn->QueryRows("SELECT COUNT(*) FROM DO11_DOCTESTATA").rows[0][0].ToLong();
    } catch (const HostError& e) {
        err << "zqstati check: " << path << ": " << e.Description() << "\n";
        return 2;
    }
    if (json) {
        out << FindingsJson(findings, documents).dump(2) << "\n";
    } else {
        for (const auto& f : findings) out << FormatFinding(f) << "\n";
        out << documents << (documents == 1 ? " document" : " documents") << " checked, "
            << findings.size() << (findings.size() == 1 ? " finding" : " findings") << "\n";
    }
    return findings.empty() ? 0 : 1;
}

}  // namespace zq::tool
