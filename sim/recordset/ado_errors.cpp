#include "sim/recordset/ado_errors.h"

#include <string>

namespace zq::sim {

namespace {
constexpr const char* kSource = "ADODB.Recordset";
}

void RaiseBofEof() {
    Raise(err::AdoBofEof, kSource,
          "Either BOF or EOF is True, or the current record has been deleted. Requested "
          "operation requires a current record.");
}

void RaiseArgumentsWrong(std::string_view why) {
    std::string text =
        "Arguments are of the wrong type, are out of acceptable range, or are in conflict with "
        "one another.";
    if (!why.empty()) text += " (" + std::string(why) + ")";
    Raise(err::AdoArgumentsWrong, kSource, text);
}

void RaiseItemNotFound(std::string_view name) {
    Raise(err::AdoItemNotFound, kSource,
          "Item cannot be found in the collection corresponding to the requested name or "
          "ordinal. (" +
              std::string(name) + ")");
}

void RaiseNotAllowed(std::string_view why) {
    std::string text = "Operation is not allowed in this context.";
    if (!why.empty()) text += " (" + std::string(why) + ")";
    Raise(err::AdoNotAllowed, kSource, text);
}

void RaiseClosed() {
    Raise(err::AdoClosed, kSource, "Operation is not allowed when the object is closed.");
}

}  // namespace zq::sim
