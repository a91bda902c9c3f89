#include "tools/demo.h"

#include <memory>
#include <optional>
#include <set>

#include "host/error.h"
#include "sim/db/fixture.h"
#include "sim/host/size_grid.h"
#include "tools/check.h"
#include "tools/db_path.h"
#include "tools/demo_grid.h"
#include "tools/json_out.h"
#include "tools/snapshot.h"
#include "tools/table.h"

namespace zq::tool {

namespace {

using sim::demo::kStatoRigheAnnullato;
using sim::demo::kStatoRigheIniziale;
using sim::demo::kStatoTestaAnnullato;
using sim::demo::kStatoTestaIniziale;

// What one step did, as the demo reports it.
struct StepReport {
    const DemoStep* step = nullptr;
    std::vector<sim::RaisedEvent> events;
    std::vector<sim::ShownMessage> messages;
    int saves = 0;
    std::string failure;                       // a host error that stopped the step
    const DocumentSnapshot* before = nullptr;  // the caller's, which outlives the report
    DocumentSnapshot after;
    std::vector<std::pair<std::string, std::string>> headerForm;  // control, text
    std::vector<Finding> findings;
    bool asExpected = true;  // ran, and the check found exactly what the step expects
};

std::set<std::string> RulesOf(const std::vector<Finding>& findings) {
    std::set<std::string> rules;
    for (const auto& f : findings) rules.insert(f.rule);
    return rules;
}

std::string Joined(const std::set<std::string>& names) {
    std::string s;
    for (const auto& n : names) s += (s.empty() ? "" : ", ") + n;
    return s;
}

std::string StateName(sim::SqliteConnection& conn, const Variant& id) {
    if (id.IsNull() || id.IsEmpty()) return "Null";
    auto r = conn.QueryRows("SELECT CO4C_DESCRIZIONE FROM CO4C_STATI WHERE CO4C_IDSTATO = ?",
                            {Variant::Int32(id.ToLong())});
    std::string name = std::to_string(id.ToLong());
    if (!r.rows.empty()) name += " (" + r.rows[0][0].ToString() + ")";
    return name;
}

// The driver reports by-reference flags as the host's 16-bit Booleans.
std::string ResultText(const Variant& v) {
    if (v.Type() == VarType::Integer && (v.ToLong() == -1 || v.ToLong() == 0))
        return v.ToLong() ? "True" : "False";
    return Cell(v, 24);
}

std::string EventText(const sim::RaisedEvent& e) {
    std::string s = e.name;
    if (!e.args.empty()) {
        s += "(";
        for (std::size_t i = 0; i < e.args.size(); ++i) s += (i ? ", " : "") + Cell(e.args[i], 24);
        s += ")";
    }
    if (!e.results.empty()) {
        s += " -> ";
        for (std::size_t i = 0; i < e.results.size(); ++i)
            s += (i ? ", " : "") + ResultText(e.results[i]);
    }
    if (e.result.Failed())
        s += "  FAILED " + std::to_string(e.result.number) + ": " + e.result.description;
    return s;
}

std::string Reason(const Variant& code, const Variant& description) {
    if (code.IsEmpty()) return "(no DO76 row)";
    std::string s = code.IsNull() ? "Null" : "\"" + code.ToString() + "\"";
    if (!description.IsNull() && !description.IsEmpty()) s += " " + description.ToString();
    return s;
}

TextTable LinesTable(const DocumentSnapshot& s) {
    TextTable t;
    t.header = {"line",   "article",  "qta1",        "group", "state",  "nonpiuev",
                "reason", "qta orig", "qta annullo", "guid",  "master", "detail"};
    t.rightAligned = {true, false, true, true, true, true, false, true, true, false, false, false};
    for (const auto& l : s.lines)
        t.rows.push_back(
            {std::to_string(l.progRiga), l.articolo + (l.opzione.empty() ? "" : " " + l.opzione),
             Cell(l.qta1), l.progPadre.IsNull() ? "" : Cell(l.progPadre),
             l.stato ? std::to_string(*l.stato) : "-", Cell(l.flgNonPiuEv), Cell(l.codCausale),
             Cell(l.qtaOrig), Cell(l.qtaAnnullo), ShortGuid(Variant(l.guid)),
             ShortGuid(l.guidMaster), ShortGuid(l.guidDetail)});
    return t;
}

TextTable ProgressivesTable(const std::vector<ProgressiveSnapshot>& before,
                            const std::vector<ProgressiveSnapshot>& after) {
    TextTable t;
    t.header = {"article",    "option",       "warehouse",   "qta1 before",
                "qta1 after", "value before", "value after", ""};
    t.rightAligned = {false, false, false, true, true, true, true, false};
    auto num = [](double d) { return Cell(Variant(d)); };
    for (const auto& a : after) {
        const ProgressiveSnapshot* b = nullptr;
        for (const auto& x : before)
            if (x.articolo == a.articolo && x.opzione == a.opzione && x.deposito == a.deposito)
                b = &x;
        const bool changed = !b || !(*b == a);
        t.rows.push_back({a.articolo, a.opzione, a.deposito, b ? num(b->qta1) : "-", num(a.qta1),
                          b ? num(b->valore) : "-", num(a.valore), changed ? "changed" : ""});
    }
    return t;
}

void PrintStep(std::ostream& out, std::size_t n, const StepReport& r, sim::SqliteConnection& conn) {
    out << "\n== " << n << ". " << r.step->title << "\n";
    out << "User: " << r.step->action << "\n";
    if (!r.step->outcome.empty()) out << "Plug-in: " << r.step->outcome << "\n";
    out << "Host events:\n";
    if (r.events.empty()) out << "  none\n";
    for (const auto& e : r.events) out << "  " << EventText(e) << "\n";
    if (!r.failure.empty()) out << "  the step stopped: " << r.failure << "\n";
    out << "Messages:" << (r.messages.empty() ? " none" : "") << "\n";
    for (const auto& m : r.messages)
        out << "  [style " << m.stile << ", \"" << m.titolo << "\"] " << m.testo << "\n";
    out << "Saved: " << (r.saves ? "yes" : "no") << "\n";
    const auto& h = r.after.header;
    out << "Header in the database: state " << StateName(conn, h.stato) << ", reason "
        << Reason(h.codCausale, h.desCausale) << ", DO18_FLGNONPIUEV " << Cell(h.flgNonPiuEv)
        << "\n";
    out << "Header form:";
    for (const auto& [name, text] : r.headerForm) out << " " << name << "=\"" << text << "\"";
    out << "\n";
    // Unchanged tables are named, not repeated, so that what a step changed stands out.
    const TextTable lines = LinesTable(r.after);
    if (n > 1 && lines.rows == LinesTable(*r.before).rows) {
        out << "Lines in the database: unchanged\n";
    } else {
        out << "Lines in the database (GUIDs by their last 8 characters):\n";
        PrintTable(out, lines, "  ");
    }
    if (n > 1 && r.before->progressives == r.after.progressives) {
        out << "Warehouse progressives of the order's articles: unchanged\n";
    } else {
        out << "Warehouse progressives of the order's articles:\n";
        PrintTable(out, ProgressivesTable(r.before->progressives, r.after.progressives), "  ");
    }
    const std::set<std::string> expected(r.step->expectedFindings.begin(),
                                         r.step->expectedFindings.end());
    const std::set<std::string> found = RulesOf(r.findings);
    if (found.empty() && expected.empty()) {
        out << "Consistency check: clean\n";
    } else if (found == expected) {
        out << "Consistency check: findings under " << Joined(found)
            << ", as expected: " << r.step->findingsWhy << "\n";
    } else {
        out << "Consistency check: UNEXPECTED (expected "
            << (expected.empty() ? std::string("none") : Joined(expected)) << ")\n";
    }
    for (const auto& f : r.findings) out << "  " << FormatFinding(f) << "\n";
}

Json StepJson(std::size_t n, const StepReport& r) {
    Json j{{"step", n},
           {"title", r.step->title},
           {"action", r.step->action},
           {"expected", r.step->outcome}};
    Json events = Json::array(), messages = Json::array();
    for (const auto& e : r.events) events.push_back(EventJson(e));
    for (const auto& m : r.messages) messages.push_back(MessageJson(m));
    j["events"] = std::move(events);
    j["messages"] = std::move(messages);
    j["saved"] = r.saves > 0;
    if (!r.failure.empty()) j["failure"] = r.failure;
    Json form = Json::object();
    for (const auto& [name, text] : r.headerForm) form[name] = text;
    j["headerForm"] = std::move(form);
    j["document"] = SnapshotJson(r.after);
    j["progressivesBefore"] = ProgressivesJson(r.before->progressives);
    j["findings"] = FindingsJson(r.findings, 1)["findings"];
    j["expectedFindings"] = r.step->expectedFindings;
    if (!r.step->findingsWhy.empty()) j["findingsWhy"] = r.step->findingsWhy;
    j["asExpected"] = r.asExpected;
    return j;
}

StepReport Play(const DemoStep& step, Session& s, const DocumentSnapshot& before) {
    const auto& setup = s.Setup();
    StepReport r;
    r.step = &step;
    r.before = &before;
    const std::size_t from = s.Events().size();
    const int saves = s.Saves();
    try {
        step.run(s);
    } catch (const HostError& e) {
        r.failure =
            "error " + std::to_string(e.Number()) + " (" + e.Source() + "): " + e.Description();
    }
    const auto all = s.Events();
    r.events.assign(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    r.messages = s.TakeMessages();
    r.saves = s.Saves() - saves;
    for (const char* name :
         {"TXT_DO11_STATO", "TXT_DO76_CODCAU_ZQ63", "TXT_DO76_DESCAU_ZQ63", "TXT_DO18_FLGNONPIUEV"})
        if (auto c = s.Host().header->Control(name)) r.headerForm.emplace_back(name, c->Text());
    r.after = TakeSnapshot(s.Db(), setup.ditta, setup.numreg, setup.flussoRighe);
    r.findings = CheckDatabase(s.Db(), setup.numreg);
    r.asExpected = r.failure.empty() &&
                   RulesOf(r.findings) == std::set<std::string>(step.expectedFindings.begin(),
                                                                step.expectedFindings.end());
    return r;
}

}  // namespace

std::vector<DemoStep> DemoRoads(std::int32_t righeOrdine) {
    // The partial cancellations append their line after the order's last one.
    const std::string nuova = std::to_string(righeOrdine + 1);
    // The grid's cancellation line comes after the one the typing road left.
    const std::string griglia = std::to_string(righeOrdine + 2);
    std::vector<DemoStep> steps{
        {"Initialise the plug-in",
         "the host creates the plug-in and calls Initialize with the connection, the order, "
         "the program and the company",
         "it reads the cancelled states and the default reason and answers that it is ready",
         [](Session& s) { s.Driver().Initialize(); }},
        {"Open the order", "the user opens order 1001: the body form, then the header form",
         "it finds its controls on both forms and makes the body's cancellation fields "
         "read-only",
         [](Session& s) {
             s.Driver().OpenForm(2);
             s.Driver().OpenForm(1);
         }},
        {"Cancel the whole order",
         "the user sets the header state to " + std::to_string(kStatoTestaAnnullato) +
             " (Ordine annullato) in TXT_DO11_STATO",
         "it fills the default reason, sets DO18_FLGNONPIUEV, flags the lines of a line group "
         "(DO30_PROGPADRE), lists the referenced documents and saves: the order's quantities "
         "leave the progressives",
         [](Session& s) { s.Driver().SetHeaderState(kStatoTestaAnnullato); }},
        {"Save the cancelled order without a reason",
         "the user clears the header reason code TXT_DO76_CODCAU_ZQ63, leaves it and saves",
         "the description is cleared; the save is refused with a message, the database keeps "
         "the saved reason",
         [](Session& s) {
             s.Driver().TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "");
             s.Driver().Save();
         }},
        {"Reinstate the order",
         "the user sets the header state back to " + std::to_string(kStatoTestaIniziale) +
             " (Ordine inserito)",
         "it clears the reason and the flags and saves: the quantities are open again",
         [](Session& s) { s.Driver().SetHeaderState(kStatoTestaIniziale); }},
        {"Cancel a whole line",
         "the user goes to the body form, selects line 1 (10 pieces of ART-A), types 10 in "
         "the cancelled quantity DO77_ZQ_QTA_ANNULLO, sets the line state to " +
             std::to_string(kStatoRigheAnnullato) + " (Riga annullata) and saves",
         "the whole quantity goes: no new line; the line gets the default reason and "
         "DO31_FLGNONPIUEV; the plug-in leaves the save to the user, whose save takes the "
         "line's quantity out of the progressives",
         [](Session& s) {
             s.Driver().OpenForm(2);
             s.Driver().MoveToLine(1);
             s.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "10");
             s.Driver().SetLineState(kStatoRigheAnnullato);
             s.Driver().Save();
         }},
        {"Withdraw the line's cancellation",
         "the user sets line 1 back to " + std::to_string(kStatoRigheIniziale) +
             " (Riga inserita) and saves",
         "it clears the cancelled quantity, the reason and the flag; the host's save puts the "
         "line's quantity back into the progressives",
         [](Session& s) {
             s.Driver().SetLineState(kStatoRigheIniziale);
             s.Driver().Save();
         }},
        {"Cancel part of a line",
         "on line 1 the user types 3 in DO77_ZQ_QTA_ANNULLO and sets the line state to " +
             std::to_string(kStatoRigheAnnullato),
         "it splits the line: line 1 keeps 7 as the master, a new line " + nuova +
             " of 3 pieces carries the reason, the flag and the cancelled state, the two are "
             "linked by their GUIDs; the "
             "body is written back, the 3 pieces are reversed out of the progressives and the "
             "order is saved",
         [](Session& s) {
             s.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
             s.Driver().SetLineState(kStatoRigheAnnullato);
         }},
        {"Try to delete the master", "the user selects line 1 and deletes it",
         "the deletion is refused with a message: the line has a cancellation line",
         [](Session& s) {
             s.Driver().MoveToLine(1);
             s.Driver().DeleteLine();
         }},
        {"Delete the cancellation line", "the user selects line " + nuova + " and deletes it",
         "line 1 gets its 10 pieces back and loses its links and cancelled quantity; line " +
             nuova + "'s rows go, the progressives are recomputed and the order is saved",
         [righeOrdine](Session& s) {
             s.Driver().MoveToLine(righeOrdine + 1);
             s.Driver().DeleteLine();
         }},
        {"Cancel part of the line again",
         "on line 1 the user types 4 in DO77_ZQ_QTA_ANNULLO and sets the line state to " +
             std::to_string(kStatoRigheAnnullato),
         "a new cancellation line of 4 pieces, linked to line 1 which keeps 6; written back, "
         "reversed and saved",
         [](Session& s) {
             s.Driver().MoveToLine(1);
             s.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "4");
             s.Driver().SetLineState(kStatoRigheAnnullato);
         }},
        {"Reopen the order",
         "the user closes the order without saving anything more and opens it again: a new "
         "plug-in object, initialised, the header and body forms",
         "it rebuilds the link of line 1 and its cancellation line from the saved rows, so "
         "the reopened order is guarded as before",
         [](Session& s) { s.Reopen(); }},
        {"Try to delete the master of the reopened order", "the user selects line 1 and deletes it",
         "the deletion is refused with the same message as before the order was closed",
         [](Session& s) {
             s.Driver().MoveToLine(1);
             s.Driver().DeleteLine();
         }},
        {"Fold the cancellation line back",
         "on line 1 the user types 10 in DO77_ZQ_QTA_ANNULLO and sets the state to " +
             std::to_string(kStatoRigheAnnullato),
         "the whole line is cancelled: the cancellation line goes, line 1 gets its quantity "
         "back with the cancellation line's reason, the cancelled state and the flag; the body "
         "is written back, reversed and saved",
         [](Session& s) {
             s.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "10");
             s.Driver().SetLineState(kStatoRigheAnnullato);
         }},
        {"Type a cancelled quantity and tab out",
         "on the cancelled line 1 the user types 3 in the cancelled-quantity field "
         "TXT_DO77_ZQ_QTA_ANNULLO and leaves it with the tab key",
         "leaving the field settles the line: line 1 keeps 7 as the master, a new line " + nuova +
             " of 3 pieces carries the cancellation; the body is written back, line 1's 7 "
             "pieces come back into the progressives and the order is saved",
         [](Session& s) { s.Driver().TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "3"); }},
        {"Cancel sizes in the grid",
         "on line 8 of the size family (lines 7 to 9) the user picks \"Gestione annulli\" in "
         "the general-functions menu; in the size grid, which shows each line free (\"1\"), "
         "the user sets line 8 to \"2\" with 3 pieces cancelled and line 9 to \"3\"",
         "line 9 is cancelled wholly in place (cancelled state, default reason, "
         "DO31_FLGNONPIUEV); line 8 keeps 5 as the master and a new line " +
             griglia +
             " of 3 pieces in the family carries the cancellation; the body is written back, "
             "the progressives reversed from the capture taken before the grid, and the order "
             "is saved",
         [](Session& s) {
             s.Driver().MoveToLine(8);
             s.Host().sizeGrid->PlanEdits({sim::GridEdit::Line(8).Status("2").Cancelled(3),
                                           sim::GridEdit::Line(9).Status("3")});
             s.Driver().PickMenuItem("GestAnnulli");
         }},
        {"Free the pair in the grid",
         "the user opens the grid again on line 8, which it shows as \"2\" with the reason "
         "of its cancellation line, and sets it back to \"1\"",
         "line " + griglia +
             " goes with its rows in every body section, line 8 is free with its 8 pieces "
             "again; written back, reversed and saved",
         [](Session& s) {
             s.Driver().MoveToLine(8);
             s.Host().sizeGrid->PlanEdits({sim::GridEdit::Line(8).Status("1")});
             s.Driver().PickMenuItem("GestAnnulli");
         }},
        {"Close the order",
         "the user closes the header and body forms; the host terminates the plug-in",
         "it lets both forms close and releases what it holds",
         [](Session& s) {
             s.Driver().CloseForm(1);
             s.Driver().CloseForm(2);
             s.Driver().Terminate();
         }},
    };
    return steps;
}

namespace {

// Plays every road in the session and prints them; 0 when each step found what it expects.
int PlayRoads(const DemoOptions& options, Session& s, bool temporary, std::ostream& out) {
    const SessionSetup& setup = s.Setup();
    if (!options.json)
        out << "zqstati demo: order " << setup.numreg << " of company " << setup.ditta << " ("
            << setup.righeOrdine << " lines) in the simulated host\nDatabase: " << setup.dbPath
            << (temporary ? " (temporary, removed at the end)" : "") << "\n";
    const SizeGridReport grid = ReadSizeGrid(s.Db(), setup.ditta, setup.numreg);
    if (!options.json) PrintSizeGrid(out, grid, setup.ditta, setup.numreg);
    int status = 0;
    Json steps = Json::array();
    DocumentSnapshot current = TakeSnapshot(s.Db(), setup.ditta, setup.numreg, setup.flussoRighe);
    const auto roads = DemoRoads(setup.righeOrdine);
    for (std::size_t i = 0; i < roads.size(); ++i) {
        StepReport r = Play(roads[i], s, current);
        if (!r.asExpected) status = 1;
        if (options.json) {
            steps.push_back(StepJson(i + 1, r));
        } else {
            PrintStep(out, i + 1, r, s.Db());
        }
        current = std::move(r.after);
    }
    if (options.json) {
        Json doc{{"database", setup.dbPath},       {"temporary", temporary},
                 {"company", setup.ditta},         {"document", setup.numreg},
                 {"sizeGrid", SizeGridJson(grid)}, {"steps", std::move(steps)},
                 {"asExpected", status == 0}};
        out << doc.dump(2) << "\n";
    } else {
        out << "\n"
            << (status == 0 ? "Every step ran and the check found after each exactly what "
                              "the step expects."
                            : "Some steps failed or the check found what they do not expect.")
            << "\n";
    }
    return status;
}

}  // namespace

int RunDemo(const DemoOptions& options, std::ostream& out, std::ostream& err) {
    SessionSetup setup;
    setup.righeOrdine = options.lines;
    std::optional<TemporaryFolder> temporary;
    std::unique_ptr<Session> session;
    try {
        if (!options.dbPath) {
            temporary.emplace("zqstati-demo");
            setup.dbPath = (temporary->Path() / "demo.db").string();
        } else {
            ClaimNewDatabase(*options.dbPath, options.force);
            setup.dbPath = *options.dbPath;
        }
        session = std::make_unique<Session>(setup);
    } catch (const PathError& e) {
        err << "zqstati demo: " << e.what() << "\n";
        return 2;
    } catch (const HostError& e) {
        err << "zqstati demo: " << setup.dbPath
            << ": the database cannot be made: " << e.Description() << "\n";
        return 2;
    }
    try {
        return PlayRoads(options, *session, temporary.has_value(), out);
    } catch (const HostError& e) {
        err << "zqstati demo: " << e.Description() << "\n";
        return 1;
    }
}

}  // namespace zq::tool
