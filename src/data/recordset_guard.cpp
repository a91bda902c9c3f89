#include "data/recordset_guard.h"

#include "host/policy.h"

namespace zq {

RecordsetGuard::RecordsetGuard(ado::RecordsetPtr rst, Keep keep) : rst_(std::move(rst)) {
    if (!rst_) return;
    // A recordset on no row has no bookmark: that is an answer, not a failure.
    if (keep & kFilter) hasFilter_ = Probe([&] { filter_ = rst_->Filter(); });
    if (keep & kBookmark) hasBookmark_ = Probe([&] { bookmark_ = rst_->Bookmark(); });
}

RecordsetGuard::~RecordsetGuard() {
    if (hasFilter_) {
        // An unchanged filter is left alone: setting it again would move the cursor.
        CleanUp([&] {
            if (!rst_->Filter().SameAs(filter_)) rst_->SetFilter(filter_);
        });
    }
    if (hasBookmark_) CleanUp([&] { rst_->SetBookmark(bookmark_); });
}

}  // namespace zq
