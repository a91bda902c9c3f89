#include "tools/random_generator.h"

#include <cmath>
#include <sstream>

#include "sim/db/fixture.h"
#include "tools/host_checks.h"
#include "tools/host_matrix.h"

namespace zq::tool {

namespace {

// The kinds of action and how often the user takes each, out of their sum.
enum Kind {
    kSelect,
    kLineState,
    kTypeQuantity,
    kEditQuantity,
    kHeaderState,
    kHeaderReason,
    kLineReason,
    kLineQta1,
    kNavigator,
    kDelete,
    kUndo,
    kStore,
    kSave,
    kReopen,
    kBodyCycle,
    kFocus,
    kSwitch,
    kGridEdit,
    kGridCommand,
    kKinds
};
constexpr int kWeights[kKinds] = {18, 14, 10, 5, 5, 3, 3, 2, 5, 4, 2, 4, 8, 1, 2, 3, 6, 4, 3};

// The actions on the header form's controls; the others are the body's, but for those
// of the window (save, reopen, switching forms).
bool OnHeader(int kind) {
    return kind == kHeaderState || kind == kHeaderReason;
}
bool Anywhere(int kind) {
    return kind == kSave || kind == kReopen || kind == kSwitch;
}

bool Usable(const sim::SimControlPtr& c) {
    return c && c->Enabled() && c->Visible();
}

sim::SimControlPtr ControlOn(Session& s, std::int16_t form, const char* name) {
    return (form == 1 ? s.Host().header : s.Host().body)->Control(name);
}

// The body line the grid stands on, or 0.
std::int32_t CurrentLine(Session& s) {
    auto rs = s.Host().doc->rstDocCorpo();
    if (!rs || rs->BOF() || rs->EOF_()) return 0;
    return rs->Get("DO30_PROGRIGA").ToLong();
}

Json Do(const char* action) {
    return Json{{"do", action}};
}

std::string Where(std::int32_t line) {
    return " WHERE "
           "DO30_NUMREG_CO99 = " +
           std::to_string(sim::demo::kOrdine) + " AND DO30_PROGRIGA = " + std::to_string(line);
}

}  // namespace

Json RandomUser::Shape() {
    const int lines = sim::demo::kRigheDemo + 3 * Below(5);
    Json statements = Json::array();
    for (int n = 1; n <= lines; ++n) {
        const std::string line = std::to_string(n);
        if (Chance(0.2))
            statements.push_back("UPDATE DO30_DOCCORPO SET DO30_QTA1 = DO30_QTA1 + 0.5" + Where(n) +
                                 ";");
        const double delivered = Chance(0.1) ? 1.0 : Chance(0.15) ? 0.5 : 0.0;
        if (delivered > 0)
            statements.push_back(
                "UPDATE DO31_DOCCORPOORD SET DO31_QTA1CONS = (SELECT DO30_QTA1 * " +
                std::to_string(delivered) + " FROM DO30_DOCCORPO" + Where(n) +
                ") WHERE DO31_NUMREG_CO99 = " + std::to_string(sim::demo::kOrdine) +
                " AND DO31_PROGRIGA = " + line + ";");
    }
    // A document type that does not manage lots has no lot rows.
    const bool lots = Chance(0.5);
    if (!lots)
        statements.push_back("DELETE FROM DO52_DOCCORPOLOT WHERE DO52_NUMREG_CO99 = " +
                             std::to_string(sim::demo::kOrdine) + ";");
    Json host{{"lots", lots}, {"guidSeed", Below(1 << 30)}};
    for (const auto& o : HostOptions())
        host[o.name] = o.values[static_cast<std::size_t>(Below(static_cast<int>(o.values.size())))];
    Json data{{"lines", lines}, {"postProgressives", true}};
    if (!statements.empty()) data["statements"] = statements;
    return Json{{"data", data}, {"host", host}};
}

Json RandomUser::Opening() {
    return Json::array({Do("initialize"), Json{{"do", "openForm"}, {"form", "header"}},
                        Json{{"do", "openForm"}, {"form", "body"}}});
}

Json RandomUser::Next(Session& s) {
    if (!bodyOpen_) {
        bodyOpen_ = true;
        current_ = 2;
        return Json{{"do", "openForm"}, {"form", "body"}};
    }
    int total = 0;
    for (int w : kWeights) total += w;
    for (;;) {
        int pick = Below(total), kind = 0;
        while (pick >= kWeights[kind]) pick -= kWeights[kind++];
        if (!Anywhere(kind) && OnHeader(kind) != (current_ == 1)) continue;
        if (Json step = Try(s, kind); !step.is_null()) return step;
    }
}

Json RandomUser::TypeInto(Session& s, std::int16_t form, const char* control,
                          const std::string& text) {
    if (!Usable(ControlOn(s, form, control))) return nullptr;
    return Json{{"do", "typeAndLeave"},
                {"form", form == 1 ? "header" : "body"},
                {"control", control},
                {"text", text}};
}

// One action of a kind, or null when the session does not allow it now.
Json RandomUser::Try(Session& s, int kind) {
    const std::int32_t line = CurrentLine(s);
    static const char* reasons[] = {"CLI", "FOR", "ERR", "", "ZZZ"};
    switch (kind) {
        case kSelect: {
            const auto lines = LinksInHost(s);
            if (lines.empty()) return nullptr;
            auto it = lines.begin();
            std::advance(it, Below(static_cast<int>(lines.size())));
            return Json{{"do", "selectLine"}, {"line", it->first}};
        }
        case kLineState: {
            if (!line || !Usable(s.Host().body->BoundTo("DO30_GUID"))) return nullptr;
            static const int states[] = {sim::demo::kStatoRigheAnnullato,
                                         sim::demo::kStatoRigheAnnullato,
                                         sim::demo::kStatoRigheIniziale, 101};
            return Json{{"do", "setLineState"}, {"state", states[Below(4)]}};
        }
        case kTypeQuantity:
            return line ? TypeInto(s, 2, "TXT_DO77_ZQ_QTA_ANNULLO", QuantityText(s)) : nullptr;
        case kEditQuantity:
            if (!line || !Usable(s.Host().body->BoundTo("DO77_ZQ_QTA_ANNULLO"))) return nullptr;
            return Json{{"do", "editLineField"},
                        {"field", "DO77_ZQ_QTA_ANNULLO"},
                        {"text", QuantityText(s)}};
        case kHeaderState: {
            if (!Usable(ControlOn(s, 1, "TXT_DO11_STATO"))) return nullptr;
            static const int states[] = {sim::demo::kStatoTestaAnnullato,
                                         sim::demo::kStatoTestaIniziale, 201};
            return Json{
                {"do", "setHeaderState"}, {"state", states[Below(3)]}, {"focus", Chance(0.7)}};
        }
        case kHeaderReason:
            return TypeInto(s, 1, "TXT_DO76_CODCAU_ZQ63", reasons[Below(5)]);
        case kLineReason:
            return line ? TypeInto(s, 2, "TXT_DO77_CODCAU_ZQ63", reasons[Below(5)]) : nullptr;
        case kLineQta1:
            return line ? TypeInto(s, 2, "TXT_DO30_QTA1", Number(1 + Below(20))) : nullptr;
        case kNavigator: {
            // "griglia" opens and closes the host's size grid: a key of the grid navigator.
            static const char* keys[] = {"conferma", "annulla", "griglia"};
            const char* key = keys[Below(3)];
            const bool grid = *key == 'g' || Chance(0.5);
            return Json{
                {"do", "navigatorButton"}, {"navigator", grid ? "grid" : "inner"}, {"key", key}};
        }
        case kGridEdit: {
            // The cell of the current line in the next size grid shown: its status, or a
            // cancelled quantity, or both.
            if (!line) return nullptr;
            Json step{{"do", "gridEdit"}, {"line", line}};
            const int what = Below(3);
            if (what != 1) step["status"] = std::to_string(1 + Below(3));
            if (what != 0) step["cancelled"] = 0.5 * (1 + Below(6));
            return step;
        }
        case kGridCommand:
            return Json{{"do", "menuItem"}, {"key", "GestAnnulli"}};
        case kDelete:
            return line ? Do("deleteLine") : nullptr;
        case kUndo:
            // The user's undo of the line is the navigators' "annulla": the host tells the
            // plug-in, which gives the line its written state back. An undo the plug-in is
            // not told of ("undoLine") leaves the picked state no plug-in can see.
            return line ? Json{{"do", "navigatorButton"},
                               {"navigator", Chance(0.5) ? "grid" : "inner"},
                               {"key", "annulla"}}
                        : nullptr;
        case kStore:
            return line ? Do("storeLine") : nullptr;
        case kSave:
            return Do("save");
        case kReopen:
            current_ = 2;  // the header, then the body
            return Do("reopen");
        case kSwitch:
            current_ = current_ == 1 ? 2 : 1;
            return Json{{"do", "openForm"}, {"form", current_ == 1 ? "header" : "body"}};
        case kBodyCycle:
            if (current_ != 2) return nullptr;
            bodyOpen_ = false;
            return Json{{"do", "closeForm"}, {"form", "body"}};
        case kFocus: {
            static const char* controls[] = {"TXT_DO77_ZQ_QTA_ANNULLO", "TXT_DO77_CODCAU_ZQ63",
                                             "TXT_DO30_QTA1", "TXT_DO30_CODART_MG66", ""};
            const char* name = controls[Below(5)];
            if (*name && !Usable(ControlOn(s, 2, name))) return nullptr;
            return Json{{"do", "focus"}, {"form", "body"}, {"control", name}};
        }
        default:
            return nullptr;
    }
}

std::string RandomUser::Number(double v) {
    std::ostringstream o;
    o.precision(6);
    o << v;
    std::string text = o.str();
    // The host's locale writes a decimal comma; a point is read as one too.
    if (Chance(0.5))
        for (char& c : text)
            if (c == '.') c = ',';
    return text;
}

// What the user types as a quantity to cancel: mostly part of the line, sometimes all of
// it, more than it, or something that is no quantity at all.
std::string RandomUser::QuantityText(Session& s) {
    auto rs = s.Host().doc->rstDocCorpo();
    const double q = rs->Get("DO30_QTA1").IsNumeric() ? rs->Get("DO30_QTA1").ToDouble() : 0;
    const int roll = Below(20);
    if (roll < 11) return Number(std::max(0.1, std::round(q * (1 + Below(9)) / 10.0 * 10) / 10));
    if (roll < 14) return Number(q);
    if (roll < 16) return Number(q + 1);
    static const char* odd[] = {"0", "-1", "abc", "", "1e309", "NaN", "inf", "1,5"};
    return odd[Below(8)];
}

}  // namespace zq::tool
