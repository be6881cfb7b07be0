// One point typed by hand, carried with the choices of a job: each field
// read (or the Portuguese reason it cannot be), the point carried through
// the same chain a run builds, and the result written by the list writer,
// so that it equals, digit for digit, the line a run writes for that point.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "conversion/ConversionJob.h"
#include "geodesy/PointChain.h"

namespace transref {

// The names of a side's three coordinates: "E", "N", "H" (or "h" for
// geometric heights); "Longitude", "Latitude", "h"/"H"; "X", "Y", "Z".
std::array<std::string_view, 3> CoordinateNames(CoordinateSystemKind system, HeightKind heightKind);

// The list kind whose writer gives the result line of a job: the job's own
// list kind, or the 3D list when the output is not a list.
FileKind ResultLineKind(FileKind outputKind);

// How many values the result line of a job holds: 2 for a 2D list, else 3.
int ResultValueCount(const ConversionJob& job);

// How many of the three fields a point of the job takes: 2 for a 2D list
// input (its height is 0), else 3.
int InputFieldCount(const ConversionJob& job);

struct SinglePointResult {
  std::array<std::optional<double>, 3> input;  // each field as read
  std::array<std::string, 3> reasons;          // why a field is bad; empty when it is good
  std::string reason;                          // why the point as a whole is not converted
  std::optional<std::array<double, 3>> values;  // the carried point
  int valueCount = 3;                           // values the result line holds (2 or 3)
  std::array<std::string, 3> texts;             // each value as the line writes it
  std::array<std::string, 2> sexagesimal;       // geographic output: longitude, latitude
  std::string line;                             // the result line, without its line end

  bool Converted() const { return values.has_value(); }
};

class SinglePointConverter {
 public:
  // Checks the job as a run does and builds its chain once.
  explicit SinglePointConverter(const ConversionJob& job);

  // Why no point of this job can be converted (an invalid ellipsoid, scale
  // factor, meridian or file-kind pair); empty when points can be.
  const std::string& JobProblem() const { return problem_; }
  const ConversionJob& Job() const { return job_; }

  // Reads the fields (geographic longitude and latitude with ReadAngleText,
  // every other field as a list line's coordinate) and carries the point.
  // `id` is the identifier written in the result line.
  SinglePointResult Convert(const std::array<std::string, 3>& fields, std::int32_t id = 1);

 private:
  ConversionJob job_;
  std::string problem_;
  std::optional<PointChain> chain_;
};

}  // namespace transref
