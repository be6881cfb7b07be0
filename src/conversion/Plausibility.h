// Points that convert but cannot be where the chosen systems say: counted
// during a run and told afterwards as warnings (never a silent wrong result).
#pragma once
#include <cstdint>
#include <optional>

#include <array>
#include <string>
#include <vector>

#include "conversion/ConversionJob.h"

namespace transref {

class PlausibilityCheck {
 public:
  explicit PlausibilityCheck(const ConversionJob& job);

  // One converted point: its line, its input and output coordinates.
  void AddPoint(int lineNumber, const double input[3], const double output[3]);
  // The decimal marks of one line's numbers (delimited files).
  void AddDecimalMarks(int lineNumber, bool commaSeen, bool pointSeen);

  // The warnings, each a complete Portuguese text.
  std::vector<std::string> Warnings() const;

  // Degrees between a grid point's meridian and its central meridian
  // (spherical inverse: well within the 6° bound's purpose).
  static double DegreesFromCentralMeridian(const JobSide& side, double easting, double northing);

 private:
  struct Tally {
    std::size_t count = 0;
    std::array<int, 3> lines{};
    void Add(int line) {
      if (count < lines.size()) lines[count] = line;
      ++count;
    }
  };
  enum Check { FarEasting, FarFromMeridianIn, FarFromMeridianOut, OtherHemisphereIn, OtherHemisphereOut, kChecks };

  const ConversionJob& job_;
  bool inputGrid_, outputGrid_;
  std::array<Tally, kChecks> tallies_{};
  Tally commaLines_, pointLines_;
};

// The warning for drawing entities at positions the input grid cannot hold
// (a round trip through it misses by more than 1 m): their count and the
// first lines; nothing when there are none.
std::optional<std::string> OutsideZoneWarning(std::int64_t count, const std::vector<std::int64_t>& lines);

}  // namespace transref
