// Writing small drawings and reading converted ones back in the tests: tags,
// entities by handle, and the DXF reference's arbitrary-axis algorithm
// written out once more, independently of the engine's.
#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "AddedDirections.h"
#include "CLocaleText.h"
#include "TestFiles.h"

namespace transref::test {

// A change of central meridian: "Gauß-Krüger (Customizado)" with CM 51° W
// to "UTM" with CM 45° W, both on GRS80, identity parameters.
inline ConversionJob ZoneChangeJob(const std::string& in, const std::string& out, FileKind outputKind = FileKind::Dxf) {
  ConversionJob job = testing::StandardJob(in, out, FileKind::Dxf, outputKind);
  job.isogonal = {};
  job.isogonal.scale = 1.0;
  job.isIdentity = true;
  job.input = testing::PlainSide(CoordinateSystemKind::GaussKrugerCustom, "Gauß-Krüger (Customizado)");
  job.input.falseEasting = 200000;
  job.input.falseNorthing = 5000000;
  job.input.scaleFactor = 1.0;
  job.input.centralMeridian = -51;
  job.output = testing::PlainSide(CoordinateSystemKind::Utm, "UTM");
  job.output.falseEasting = 500000;
  job.output.falseNorthing = 10000000;
  job.output.scaleFactor = 0.9996;
  job.output.centralMeridian = -45;
  return job;
}


// Builds drawing text: right-aligned codes, numbers in their shortest form.
struct DrawingText {
  std::string text;
  DrawingText& Tag(int code, const std::string& value) {
    std::string c = std::to_string(code);
    while (c.size() < 3) c.insert(c.begin(), ' ');
    text += c + "\n" + value + "\n";
    return *this;
  }
  DrawingText& Tag(int code, double value) {
    char digits[64];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return Tag(code, std::string(digits, end));
  }
  DrawingText& Tag(int code, const char* value) { return Tag(code, std::string(value)); }
  DrawingText& Point(int xCode, double x, double y) { return Tag(xCode, x).Tag(xCode + 10, y); }
  DrawingText& Point(int xCode, double x, double y, double z) { return Point(xCode, x, y).Tag(xCode + 20, z); }
};

struct ReadTag {
  int code;
  std::string value;
};

inline std::vector<ReadTag> ReadTags(const std::string& text) {
  std::vector<ReadTag> tags;
  std::size_t at = 0;
  auto line = [&](std::string& out) {
    const std::size_t end = text.find('\n', at);
    out = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!out.empty() && out.back() == '\r') out.pop_back();
    at = end == std::string::npos ? text.size() : end + 1;
  };
  while (at < text.size()) {
    std::string code, value;
    line(code);
    line(value);
    std::size_t first = code.find_first_not_of(' ');
    int number = -1;
    if (first != std::string::npos) std::from_chars(code.data() + first, code.data() + code.size(), number);
    tags.push_back({number, value});
  }
  return tags;
}

// One entity: its tags from its code 0 to the next.
struct ReadEntity {
  std::string type;
  std::vector<ReadTag> tags;
  // The n-th value of a code (0-based), as a number; `fallback` when absent.
  double Get(int code, int n = 0, double fallback = 0.0) const {
    for (const ReadTag& t : tags) {
      if (t.code == code && n-- == 0) return Number(t.value);
    }
    return fallback;
  }
  std::string Text(int code, int n = 0) const {
    for (const ReadTag& t : tags) {
      if (t.code == code && n-- == 0) return t.value;
    }
    return "";
  }
  int Count(int code) const {
    int n = 0;
    for (const ReadTag& t : tags) n += t.code == code;
    return n;
  }
};

// The entities of a section, or those of one block of the BLOCKS section.
inline std::vector<ReadEntity> EntitiesOf(const std::vector<ReadTag>& tags, const std::string& section,
                                          const std::string& block = "") {
  std::vector<ReadEntity> entities;
  std::string current;
  for (std::size_t k = 0; k < tags.size(); ++k) {
    const ReadTag& t = tags[k];
    if (t.code == 0 && t.value == "ENDSEC") current.clear();
    if (t.code == 2 && k > 0 && tags[k - 1].code == 0 && tags[k - 1].value == "SECTION") {
      current = t.value;
      continue;
    }
    if (current != section) continue;
    if (t.code == 0) entities.push_back({t.value, {}});
    if (!entities.empty()) entities.back().tags.push_back(t);
  }
  if (block.empty()) return entities;
  std::vector<ReadEntity> content;
  bool inside = false;
  for (const ReadEntity& e : entities) {
    if (e.type == "BLOCK") inside = e.Text(2) == block;
    else if (e.type == "ENDBLK") inside = false;
    else if (inside) content.push_back(e);
  }
  return content;
}

inline const ReadEntity* ByHandle(const std::vector<ReadEntity>& entities, const std::string& handle) {
  for (const ReadEntity& e : entities) {
    if (e.Text(5) == handle) return &e;
  }
  return nullptr;
}

struct Xyz {
  double x = 0, y = 0, z = 0;
};

// The DXF reference's arbitrary-axis algorithm: the axes of the object
// coordinate system of extrusion n.
inline void ObjectAxes(Xyz n, Xyz& ax, Xyz& ay) {
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  n = {n.x / length, n.y / length, n.z / length};
  auto cross = [](Xyz a, Xyz b) { return Xyz{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; };
  auto unit = [](Xyz a) {
    const double l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return Xyz{a.x / l, a.y / l, a.z / l};
  };
  ax = std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64 ? unit(cross({0, 1, 0}, n)) : unit(cross({0, 0, 1}, n));
  ay = unit(cross(n, ax));
}

inline Xyz ObjectToWorld(Xyz p, Xyz n) {
  Xyz ax, ay;
  ObjectAxes(n, ax, ay);
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  n = {n.x / length, n.y / length, n.z / length};
  return {p.x * ax.x + p.y * ay.x + p.z * n.x, p.x * ax.y + p.y * ay.y + p.z * n.y,
          p.x * ax.z + p.y * ay.z + p.z * n.z};
}

inline Xyz WorldToObject(Xyz p, Xyz n) {
  Xyz ax, ay;
  ObjectAxes(n, ax, ay);
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  n = {n.x / length, n.y / length, n.z / length};
  return {p.x * ax.x + p.y * ax.y + p.z * ax.z, p.x * ay.x + p.y * ay.y + p.z * ay.z, p.x * n.x + p.y * n.y + p.z * n.z};
}

}  // namespace transref::test
