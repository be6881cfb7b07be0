// An output file that is never seen half-written: the bytes go to a new
// temporary file in the output's own folder, which is renamed over the
// output's name only when everything was written. Until then an existing
// output keeps its old content, and a failed or abandoned run leaves no file
// behind.
#pragma once

#include <memory>
#include <string>

#include "support/TextFile.h"

namespace transref {

class ReplacingOutput {
 public:
  // Prepares the output `path`. A regular file (new or existing) is written
  // as a temporary file beside it; an existing file that is no regular file
  // (a device such as /dev/null, a named pipe) is written in place. A link
  // is followed: the file it leads to is replaced, the link stays. An
  // existing file keeps its permissions (and, where allowed, its owner).
  // nullptr when the output cannot be written, with the reason (an errno
  // value: EISDIR for a folder, EACCES for a file or folder that may not be
  // written, ENOENT for a missing folder ...) in `*error`.
  static std::unique_ptr<ReplacingOutput> Open(const std::string& path, int* error);

  // Removes the temporary file unless Commit succeeded.
  ~ReplacingOutput();
  ReplacingOutput(const ReplacingOutput&) = delete;
  ReplacingOutput& operator=(const ReplacingOutput&) = delete;

  TextFile& File() { return *file_; }

  // Writes everything to the disk, closes, and puts the temporary file in
  // place of the output. False on any failure: the temporary file is then
  // removed and an existing output is left exactly as it was.
  bool Commit();

  // The temporary file being written (empty when written in place).
  const std::string& TemporaryPath() const { return temporaryPath_; }

 private:
  ReplacingOutput() = default;
  void Discard() noexcept;

  std::unique_ptr<TextFile> file_;
  std::string finalPath_;
  std::string temporaryPath_;
  int slot_ = -1;  // entry in the list of pending temporary files
  bool committed_ = false;
};

// Removes the temporary files of every output not yet committed. Uses only
// async-signal-safe calls: the batch converter calls it from its handler of
// an interruption (Ctrl+C, a terminal closed, a kill).
void RemovePendingOutputs() noexcept;

}  // namespace transref
