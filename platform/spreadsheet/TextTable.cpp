#include "platform/spreadsheet/TextTable.h"

#include <algorithm>
#include <functional>

namespace platform::spreadsheet {
namespace {

// Large enough that a sheet of short texts needs few allocations, small enough to waste little.
constexpr size_t kBlockUnits = 64 * 1024;

uint32_t hashOf(std::u16string_view text) { return uint32_t(std::hash<std::u16string_view>{}(text)); }

}  // namespace

uint32_t TextTable::intern(std::u16string_view text) {
  if (texts_.size() * 2 >= slots_.size()) grow();
  const uint32_t hash = hashOf(text);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.id == kEmpty) {
      slot = Slot{hash, uint32_t(texts_.size())};
      texts_.push_back(store(text));
      longest_ = std::max(longest_, text.size());
      return slot.id;
    }
    if (slot.hash == hash && texts_[slot.id] == text) return slot.id;
  }
}

std::u16string_view TextTable::store(std::u16string_view text) {
  if (text.empty()) return {};
  char16_t* at;
  if (text.size() > kBlockUnits / 4) {
    // A long text gets a block of its own, so the open block keeps its room for short ones.
    blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(text.size()));
    at = blocks_.back().get();
  } else {
    if (text.size() > blockRoom_) {
      blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(kBlockUnits));
      open_ = blocks_.back().get();
      blockRoom_ = kBlockUnits;
    }
    at = open_;
    open_ += text.size();
    blockRoom_ -= text.size();
  }
  std::copy(text.begin(), text.end(), at);
  return {at, text.size()};
}

void TextTable::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(std::max<size_t>(old.size() * 2, 1024), Slot{0, kEmpty});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.id == kEmpty) continue;
    size_t i = slot.hash & mask;
    while (slots_[i].id != kEmpty) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

}  // namespace platform::spreadsheet
