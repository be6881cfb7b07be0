#include "conversion/lists/Transcoder.h"

#include <cerrno>

namespace transref {

Transcoder::Transcoder(const char* to, const char* from) : handle_(iconv_open(to, from)) {}

Transcoder::~Transcoder() {
  if (Valid()) iconv_close(handle_);
}

void Transcoder::Convert(std::string_view input, std::string& output, bool last, std::string_view replacement) {
  pending_.append(input);
  if (!Valid()) {
    invalid_ += pending_.size();
    pending_.clear();
    return;
  }
  char* in = pending_.data();
  std::size_t inLeft = pending_.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(handle_, &in, &inLeft, &out, &outLeft);
    const int error = errno;
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (done != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) continue;
    if (error == EINVAL && !last) break;  // the rest of a character comes with the next piece
    // An invalid byte (or an unfinished character at the end): replaced.
    output.append(replacement);
    ++invalid_;
    ++in;
    --inLeft;
  }
  pending_.erase(0, pending_.size() - inLeft);
  if (last) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(handle_, nullptr, nullptr, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
  }
}

std::string TranscodeText(std::string_view text, const char* to, const char* from, std::string_view replacement) {
  Transcoder transcoder(to, from);
  std::string output;
  transcoder.Convert(text, output, true, replacement);
  return output;
}

}  // namespace transref
