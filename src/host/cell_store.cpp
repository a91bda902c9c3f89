#include "host/cell_store.h"

#include <algorithm>
#include <cstring>

namespace zq {

namespace {

// Kinds of cell. A text of n <= 8 bytes is kind kShortText + n, its bytes in the payload.
enum : std::uint8_t {
    kEmpty,
    kNull,
    kInt16,
    kInt32,
    kDouble,
    kDate,
    kBool,
    kLongText,  // payload: chunk number and offset (4 bytes each)
    kOther,     // payload: number in others_
    kShortText = 16,
};
constexpr std::size_t kShortMax = 8;

template <class T>
Cell Make(std::uint8_t kind, T value) {
    static_assert(sizeof(T) <= 8);
    Cell c;
    c.kind = kind;
    std::memcpy(c.payload, &value, sizeof value);
    return c;
}

template <class T>
T Read(const Cell& c) {
    T value;
    std::memcpy(&value, c.payload, sizeof value);
    return value;
}

}  // namespace

Cell CellStore::PackText(std::string_view s) {
    if (s.size() <= kShortMax) {
        Cell c;
        c.kind = static_cast<std::uint8_t>(kShortText + s.size());
        if (!s.empty()) std::memcpy(c.payload, s.data(), s.size());
        return c;
    }
    const auto length = static_cast<std::uint32_t>(s.size());
    const std::size_t need = sizeof length + s.size();
    std::size_t chunk = 0, offset = 0;
    if (need > kMaxChunk) {
        // A text larger than any chunk gets one of its own; the open chunk stays open.
        chunks_.push_back(std::make_unique<char[]>(need));
        chunk = chunks_.size() - 1;
    } else {
        if (used_ + need > openSize_) {
            // Chunks grow from small to kMaxChunk: a small query result stays small.
            openSize_ =
                std::max(need, std::min(kMaxChunk, openSize_ == 0 ? kFirstChunk : 2 * openSize_));
            chunks_.push_back(std::make_unique<char[]>(openSize_));
            open_ = chunks_.size() - 1;
            used_ = 0;
        }
        chunk = open_;
        offset = used_;
        used_ += need;
    }
    char* at = chunks_[chunk].get() + offset;
    std::memcpy(at, &length, sizeof length);
    std::memcpy(at + sizeof length, s.data(), s.size());
    return Make(kLongText, (static_cast<std::uint64_t>(offset) << 32) | chunk);
}

std::string_view CellStore::StoredText(const Cell& c) const {
    const auto where = Read<std::uint64_t>(c);
    const char* at = chunks_[static_cast<std::size_t>(where & 0xFFFFFFFFu)].get() + (where >> 32);
    std::uint32_t length = 0;
    std::memcpy(&length, at, sizeof length);
    return {at + sizeof length, length};
}

Cell CellStore::Pack(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
            return Make<std::uint8_t>(kEmpty, 0);
        case VarType::Null:
            return Make<std::uint8_t>(kNull, 0);
        case VarType::Integer:
            return Make(kInt16, v.ToInt());
        case VarType::Long:
            return Make(kInt32, v.ToLong());
        case VarType::Double:
            return Make(kDouble, v.RawDouble());
        case VarType::Date:
            return Make(kDate, v.ToDouble());
        case VarType::Boolean:
            return Make<std::uint8_t>(kBool, v.ToBool() ? 1 : 0);
        case VarType::String:
            return PackText(v.RawString());
        default:
            others_.push_back(v);
            return Make(kOther, static_cast<std::uint64_t>(others_.size() - 1));
    }
}

Variant CellStore::Unpack(const Cell& c) const {
    switch (c.kind) {
        case kEmpty:
            return Variant();
        case kNull:
            return Variant::Null();
        case kInt16:
            return Variant::Int16(Read<std::int16_t>(c));
        case kInt32:
            return Variant::Int32(Read<std::int32_t>(c));
        case kDouble:
            return Variant(Read<double>(c));
        case kDate:
            return Variant::Date(Read<double>(c));
        case kBool:
            return Variant::Bool(Read<std::uint8_t>(c) != 0);
        case kLongText:
            return Variant(StoredText(c));
        case kOther:
            return others_[static_cast<std::size_t>(Read<std::uint64_t>(c))];
        default:
            return Variant(std::string_view(reinterpret_cast<const char*>(c.payload),
                                            static_cast<std::size_t>(c.kind - kShortText)));
    }
}

ValueView CellStore::View(const Cell& c) const {
    ValueView out;
    switch (c.kind) {
        case kEmpty:
            break;
        case kNull:
            out.type = VarType::Null;
            break;
        case kInt16:
            out.type = VarType::Integer;
            out.number = Read<std::int16_t>(c);
            break;
        case kInt32:
            out.type = VarType::Long;
            out.number = Read<std::int32_t>(c);
            break;
        case kDouble:
            out.type = VarType::Double;
            out.number = Read<double>(c);
            break;
        case kDate:
            out.type = VarType::Date;
            out.number = Read<double>(c);
            break;
        case kBool:
            out.type = VarType::Boolean;
            out.number = Read<std::uint8_t>(c) != 0 ? -1 : 0;
            break;
        case kLongText:
            out.type = VarType::String;
            out.text = StoredText(c);
            break;
        case kOther:
            out.type = others_[static_cast<std::size_t>(Read<std::uint64_t>(c))].Type();
            break;
        default:
            out.type = VarType::String;
            out.text = std::string_view(reinterpret_cast<const char*>(c.payload),
                                        static_cast<std::size_t>(c.kind - kShortText));
    }
    return out;
}

bool CellStore::Same(const CellStore& sa, const Cell& a, const CellStore& sb, const Cell& b) {
    if (a.kind == kOther || b.kind == kOther) return sa.Unpack(a).SameAs(sb.Unpack(b));
    const ValueView x = sa.View(a), y = sb.View(b);
    if (x.type != y.type) return false;
    return x.type == VarType::String ? x.text == y.text : x.number == y.number;
}

}  // namespace zq
