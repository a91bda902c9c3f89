// How a procedure treats a failed host or database call, and how an interface method
// reports one to the host.
//
// A failure inside the plug-in is a HostError. Each procedure follows one of three fixed
// policies: ignore the failing statement and go on (IgnoreErrors around that statement),
// trap the error and end quietly with outputs as they stand (EndQuietly around the body),
// or let it reach the caller (no wrapper). At the interface, ComBoundary turns whatever
// escaped into a ComResult, so that no exception ever reaches the host.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>

#include "host/error.h"

namespace zq {

// The outcome of an interface method as COM carries it: success, or the error that ended
// the call with its number, source and description.
struct ComResult {
    bool ok = true;
    std::int32_t number = 0;
    std::string source;
    std::string description;

    static ComResult Success() { return {}; }
    static ComResult Failure(std::int32_t number, std::string source, std::string description) {
        return {false, number, std::move(source), std::move(description)};
    }
    bool Succeeded() const { return ok; }
    bool Failed() const { return !ok; }

    // The HRESULT a COM binding returns: S_OK; a negative number is already one (provider
    // errors); a host error number n becomes 0x800A0000 | n, as the host's run time maps it.
    std::int32_t HResult() const {
        if (ok) return 0;
        if (number < 0) return number;
        if (number == 0) return kEFail;
        return static_cast<std::int32_t>(0x800A0000u | static_cast<std::uint32_t>(number & 0xFFFF));
    }

    static constexpr std::int32_t kEFail = static_cast<std::int32_t>(0x80004005u);
};

// "Resume next" for one statement: a HostError is dropped and the caller goes on with its
// next statement. Returns whether the statement completed. Other exceptions are faults of
// the program, not of the host, and pass through.
template <class F>
bool IgnoreErrors(F&& statement) {
    try {
        std::forward<F>(statement)();
        return true;
    } catch (const HostError&) {
        return false;
    }
}

// "Trap and end quietly" for a procedure body: the first HostError ends the body and is
// dropped; whatever the body had set by then stays. Returns false when an error ended it.
template <class F>
bool EndQuietly(F&& body) {
    try {
        std::forward<F>(body)();
        return true;
    } catch (const HostError&) {
        return false;
    }
}

// Inside a catch block: the failure that describes the exception being handled.
inline ComResult FailureFromCurrentException() noexcept {
    try {
        throw;
    } catch (const HostError& e) {
        return ComResult::Failure(e.Number(), e.Source(), e.Description());
    } catch (const std::exception& e) {
        return ComResult::Failure(0, "", e.what());
    } catch (...) {
        return ComResult::Failure(0, "", "Unknown error");
    }
}

// The boundary of an interface method: runs its body and turns any escaped exception into
// a failure. A body may return its own ComResult; a body returning nothing succeeds.
template <class F>
ComResult ComBoundary(F&& body) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
            std::forward<F>(body)();
            return ComResult::Success();
        } else {
            return std::forward<F>(body)();
        }
    } catch (...) {
        return FailureFromCurrentException();
    }
}

// Runs `undo` when the scope ends, normally or by an error: busy flags, the host's busy
// indicator, refresh brackets. An error while undoing is dropped: a destructor cannot
// report it, and the error already on its way to the caller matters more.
template <class F>
class ScopeExit {
  public:
    explicit ScopeExit(F undo) : undo_(std::move(undo)) {}
    ~ScopeExit() {
        try {
            undo_();
        } catch (...) {
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    F undo_;
};

}  // namespace zq
