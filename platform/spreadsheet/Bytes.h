#pragma once
// A growing little-endian byte buffer for the binary writers, with patching of values written earlier.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace platform::spreadsheet {

class Bytes {
 public:
  void u8(uint8_t v) { data_.push_back(v); }
  void u16(uint16_t v) {
    u8(uint8_t(v));
    u8(uint8_t(v >> 8));
  }
  void u32(uint32_t v) {
    u16(uint16_t(v));
    u16(uint16_t(v >> 16));
  }
  void f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(uint32_t(bits));
    u32(uint32_t(bits >> 32));
  }
  void zeros(size_t count) { data_.resize(data_.size() + count, 0); }
  // Room for a stream whose size is known roughly, so it is never moved while it grows.
  void reserve(size_t bytes) { data_.reserve(bytes); }
  void append(const uint8_t* bytes, size_t count) { data_.insert(data_.end(), bytes, bytes + count); }
  void append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); }
  void patch16(size_t at, uint16_t v) {
    data_[at] = uint8_t(v);
    data_[at + 1] = uint8_t(v >> 8);
  }
  void patch32(size_t at, uint32_t v) {
    patch16(at, uint16_t(v));
    patch16(at + 2, uint16_t(v >> 16));
  }
  size_t size() const { return data_.size(); }
  const std::vector<uint8_t>& data() const { return data_; }
  std::vector<uint8_t>& data() { return data_; }

 private:
  std::vector<uint8_t> data_;
};

}  // namespace platform::spreadsheet
