// Writing a host control's text the way the host expects from a plug-in: the text, then
// IsChanged True, so that the host's data binding takes the new value over.
#pragma once

#include <string>

#include "host/object.h"
#include "host/variant.h"

namespace zq::host {

// Text := `testo`, then IsChanged := True. Errors (a null control: 91) reach the caller;
// when Text fails, IsChanged is not touched.
void ScriviTesto(const ObjectPtr& ctl, const Variant& testo);

// NvlVar of the control's Text with the empty text as default, as text.
std::string LeggiTesto(const ObjectPtr& ctl);

}  // namespace zq::host
