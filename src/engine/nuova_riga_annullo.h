// What the two ways of making a cancellation line share: filling the appended line from
// its master, writing the three line sections to the database and the follow-ups. The
// refusals, the interrupted split and the record of the last cancellation line are
// members of the plug-in, defined with these in nuova_riga_annullo.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/ado.h"
#include "host/regdoc.h"

namespace zq::plugin {

// Numbers the appended line (the current row of `corpo`) carries.
struct NumeriNuovaRiga {
    std::int32_t progRiga = 0;   // DO30_PROGRIGA
    std::int32_t progVisua = 0;  // DO30_PROGVISUASTA
    std::int32_t progPadre = 0;  // DO30_PROGPADRE: the cancellation group
};

// Walks the fields of the appended line in the recordset's order and fills each from the
// master (`master`, a clone standing on it): the collection warehouse, article and option
// and the quantity through the document's own operations, so that the host recalculates
// what depends on them; the numbers given; GRIGLIA 0; the line's identities left as the
// host set them. Returns the new line's DO30_GUID.
std::string CopiaRigaDaMaster(host::IRegDoc& doc, ado::Recordset& corpo, ado::Recordset& master,
                              double qtaAnnullo, const NumeriNuovaRiga& numeri);

// UpdateBatch (affect all) on the body, the line extension and the order data, in that
// order.
void ScriviSezioniCorpo(host::IRegDoc& doc);
// The same, each section's failure ignored: the master's new quantity and keys must reach
// the database even when one section cannot be written.
void ScriviSezioniCorpoIgnorandoErrori(host::IRegDoc& doc);

// The document's three follow-up recalculations once a line was added.
void RicalcolaDocumento(host::IRegDoc& doc);

}  // namespace zq::plugin
