// Indexes for the filters the plug-in sets once per line.
//
// On the host's client cursor a Filter or Find reads every row of the recordset unless the
// field it compares carries the dynamic property Optimize = True, which makes the cursor
// build an index on it. A pass that filters several recordsets once per line would read
// lines × rows; with the line-number fields optimised it reads the line's own rows only.
#pragma once

#include <initializer_list>
#include <string_view>

#include "data/ado.h"

namespace zq {

// Sets Optimize on each named field of `rst` that does not have it yet. The index belongs to
// the rows the cursor holds, so it also serves the recordset's clones and stays for the
// later passes. Nothing is required: a null recordset, a cursor that does not offer or
// refuses the property, and a field the recordset lacks are passed over, and the filters
// on that field read every row as before.
void OttimizzaFiltri(const ado::RecordsetPtr& rst, std::initializer_list<std::string_view> campi);

}  // namespace zq
