// DXF drawings: the header extents, the active view and every entity of the
// ENTITIES section (and of the dimension blocks) are converted value by
// value as their role says; every other line is copied as read.
//
// The walk is split into a tag reader (code and value lines with their line
// numbers), an assembler that gathers one record (an entity with its
// vertices or attributes, a table entry, a header variable: never the whole
// drawing), the role table (DxfRoles.h), the converter (DxfEntity.h) and
// the writer (Record::WriteTo).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/Driver.h"
#include "conversion/dxf/DxfTags.h"
#include "conversion/Progress.h"
#include "geodesy/PointChain.h"
#include "support/TextFile.h"

namespace transref {

// The integer written on a group-code line, blanks around it ignored
// ("10", " 10" and "  10" are all 10); nothing when the line is not one.
std::optional<int> ParseGroupCode(std::string_view line);

// A DXF value as the number reader takes it (point as decimal separator,
// leading blanks allowed, nothing after the number, an empty or blank value
// reads as 0); throws std::runtime_error with "%s não é um valor numerico!".
double ReadDxfValue(std::string_view line);

// What a drawing's walk found besides the lines it wrote.
struct DxfFindings {
  // Entities of the ENTITIES section converted (model space; a POLYLINE
  // with its vertices or an INSERT with its attributes is one).
  std::int64_t entities = 0;
  // Directions the drawing left implicit, written because they turned.
  std::int64_t directionsAdded = 0;
  // Entities with a position the input grid's series cannot hold (out of
  // its zone: a round trip through the grid misses by more than 1 m). They
  // are converted as the chain gives them, but no plausible place comes
  // out: their count, and the line of that position in the first
  // kListedOutside of them.
  static constexpr std::size_t kListedOutside = 10;
  std::int64_t outside = 0;
  std::vector<std::int64_t> outsideLines;
  // The plausibility warnings of the converted positions (as a list's).
  std::vector<std::string> warnings;
};

// Walks the drawing from `input` to `output` (a drawing, or a point list
// when job.outputKind is a list kind), stepping `progress` with the input's
// byte position and setting its stage captions. On failure fills `result`
// (status Failed, messages, line number) and returns false; the caller
// closes the files. `findings`, when given, receives what the walk found.
bool ConvertDxf(const ConversionJob& job, PointChain& chain, TextFile& input, TextFile& output,
                ProgressSink& progress, RunResult& result, DxfFindings* findings = nullptr);

// The same walk between any line source and sink: the entry point for
// drawings held in memory (tests, fuzzing).
bool WalkDxf(const ConversionJob& job, PointChain& chain, dxf::LineSource& input, dxf::LineSink& output,
             ProgressSink& progress, RunResult& result, DxfFindings* findings = nullptr);

}  // namespace transref
