// Fuzz target: the T-SQL dialect layer. Any text is either rewritten into SQLite text (or
// parsed into a procedure call) or refused with the provider error a host would get;
// nothing else may happen. The layer sets string literals, quoted names and comments
// aside behind marker bytes while its rules run: a text without such bytes must come out
// without them, or a piece set aside was lost.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/error.h"
#include "sim/db/dialect.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool markers = text.find_first_of("\x01\x02") != std::string::npos;
    try {
        const zq::sim::RewrittenSql r = zq::sim::RewriteTsql(text);
        if (!markers && r.sql.find_first_of("\x01\x02") != std::string::npos) __builtin_trap();
    } catch (const zq::HostError& e) {
        if (e.Number() != zq::err::AdoProviderError) __builtin_trap();
    }
    return 0;
}
