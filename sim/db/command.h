// ADO Command and Parameter objects bound to the SQLite connection, and the
// CreateObject wiring for the ADO objects the plug-in creates itself.
#pragma once

#include "data/ado.h"
#include "host/create_object.h"

namespace zq::sim {

// A new command, as CreateObject("ADODB.Command") gives; bind it with
// SetActiveConnection to a SqliteConnection before Execute.
ado::CommandPtr MakeCommand();

// Registers "ADODB.Command" and "ADODB.Recordset" for the life of the object.
class ScopedAdoFactories {
  public:
    ScopedAdoFactories();

  private:
    ScopedObjectFactory command_;
    ScopedObjectFactory recordset_;
};

}  // namespace zq::sim
