// Expectations that read the host's side of a session: the link between a master and its
// cancellation line, the busy indicator, and the calls the plug-in made to host objects.
// Each answers an empty text when met, or the readable difference.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tools/scenario.h"

namespace zq::tool {

// A line's link columns: DO30_GUID braced as held, the DO77 columns bare ("" for Null).
struct LinkRow {
    std::string guid, master, detail;
    bool operator==(const LinkRow&) const = default;
};
// Every line of the document by DO30_PROGRIGA: as the database holds it, and as the
// host's document holds it (pending edits included).
std::map<std::int32_t, LinkRow> LinksInDatabase(Session& s);
std::map<std::int32_t, LinkRow> LinksInHost(Session& s);

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

// `step`: the order, in the host's memory and in the database, is as it was before that
// step (1-based) ran.
std::string CheckAsBefore(Session& s, const StepArgs& a);

}  // namespace zq::tool
