#include "sim/host/call_log.h"

#include "host/object.h"

namespace zq::sim {

void CallLog::Record(std::string member, std::vector<Variant> args) {
    if (beforeRecord) beforeRecord(member);
    calls_.push_back({std::move(member), std::move(args)});
}

std::vector<std::string> CallLog::Members() const {
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const auto& c : calls_) out.push_back(c.member);
    return out;
}

std::vector<HostCall> CallLog::CallsTo(std::string_view member) const {
    std::vector<HostCall> out;
    for (const auto& c : calls_)
        if (SameName(c.member, member)) out.push_back(c);
    return out;
}

std::size_t CallLog::Count(std::string_view member) const {
    std::size_t n = 0;
    for (const auto& c : calls_)
        if (SameName(c.member, member)) ++n;
    return n;
}

}  // namespace zq::sim
