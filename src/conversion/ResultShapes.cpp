#include "conversion/ResultShapes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "conversion/Messages.h"
#include "conversion/dxf/DxfGeometry.h"
#include "conversion/lists/AsciiList.h"
#include "conversion/lists/DelimitedList.h"
#include "support/TextFile.h"

namespace transref {
namespace {

// Chords of a full turn when arcs are drawn as paths.
constexpr int kChordsPerTurn = 72;
constexpr int kMinimumChords = 4;

class ListReader final : public ResultReader {
 public:
  explicit ListReader(FileKind kind) : kind_(kind) {}
  bool Read(dxf::LineSource& lines, ResultShapes& shapes, std::string&) override {
    int lineNumber = 0;
    std::string_view line;
    while (!lines.AtEnd()) {
      const TextFile::LineRead read = lines.ReadLine(line);
      ++lineNumber;
      if (lineNumber == 1 && line.starts_with(dxf::kByteOrderMark)) line.remove_prefix(dxf::kByteOrderMark.size());
      if (read == TextFile::LineRead::TooLong) {
        ++shapes.unreadLines;
        continue;
      }
      if (IsBlankLine(line)) continue;
      const ParsedLine parsed = ParsePointLine(line, kind_, lineNumber);
      if (!parsed.record) {
        ++shapes.unreadLines;
        continue;
      }
      shapes.marks.push_back({{parsed.record->c1, parsed.record->c2}, parsed.record->id, true, {}});
    }
    return true;
  }

 private:
  FileKind kind_;
};

std::optional<double> Number(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// One entity's values as the picture needs them.
struct Entity {
  std::string type;
  struct Vertex {
    dxf::Vec3 at;
    double bulge = 0.0;
  };
  std::vector<Vertex> vertices;  // 10/20/30 in order (LWPOLYLINE: one per 10)
  dxf::Vec3 second;              // 11/21/31 (LINE's end)
  bool hasSecond = false;
  double radius = 0.0, start = 0.0, end = 360.0, elevation = 0.0;
  int flags = 0;
  dxf::Vec3 extrusion{0.0, 0.0, 1.0};

  void Clear(std::string_view newType) {
    type.assign(newType);
    vertices.clear();
    hasSecond = false;
    radius = elevation = 0.0;
    start = 0.0;
    end = 360.0;
    flags = 0;
    extrusion = {0.0, 0.0, 1.0};
  }
  void Take(int code, std::string_view value) {
    const std::optional<double> v = Number(value);
    if (!v) return;
    switch (code) {
      case 10: vertices.push_back({{*v, 0.0, elevation}, 0.0}); break;
      case 20: if (!vertices.empty()) vertices.back().at.y = *v; break;
      case 30: if (!vertices.empty()) vertices.back().at.z = *v; break;
      case 11: second.x = *v; hasSecond = true; break;
      case 21: second.y = *v; break;
      case 31: second.z = *v; break;
      case 38: elevation = *v; break;
      case 40: radius = *v; break;
      case 42: if (!vertices.empty()) vertices.back().bulge = *v; break;
      case 50: start = *v; break;
      case 51: end = *v; break;
      case 70: flags = std::fabs(*v) < 65536.0 ? static_cast<int>(*v) : 0; break;  // a 16-bit flag word
      case 210: extrusion.x = *v; break;
      case 220: extrusion.y = *v; break;
      case 230: extrusion.z = *v; break;
      default: break;
    }
  }
};

PlanePoint Plane(const dxf::Ocs& ocs, dxf::Vec3 p) {
  const dxf::Vec3 w = ocs.ToWorld(p);
  return {w.x, w.y};
}

// Appends the arc of a circle (OCS centre, radius, angles in radians,
// counter-clockwise from `from` through `sweep`), its start included.
void AppendArc(ResultPath& path, const dxf::Ocs& ocs, dxf::Vec3 centre, double radius, double from, double sweep) {
  const int chords = std::max(kMinimumChords, static_cast<int>(std::ceil(std::fabs(sweep) / (2 * std::numbers::pi) *
                                                                         kChordsPerTurn)));
  for (int k = 0; k <= chords; ++k) {
    const double a = from + sweep * k / chords;
    path.vertices.push_back(Plane(ocs, {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a), centre.z}));
  }
}

// A polyline's vertices, each bulged segment (bulge = tan(sweep / 4)) as
// chords of its arc.
ResultPath PolylinePath(const std::vector<Entity::Vertex>& vertices, bool closed, const dxf::Ocs& ocs) {
  ResultPath path;
  path.closed = closed;
  const std::size_t n = vertices.size();
  for (std::size_t k = 0; k < n; ++k) {
    const Entity::Vertex& a = vertices[k];
    const bool last = k + 1 == n;
    if (a.bulge == 0.0 || (last && !closed)) {
      path.vertices.push_back(Plane(ocs, a.at));
      continue;
    }
    const dxf::Vec3 b = vertices[last ? 0 : k + 1].at;
    const double chord = std::hypot(b.x - a.at.x, b.y - a.at.y);
    if (chord == 0.0) {
      path.vertices.push_back(Plane(ocs, a.at));
      continue;
    }
    const double sweep = 4.0 * std::atan(a.bulge);
    const double radius = chord / (2.0 * std::sin(sweep / 2.0));
    // The centre lies on the chord's perpendicular bisector.
    const double mx = (a.at.x + b.x) / 2, my = (a.at.y + b.y) / 2;
    const double offset = radius * std::cos(sweep / 2.0);
    const double ux = -(b.y - a.at.y) / chord, uy = (b.x - a.at.x) / chord;
    const dxf::Vec3 centre{mx + offset * ux, my + offset * uy, a.at.z};
    const double from = std::atan2(a.at.y - centre.y, a.at.x - centre.x);
    AppendArc(path, ocs, centre, std::fabs(radius), from, sweep);
    path.vertices.pop_back();  // the next vertex starts the next segment
    if (last) path.vertices.push_back(path.vertices.front());
  }
  if (closed && !path.vertices.empty() && vertices.back().bulge != 0.0) path.closed = false;
  return path;
}

class DrawingReader final : public ResultReader {
 public:
  bool Read(dxf::LineSource& lines, ResultShapes& shapes, std::string& problem) override {
    bool sawEntities = false, inEntities = false, expectSectionName = false;
    std::string_view codeLine, valueLine;
    std::string codeText;
    while (!lines.AtEnd()) {
      lines.ReadLine(codeLine);
      codeText.assign(codeLine);  // the next read invalidates the view
      if (lines.AtEnd()) break;
      lines.ReadLine(valueLine);
      const int code = dxf::GroupCodeOf(codeText);
      if (code == 0) {
        const std::string_view value = Trim(valueLine);
        if (inEntities) Finish(shapes);
        expectSectionName = value == "SECTION";
        if (value == "ENDSEC" && inEntities) {
          FinishPolyline(shapes);
          inEntities = false;
        }
        if (inEntities) StartEntity(value, shapes);
        continue;
      }
      if (code == 2 && expectSectionName) {
        inEntities = Trim(valueLine) == "ENTITIES";
        sawEntities |= inEntities;
        expectSectionName = false;
        entity_.Clear("");
        continue;
      }
      if (inEntities) Current().Take(code, valueLine);
    }
    if (inEntities) {
      Finish(shapes);
      FinishPolyline(shapes);
    }
    if (!sawEntities) problem = std::string(kNoEntitiesError);
    return sawEntities;
  }

 private:
  static std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  }

  // A VERTEX adds to its POLYLINE; everything else starts an entity.
  Entity& Current() { return inVertex_ ? vertex_ : entity_; }

  void StartEntity(std::string_view type, ResultShapes& shapes) {
    if (type == "VERTEX" && entity_.type == "POLYLINE") {
      inVertex_ = true;
      vertex_.Clear(type);
      return;
    }
    if (type == "ATTRIB") {
      entity_.Clear("");  // an INSERT's attribute belongs to it
      return;
    }
    if (type == "SEQEND") {
      inVertex_ = false;
      return;  // the polyline ends when the next entity starts
    }
    FinishPolyline(shapes);
    entity_.Clear(type);
    ++shapes.entityCount;
  }

  // A finished VERTEX joins its polyline (a mesh's face records, which
  // only index vertices, do not).
  void Finish(ResultShapes& shapes) {
    if (inVertex_) {
      constexpr int kFaceRecord = 128, kMeshVertex = 64;
      if (!vertex_.vertices.empty() && !((vertex_.flags & kFaceRecord) && !(vertex_.flags & kMeshVertex))) {
        polylineVertices_.push_back(vertex_.vertices.front());
      }
      vertex_.Clear("");
      return;
    }
    if (entity_.type == "POLYLINE") return;  // its vertices follow
    Emit(shapes);
    entity_.Clear("");
  }

  void FinishPolyline(ResultShapes& shapes) {
    if (entity_.type != "POLYLINE") return;
    constexpr int kClosed = 1, kMesh = 16, kPolyface = 64;
    const dxf::Ocs ocs(entity_.extrusion);
    if (entity_.flags & (kMesh | kPolyface)) {
      for (const auto& v : polylineVertices_) shapes.marks.push_back({Plane(dxf::Ocs(), v.at), 0, false, {}});
    } else if (!polylineVertices_.empty()) {
      const bool threeD = (entity_.flags & 8) != 0;  // 3D polylines are in world coordinates
      shapes.paths.push_back(PolylinePath(polylineVertices_, entity_.flags & kClosed, threeD ? dxf::Ocs() : ocs));
    }
    polylineVertices_.clear();
    entity_.Clear("");
    inVertex_ = false;
  }

  void Emit(ResultShapes& shapes) {
    const Entity& e = entity_;
    if (e.type.empty() || e.type == "SEQEND") return;
    const dxf::Ocs ocs(e.extrusion);
    if (e.type == "LINE") {
      if (e.vertices.empty() || !e.hasSecond) return;
      shapes.paths.push_back({{{e.vertices[0].at.x, e.vertices[0].at.y}, {e.second.x, e.second.y}}, false});
    } else if (e.type == "LWPOLYLINE") {
      if (!e.vertices.empty()) shapes.paths.push_back(PolylinePath(e.vertices, e.flags & 1, ocs));
    } else if (e.type == "CIRCLE" || e.type == "ARC") {
      if (e.vertices.empty() || !(e.radius > 0.0)) return;
      ResultPath path;
      const double kRadians = std::numbers::pi / 180.0;
      double sweep = 2 * std::numbers::pi;
      double from = 0.0;
      if (e.type == "ARC") {
        from = e.start * kRadians;
        sweep = std::fmod(e.end - e.start, 360.0);
        if (sweep <= 0.0) sweep += 360.0;
        sweep *= kRadians;
      }
      AppendArc(path, ocs, e.vertices[0].at, e.radius, from, sweep);
      path.closed = e.type == "CIRCLE";
      shapes.paths.push_back(std::move(path));
    } else if (!e.vertices.empty()) {
      // Other entities: where they are inserted. Entities of the world
      // system (POINT, 3DFACE, SPLINE ...) carry no extrusion; the OCS of
      // the others comes from theirs.
      shapes.marks.push_back({Plane(ocs, e.vertices[0].at), 0, false, {}});
    }
  }

  Entity entity_, vertex_;
  bool inVertex_ = false;
  std::vector<Entity::Vertex> polylineVertices_;
};

// A delimited output: the layout detected as the converter detects it (the
// header names the output system's coordinates), or as the job chose it.
class DelimitedReader final : public ResultReader {
 public:
  explicit DelimitedReader(const ResultFormat& format) : format_(format) {}
  bool Read(dxf::LineSource& lines, ResultShapes& shapes, std::string& problem) override {
    std::vector<std::string> sample;
    std::string start;
    std::string_view line;
    while (sample.size() < DelimitedSource::kSampleLines && !lines.AtEnd()) {
      if (lines.ReadLine(line) == TextFile::LineRead::TooLong) {
        ++shapes.unreadLines;
        continue;
      }
      sample.emplace_back(line);
      start.append(line).push_back('\n');
    }
    const TextFormat textFormat = DetectTextFormat(start);
    if (!sample.empty() && sample.front().starts_with(dxf::kByteOrderMark)) {
      sample.front().erase(0, dxf::kByteOrderMark.size());
    }
    const LayoutDetection detection = DetectLayout(sample, textFormat, format_.system, format_.delimited);
    if (!detection.layout) {
      problem = "O arquivo não pôde ser lido como texto delimitado: " + detection.reason + ".";
      return false;
    }
    layout_ = *detection.layout;
    headerPending_ = layout_.header;
    for (const std::string& taken : sample) Take(taken, shapes);
    while (!lines.AtEnd()) {
      if (lines.ReadLine(line) == TextFile::LineRead::TooLong) {
        ++shapes.unreadLines;
        continue;
      }
      Take(line, shapes);
    }
    return true;
  }

 private:
  void Take(std::string_view line, ResultShapes& shapes) {
    if (IsBlankOrComment(line)) return;
    if (headerPending_) {
      headerPending_ = false;
      return;
    }
    std::string problem, notANumber;
    int expected = 0;
    if (!ReadDelimitedRow(line, layout_, format_.system, row_, problem, notANumber, expected)) {
      ++shapes.unreadLines;
      return;
    }
    ResultMark mark{{row_.values[0], row_.values[1]}, 0, row_.idField >= 0, {}};
    if (mark.hasId) {
      mark.name = DecodeToUtf8(row_.fields[static_cast<std::size_t>(row_.idField)].value, layout_.encoding);
    }
    shapes.marks.push_back(std::move(mark));
  }

  ResultFormat format_;
  DelimitedLayout layout_;
  DelimitedRow row_;
  bool headerPending_ = false;
};

// The text between `open` and `close` from `from` on, and where it ends;
// nothing when either is missing before `limit`.
std::optional<std::string_view> Between(std::string_view text, std::string_view open, std::string_view close,
                                        std::size_t from, std::size_t limit) {
  const std::size_t begin = text.find(open, from);
  if (begin == std::string_view::npos || begin >= limit) return std::nullopt;
  const std::size_t end = text.find(close, begin + open.size());
  if (end == std::string_view::npos || end > limit) return std::nullopt;
  return text.substr(begin + open.size(), end - begin - open.size());
}

// Longitude and latitude at the start of a comma-separated number list.
std::optional<PlanePoint> LongitudeLatitude(std::string_view list) {
  const std::size_t comma = list.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<double> longitude = Number(list.substr(0, comma));
  std::string_view rest = list.substr(comma + 1);
  const std::optional<double> latitude = Number(rest.substr(0, rest.find(',')));
  if (!longitude || !latitude) return std::nullopt;
  return PlanePoint{*longitude, *latitude};
}

std::string XmlText(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i).starts_with(entity)) {
        out += c;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The JSON string starting at the quote at `at` (escapes resolved; a
// surrogate half stands as U+FFFD).
std::string JsonString(std::string_view text, std::size_t at) {
  std::string out;
  for (std::size_t i = at + 1; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    const char e = text[++i];
    switch (e) {
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'u': {
        unsigned code = 0;
        const std::string_view hex = text.substr(i + 1, 4);
        if (hex.size() == 4 && std::from_chars(hex.data(), hex.data() + 4, code, 16).ptr == hex.data() + 4) {
          AppendUtf8(out, code >= 0xD800 && code < 0xE000 ? 0xFFFD : code);
          i += 4;
        }
        break;
      }
      default: out += e;  // \" \\ \/
    }
  }
  return out;
}

// The points of a KML or GeoJSON map: longitude and latitude with the
// point's name ("id" in GeoJSON). The map's text is read whole.
class MapReader final : public ResultReader {
 public:
  explicit MapReader(FileKind kind) : kml_(kind == FileKind::Kml) {}
  bool Read(dxf::LineSource& lines, ResultShapes& shapes, std::string& problem) override {
    std::string text;
    std::string_view line;
    while (!lines.AtEnd()) {
      if (lines.ReadLine(line) != TextFile::LineRead::TooLong) text.append(line).push_back('\n');
    }
    const std::string_view marker = kml_ ? "<Placemark" : "\"Feature\"";
    std::size_t at = text.find(marker);
    const bool any = at != std::string::npos;
    while (at != std::string::npos) {
      const std::size_t next = text.find(marker, at + marker.size());
      const std::size_t limit = next == std::string::npos ? text.size() : next;
      if (std::optional<ResultMark> mark = kml_ ? Placemark(text, at, limit) : Feature(text, at, limit)) {
        shapes.marks.push_back(std::move(*mark));
      } else {
        ++shapes.unreadLines;
      }
      at = next;
    }
    if (!any && text.find(kml_ ? "<kml" : "\"FeatureCollection\"") == std::string::npos) {
      problem = kml_ ? "O arquivo não é um mapa KML." : "O arquivo não é um mapa GeoJSON.";
      return false;
    }
    return true;
  }

 private:
  static std::optional<ResultMark> Placemark(std::string_view text, std::size_t at, std::size_t limit) {
    const std::optional<std::string_view> coordinates = Between(text, "<coordinates>", "</coordinates>", at, limit);
    const std::optional<PlanePoint> point = coordinates ? LongitudeLatitude(*coordinates) : std::nullopt;
    if (!point) return std::nullopt;
    const std::optional<std::string_view> name = Between(text, "<name>", "</name>", at, limit);
    return ResultMark{*point, 0, name.has_value(), name ? XmlText(*name) : std::string()};
  }

  static std::optional<ResultMark> Feature(std::string_view text, std::size_t at, std::size_t limit) {
    const std::size_t geometry = text.find("\"geometry\"", at);
    if (geometry >= limit) return std::nullopt;
    const std::optional<std::string_view> coordinates = Between(text, "[", "]", text.find("\"coordinates\"", geometry), limit);
    const std::optional<PlanePoint> point = coordinates ? LongitudeLatitude(*coordinates) : std::nullopt;
    if (!point) return std::nullopt;
    ResultMark mark{*point, 0, false, {}};
    const std::size_t id = text.find("\"id\"", at);
    if (id < limit) {
      const std::size_t quote = text.find('"', text.find(':', id));
      if (quote < limit) {
        mark.hasId = true;
        mark.name = JsonString(text, quote);
      }
    }
    return mark;
  }

  bool kml_;
};

}  // namespace

void ResultShapes::ComputeBounds() {
  bool first = true;
  auto take = [&](const PlanePoint& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    if (first) {
      minX = maxX = p.x;
      minY = maxY = p.y;
      first = false;
      return;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  };
  for (const ResultMark& mark : marks) take(mark.at);
  for (const ResultPath& path : paths) {
    for (const PlanePoint& p : path.vertices) take(p);
  }
}

std::unique_ptr<ResultReader> ResultReaderFor(FileKind kind, const ResultFormat& format) {
  switch (kind) {
    case FileKind::Ascii3D:
    case FileKind::Ascii2D: return std::make_unique<ListReader>(kind);
    case FileKind::Dxf: return std::make_unique<DrawingReader>();
    case FileKind::Delimited: return std::make_unique<DelimitedReader>(format);
    case FileKind::Kml:
    case FileKind::GeoJson: return std::make_unique<MapReader>(kind);
  }
  return nullptr;
}

std::optional<ResultShapes> ReadResultFile(const std::string& path, FileKind kind, std::string& problem,
                                           const ResultFormat& format) {
  const std::unique_ptr<ResultReader> reader = ResultReaderFor(kind, format);
  if (!reader) {
    problem = "Este tipo de arquivo não pode ser mostrado.";
    return std::nullopt;
  }
  int error = 0;
  const std::unique_ptr<TextFile> file = TextFile::Open(path.c_str(), TextFile::Mode::Read, &error);
  if (!file) {
    problem = OpenFailureMessage(path, error, FileRole::Input);
    return std::nullopt;
  }
  // A delimited file in UTF-16 or with CR line ends is read from its copy.
  std::optional<DelimitedSource> delimited;
  if (kind == FileKind::Delimited) {
    delimited.emplace(*file);
    if (!delimited->Error().empty()) {
      problem = "O arquivo não pôde ser lido: " + delimited->Error() + ".";
      return std::nullopt;
    }
  }
  dxf::FileLineSource lines(delimited ? delimited->Lines() : *file);
  ResultShapes shapes;
  if (!reader->Read(lines, shapes, problem)) return std::nullopt;
  shapes.ComputeBounds();
  return shapes;
}

}  // namespace transref
