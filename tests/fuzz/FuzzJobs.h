// Jobs and scratch files for the fuzz targets: a job is chosen by a few
// bytes of the input, its sides filled from the system table exactly as the
// window fills them, and files live in a private folder of the process
// (in memory where /dev/shm exists).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "conversion/ConversionJob.h"
#include "conversion/Progress.h"
#include "geodesy/CoordinateSystems.h"
#include "geodesy/ParameterSets.h"
#include "support/Numbers.h"

namespace transref::fuzz {

// A side of the given system with the window's defaults: the system's scale
// factor, default central meridian (west), southern hemisphere, default
// false origin; GRS80 unless the system locks Hayford 1924.
inline JobSide DefaultSide(CoordinateSystemKind system) {
  const CoordinateSystemInfo& info = SystemInfo(system);
  JobSide side;
  side.system = system;
  side.systemLabel = std::string(info.label);
  const ReferenceFrame frame = info.lockedFrame.value_or(ReferenceFrame::Grs80);
  side.semiMajorAxis = FrameInfo(frame).semiMajorAxis;
  side.inverseFlattening = FrameInfo(frame).inverseFlattening;
  side.northern = false;
  if (IsProjected(system)) {
    side.scaleFactor = info.scaleFactor;
    side.centralMeridian = -ParseCentralMeridianEntry(info.defaultMeridianEntry);
    side.falseEasting = static_cast<double>(ToNumber(info.falseEasting));
    side.falseNorthing = static_cast<double>(ToNumber(DefaultFalseNorthing(system, false)));
  }
  return side;
}

// One of the ten systems, from a byte.
inline CoordinateSystemKind SystemFromByte(std::uint8_t byte) {
  return static_cast<CoordinateSystemKind>(byte % 10);
}

// A private folder for the process's scratch files, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    path_ = base / ("transref-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(std::string_view name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A progress sink that checks what the driver reports: positions never go
// back nor beyond the input's size, and the run ends what it began.
class CheckingProgress : public ProgressSink {
 public:
  void Begin(std::int64_t total) override { total_ = total, last_ = 0, begun_ = true; }
  void Show() override {}
  void Step(std::int64_t position) override {
    if (position < last_ || position > total_) stepsOutOfOrder_ = true;
    last_ = position;
  }
  void End() override { ended_ = true; }
  void SetStage(std::string_view) override {}
  void SetLabel(std::string_view) override {}
  void SetRemainingTime(std::string_view) override {}

  bool Consistent() const { return !stepsOutOfOrder_ && (!begun_ || ended_); }

 private:
  std::int64_t total_ = 0, last_ = 0;
  bool begun_ = false, ended_ = false, stepsOutOfOrder_ = false;
};

}  // namespace transref::fuzz
