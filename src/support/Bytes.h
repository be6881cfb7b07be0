// Copies of short byte runs, such as the lines of a drawing (codes and
// values of a few characters), without a library call for each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace transref {

namespace detail {
// The first and the last sizeof(Word) bytes of n (sizeof(Word) <= n <=
// 2 sizeof(Word)), which together cover all n.
template <typename Word>
inline void CopyBothEnds(char* to, const char* from, std::size_t n) {
  Word head, tail;
  std::memcpy(&head, from, sizeof head);
  std::memcpy(&tail, from + n - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + n - sizeof tail, &tail, sizeof tail);
}
}  // namespace detail

// Copies n bytes from `from` to `to` (the ranges must not overlap). Up to 16
// bytes move as two overlapping words of fixed size, which the compiler
// turns into a few register moves.
inline void CopyBytes(char* to, const char* from, std::size_t n) {
  if (n > 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    detail::CopyBothEnds<std::uint64_t>(to, from, n);
  } else if (n >= 4) {
    detail::CopyBothEnds<std::uint32_t>(to, from, n);
  } else if (n >= 2) {
    detail::CopyBothEnds<std::uint16_t>(to, from, n);
  } else if (n == 1) {
    *to = *from;
  }
}

// A growing run of bytes that texts are appended to and that is cleared and
// reused: once it has grown to the largest content, appending allocates
// nothing (and, unlike std::string, growing never fills bytes first).
class ByteBuffer {
 public:
  void Clear() noexcept { size_ = 0; }
  std::size_t Size() const noexcept { return size_; }
  const char* Data() const noexcept { return data_.get(); }
  std::string_view View() const noexcept { return {data_.get(), size_}; }
  // Appends the text; returns the offset it starts at.
  std::size_t Append(std::string_view text) {
    const std::size_t at = size_;
    if (text.size() > capacity_ - size_) Grow(text.size());
    CopyBytes(data_.get() + size_, text.data(), text.size());
    size_ += text.size();
    return at;
  }
  void Assign(std::string_view text) {
    size_ = 0;
    Append(text);
  }

 private:
  void Grow(std::size_t more) {
    std::size_t capacity = capacity_ ? capacity_ : 256;
    while (capacity - size_ < more) capacity *= 2;
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace transref
