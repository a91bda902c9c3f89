// Expectations that read the host's side of a session: the link between a master and its
// cancellation line, the busy indicator, and the calls the plug-in made to host objects.
// Each answers an empty text when met, or the readable difference.
#pragma once

#include <string>

#include "tools/scenario.h"

namespace zq::tool {

// `line` is the cancellation line of `master`: the cancellation line's DO77 link columns
// name the master's GUID and its own, the master's both name its own (without braces, as
// DO30_GUID is with them). `in`: "database" (default) or "host" (the document's
// recordsets, pending edits included). With `linked` false: `line` does not name `master`.
std::string CheckLink(Session& s, const StepArgs& a);
// `value`: IndicatoreAttesa of the document's clsDocUI.
std::string CheckBusyIndicator(Session& s, const StepArgs& a);
// `calls`: the host calls made since the previous "calls" expectation, exactly and in order;
// each a member name ("gclsRegDoc.ImpostaQuantita") or {"call": name, "args": [...]}. With
// `only` (member names, or "object." for every member of an object) the other calls are
// left out first.
std::string CheckCalls(Session& s, const StepArgs& a);

}  // namespace zq::tool
