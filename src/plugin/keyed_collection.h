// An ordered collection whose items carry a text key, as the size-grid write-back collects
// lines to split and to clear. Keys compare without regard to case; adding a key that is
// already there is ignored.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/object.h"
#include "host/variant.h"

namespace zq::plugin {

class KeyedCollection {
  public:
    // Returns false (and keeps the first item) when the key is already present.
    bool Add(std::string key, Variant item) {
        for (const auto& entry : items_)
            if (SameName(entry.first, key)) return false;
        items_.emplace_back(std::move(key), std::move(item));
        return true;
    }
    std::size_t Count() const { return items_.size(); }
    const std::string& KeyAt(std::size_t i) const { return items_.at(i).first; }
    const Variant& ItemAt(std::size_t i) const { return items_.at(i).second; }
    // The item under `key`, or null when there is none.
    const Variant* Find(const std::string& key) const {
        for (const auto& entry : items_)
            if (SameName(entry.first, key)) return &entry.second;
        return nullptr;
    }

  private:
    std::vector<std::pair<std::string, Variant>> items_;
};

}  // namespace zq::plugin
