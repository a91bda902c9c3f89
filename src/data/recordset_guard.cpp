#include "data/recordset_guard.h"

#include "host/policy.h"

namespace zq {

RecordsetGuard::RecordsetGuard(ado::RecordsetPtr rst, Keep keep) : rst_(std::move(rst)) {
    if (!rst_) return;
    if (keep & kFilter) hasFilter_ = IgnoreErrors([&] { filter_ = rst_->Filter(); });
    if (keep & kBookmark) hasBookmark_ = IgnoreErrors([&] { bookmark_ = rst_->Bookmark(); });
}

RecordsetGuard::~RecordsetGuard() {
    if (hasFilter_) {
        // An unchanged filter is left alone: setting it again would move the cursor.
        IgnoreErrors([&] {
            if (!rst_->Filter().SameAs(filter_)) rst_->SetFilter(filter_);
        });
    }
    if (hasBookmark_) IgnoreErrors([&] { rst_->SetBookmark(bookmark_); });
}

}  // namespace zq
