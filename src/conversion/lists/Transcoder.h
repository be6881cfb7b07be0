// Text from one encoding to another through the C library's iconv, fed in
// pieces of any size (a character split between two pieces is completed by
// the next one).
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace transref {

class Transcoder {
 public:
  // Encoding names as iconv knows them ("UTF-8", "WINDOWS-1252", "UTF-16LE").
  Transcoder(const char* to, const char* from);
  ~Transcoder();
  Transcoder(const Transcoder&) = delete;
  Transcoder& operator=(const Transcoder&) = delete;

  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Appends the conversion of `input` (after any bytes held back from the
  // previous piece) to `output`. A byte that is no character of the source
  // encoding becomes `replacement` and counts as invalid. With `last`,
  // bytes of an unfinished character are invalid too.
  void Convert(std::string_view input, std::string& output, bool last, std::string_view replacement);
  // How many invalid bytes were met so far.
  std::size_t InvalidBytes() const { return invalid_; }

 private:
  iconv_t handle_;
  std::string pending_;
  std::size_t invalid_ = 0;
};

// One piece of text converted whole; invalid bytes replaced.
std::string TranscodeText(std::string_view text, const char* to, const char* from, std::string_view replacement);

}  // namespace transref
