// How a procedure treats a failed host or database call, and how an interface method
// reports one to the host.
//
// A failure inside the plug-in is a HostError. Each procedure follows one of three fixed
// policies: ignore the failing statement and go on (IgnoreErrors around that statement),
// trap the error and end quietly with outputs as they stand (EndQuietly around the body),
// or let it reach the caller (no wrapper). At the interface, ComBoundary turns whatever
// escaped into a ComResult, so that no exception ever reaches the host. Clean-ups that must
// run however a road ended, and reads whose failure is an answer, use CleanUp and Probe:
// inside a user road (FailureWatch) neither is skipped; a failed clean-up is the road's
// failure, a failed probe is an answer.
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

// ---- a user road's watch on the failures its procedures trap ----
//
// A road of the plug-in (a user action that changes the order) runs under a FailureWatch.
// Every HostError that IgnoreErrors or EndQuietly traps, and every error that escapes an
// interface method the host raises inside the road, is noted on the innermost watch, so
// that the road knows it must undo what it did instead of leaving the order half written.
// Once a failure is noted on a watch that skips, the statements still under IgnoreErrors
// or EndQuietly are passed over: nothing further reaches the host or the database before
// the undo. Outside a road no watch is installed and the policies are as they always were.
class FailureWatch {
  public:
    // `skipAfterFailure` false: every statement runs and failures are only counted (the
    // undo of a road tries every step).
    explicit FailureWatch(bool skipAfterFailure = true) noexcept : skip_(skipAfterFailure) {}
    FailureWatch(const FailureWatch&) = delete;
    FailureWatch& operator=(const FailureWatch&) = delete;

    bool Failed() const noexcept { return failures_ > 0; }
    int Failures() const noexcept { return failures_; }
    bool Skipping() const noexcept { return skip_ && failures_ > 0; }
    void Note() noexcept { ++failures_; }

    // The watch installed on this thread (the innermost one), or null.
    static FailureWatch* Current() noexcept { return current_; }

    // Installs a watch for the life of the scope; the previous one comes back after it.
    class Install {
      public:
        explicit Install(FailureWatch* watch) noexcept : outer_(current_) { current_ = watch; }
        ~Install() { current_ = outer_; }
        Install(const Install&) = delete;
        Install& operator=(const Install&) = delete;

      private:
        FailureWatch* outer_;
    };

  private:
    static inline thread_local FailureWatch* current_ = nullptr;
    bool skip_;
    int failures_ = 0;
};

namespace detail {
inline bool RoadSkips() noexcept {
    const FailureWatch* w = FailureWatch::Current();
    return w && w->Skipping();
}
inline void NoteTrapped() noexcept {
    if (FailureWatch* w = FailureWatch::Current()) w->Note();
}
}  // namespace detail

// A procedure's own trap (a catch that ends it quietly) tells the road, as EndQuietly does.
inline void NoteTrappedFailure() noexcept {
    detail::NoteTrapped();
}

// "Resume next" for one statement: a HostError is dropped and the caller goes on with its
// next statement. Returns whether the statement completed. Other exceptions are faults of
// the program, not of the host, and pass through. In a road that has failed the statement
// is passed over (returns false).
template <class F>
bool IgnoreErrors(F&& statement) {
    if (detail::RoadSkips()) return false;
    try {
        std::forward<F>(statement)();
        return true;
    } catch (const HostError&) {
        detail::NoteTrapped();
        return false;
    }
}

// "Trap and end quietly" for a procedure body: the first HostError ends the body and is
// dropped; whatever the body had set by then stays. Returns false when an error ended it
// (or when the body was passed over in a road that has failed).
template <class F>
bool EndQuietly(F&& body) {
    if (detail::RoadSkips()) return false;
    try {
        std::forward<F>(body)();
        return true;
    } catch (const HostError&) {
        detail::NoteTrapped();
        return false;
    }
}

// A step that runs even in a road that has failed: a clean-up (a busy flag, the busy
// indicator, a refresh bracket or repaint lock closed, a position given back). A clean-up
// that fails leaves the road not whole (the indicator down, a bracket open), so its failure
// is noted on the road like any other, and the road is undone. Returns whether it
// completed.
template <class F>
bool CleanUp(F&& step) {
    try {
        std::forward<F>(step)();
        return true;
    } catch (const HostError&) {
        detail::NoteTrapped();
        return false;
    }
}

// A read of a member an object may lack (a control the form does not have, a DBField an
// unbound control lacks): "no such member" (438) is an answer, and the read returns false;
// any other failure is a failure and is raised, for the caller's policy to apply.
template <class F>
bool ProbeMember(F&& read) {
    try {
        std::forward<F>(read)();
        return true;
    } catch (const HostError& e) {
        if (e.Number() == err::MemberNotFound) return false;
        throw;
    }
}

// A read whose failure is an answer, not a fault: a member a control may lack, the
// bookmark of a recordset that stands on no row. Runs even in a road that has failed, and
// its failure is not the road's.
template <class F>
bool Probe(F&& read) {
    try {
        std::forward<F>(read)();
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
        // An interface method the host raised inside a road failed: the road's work is
        // not whole.
        detail::NoteTrapped();
        return FailureFromCurrentException();
    }
}

// Runs `undo` when the scope ends, normally or by an error: busy flags, the host's busy
// indicator, refresh brackets. An error while undoing is dropped: a destructor cannot
// report it, and the error already on its way to the caller matters more; a host error is
// still noted on the road, as a failed CleanUp is.
template <class F>
class ScopeExit {
  public:
    explicit ScopeExit(F undo) : undo_(std::move(undo)) {}
    ~ScopeExit() {
        try {
            undo_();
        } catch (const HostError&) {
            detail::NoteTrapped();
        } catch (...) {
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    F undo_;
};

}  // namespace zq
