#include "conversion/dxf/DxfPointFile.h"

#include <charconv>

#include "conversion/lists/DelimitedLayout.h"

namespace transref::dxf {
namespace {

constexpr int kTypeCode = 0;
constexpr int kHandleCode = 5;
constexpr int kLayerCode = 8;

constexpr std::string_view kPointTypes[] = {"POINT", "INSERT", "LINE", "LWPOLYLINE", "VERTEX", "3DFACE", "CIRCLE"};
constexpr std::string_view kLineEnd = "\r\n";

// A layer name as UTF-8: drawings before AutoCAD 2007 write Windows-1252.
std::string TextAsUtf8(std::string_view text) { return DecodeToUtf8(text, DetectTextFormat(text).encoding); }

}  // namespace

bool TakesDrawingPoints(FileKind outputKind) { return outputKind == FileKind::Delimited || IsMap(outputKind); }

DrawingPointWriter::DrawingPointWriter(const ConversionJob& job)
    : map_(IsMap(job.outputKind)), mapWriter_(job.outputKind) {
  layout_.separator = job.delimited.separator.value_or(';');
  layout_.decimalMark = layout_.separator == ',' || layout_.separator == kBlankSeparator ? '.' : ',';
  layout_.header = job.delimited.header.value_or(true);
  layout_.encoding = TextEncoding::Utf8Bom;
  layout_.lineEnd = LineEnd::CrLf;
  writing_.layout = &layout_;
  writing_.outputSystem = job.output.system;
  writing_.geometricHeight = job.output.heightKind == HeightKind::Geometric;
  writing_.sexagesimal = job.delimited.sexagesimalOutput;
}

void DrawingPointWriter::AppendStart(std::string& out) {
  if (map_) {
    mapWriter_.AppendStart(out);
    return;
  }
  out.append(ByteOrderMark(layout_.encoding));
  if (!layout_.header) return;
  const char separator = layout_.separator;
  out += "Ponto";
  for (const ColumnRole role : {ColumnRole::C1, ColumnRole::C2, ColumnRole::C3}) {
    out += separator;
    out.append(CoordinateHeaderName(role, writing_.outputSystem, writing_.geometricHeight));
  }
  for (const std::string_view name : {"Camada", "Entidade", "Handle"}) {
    out += separator;
    out.append(name);
  }
  out.append(kLineEnd);
}

void DrawingPointWriter::AppendEnd(std::string& out) {
  if (map_) mapWriter_.AppendEnd(out);
}

DrawingPointWriter::Entity DrawingPointWriter::Describe(const Record& record, std::size_t begin,
                                                        std::size_t end) const {
  Entity entity;
  entity.type = record.TrimmedValue(begin);
  for (std::size_t i = begin + 1; i < end; ++i) {
    switch (record[i].code) {
      case kLayerCode: entity.layer = record.TrimmedValue(i); break;
      case kHandleCode: entity.handle = record.TrimmedValue(i); break;
      default: break;
    }
  }
  for (const std::string_view type : kPointTypes) entity.isPoint = entity.isPoint || entity.type == type;
  return entity;
}

std::size_t DrawingPointWriter::AppendRecord(std::string& out, const Record& record,
                                             const std::vector<ListPoint>& points) {
  std::size_t written = 0;
  std::size_t tag = 0, begin = 0, end = 0;
  Entity entity;
  for (const ListPoint& point : points) {
    // The entity whose tags hold the point's X code line.
    while (tag < record.Size() && record[tag].line < point.xCodeLine) ++tag;
    if (tag >= record.Size()) break;  // not among the record's tags: no entity to name
    if (tag >= end) {
      begin = tag;
      while (begin > 0 && record[begin].code != kTypeCode) --begin;
      end = begin + 1;
      while (end < record.Size() && record[end].code != kTypeCode) ++end;
      entity = Describe(record, begin, end);
    }
    if (!entity.isPoint) continue;
    AppendPoint(out, entity, point.values);
    ++written;
  }
  return written;
}

void DrawingPointWriter::AppendPoint(std::string& out, const Entity& entity, const double values[3]) {
  ++number_;
  char number[24];
  const std::string_view name(number, static_cast<std::size_t>(
                                          std::to_chars(number, number + sizeof number, number_).ptr - number));
  const std::string layer = TextAsUtf8(entity.layer);
  if (map_) {
    properties_ = {{"Camada", layer}, {"Entidade", std::string(entity.type)}, {"Handle", std::string(entity.handle)}};
    mapWriter_.AppendPoint(out, MapPoint{name, values[0], values[1], values[2], true, &properties_});
    return;
  }
  const char separator = layout_.separator;
  out.append(name);
  for (int axis = 0; axis < 3; ++axis) {
    out += separator;
    AppendDelimitedCoordinate(out, values[axis], axis, writing_, false);
  }
  for (const std::string_view text : {std::string_view(layer), entity.type, entity.handle}) {
    out += separator;
    AppendDelimitedText(out, text, separator);
  }
  out.append(kLineEnd);
}

}  // namespace transref::dxf
