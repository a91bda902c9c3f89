// The COM-style result of every host interface method: success, or a failure that carries
// the run-time error (number, source, description) the way a COM binding turns it into an
// HRESULT plus error information.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "host/error.h"

namespace zq {

class [[nodiscard]] HResult {
  public:
    HResult() = default;  // success

    static HResult Ok() { return HResult(); }
    static HResult Failure(std::int32_t number, std::string source, std::string description) {
        HResult r;
        r.failed_ = true;
        r.number_ = number;
        r.source_ = std::move(source);
        r.description_ = std::move(description);
        return r;
    }
    static HResult FromError(const HostError& e) {
        return Failure(e.Number(), e.Source(), e.Description());
    }

    bool Succeeded() const { return !failed_; }
    bool Failed() const { return failed_; }
    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

  private:
    bool failed_ = false;
    std::int32_t number_ = 0;
    std::string source_;
    std::string description_;
};

}  // namespace zq
