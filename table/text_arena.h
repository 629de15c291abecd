// Text of many rows kept in large blocks that never move: a million rows
// cost a few dozen allocations, not a million, and a row's text costs its
// bytes and nothing more.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tovan::table {

class TextArena {
 public:
  TextArena() = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

  // Room for `size` bytes, valid as long as the arena lives.
  char* Allocate(std::size_t size) {
    if (size > left_) {
      const std::size_t block = size > kBlockBytes / 4 ? size : kBlockBytes;
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
      held_ += block;
      if (block != kBlockBytes) return blocks_.back().get();  // a large text keeps a block of its own
      next_ = blocks_.back().get();
      left_ = block;
    }
    char* room = next_;
    next_ += size;
    left_ -= size;
    return room;
  }
  // Bytes taken from the system.
  std::size_t Held() const { return held_; }

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t held_ = 0;
};

}  // namespace tovan::table
