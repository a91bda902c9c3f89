// The simulated host's record of the operations the plug-in asked of it.
//
// Every host object of one session writes into the same log, so a test sees the calls in
// the order the plug-in made them, across objects, each with its arguments.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/variant.h"

namespace zq::sim {

struct HostCall {
    std::string member;  // "object.Member", e.g. "gclsRegDoc.ImpostaQuantita"
    std::vector<Variant> args;
};

class CallLog {
  public:
    void Record(std::string member, std::vector<Variant> args = {});
    const std::vector<HostCall>& Calls() const { return calls_; }
    // Members only, in order: the shape most tests assert on.
    std::vector<std::string> Members() const;
    std::vector<HostCall> CallsTo(std::string_view member) const;
    std::size_t Count(std::string_view member) const;
    void Clear() { calls_.clear(); }

    // Runs before a call is recorded; a HostError it raises makes that host call fail
    // (fault injection in tests). The failing call is not recorded.
    std::function<void(const std::string& member)> beforeRecord;

  private:
    std::vector<HostCall> calls_;
};
using CallLogPtr = std::shared_ptr<CallLog>;

}  // namespace zq::sim
