// Scenario files: a JSON document with a description, the data to start from, the
// document to open, the host settings and a list of steps (user actions and
// expectations). docs/scenarios.md describes the format; this header is its reader.
#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/json_out.h"
#include "tools/session.h"

namespace zq::tool {

// A scenario that cannot be run as written: the reason, and the step (1-based, 0 for the
// scenario as a whole) it was found in.
class ScenarioError : public std::runtime_error {
  public:
    explicit ScenarioError(const std::string& reason, std::size_t step = 0)
        : std::runtime_error(reason), step_(step) {}
    std::size_t Step() const { return step_; }

  private:
    std::size_t step_;
};

// The kinds of value a step's key may hold.
enum class ArgType {
    Integer,  // a whole number
    Number,   // any number
    Text,     // a string
    Flag,     // true or false
    Form,     // "header" or "body" (or 1, 2)
    Value,    // any JSON value (compared with the host's values, see Matches)
    Object,   // a JSON object
    Array,    // a JSON array
    Texts,    // a string or a list of strings
};

struct ArgDef {
    const char* name;
    ArgType type;
    bool required = false;
};

// The keys of a step, read after the step was checked against its defs.
class StepArgs {
  public:
    explicit StepArgs(const Json& step) : step_(step) {}
    bool Has(const char* name) const { return step_.contains(name); }
    std::int32_t Int(const char* name, std::int32_t otherwise = 0) const;
    double Number(const char* name) const;
    std::string Text(const char* name, const std::string& otherwise = {}) const;
    bool Flag(const char* name, bool otherwise = false) const;
    std::int16_t Form(const char* name) const;  // 1 header, 2 body
    const Json& Raw(const char* name) const { return step_.at(name); }

  private:
    const Json& step_;
};

// One kind of step: its name, the keys it takes, and what it does. An action returns
// nothing; an expectation returns an empty text when met, or the readable difference.
struct ActionDef {
    const char* name;
    std::vector<ArgDef> args;
    std::function<void(Session&, const StepArgs&)> run;
};
struct ExpectationDef {
    const char* name;
    std::vector<ArgDef> args;
    std::function<std::string(Session&, const StepArgs&)> check;
};
const std::vector<ActionDef>& Actions();
const std::vector<ExpectationDef>& Expectations();

struct Step {
    bool isAction = true;
    std::string kind;  // the action or expectation name
    Json json;         // the step as written
    const ActionDef* action = nullptr;
    const ExpectationDef* expectation = nullptr;
};

struct Scenario {
    std::filesystem::path file;
    std::string description;
    SessionSetup setup;
    std::set<std::string> pinnedHost;  // the host options the file sets (host_matrix.h)
    std::vector<Step> steps;
};

// What the reader accepts: a scenario file of at most 1 MiB whose objects and lists nest at
// most 32 deep, SQL files of at most 16 MiB, whole numbers that fit the host's 32 bits.
inline constexpr std::size_t kMaxScenarioBytes = 1 << 20;
inline constexpr std::size_t kMaxScriptBytes = 16 << 20;
inline constexpr int kMaxScenarioNesting = 32;

// Reads and checks a scenario file: JSON syntax, the top-level keys, the data (SQL files
// are read, relative to the scenario's folder), the host settings, and every step's kind
// and keys. Raises ScenarioError.
Scenario ReadScenario(const std::filesystem::path& file);

// The same on a text already read; `readScript` gives the text of a `data.sql` file (a path
// relative to `file`'s folder joined to it). ReadScenario passes a reader of the disk.
using ScriptReader = std::function<std::string(const std::filesystem::path&)>;
Scenario ParseScenario(const std::string& text, const std::filesystem::path& file,
                       const ScriptReader& readScript);

// Whether a host value is what a scenario wrote: null matches Null and Empty; true and
// false match Booleans and the host's 16-bit Booleans (-1, 0); a number matches a number
// (to 1e-9); a string matches a text exactly.
bool Matches(const Json& expected, const Variant& actual);
// A text as a JSON string literal (invalid UTF-8 replaced).
std::string Quote(const std::string& text);
// A host value as a scenario would write it, with its kind when that could mislead.
std::string Show(const Variant& v);

}  // namespace zq::tool
