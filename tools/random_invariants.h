// What must hold after every user action, whatever the user did before: the checks the
// random sessions make after each action, and the "sound" expectation of a scenario.
//
//   - no event the plug-in always answers with success failed;
//   - nothing is left suspended: the grid's refresh bracket and repaint lock are closed,
//     the grids draw, the mouse pointer is back to the default;
//   - the busy indicator is the one the action started with, or switched off;
//   - the links the document holds in memory pair up: a cancellation line names an
//     existing master and itself, a master names itself twice;
//   - after a save: the links in memory are the DO77 link rows of the database, the audit
//     of `zqstati check` finds nothing and the progressives equal the open quantities.
// Each check answers an empty text when it holds, or what it found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/scenario.h"
#include "tools/session.h"

namespace zq::tool {

// The events that always succeed (a failure of one of them is a fault wherever it comes).
bool AlwaysSucceeds(const std::string& event);

// Events from index `from` of Session::Events() that failed though they always succeed.
std::string FailedEvents(Session& s, std::size_t from);
// Refresh bracket, repaint lock, drawing and mouse pointer.
std::string LeftSuspended(Session& s);
// The links of the document in memory, paired as above.
std::string UnpairedLinks(Session& s);
// The links in memory against the database's DO77 rows (meaningful after a save).
std::string LinksNotSaved(Session& s);
// The audit and the progressives of the database.
std::string AuditFindings(Session& s);

// Everything that holds after any action (not the after-save checks), events from `from`.
std::string Unsound(Session& s, std::size_t from);

// The "sound" expectation: Unsound over the events since the previous one and, when the
// document was written since then, the after-save checks.
std::string CheckSound(Session& s, const StepArgs& a);

}  // namespace zq::tool
