// What a converted file holds, as plane shapes to be drawn: the points of
// a list with their identifiers; the lines, polylines, arcs and circles of a
// drawing as paths (arcs and bulges as short chords), its other entities as
// their insertion points. Coordinates are the output system's: E and N,
// longitude and latitude, or X and Y.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conversion/FileKind.h"
#include "conversion/dxf/DxfTags.h"
#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"

namespace transref {

struct PlanePoint {
  double x = 0.0, y = 0.0;
};

struct ResultMark {
  PlanePoint at;
  std::int32_t id = 0;
  bool hasId = false;  // a list point; a drawing's insertion point has none
  std::string name;    // a text identifier (delimited files, maps), shown instead of `id`
};

struct ResultPath {
  std::vector<PlanePoint> vertices;
  bool closed = false;
};

struct ResultShapes {
  std::vector<ResultMark> marks;
  std::vector<ResultPath> paths;
  std::size_t entityCount = 0;     // entities of a drawing's ENTITIES section
  std::size_t unreadLines = 0;     // list lines that held no point
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;  // valid when !Empty()

  bool Empty() const { return marks.empty() && paths.empty(); }
  // Widens the bounds to take in every mark and vertex.
  void ComputeBounds();
};

// Reads one kind of output file. New kinds add a reader and a line in
// ResultReaderFor.
class ResultReader {
 public:
  virtual ~ResultReader() = default;
  // False, with `problem` set, when the text is not of the reader's kind.
  virtual bool Read(dxf::LineSource& lines, ResultShapes& shapes, std::string& problem) = 0;
};

// What reading a delimited output needs besides its text: its coordinates
// are the output system's (lengths or angles, decimal or sexagesimal), in
// the columns the input's layout gave them (the output keeps them in place).
struct ResultFormat {
  CoordinateSystemKind system = CoordinateSystemKind::Utm;
  DelimitedOptions delimited{};
};

// The reader of a kind, or nothing for a kind that cannot be pictured.
std::unique_ptr<ResultReader> ResultReaderFor(FileKind kind, const ResultFormat& format = {});

// Opens and reads a converted file; nothing, with `problem` set to a
// Portuguese reason, when it cannot be read.
std::optional<ResultShapes> ReadResultFile(const std::string& path, FileKind kind, std::string& problem,
                                           const ResultFormat& format = {});

}  // namespace transref
