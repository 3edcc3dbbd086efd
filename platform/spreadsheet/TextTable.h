#pragma once
// The distinct texts of a book, each stored once under a dense id in order of first interning. Units
// live in large blocks that never move, so a view handed out stays valid until the table dies, even
// while more texts are added (a sheet copied within its own book interns texts it is reading). The
// lookup is an open-addressing table of (hash, id) pairs, so interning costs one hash of the text and
// usually one probe, with no allocation per text. One thread at a time, like its book.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace platform::spreadsheet {

class TextTable {
 public:
  // The id of text, adding it when new.
  uint32_t intern(std::u16string_view text);
  std::u16string_view text(uint32_t id) const { return texts_[id]; }
  uint32_t size() const { return uint32_t(texts_.size()); }
  // Units of the longest text ever interned.
  size_t longest() const { return longest_; }

 private:
  struct Slot {
    uint32_t hash;
    uint32_t id;  // kEmpty for a free slot
  };
  static constexpr uint32_t kEmpty = UINT32_MAX;
  std::u16string_view store(std::u16string_view text);
  void grow();

  std::vector<std::u16string_view> texts_;  // by id, into blocks_
  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  char16_t* open_ = nullptr;  // the free end of the block short texts go into
  size_t blockRoom_ = 0;      // units free there
  std::vector<Slot> slots_;  // a power of two in size, at most half full
  size_t longest_ = 0;
};

}  // namespace platform::spreadsheet
