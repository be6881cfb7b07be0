// A drawing's points as a point file for a spreadsheet or a map: the
// positions a surveyor takes as the drawing's points, numbered from 1 in
// the order of the drawing, each with the layer, type and handle of its
// entity (so that it can be found in the drawing again).
//
// Points are the positions of POINT entities, the insertion points of
// blocks (INSERT: point symbols, often with the point's number as an
// attribute), the vertices of lines and polylines (LINE, LWPOLYLINE, the
// VERTEX entities of a POLYLINE; a polyface face record holds no
// position), the corners of 3DFACE entities (terrain models) and the centres of
// circles. Texts, dimensions, hatches, arcs and the header extents carry
// positions too, but no surveyed point: they are left out.
//
// The delimited file is laid out as a Brazilian spreadsheet opens it: ";"
// (or the separator asked), decimal comma (a point when "," or blanks
// separate), a header row "Ponto;E;N;H;Camada;Entidade;Handle" with the
// coordinate names of the output system (unless no header is asked), UTF-8
// with a byte-order mark and CR LF line ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/dxf/DxfEntity.h"
#include "conversion/dxf/DxfTags.h"
#include "conversion/lists/DelimitedList.h"
#include "conversion/maps/MapOutput.h"

namespace transref::dxf {

// True for an output kind that receives a drawing's points this way (the
// delimited file and the maps; the strict lists keep every coordinate
// group, named by its line).
bool TakesDrawingPoints(FileKind outputKind);

class DrawingPointWriter {
 public:
  explicit DrawingPointWriter(const ConversionJob& job);

  // The text before the first point (byte-order mark and header, or the
  // map's start) and after the last.
  void AppendStart(std::string& out);
  void AppendEnd(std::string& out);
  // The points among `points` (the listed positions of one converted
  // entity record, in line order) that are drawing points. Returns how many
  // were appended.
  std::size_t AppendRecord(std::string& out, const Record& record, const std::vector<ListPoint>& points);

 private:
  // The entity a position belongs to (the tags from its code 0 up to the
  // next code 0).
  struct Entity {
    std::string_view type, layer, handle;
    bool isPoint = false;
  };
  Entity Describe(const Record& record, std::size_t begin, std::size_t end) const;
  void AppendPoint(std::string& out, const Entity& entity, const double values[3]);

  const bool map_;
  DelimitedLayout layout_;
  DelimitedWriting writing_;
  MapWriter mapWriter_;
  std::size_t number_ = 0;
  std::vector<std::pair<std::string, std::string>> properties_;
};

}  // namespace transref::dxf
