// How an interface method's outcome reaches the caller: an HRESULT, and for a failure
// the rich error information (number as the HRESULT, source, description) through
// SetErrorInfo, so that the host's run time shows Err.Number, Err.Source and
// Err.Description as the plug-in raised them.
#pragma once

#include "com/com_types.h"
#include "host/policy.h"

namespace zq::com {

// S_OK for a success. For a failure: the error's HRESULT (ComResult::HResult; a
// std::bad_alloc that reached the boundary gives E_OUTOFMEMORY), with an error object
// for interface `iid` set on the thread.
HRESULT ReportResult(const ComResult& r, REFIID iid) noexcept;

// Runs `body` (which returns a ComResult or nothing) inside the error boundary and
// reports its outcome.
template <class F>
HRESULT Boundary(REFIID iid, F&& body) noexcept {
    return ReportResult(ComBoundary(std::forward<F>(body)), iid);
}

}  // namespace zq::com
