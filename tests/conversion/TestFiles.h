// Scratch files and standard jobs for the conversion tests.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/Progress.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/PointChain.h"

namespace transref::testing {

// A directory of its own per test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("transref-conversion-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
    return Path(name);
  }

 private:
  std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Lines split at "\n" (a final line end does not start another line); one
// carriage return before the line feed is dropped when `dropCarriageReturn`.
inline std::vector<std::string> SplitLines(const std::string& text, bool dropCarriageReturn = false) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (dropCarriageReturn && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

inline JobSide GaussKrugerOruHayford() {
  JobSide side;
  side.system = CoordinateSystemKind::GaussKrugerOru;
  side.systemLabel = "Gauß-Krüger (Oru)";
  side.semiMajorAxis = 6378388.0;
  side.inverseFlattening = 297.0;
  side.centralMeridian = -51.0;
  side.northern = false;
  side.falseEasting = 200000.0;
  side.falseNorthing = 5000000.0;
  side.scaleFactor = 1.0;
  side.heightKind = HeightKind::Orthometric;
  return side;
}

inline JobSide LtmOruGrs80() {
  JobSide side;
  side.system = CoordinateSystemKind::LtmOru;
  side.systemLabel = "LTM (Oru)";
  side.semiMajorAxis = 6378137.0;
  side.inverseFlattening = 298.257222101;
  side.centralMeridian = -51.0;
  side.northern = false;
  side.falseEasting = 300000.0;
  side.falseNorthing = 5000000.0;
  side.scaleFactor = 0.999995;
  side.heightKind = HeightKind::Orthometric;
  return side;
}

inline JobSide PlainSide(CoordinateSystemKind system, std::string label) {
  JobSide side = LtmOruGrs80();
  side.system = system;
  side.systemLabel = std::move(label);
  return side;
}

// The window's first run: "Gauß-Krüger (Oru)" on Hayford to "LTM (Oru)" on
// GRS80 with the built-in seven parameters (set B).
inline ConversionJob StandardJob(const std::string& input, const std::string& output, FileKind inputKind,
                                 FileKind outputKind) {
  ConversionJob job;
  job.inputPath = input;
  job.outputPath = output;
  job.inputKind = inputKind;
  job.outputKind = outputKind;
  job.model = TransformationModel::Isogonal;
  job.isogonal = kIsogonalHayfordToGrs80;
  job.isIdentity = false;
  job.input = GaussKrugerOruHayford();
  job.output = LtmOruGrs80();
  return job;
}

// The chain a run of the job carries its points through.
inline PointChain ChainOf(const ConversionJob& job) {
  return PointChain(ToChainSide(job.input), ToChainSide(job.output), BuildJobDatumStep(job), job.altimetry);
}

// Records every call, for checking what a run reports.
class RecordingSink : public ProgressSink {
 public:
  void SetStage(std::string_view caption) override { stages.emplace_back(caption); }
  void SetLabel(std::string_view text) override { label = text; }
  void SetRemainingTime(std::string_view text) override {
    remainingTime = text;
    ++remainingTimeSets;
  }
  void Begin(std::int64_t total) override {
    this->total = total;
    ++begins;
  }
  void Show() override { ++shows; }
  void Step(std::int64_t position) override { steps.push_back(position); }
  void End() override { ++ends; }

  std::vector<std::string> stages;
  std::string label, remainingTime = "unset";
  int remainingTimeSets = 0, begins = 0, shows = 0, ends = 0;
  std::int64_t total = -1;
  std::vector<std::int64_t> steps;
};

}  // namespace transref::testing
