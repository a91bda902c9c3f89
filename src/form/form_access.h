// Late-bound access to the host's document forms that the form procedures share: the
// grid mode of the document window, a form's controls in their order, and a control
// looked up by name.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "host/object.h"
#include "host/variant.h"

namespace zq::plugin {

// `Gint_ModalitaGriglia` of the form's document window `FrmDocumenti`: 1 and 2 are the
// host's grid modes 1 and 2. Raises when the form or its window is missing.
Variant ModalitaGriglia(const ObjectPtr& form);
bool IsModalitaGriglia(const ObjectPtr& form, std::int16_t modalita);

// The controls of `form` in the form's order (its `Controls` collection).
std::vector<ObjectPtr> ControlliForm(const ObjectPtr& form);

// The control the form exposes under `name`, or null when it has none.
ObjectPtr ControlloPerNome(const ObjectPtr& form, std::string_view name);

// Sets `Enabled` of a control; a missing control is skipped.
void ImpostaEnabled(const ObjectPtr& ctl, bool enabled);

}  // namespace zq::plugin
