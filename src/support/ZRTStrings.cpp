#include "support/ZRTStrings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "support/TextFile.h"

namespace ZRTPrimitiveSys {
namespace {

constexpr char kBlank = ' ';

ZRTStrings Concatenate(std::string_view a, std::string_view b) {
  ZRTStrings result;
  if (!result.Resize(static_cast<std::int32_t>(a.size() + b.size() + 1))) {
    // Same size as the empty text only when both are empty.
    return result;
  }
  if (result.HasStorage()) {
    std::copy(b.begin(), b.end(), std::copy(a.begin(), a.end(), result.Data()));
  }
  return result;
}

ZRTStrings Without(const ZRTStrings& a, std::string_view removed) {
  ZRTStrings result(a);
  result.ReplaceAll(removed, std::string_view());
  return result;
}

}  // namespace

ZRTStrings& ZRTStrings::operator=(const ZRTStrings& other) {
  if (&other == this) return *this;
  if (!other.HasStorage()) {
    SetText(std::string_view());
    return *this;
  }
  CopyFrom(other);
  if (!HasStorage()) SetText(std::string_view());
  return *this;
}

ZRTStrings& ZRTStrings::operator=(ZRTStrings&& other) noexcept {
  if (&other == this) return *this;
  if (!other.HasStorage()) {
    // The empty text needs one character: always inline, never fails.
    Release();
    ResizeStorage(1);
    return *this;
  }
  Release();
  SwapStorage(other);
  return *this;
}

ZRTStrings& ZRTStrings::operator=(const char* text) {
  SetText(text ? std::string_view(text) : std::string_view());
  return *this;
}

ZRTStrings& ZRTStrings::operator=(std::string_view text) {
  SetText(text);
  return *this;
}

void ZRTStrings::SetText(std::string_view text) {
  // The text may be a view into this object's own storage.
  const std::int32_t count = static_cast<std::int32_t>(text.size() + 1);
  if (HasStorage() && text.data() >= Data() && text.data() < Data() + Count()) {
    ZRTStrings copy(text);
    Release();
    SwapStorage(copy);
    return;
  }
  ResizeStorage(count);  // zero-filled when the size changes
  if (Count() != count) return;  // allocation failed: left without storage
  std::copy(text.begin(), text.end(), Data());
  Data()[text.size()] = '\0';
}

void ZRTStrings::ReplaceAll(std::string_view find, std::string_view replacement) {
  if (find.empty()) return;
  const std::string_view text = View();
  std::size_t occurrences = 0;
  for (std::size_t at = text.find(find); at != std::string_view::npos;
       at = text.find(find, at + find.size()))
    ++occurrences;
  if (occurrences == 0) return;
  std::string rebuilt;
  rebuilt.reserve(text.size() + occurrences * replacement.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(find); at != std::string_view::npos;
       at = text.find(find, at + find.size())) {
    rebuilt.append(text.substr(from, at - from)).append(replacement);
    from = at + find.size();
  }
  rebuilt.append(text.substr(from));
  SetText(rebuilt);
}

ZRTStrings ZRTStrings::SubstringBefore(std::string_view separator) const {
  const std::string_view text = View();
  return ZRTStrings(text.substr(0, text.find(separator)));
}

bool ZRTStrings::Contains(std::string_view text) const noexcept {
  return View().find(text) != std::string_view::npos;
}

void ZRTStrings::Reverse() noexcept {
  if (HasStorage()) std::reverse(Data(), Data() + Length());
}

std::int32_t ZRTStrings::WordCount() const noexcept {
  std::int32_t words = 0;
  bool inWord = false;
  for (const char c : View()) {
    if (c == kBlank) {
      inWord = false;
    } else if (!inWord) {
      inWord = true;
      ++words;
    }
  }
  return words;
}

std::string_view ZRTStrings::WordView(std::int32_t n) const noexcept {
  const std::string_view text = View();
  std::int32_t counter = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    at = text.find_first_not_of(kBlank, at);
    if (at == std::string_view::npos) break;
    if (++counter == n) {
      const std::size_t end = text.find(kBlank, at);
      return text.substr(at, end == std::string_view::npos ? end : end - at);
    }
    at = text.find(kBlank, at);
  }
  return {};
}

ZRTStrings ZRTStrings::Word(std::int32_t n) const { return ZRTStrings(WordView(n)); }

bool ZRTStrings::ReadLine(transref::TextFile& file) {
  std::string_view line;
  const transref::TextFile::LineRead read = file.ReadLine(line);
  SetText(line);
  return read != transref::TextFile::LineRead::End;
}

bool ZRTStrings::PrintLine(transref::TextFile& file) const {
  // "%s" stops at the first zero character.
  return file.WriteLine(CStr());
}

ZRTStrings ZRTStrings::IntToText(int value) {
  char digits[16];
  const int length = std::snprintf(digits, sizeof digits, "%d", value);
  return ZRTStrings(std::string_view(digits, static_cast<std::size_t>(length)));
}

ZRTStrings operator+(const ZRTStrings& a, const ZRTStrings& b) {
  return Concatenate(a.View(), b.View());
}
ZRTStrings operator+(const ZRTStrings& a, const char* text) {
  return Concatenate(a.View(), text ? text : "");
}
ZRTStrings operator+(const char* text, const ZRTStrings& a) {
  return Concatenate(text ? text : "", a.View());
}
ZRTStrings operator-(const ZRTStrings& a, const ZRTStrings& b) { return Without(a, b.View()); }
ZRTStrings operator-(const ZRTStrings& a, const char* text) {
  return Without(a, text ? text : "");
}

}  // namespace ZRTPrimitiveSys
