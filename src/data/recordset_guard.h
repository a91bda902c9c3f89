// A scope that must look at other rows of a host recordset without moving the host's
// current row.
#pragma once

#include "data/ado.h"

namespace zq {

// Keeps a host recordset's position for a scope: saves its Bookmark and/or Filter and puts
// them back when the scope ends, the filter first (setting a filter moves the cursor),
// then the bookmark. A value that could not be saved (no current row has no bookmark) is
// not restored; errors while restoring are dropped, as the procedures that scan the
// host's recordsets ignore them.
class RecordsetGuard {
  public:
    enum Keep : unsigned { kBookmark = 1, kFilter = 2, kBookmarkAndFilter = 3 };

    explicit RecordsetGuard(ado::RecordsetPtr rst, Keep keep = kBookmarkAndFilter);
    ~RecordsetGuard();
    RecordsetGuard(const RecordsetGuard&) = delete;
    RecordsetGuard& operator=(const RecordsetGuard&) = delete;

    bool SavedBookmark() const { return hasBookmark_; }
    bool SavedFilter() const { return hasFilter_; }

  private:
    ado::RecordsetPtr rst_;
    Variant bookmark_;
    Variant filter_;
    bool hasBookmark_ = false;
    bool hasFilter_ = false;
};

}  // namespace zq
