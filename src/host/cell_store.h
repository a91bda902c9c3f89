// Host values kept compact, for code that holds a great many of them: the in-memory
// rows of a recordset, and the picture of a whole document a user road takes.
//
// A 10,000-line document holds over half a million values in the host's sections. As host
// Variants (40 bytes each, a text past 15 characters on the heap besides) one copy of them
// takes over 20 MB. A cell takes 9 bytes: its kind and a payload holding the number, a
// text of up to 8 bytes itself, or where its store keeps a longer text (or an object).
// Values come back out as Variants equal (SameAs) to the ones stored.
//
// Longer texts are appended to the store's chunks and never moved or freed while the
// store lives: a value changed leaves its old text behind. Rows change a few fields each
// at most, so this is a small fraction of what the texts take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "host/variant.h"

namespace zq {

struct Cell {
    std::uint8_t kind = 0;
    unsigned char payload[8] = {};
};
static_assert(sizeof(Cell) == 9, "a cell is its kind and eight bytes");

// What matching and indexing read of a value, without making a Variant of it.
struct ValueView {
    VarType type = VarType::Empty;
    double number = 0;      // numbers, dates and Booleans (True is -1)
    std::string_view text;  // texts; valid while the store and the cell are unchanged
};

class CellStore {
  public:
    Cell Pack(const Variant& v);
    Variant Unpack(const Cell& c) const;
    ValueView View(const Cell& c) const;
    // Variant::SameAs of the two values, of this store or of two.
    bool Same(const Cell& a, const Cell& b) const { return Same(*this, a, *this, b); }
    static bool Same(const CellStore& sa, const Cell& a, const CellStore& sb, const Cell& b);

  private:
    std::string_view StoredText(const Cell& c) const;
    Cell PackText(std::string_view s);

    static constexpr std::size_t kFirstChunk = 1024;
    static constexpr std::size_t kMaxChunk = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t open_ = 0;         // the chunk new texts go to
    std::size_t openSize_ = 0;     // its size (0: none yet)
    std::size_t used_ = 0;         // bytes taken in it
    std::vector<Variant> others_;  // objects and arrays, by number
};

// One row's cells, as many as the fields of its rows.
using CellRow = std::unique_ptr<Cell[]>;

}  // namespace zq
