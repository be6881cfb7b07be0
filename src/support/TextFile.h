// TextFile: an owned, buffered file for line-oriented reading or writing.
// Binary I/O underneath; line ends are handled by the readers (a carriage
// return before the line feed belongs to the line end).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ZRTPrimitiveSys {
class ZRTStrings;
}

namespace transref {

class TextFile {
 public:
  enum class Mode { Read, Write };

  // Size of the read and write buffers.
  static constexpr std::size_t kBufferSize = std::size_t{1} << 16;
  // Longest line a read takes whole (1 MiB). A longer line is never split or
  // cut: the read says so, and the caller stops naming the line. No list
  // line or drawing value comes near it; the bound keeps memory flat on a
  // file without line ends.
  static constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;

  enum class LineRead {
    Line,     // a line was read (possibly empty)
    End,      // nothing was left to read
    TooLong,  // the line (consumed through its line end) exceeds kMaxLineLength
  };

  // Opens the file; nullptr when it cannot be opened (no report here), with
  // the reason in `*error` (an errno value; EISDIR for a folder) when given.
  // Writing creates the file or empties an existing one.
  static std::unique_ptr<TextFile> Open(const char* path, Mode mode, int* error = nullptr);
  // Reads or writes an open descriptor (standard input, standard output, a
  // file created by the caller). With `owned` the descriptor is closed with
  // the file; otherwise it is only flushed.
  static std::unique_ptr<TextFile> FromDescriptor(int descriptor, Mode mode, bool owned);

  ~TextFile();  // closes
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  Mode GetMode() const noexcept { return mode_; }

  // Reading.
  // Reads the next line whole: the characters up to a line feed or up to the
  // end of the file. The line feed is dropped, as is one carriage return just
  // before it. `line` views the characters until the next call on this file
  // (it is empty for End and TooLong).
  LineRead ReadLine(std::string_view& line);
  // Reads up to `size` bytes as they stand in the file (line ends
  // included); returns how many, 0 at the end.
  std::size_t ReadBytes(char* destination, std::size_t size);
  // True when no character remains to be read.
  bool AtEnd();
  // Byte offset of the next unread byte (reading) or of the next byte to be
  // written (writing).
  std::int64_t Position() const noexcept;
  // Moves to a byte offset (reading: the next read starts there; writing:
  // the buffer is flushed first).  False when the offset cannot be reached.
  // On a stream that cannot seek (a pipe), reading can still go back to
  // the start of the line just read, and to the start of the stream while
  // its first kBufferSize bytes have not all been read.
  bool Seek(std::int64_t position);
  // Length of the file in bytes (pending written bytes included); the
  // position is kept.  -1 when it cannot be determined.
  std::int64_t FileLength();
  // True after a read failure (the file then reads as ended).
  bool HasReadError() const noexcept { return readError_; }

  // Writing.  A failure is remembered (HasWriteError) and later writes are
  // ignored.
  bool Write(std::string_view text);
  bool WriteLine(std::string_view text);  // text followed by "\n"
  // Two lines: first, "\n", second, "\n" (a drawing's code and value).
  bool WriteLines(std::string_view first, std::string_view second);
  bool Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool Flush();
  bool HasWriteError() const noexcept { return writeError_; }

  // Flushes and closes; false when any write, the flush or the close failed.
  // Later calls return the same result.
  bool Close();
  // Flushes, forces the written bytes to the disk and closes (a file about
  // to replace another one); false on any failure.
  bool SyncAndClose();

 private:
  TextFile(int descriptor, Mode mode, bool owned) noexcept;
  // Reads more bytes after those in the buffer; the buffer starts over only
  // when it is full and wholly read, and moves the unread bytes to its front
  // when it is full. False at the end of the file.
  bool Refill();

  int descriptor_;
  Mode mode_;
  bool owned_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;            // next unread byte / unused
  std::size_t end_ = 0;              // end of valid data / bytes pending
  std::int64_t bufferOffset_ = 0;    // file offset of buffer_[0]
  std::string longLine_;             // a line that crosses the end of the buffer
  bool eof_ = false;
  bool readError_ = false;
  bool writeError_ = false;
  bool closed_ = false;
  bool closeResult_ = true;
};

// Opens path with mode "r" or "w".  When the file cannot be opened, reports
// through the error layer (label "TryOpenFile", message "Arquivo %s é
// invalido", category 5; one report, one acknowledgement) and returns null.
// The middle parameter is ignored.
std::unique_ptr<TextFile> TryOpenFile(const char* path, int ignored, const char* mode);
inline std::unique_ptr<TextFile> TryOpenFile(const char* path, const char* mode) {
  return TryOpenFile(path, 0, mode);
}

// Length of the file in bytes; the position is kept.
inline std::int64_t FileLength(TextFile& file) { return file.FileLength(); }

}  // namespace transref
