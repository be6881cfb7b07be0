#include "support/ReplacingOutput.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace transref {
namespace {

namespace fs = std::filesystem;

// Temporary files not yet committed, kept where a signal handler can reach
// them without allocating: a few fixed slots (a run writes one output).
constexpr int kPendingSlots = 4;
char pendingPaths[kPendingSlots][PATH_MAX];
std::atomic<bool> pendingUsed[kPendingSlots];

// The path is complete before its slot counts as used, so that a handler
// never sees half of it.
int RegisterPending(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int slot = 0; slot < kPendingSlots; ++slot) {
    if (pendingUsed[slot].load()) continue;
    std::memcpy(pendingPaths[slot], path.c_str(), path.size() + 1);
    pendingUsed[slot].store(true);
    return slot;
  }
  return -1;
}

void UnregisterPending(int slot) noexcept {
  if (slot >= 0) pendingUsed[slot].store(false);
}

// The file a path leads to: links followed, so that the link itself stays.
fs::path FinalTarget(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    const fs::path target = fs::weakly_canonical(path, error);
    if (!error) return target;
  }
  return path;
}

// A new, empty file beside `target`, created with the usual permissions
// (0666 less the umask). Its name starts with a dot and names the output.
int CreateTemporary(const fs::path& target, std::string& temporaryPath, int& reason) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = target.parent_path();
  std::string stem = ".";  // built by appending: GCC 12 at -O3 warns falsely on "." + string
  stem += target.filename().string();
  stem += ".transref-" + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const fs::path candidate = folder / (stem + std::to_string(counter.fetch_add(1)));
    int descriptor;
    do {
      descriptor = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor >= 0) {
      temporaryPath = candidate.string();
      return descriptor;
    }
    if (errno != EEXIST) {
      reason = errno;
      return -1;
    }
  }
  reason = EEXIST;
  return -1;
}

}  // namespace

std::unique_ptr<ReplacingOutput> ReplacingOutput::Open(const std::string& path, int* error) {
  int ignored = 0;
  int& reason = error ? *error : ignored;
  reason = 0;
  if (path.empty()) {
    reason = ENOENT;
    return nullptr;
  }
  std::unique_ptr<ReplacingOutput> output(new ReplacingOutput());
  const fs::path target = FinalTarget(path);
  output->finalPath_ = target.string();

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    reason = EISDIR;
    return nullptr;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    // A device or a pipe cannot be replaced by renaming; it is written.
    output->file_ = TextFile::Open(path.c_str(), TextFile::Mode::Write, &reason);
    return output->file_ ? std::move(output) : nullptr;
  }
  // A file its owner protected from writing stays protected, although the
  // folder would let it be replaced.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    reason = errno;
    return nullptr;
  }

  const int descriptor = CreateTemporary(target, output->temporaryPath_, reason);
  if (descriptor < 0) return nullptr;
  output->slot_ = RegisterPending(output->temporaryPath_);
  if (exists) {
    // The new file replaces the old one with its permissions and owner.
    if (::fchmod(descriptor, existing.st_mode & 07777) != 0) {
      // Not fatal: the file keeps the usual permissions.
    }
    if (::fchown(descriptor, existing.st_uid, existing.st_gid) != 0) {
      // Only the superuser may give a file away; others keep their own.
    }
  }
  output->file_ = TextFile::FromDescriptor(descriptor, TextFile::Mode::Write, true);
  if (!output->file_) {
    ::close(descriptor);
    reason = ENOMEM;
    return nullptr;  // the destructor removes the temporary file
  }
  return output;
}

ReplacingOutput::~ReplacingOutput() {
  if (!committed_) Discard();
}

void ReplacingOutput::Discard() noexcept {
  if (file_) file_->Close();
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
  UnregisterPending(slot_);
  slot_ = -1;
}

bool ReplacingOutput::Commit() {
  if (committed_) return true;
  if (temporaryPath_.empty()) {
    committed_ = file_->Close();
    return committed_;
  }
  if (!file_->SyncAndClose() || ::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
    Discard();
    temporaryPath_.clear();
    return false;
  }
  UnregisterPending(slot_);
  slot_ = -1;
  committed_ = true;
  return true;
}

void RemovePendingOutputs() noexcept {
  for (int slot = 0; slot < kPendingSlots; ++slot) {
    if (pendingUsed[slot].load()) ::unlink(pendingPaths[slot]);
  }
}

}  // namespace transref
