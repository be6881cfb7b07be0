#pragma once

// NTv2 horizontal grids: the header read here (which frames a grid joins,
// whether the file is whole), the shift itself done by PROJ's hgridshift,
// whose results agencies and other programs compare with.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "geodesy/CoordinateSystems.h"

namespace transref {

// What an NTv2 file says about itself.
struct GridHeader {
  std::string sourceName;  // SYSTEM_F (or DATUM_F), blanks trimmed
  std::string targetName;  // SYSTEM_T (or DATUM_T)
  double sourceMajor = 0.0, sourceMinor = 0.0;  // MAJOR_F, MINOR_F (metres)
  double targetMajor = 0.0, targetMinor = 0.0;  // MAJOR_T, MINOR_T
  bool bigEndian = false;
  int subgridCount = 0;
  // The first subgrid's edges, decimal degrees, east and north positive.
  double west = 0.0, east = 0.0, south = 0.0, north = 0.0;
};

// The header of `path`, every subgrid header checked against the file's
// length; or nothing with `problem` set to the Portuguese message naming the
// file and what is wrong (cannot be opened, empty, not NTv2, truncated, a
// subgrid with more nodes than the file holds ...).
struct GridHeaderReading {
  std::optional<GridHeader> header;
  std::string problem;
};
GridHeaderReading ReadGridHeader(const std::string& path);

enum class GridDirection { Forward, Inverse };

// One side of a run as a grid must fit it: its frame and its ellipsoid.
struct GridFrameSide {
  ReferenceFrame frame = ReferenceFrame::Grs80;
  double semiMajorAxis = 0.0;
  double inverseFlattening = 0.0;
};

// Axes of a grid header and of a side agree within this much (metres).
inline constexpr double kGridAxisTolerance = 1.0;

// The direction the grid is applied in: forward when the input fits the
// grid's source and the output its target, else inverse when they fit the
// other way round (forward wins when both do, as with one ellipsoid on both
// sides). A side fits a header side when both axes agree within
// kGridAxisTolerance and, when the header names one of the program's frames
// (FrameFromGridName), that frame is the side's (a custom side is not
// checked by name). Neither way: nothing, `problem` naming the grid's frames
// and axes and the chosen ones.
struct GridFit {
  std::optional<GridDirection> direction;
  std::string problem;
};
GridFit FitGrid(const std::string& path, const GridHeader& header, const GridFrameSide& input,
                const GridFrameSide& output);

// "SAD69_003.gsb (SAD69 → SIRGAS00)", with ", inversa" inside the
// parentheses for the inverse direction: what the summary and the window
// name.
std::string GridDescription(const std::string& path, const GridHeader& header, GridDirection direction);

// The shift of one grid in one direction, opened once per run.
class GridShift {
 public:
  // Nothing, with `problem` set, when PROJ cannot open the grid.
  static std::unique_ptr<GridShift> Open(const std::string& path, GridDirection direction,
                                         std::string& problem);
  ~GridShift();
  GridShift(const GridShift&) = delete;
  GridShift& operator=(const GridShift&) = delete;

  // Moves a longitude and latitude (decimal degrees, east and north
  // positive); false, leaving them unchanged, when the point lies outside
  // every subgrid.
  bool Apply(double& longitude, double& latitude);

 private:
  GridShift() = default;
  struct Proj;
  std::unique_ptr<Proj> proj_;
  GridDirection direction_ = GridDirection::Forward;
};

}  // namespace transref
