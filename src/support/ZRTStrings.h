// ZRTStrings: the library's 8-bit text class, built on a counted array of
// characters.  A text of length L occupies L + 1 characters (the last is the
// terminating zero).  An object may also be in the no-storage state (array
// without storage); it then reads as the empty text but HasStorage() is
// false.  Comparisons are byte-wise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/ZRTGenericArray.h"
#include "support/ZRTObjects.h"

namespace transref {
class TextFile;
}

namespace ZRTPrimitiveSys {

class ZRTStrings : public virtual ZRTObjects,
                   public virtual ZRTMatrixSys::ZRTGenericArray<char> {
 public:
  ZRTStrings() { SetText(std::string_view()); }
  ZRTStrings(const char* text) { SetText(text ? std::string_view(text) : std::string_view()); }
  explicit ZRTStrings(std::string_view text) { SetText(text); }
  ZRTStrings(const ZRTStrings& other) : ZRTObjects(other), ZRTGenericArray(other) {
    if (!HasStorage()) SetText(std::string_view());
  }
  ZRTStrings(ZRTStrings&& other) noexcept : ZRTObjects(other), ZRTGenericArray(std::move(other)) {}
  ZRTStrings& operator=(const ZRTStrings& other);
  ZRTStrings& operator=(ZRTStrings&& other) noexcept;
  ZRTStrings& operator=(const char* text);
  ZRTStrings& operator=(std::string_view text);
  ~ZRTStrings() override = default;

  // Sets the empty text.
  void Clear() override { SetText(std::string_view()); }
  // Enters the no-storage state.
  void ReleaseStorage() noexcept { Release(); }

  // The zero-terminated characters ("" in the no-storage state).
  const char* CStr() const noexcept { return HasStorage() ? Data() : ""; }
  std::int32_t Length() const noexcept { return HasStorage() ? Count() - 1 : 0; }
  std::string_view View() const noexcept {
    return std::string_view(CStr(), static_cast<std::size_t>(Length()));
  }
  std::string ToStdString() const { return std::string(View()); }
  bool IsEmpty() const noexcept { return Length() == 0; }

  void SetText(std::string_view text);

  // In place: every non-overlapping occurrence of find, scanned from the
  // left, replaced by replacement.  An empty find changes nothing.
  void ReplaceAll(std::string_view find, std::string_view replacement);
  // The text before the first occurrence of separator; the whole text when
  // it does not occur.
  ZRTStrings SubstringBefore(std::string_view separator) const;
  bool Contains(std::string_view text) const noexcept;
  // Reverses the characters in place.
  void Reverse() noexcept;
  // Words are maximal runs of characters other than the blank (code 32).
  std::int32_t WordCount() const noexcept;
  // The n-th word, counting from 1; the empty text when there is none.
  ZRTStrings Word(std::int32_t n) const;
  std::string_view WordView(std::int32_t n) const noexcept;

  // Replaces the text with the next line of the file, read whole (see
  // TextFile::ReadLine; a line over its bound gives the empty text); false
  // when nothing was left to read.
  bool ReadLine(transref::TextFile& file);
  // Writes "%s\n" with the text.
  bool PrintLine(transref::TextFile& file) const;

  // The signed integer formatted with "%d".
  static ZRTStrings IntToText(int value);

  friend ZRTStrings operator+(const ZRTStrings& a, const ZRTStrings& b);
  friend ZRTStrings operator+(const ZRTStrings& a, const char* text);
  friend ZRTStrings operator+(const char* text, const ZRTStrings& a);
  // a with every non-overlapping occurrence of b removed.
  friend ZRTStrings operator-(const ZRTStrings& a, const ZRTStrings& b);
  friend ZRTStrings operator-(const ZRTStrings& a, const char* text);
  friend bool operator==(const ZRTStrings& a, const ZRTStrings& b) noexcept {
    return a.View() == b.View();
  }
  friend bool operator==(const ZRTStrings& a, const char* text) noexcept {
    return a.View() == std::string_view(text ? text : "");
  }
  friend bool operator!=(const ZRTStrings& a, const ZRTStrings& b) noexcept { return !(a == b); }
  friend bool operator!=(const ZRTStrings& a, const char* text) noexcept { return !(a == text); }
};

}  // namespace ZRTPrimitiveSys
