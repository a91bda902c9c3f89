#include "tools/scenario.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "tools/grid_steps.h"
#include "tools/host_matrix.h"

namespace zq::tool {

namespace {

const char* TypeName(ArgType t) {
    switch (t) {
        case ArgType::Integer:
            return "a whole number";
        case ArgType::Number:
            return "a number";
        case ArgType::Text:
            return "a string";
        case ArgType::Flag:
            return "true or false";
        case ArgType::Form:
            return "\"header\" or \"body\"";
        case ArgType::Value:
            return "a value";
        case ArgType::Object:
            return "an object";
        case ArgType::Array:
            return "an array";
        case ArgType::Texts:
            return "a string or a list of strings";
    }
    return "";
}

// Whole numbers are the host's 32-bit integers; a larger one is refused, never wrapped.
bool FitsInt32(const Json& v) {
    if (v.is_number_unsigned()) return v.get<std::uint64_t>() <= 2147483647u;
    if (!v.is_number_integer()) return false;
    const std::int64_t i = v.get<std::int64_t>();
    return i >= -2147483648LL && i <= 2147483647LL;
}

bool IsForm(const Json& v) {
    if (v.is_string()) return v == "header" || v == "body";
    return v.is_number_integer() && (v == 1 || v == 2);
}

bool HasType(const Json& v, ArgType t) {
    switch (t) {
        case ArgType::Integer:
            return FitsInt32(v);
        case ArgType::Number:
            return v.is_number();
        case ArgType::Text:
            return v.is_string();
        case ArgType::Flag:
            return v.is_boolean();
        case ArgType::Form:
            return IsForm(v);
        case ArgType::Value:
            return !v.is_object() && !v.is_array();
        case ArgType::Object:
            return v.is_object();
        case ArgType::Array:
            return v.is_array();
        case ArgType::Texts:
            if (v.is_string()) return true;
            if (!v.is_array()) return false;
            for (const auto& e : v)
                if (!e.is_string()) return false;
            return true;
    }
    return false;
}

std::string Names(const std::vector<ArgDef>& defs) {
    std::string s;
    for (const auto& a : defs) s += (s.empty() ? "" : ", ") + std::string(a.name);
    return s.empty() ? "none" : s;
}

// Unknown keys, missing keys and keys of the wrong kind, against the defs. `what` names
// the object in messages; `kindKey` ("do", "expect") is skipped, and so is "note", a
// comment every object may carry.
void CheckKeys(const Json& object, const std::string& kindKey, const std::string& what,
               const std::vector<ArgDef>& defs, std::size_t n) {
    for (const auto& [key, value] : object.items()) {
        if (key == kindKey || key == "note") continue;
        const ArgDef* def = nullptr;
        for (const auto& a : defs)
            if (key == a.name) def = &a;
        if (!def)
            throw ScenarioError(
                "unknown key \"" + key + "\" in " + what + " (it takes: " + Names(defs) + ")", n);
        if (def->type == ArgType::Integer && value.is_number_integer() && !FitsInt32(value))
            throw ScenarioError("\"" + key + "\" in " + what + " is out of range: " + value.dump() +
                                    " (a whole number from -2147483648 to " + "2147483647)",
                                n);
        if (!HasType(value, def->type))
            throw ScenarioError("\"" + key + "\" in " + what + " must be " + TypeName(def->type) +
                                    ", not " + value.dump(),
                                n);
    }
    for (const auto& a : defs)
        if (a.required && !object.contains(a.name))
            throw ScenarioError(what + " needs \"" + a.name + "\" (" + TypeName(a.type) + ")", n);
}

Step ReadStep(const Json& j, std::size_t n) {
    if (!j.is_object()) throw ScenarioError("a step must be an object, not " + j.dump(), n);
    const bool isAction = j.contains("do"), isExpectation = j.contains("expect");
    if (isAction == isExpectation)
        throw ScenarioError("a step has exactly one of \"do\" (an action) or \"expect\"", n);
    const char* kindKey = isAction ? "do" : "expect";
    if (!j[kindKey].is_string())
        throw ScenarioError(std::string("\"") + kindKey + "\" must name the step's kind", n);
    Step step;
    step.isAction = isAction;
    step.kind = j[kindKey].get<std::string>();
    step.json = j;
    if (isAction) {
        for (const auto& a : Actions())
            if (step.kind == a.name) step.action = &a;
        if (!step.action) throw ScenarioError("unknown action \"" + step.kind + "\"", n);
        CheckKeys(j, kindKey, "action \"" + step.kind + "\"", step.action->args, n);
    } else {
        for (const auto& e : Expectations())
            if (step.kind == e.name) step.expectation = &e;
        if (!step.expectation) throw ScenarioError("unknown expectation \"" + step.kind + "\"", n);
        CheckKeys(j, kindKey, "expectation \"" + step.kind + "\"", step.expectation->args, n);
    }
    return step;
}

std::string ReadFile(const std::filesystem::path& file, std::uintmax_t limit) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto st = fs::status(file, ec);
    if (!fs::exists(st)) throw ScenarioError("cannot read " + file.string() + ": no such file");
    if (!fs::is_regular_file(st))
        throw ScenarioError("cannot read " + file.string() + ": not a regular file");
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) throw ScenarioError("cannot read " + file.string() + ": " + ec.message());
    if (size > limit)
        throw ScenarioError(file.string() + " has " + std::to_string(size) + " bytes; at most " +
                            std::to_string(limit) + " are read");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    if (!(in && s << in.rdbuf()) && size > 0) throw ScenarioError("cannot read " + file.string());
    return s.str();
}

// A value CheckKeys accepted as ArgType::Texts.
std::vector<std::string> Strings(const Json& v) {
    if (v.is_string()) return {v.get<std::string>()};
    return v.get<std::vector<std::string>>();
}

void ReadData(const Json& data, const std::filesystem::path& dir, const ScriptReader& readScript,
              SessionSetup& setup) {
    CheckKeys(data, "", "\"data\"",
              {{"demo", ArgType::Flag},
               {"lines", ArgType::Integer},
               {"sql", ArgType::Texts},
               {"statements", ArgType::Texts},
               {"postProgressives", ArgType::Flag}},
              0);
    setup.demoData = data.value("demo", true);
    setup.postProgressives = data.value("postProgressives", false);
    if (data.contains("lines")) {
        const std::int32_t lines = data["lines"].get<std::int32_t>();
        if (lines < sim::demo::kRigheDemo || lines > 100000)
            throw ScenarioError("data.lines is from " + std::to_string(sim::demo::kRigheDemo) +
                                " to 100000, not " + std::to_string(lines));
        setup.righeOrdine = lines;
    }
    if (data.contains("sql"))
        for (const auto& f : Strings(data["sql"])) setup.scripts.push_back(readScript(dir / f));
    if (data.contains("statements"))
        for (const auto& s : Strings(data["statements"])) setup.scripts.push_back(s);
}

void ReadHost(const Json& host, SessionSetup& setup, std::set<std::string>& pinned) {
    std::vector<ArgDef> keys{{"gridMode", ArgType::Integer},
                             {"lots", ArgType::Flag},
                             {"headerWithout", ArgType::Texts},
                             {"bodyWithout", ArgType::Texts},
                             {"answers", ArgType::Array},
                             {"lineFlow", ArgType::Integer},
                             {"lineInitialState", ArgType::Integer},
                             {"reasonsProgram", ArgType::Flag},
                             {"gridWithout", ArgType::Texts},
                             {"gridPosting", ArgType::Text},
                             {"guidSeed", ArgType::Integer}};
    for (const auto& o : HostOptions()) keys.push_back({o.name, ArgType::Value});
    CheckKeys(host, "", "\"host\"", keys, 0);
    for (const auto& o : HostOptions())
        if (host.contains(o.name)) {
            ApplyHostOption(o, host[o.name], setup);
            pinned.insert(o.name);
        }
    const std::int32_t gridMode = host.value("gridMode", 0);
    if (gridMode < -32768 || gridMode > 32767)
        throw ScenarioError("host.gridMode is a 16-bit whole number, not " +
                            std::to_string(gridMode));
    setup.gridMode = static_cast<std::int16_t>(gridMode);
    setup.gestLotti = host.value("lots", false);
    if (host.contains("headerWithout")) setup.headerWithout = Strings(host["headerWithout"]);
    if (host.contains("bodyWithout")) setup.bodyWithout = Strings(host["bodyWithout"]);
    if (host.contains("answers"))
        for (const auto& a : host["answers"]) {
            if (!FitsInt32(a))
                throw ScenarioError(
                    "host.answers must list whole numbers (1 OK, 6 Yes, 7 No), not " + a.dump());
            setup.answers.push_back(a.get<std::int32_t>());
        }
    setup.flussoRighe = host.value("lineFlow", setup.flussoRighe);
    setup.statoInizialeRighe = host.value("lineInitialState", setup.statoInizialeRighe);
    setup.reasonsProgram = host.value("reasonsProgram", true);
    if (host.contains("guidSeed"))
        setup.guidSeed = static_cast<std::uint32_t>(host["guidSeed"].get<std::int32_t>());
    if (host.contains("gridWithout")) setup.sizeGrid.without = Strings(host["gridWithout"]);
    if (host.contains("gridPosting"))
        setup.sizeGrid.posting = GridPostingSetting(host["gridPosting"].get<std::string>());
}

void ReadDocument(const Json& doc, SessionSetup& setup) {
    if (doc.is_number_integer()) {
        if (!FitsInt32(doc))
            throw ScenarioError(
                "\"document\" must be a whole number from -2147483648 to "
                "2147483647, not " +
                doc.dump());
        setup.numreg = doc.get<std::int32_t>();
        return;
    }
    if (!doc.is_object())
        throw ScenarioError("\"document\" must be a registration number or an object");
    CheckKeys(doc, "", "\"document\"",
              {{"company", ArgType::Integer}, {"numreg", ArgType::Integer, true}}, 0);
    setup.ditta = doc.value("company", setup.ditta);
    setup.numreg = doc["numreg"].get<std::int32_t>();
}

}  // namespace

std::int32_t StepArgs::Int(const char* name, std::int32_t otherwise) const {
    return Has(name) ? step_.at(name).get<std::int32_t>() : otherwise;
}

double StepArgs::Number(const char* name) const {
    return step_.at(name).get<double>();
}

std::string StepArgs::Text(const char* name, const std::string& otherwise) const {
    return Has(name) ? step_.at(name).get<std::string>() : otherwise;
}

bool StepArgs::Flag(const char* name, bool otherwise) const {
    return Has(name) ? step_.at(name).get<bool>() : otherwise;
}

std::int16_t StepArgs::Form(const char* name) const {
    const Json& v = step_.at(name);
    if (v.is_string()) return v == "header" ? 1 : 2;
    return static_cast<std::int16_t>(v.get<int>());
}

Scenario ReadScenario(const std::filesystem::path& file) {
    return ParseScenario(
        ReadFile(file, kMaxScenarioBytes), file,
        [](const std::filesystem::path& sql) { return ReadFile(sql, kMaxScriptBytes); });
}

Scenario ParseScenario(const std::string& text, const std::filesystem::path& file,
                       const ScriptReader& readScript) {
    Scenario sc;
    sc.file = file;
    if (text.size() > kMaxScenarioBytes)
        throw ScenarioError("the scenario has " + std::to_string(text.size()) + " bytes; at most " +
                            std::to_string(kMaxScenarioBytes) + " are read");
    // The nesting is bounded while the text is read, before any value is built, so a
    // deeply nested file is refused instead of exhausting the stack.
    const Json::parser_callback_t nesting = [](int depth, Json::parse_event_t event, Json&) {
        if ((event == Json::parse_event_t::object_start ||
             event == Json::parse_event_t::array_start) &&
            depth >= kMaxScenarioNesting)
            throw ScenarioError("objects and lists are nested more than " +
                                std::to_string(kMaxScenarioNesting) + " deep");
        return true;
    };
    Json j;
    try {
        j = Json::parse(text, nesting, true, /*ignore_comments=*/true);
    } catch (const Json::exception& e) {
        // nlohmann's text: "[json.exception.parse_error.101] parse error at line 3, ..."
        std::string what = e.what();
        auto at = what.find("] ");
        throw ScenarioError("not valid JSON: " +
                            (at == std::string::npos ? what : what.substr(at + 2)));
    }
    if (!j.is_object()) throw ScenarioError("a scenario is a JSON object");
    CheckKeys(j, "", "the scenario",
              {{"description", ArgType::Text, true},
               {"data", ArgType::Object},
               // a registration number, or an object that ReadDocument checks
               {"document", j.contains("document") && j["document"].is_object() ? ArgType::Object
                                                                                : ArgType::Value},
               {"host", ArgType::Object},
               {"steps", ArgType::Array, true}},
              0);
    sc.description = j["description"].get<std::string>();
    if (j.contains("data")) ReadData(j["data"], file.parent_path(), readScript, sc.setup);
    if (j.contains("document")) ReadDocument(j["document"], sc.setup);
    if (j.contains("host")) ReadHost(j["host"], sc.setup, sc.pinnedHost);
    std::size_t n = 0;
    for (const auto& s : j["steps"]) {
        sc.steps.push_back(ReadStep(s, ++n));
        if (sc.steps.back().kind == "asBefore" && !sc.steps.back().isAction) {
            const std::int32_t back = s["step"].get<std::int32_t>();
            if (back < 1 || static_cast<std::size_t>(back) >= n)
                throw ScenarioError("\"asBefore\" looks back to a step before it, not to step " +
                                        std::to_string(back),
                                    n);
        }
    }
    if (sc.steps.empty()) throw ScenarioError("\"steps\" is empty");
    return sc;
}

std::string Quote(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool Matches(const Json& expected, const Variant& actual) {
    if (expected.is_null()) return actual.IsNull() || actual.IsEmpty();
    if (actual.IsNull() || actual.IsEmpty()) return false;
    if (expected.is_boolean()) {
        if (actual.IsBool()) return actual.ToBool() == expected.get<bool>();
        if (actual.IsString() || !actual.IsNumeric()) return false;
        return actual.ToDouble() == (expected.get<bool>() ? -1.0 : 0.0);
    }
    if (expected.is_number()) {
        if (actual.IsString() || actual.IsBool() || !actual.IsNumeric()) return false;
        const double e = expected.get<double>(), a = actual.ToDouble();
        return std::fabs(e - a) <= 1e-9 * std::max(1.0, std::fabs(e));
    }
    if (expected.is_string()) return actual.IsString() && actual.RawString() == expected;
    return false;
}

std::string Show(const Variant& v) {
    if (v.IsEmpty()) return "Empty";
    if (v.IsNull()) return "null";
    if (v.IsString()) return Quote(v.RawString());
    if (v.IsBool()) return v.ToBool() ? "true" : "false";
    if (v.IsNumeric()) {
        const double d = v.ToDouble();
        // Whole numbers as a scenario writes them: 3, not 3.0.
        if (std::fabs(d) < 1e15 && d == std::floor(d))
            return std::to_string(static_cast<long long>(d));
        return Json(d).dump();
    }
    return v.ToString();
}

}  // namespace zq::tool
