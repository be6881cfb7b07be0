#include "support/TextFile.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/Bytes.h"
#include "support/ErrorLayer.h"
#include "support/Numbers.h"

namespace transref {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

bool WriteAll(int descriptor, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(descriptor, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::unique_ptr<TextFile> TextFile::Open(const char* path, Mode mode, int* error) {
  int ignored = 0;
  int& reason = error ? *error : ignored;
  reason = 0;
  if (path == nullptr || *path == '\0') {
    reason = ENOENT;
    return nullptr;
  }
  const int flags = mode == Mode::Read ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
  int descriptor;
  do {
    descriptor = ::open(path, flags | O_CLOEXEC, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    reason = errno;
    return nullptr;
  }
  // A folder opens for reading on this platform but is no file to read.
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
    reason = EISDIR;
    ::close(descriptor);
    return nullptr;
  }
  return std::unique_ptr<TextFile>(new TextFile(descriptor, mode, true));
}

std::unique_ptr<TextFile> TextFile::FromDescriptor(int descriptor, Mode mode, bool owned) {
  if (descriptor < 0) return nullptr;
  return std::unique_ptr<TextFile>(new TextFile(descriptor, mode, owned));
}

TextFile::TextFile(int descriptor, Mode mode, bool owned) noexcept
    : descriptor_(descriptor), mode_(mode), owned_(owned), buffer_(new (std::nothrow) char[kBufferSize]) {
  if (!buffer_) {
    readError_ = writeError_ = true;
    eof_ = true;
  }
}

TextFile::~TextFile() { Close(); }

bool TextFile::Refill() {
  if (eof_ || closed_ || mode_ != Mode::Read) return false;
  if (end_ == kBufferSize) {
    // Full: keep the unread bytes (the start of a line), drop the rest.
    const std::size_t unread = end_ - begin_;
    if (unread > 0) std::memmove(buffer_.get(), buffer_.get() + begin_, unread);
    bufferOffset_ += static_cast<std::int64_t>(begin_);
    begin_ = 0;
    end_ = unread;
  }
  // Bytes already read stay where they are while there is room after them,
  // so a stream that cannot seek can still be read again from there.
  for (;;) {
    const ssize_t got = ::read(descriptor_, buffer_.get() + end_, kBufferSize - end_);
    if (got > 0) {
      end_ += static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) readError_ = true;
    eof_ = true;
    return false;
  }
}

std::size_t TextFile::ReadBytes(char* destination, std::size_t size) {
  if (mode_ != Mode::Read || closed_ || size == 0) return 0;
  if (begin_ == end_ && !Refill()) return 0;
  const std::size_t take = std::min(size, end_ - begin_);
  std::memcpy(destination, buffer_.get() + begin_, take);
  begin_ += take;
  return take;
}

TextFile::LineRead TextFile::ReadLine(std::string_view& line) {
  line = {};
  if (mode_ != Mode::Read || closed_) return LineRead::End;
  if (begin_ == end_ && !Refill()) return LineRead::End;

  // The usual case: the whole line lies in the buffer and is viewed there.
  // A line that goes on past the bytes read so far is completed in the
  // buffer while it fits there.
  std::size_t searched = begin_;
  for (;;) {
    const char* start = buffer_.get() + begin_;
    if (const void* found = std::memchr(buffer_.get() + searched, kLineFeed, end_ - searched)) {
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      begin_ += length + 1;
      if (length > 0 && start[length - 1] == kCarriageReturn) --length;  // CR LF is one line end
      line = std::string_view(start, length);
      return LineRead::Line;
    }
    if (begin_ == 0 && end_ == kBufferSize) break;  // longer than the buffer
    const std::size_t unread = end_ - begin_;
    if (!Refill()) {
      // The last line, without a line feed.
      line = std::string_view(buffer_.get() + begin_, end_ - begin_);
      begin_ = end_;
      return LineRead::Line;
    }
    searched = begin_ + unread;
  }

  // The line goes on past the buffer: gather it block by block. A line over
  // the bound is consumed through its line end but not kept.
  longLine_.clear();
  bool tooLong = false;
  bool sawLineFeed = false;
  for (;;) {
    const char* block = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* found = std::memchr(block, kLineFeed, available);
    const std::size_t take =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - block) : available;
    // One character beyond the bound may be the CR of a CR LF.
    if (!tooLong && longLine_.size() + take > kMaxLineLength + 1) {
      tooLong = true;
      longLine_.clear();
      longLine_.shrink_to_fit();
    }
    if (!tooLong) longLine_.append(block, take);
    begin_ += take;
    if (found) {
      ++begin_;
      sawLineFeed = true;
      break;
    }
    if (!Refill()) break;
  }
  if (tooLong) return LineRead::TooLong;
  if (sawLineFeed && !longLine_.empty() && longLine_.back() == kCarriageReturn) longLine_.pop_back();
  if (longLine_.size() > kMaxLineLength) {
    longLine_.clear();
    return LineRead::TooLong;
  }
  line = longLine_;
  return LineRead::Line;
}

bool TextFile::AtEnd() {
  if (mode_ != Mode::Read || closed_) return true;
  return begin_ == end_ && !Refill();
}

std::int64_t TextFile::Position() const noexcept {
  if (mode_ == Mode::Read) return bufferOffset_ + static_cast<std::int64_t>(begin_);
  return bufferOffset_ + static_cast<std::int64_t>(end_);
}

bool TextFile::Seek(std::int64_t position) {
  if (closed_ || position < 0) return false;
  if (mode_ == Mode::Read) {
    // Inside the current buffer: move the read point only.
    if (position >= bufferOffset_ &&
        position <= bufferOffset_ + static_cast<std::int64_t>(end_)) {
      begin_ = static_cast<std::size_t>(position - bufferOffset_);
      return true;
    }
  } else if (!Flush()) {
    return false;
  }
  if (::lseek(descriptor_, static_cast<off_t>(position), SEEK_SET) < 0) return false;
  bufferOffset_ = position;
  begin_ = end_ = 0;
  eof_ = !buffer_;
  return true;
}

std::int64_t TextFile::FileLength() {
  if (closed_) return -1;
  if (mode_ == Mode::Write) Flush();
  struct stat status {};
  if (::fstat(descriptor_, &status) != 0) return -1;
  return static_cast<std::int64_t>(status.st_size);
}

bool TextFile::Write(std::string_view text) {
  if (mode_ != Mode::Write || closed_ || writeError_) return false;
  while (!text.empty()) {
    if (end_ == kBufferSize && !Flush()) return false;
    const std::size_t take = std::min(text.size(), kBufferSize - end_);
    std::memcpy(buffer_.get() + end_, text.data(), take);
    end_ += take;
    text.remove_prefix(take);
  }
  return true;
}

bool TextFile::WriteLine(std::string_view text) {
  return Write(text) && Write(std::string_view(&kLineFeed, 1));
}

bool TextFile::WriteLines(std::string_view first, std::string_view second) {
  const std::size_t size = first.size() + second.size() + 2;
  if (mode_ == Mode::Write && !closed_ && !writeError_ && size <= kBufferSize - end_) {
    // The usual case: straight into the buffer.
    char* p = buffer_.get() + end_;
    CopyBytes(p, first.data(), first.size());
    p += first.size();
    *p++ = kLineFeed;
    CopyBytes(p, second.data(), second.size());
    p[second.size()] = kLineFeed;
    end_ += size;
    return true;
  }
  return WriteLine(first) && WriteLine(second);
}

bool TextFile::Printf(const char* format, ...) {
  char small[512];
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  // Numbers written to files always take the point, whatever the locale.
  const int length = VFormatC(small, sizeof small, format, arguments);
  va_end(arguments);
  bool ok = length >= 0;
  if (ok && static_cast<std::size_t>(length) < sizeof small) {
    ok = Write(std::string_view(small, static_cast<std::size_t>(length)));
  } else if (ok) {
    std::vector<char> large(static_cast<std::size_t>(length) + 1);
    VFormatC(large.data(), large.size(), format, again);
    ok = Write(std::string_view(large.data(), static_cast<std::size_t>(length)));
  } else {
    writeError_ = true;
  }
  va_end(again);
  return ok;
}

bool TextFile::Flush() {
  if (mode_ != Mode::Write || closed_) return !writeError_;
  if (writeError_) return false;
  if (end_ > 0) {
    if (!WriteAll(descriptor_, buffer_.get(), end_)) {
      writeError_ = true;
      return false;
    }
    bufferOffset_ += static_cast<std::int64_t>(end_);
    end_ = 0;
  }
  return true;
}

bool TextFile::SyncAndClose() {
  if (closed_) return closeResult_;
  if (mode_ == Mode::Write && Flush() && ::fsync(descriptor_) != 0 && errno != EINVAL) writeError_ = true;
  return Close();
}

bool TextFile::Close() {
  if (closed_) return closeResult_;
  bool ok = true;
  if (mode_ == Mode::Write) ok = Flush() && !writeError_;
  if (owned_ && ::close(descriptor_) != 0 && errno != EINTR) ok = false;
  if (mode_ == Mode::Write && !ok) writeError_ = true;
  closed_ = true;
  closeResult_ = mode_ == Mode::Write ? ok : true;
  return closeResult_;
}

std::unique_ptr<TextFile> TryOpenFile(const char* path, int /*ignored*/, const char* mode) {
  using ZRTPrimitiveSys::ErrorCategory;
  const std::string_view modeText = mode ? mode : "";
  std::unique_ptr<TextFile> file;
  if (modeText == "r" || modeText == "rb" || modeText == "rt")
    file = TextFile::Open(path, TextFile::Mode::Read);
  else if (modeText == "w" || modeText == "wb" || modeText == "wt")
    file = TextFile::Open(path, TextFile::Mode::Write);
  try {
    if (!file) {
      // Bounded like the composed error text; the error layer bounds it again.
      char message[ZRTPrimitiveSys::kErrorTextBufferSize];
      std::snprintf(message, sizeof message, "Arquivo %s é invalido", path ? path : "");
      ZRTPrimitiveSys::CheckCondition(false, "TryOpenFile", message,
                                      ErrorCategory::RuntimeError);
    }
  } catch (const std::exception& error) {
    ZRTPrimitiveSys::ReportError(error);
  }
  return file;
}

}  // namespace transref
