// Small helpers every procedure of the plug-in uses to reach the host: early-bound access
// that raises error 91 on a missing object (as the host language does, instead of
// crashing), the message box through the host's message service, the GUID of the current
// body line, and the host's value-conversion functions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/object.h"
#include "host/regdoc.h"

namespace zq::host {

// The object behind `p`; error 91 (source: `member`, the member about to be used) when
// the reference is not set.
template <class T>
T& Ref(const std::shared_ptr<T>& p, std::string_view member) {
    if (!p) RaiseObjectNotSet(member);
    return *p;
}

// Message box through `Messaggi` of the program's environment, with a null owner. Every
// error is ignored: the answer is then 0, which matches no button, so a question counts
// as not confirmed. Styles: 0 OK only, 48 warning, 64 information.
std::int32_t ShowHostMessage(const ProgrammaPtr& objProgramma, std::string_view testo,
                             std::int32_t stile, std::string_view titolo);

// `GuidRiga` of the host's current body line, exactly as the host gives it. Errors (a
// null line object, say) reach the caller.
std::string GetGuidRiga(RigaCorpoPtr& objRigaCorpo);

// The host's conversion functions, created by ProgID on first use and kept for the life
// of the thread; every plug-in object on the thread shares them. A failed creation raises
// (429) and is tried again at the next use.
IFunzioniGlobali& objFunzioniGlobali();

}  // namespace zq::host
