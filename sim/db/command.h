// ADO Command and Parameter objects bound to the SQLite connection.
#pragma once

#include "data/ado.h"

namespace zq::sim {

// A new command, as CreateObject("ADODB.Command") gives; bind it with
// SetActiveConnection to a SqliteConnection before Execute.
ado::CommandPtr MakeCommand();

}  // namespace zq::sim
