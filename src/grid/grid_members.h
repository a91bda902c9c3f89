// Late-bound member names of the host's size-grid component and of its grid-posting
// component, as the plug-in calls them.
#pragma once

#include <string_view>

namespace zq::plugin::grid {

// Size-grid component: unloads its window and data before it is dropped.
inline constexpr std::string_view kGrigliaUnload = "Unload";

// Posting component: the three references it is given for one run.
inline constexpr std::string_view kRegistraGriglia = "Griglia";
inline constexpr std::string_view kRegistraConnessione = "Connessione";
inline constexpr std::string_view kRegistraProgramma = "Programma";

}  // namespace zq::plugin::grid
