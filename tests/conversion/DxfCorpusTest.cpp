// The public drawings of the corpus (../shared/dxf-corpus): line for line,
// read back by an independent reader, covered by the role table, and whole
// across a change of central meridian.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <sstream>

#include "CLocaleText.h"
#include "DxfReading.h"
#include "TestFiles.h"
#include "conversion/Driver.h"
#include "conversion/dxf/DxfRoles.h"
#include "support/Numbers.h"

namespace transref {
namespace {

using testing::ReadAll;
using testing::RecordingSink;
using testing::ScratchDir;
using testing::SplitLines;
using testing::StandardJob;
using test::ObjectToWorld;
using test::ZoneChangeJob;
using test::Xyz;

constexpr double kPi = std::numbers::pi;

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(TRANSREF_DXF_CORPUS_DIR)) {
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dxf") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A whole number text (blanks around it allowed).
bool IsNumber(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  double value = 0;
  const char* begin = t.data() + (t[0] == '-' || t[0] == '+' ? 1 : 0);
  const auto parsed = std::from_chars(begin, t.data() + t.size(), value);
  return parsed.ec == std::errc() && parsed.ptr == t.data() + t.size();
}

// Codes whose values are reals (the DXF reference's ranges).
bool IsRealCode(int code) {
  return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
         (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059);
}

// Lines of a drawing up to its EOF line, carriage returns dropped.
std::vector<std::string> DrawingLines(const std::string& text) {
  std::vector<std::string> lines = SplitLines(text, true);
  for (std::size_t k = 0; k + 1 < lines.size(); k += 2) {
    if (Trim(lines[k]) == "0" && Trim(lines[k + 1]) == "EOF") {
      lines.resize(k + 2);
      break;
    }
  }
  return lines;
}

class Corpus : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::is_directory(TRANSREF_DXF_CORPUS_DIR)) << TRANSREF_DXF_CORPUS_DIR;
    files_ = CorpusFiles();
    ASSERT_EQ(files_.size(), 15u);
  }
  std::vector<std::filesystem::path> files_;
};

// The two conversions the corpus goes through: the frames and grids of the
// Brazilian survey (Gauß-Krüger (Oru), Hayford, to LTM (Oru), SIRGAS 2000),
// and a change of central meridian that turns the grid by 3 degrees.
std::vector<ConversionJob> CorpusJobs(const std::string& in, const std::string& out) {
  return {StandardJob(in, out, FileKind::Dxf, FileKind::Dxf), ZoneChangeJob(in, out)};
}

TEST_F(Corpus, EveryDrawingKeepsItsLinesAndChangesOnlyNumbersPlusAddedDirections) {
  ScratchDir dir;
  int added[2] = {0, 0};
  for (const auto& file : files_) {
    for (int j = 0; j < 2; ++j) {
      SCOPED_TRACE(file.filename().string() + (j ? " (zone change)" : ""));
      RecordingSink sink;
      const std::string out = dir.Path(file.filename().string());
      const RunResult result = RunConversion(CorpusJobs(file.string(), out)[j], sink);
      ASSERT_TRUE(result.Succeeded()) << (result.messages.empty() ? "" : result.messages.back().text);
      const std::vector<std::string> input = DrawingLines(ReadAll(file.string()));
      const test::SetAside aside = test::SetAsideAddedDirections(input, SplitLines(ReadAll(out)));
      const std::vector<std::string>& output = aside.lines;
      added[j] += aside.added;
      ASSERT_EQ(output.size(), input.size());
      std::size_t changed = 0;
      for (std::size_t k = 0; k < output.size(); ++k) {
        if (output[k] == input[k]) continue;
        ++changed;
        // Only value lines of real-valued codes change, into numbers with a point.
        ASSERT_EQ(k % 2, 1u) << "line " << k + 1;
        int code = -1;
        const std::string c = Trim(input[k - 1]);
        std::from_chars(c.data(), c.data() + c.size(), code);
        ASSERT_TRUE(IsRealCode(code)) << "line " << k + 1 << " code " << c;
        ASSERT_TRUE(IsNumber(input[k]) && IsNumber(output[k])) << input[k] << " -> " << output[k];
        EXPECT_NE(output[k].find('.'), std::string::npos) << output[k];
      }
      EXPECT_GT(changed, 0u);
      EXPECT_GT(result.pointsWritten, 0);
    }
  }
  // electric.dxf alone has 372 texts without a rotation.
  EXPECT_GT(added[0], 400);
  EXPECT_GT(added[1], 400);
}

TEST_F(Corpus, EveryDrawingReadsBackInAnIndependentReaderWithNoMoreAuditErrors) {
  ScratchDir dir;
  std::string command = std::string(TRANSREF_EZDXF_PYTHON) + " " + TRANSREF_EZDXF_SCRIPT;
  for (const auto& file : files_) {
    for (int j = 0; j < 2; ++j) {
      RecordingSink sink;
      const std::string out = dir.Path(std::to_string(j) + file.filename().string());
      ASSERT_TRUE(RunConversion(CorpusJobs(file.string(), out)[j], sink).Succeeded());
      command += " '" + file.string() + "' '" + out + "'";
    }
  }
  // One interpreter reads the forty-five drawings.
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string report;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) report += buffer;
  ASSERT_EQ(::pclose(pipe), 0) << "python3-ezdxf (scripts/install-deps) must be installed:\n" << report;
  std::istringstream lines(report);
  std::string path, before, after;
  int read = 0;
  while (lines >> path >> before >> after) {
    SCOPED_TRACE(path);
    ++read;
    ASSERT_NE(after, "unreadable");
    ASSERT_NE(before, "unreadable");
    EXPECT_LE(std::stoi(after), std::stoi(before));
  }
  EXPECT_EQ(read, 30) << report;
}

TEST_F(Corpus, EveryEntityTypeHasARowInTheRoleTable) {
  std::set<std::string> types;
  for (const auto& file : files_) {
    const auto tags = test::ReadTags(ReadAll(file.string()));
    for (const char* section : {"ENTITIES", "BLOCKS"}) {
      for (const auto& e : test::EntitiesOf(tags, section)) {
        if (e.type != "BLOCK" && e.type != "ENDBLK" && e.type != "ENDSEC" && e.type != "EOF") types.insert(e.type);
      }
    }
  }
  EXPECT_GE(types.size(), 18u);
  for (const std::string& type : types) EXPECT_NE(dxf::FindRoleRow(type), nullptr) << type;
}

ConversionJob BackJob(const std::string& in, const std::string& out) {
  // LTM (Oru) on GRS80 back to Gauß-Krüger (Oru) on Hayford with set A.
  ConversionJob job = StandardJob(in, out, FileKind::Dxf, FileKind::Dxf);
  std::swap(job.input, job.output);
  job.isogonal = kIsogonalGrs80ToHayford;
  return job;
}

TEST_F(Corpus, SetBThenSetALandsWithinTheResidualOfTheTwoSets) {
  ScratchDir dir;
  double worstNear = 0.0;  // drawings within 250 km of the central meridian
  double worstFar = 0.0;   // points_lines_3d.dxf, 435 km east of it
  for (const auto& file : files_) {
    SCOPED_TRACE(file.filename().string());
    const bool far = file.filename() == "points_lines_3d.dxf";
    RecordingSink sink;
    ASSERT_TRUE(RunConversion(StandardJob(file.string(), dir.Path("there.dxf"), FileKind::Dxf, FileKind::Dxf), sink).Succeeded());
    const RunResult back = RunConversion(BackJob(dir.Path("there.dxf"), dir.Path("back.dxf")), sink);
    ASSERT_TRUE(back.Succeeded()) << (back.messages.empty() ? "" : back.messages.back().text);
    const std::vector<std::string> input = DrawingLines(ReadAll(file.string()));
    const std::vector<std::string> there =
        test::SetAsideAddedDirections(input, SplitLines(ReadAll(dir.Path("there.dxf")))).lines;
    const std::vector<std::string> again =
        test::SetAsideAddedDirections(input, SplitLines(ReadAll(dir.Path("back.dxf")))).lines;
    ASSERT_EQ(again.size(), input.size());
    for (std::size_t k = 0; k < again.size(); ++k) {
      if (there[k] == input[k]) {
        EXPECT_EQ(again[k], input[k]);
        continue;
      }
      double d = std::fabs(test::Number(again[k]) - test::Number(input[k]));
      const std::string code = Trim(input[k - 1]);
      // An angle of 360 that comes back as 0.0000001 is the same direction.
      if (code.size() == 2 && code[0] == '5') d = std::fabs(std::remainder(d, 360.0));
      (far ? worstFar : worstNear) = std::max(far ? worstFar : worstNear, d);
    }
  }
  // Sets A and B were published separately and are not exact inverses. Most
  // drawings hold small coordinates, 200 km west of the central meridian
  // near 45 degrees S; there the chain's round trip leaves up to 0.75 mm,
  // and each pass writes "%0.3lf" (up to 0.5 mm of rounding, twice). Angles,
  // radii and vectors come back within far less (in their own units).
  EXPECT_LT(worstNear, 0.0018);
  // 435 km from the central meridian the truncated Transverse Mercator
  // series of the two grids no longer invert each other: measured 9.3 mm.
  EXPECT_LT(worstFar, 0.0095);
  RecordProperty("worst_residual_near_m", FormatC("%.3g", worstNear));
  RecordProperty("worst_residual_far_m", FormatC("%.3g", worstFar));
}

// ---- Geometry across a change of central meridian ---------------------------

struct Figures {
  double arcEnds = 0, circleSamples = 0, directions = 0, landings = 0, points = 0, bulgeExcess = 0;
  int arcs = 0, circles = 0, directed = 0, implicit = 0, landed = 0, pointsChecked = 0, bulges = 0;
};

Xyz NormalOf(const test::ReadEntity& e) { return {e.Get(210, 0, 0), e.Get(220, 0, 0), e.Get(230, 0, 1)}; }
Xyz PointOf(const test::ReadEntity& e, int code, int n = 0) {
  return {e.Get(code, n), e.Get(code + 10, n), e.Get(code + 20, n)};
}
Xyz Polar(Xyz c, double r, double degrees) {
  return {c.x + r * std::cos(degrees * kPi / 180), c.y + r * std::sin(degrees * kPi / 180), c.z};
}
double Gap(Xyz a, Xyz b) { return std::hypot(a.x - b.x, a.y - b.y); }
double Gap3(Xyz a, Xyz b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }
bool Vertical(Xyz n) { return n.x == 0 && n.y == 0; }

// A vertex of a polyline as read: its OCS point (at the elevation) and bulge.
struct PolyVertex {
  Xyz at;
  double bulge = 0;
};
struct Outline {
  Xyz normal{0, 0, 1};
  bool closed = false;
  std::vector<PolyVertex> vertices;
};

// The vertices of an LWPOLYLINE in the order written.
Outline LightOutline(const test::ReadEntity& e) {
  Outline o;
  o.normal = NormalOf(e);
  o.closed = static_cast<int>(e.Get(70)) & 1;
  const double elevation = e.Get(38);
  for (const test::ReadTag& t : e.tags) {
    if (t.code == 10) o.vertices.push_back({{test::Number(t.value), 0, elevation}, 0});
    if (t.code == 20 && !o.vertices.empty()) o.vertices.back().at.y = test::Number(t.value);
    if (t.code == 42 && !o.vertices.empty()) o.vertices.back().bulge = test::Number(t.value);
  }
  return o;
}

// Compares an outline with its converted twin: every vertex lands where its
// ground does, and the arc of every bulge lies on the carried points of the
// arc as read, within 1 mm plus what a tilted plane's uneven stretch puts
// between a circle and its image (the grid scales the horizontal, heights
// keep their size: a circle of radius R in a plane tilted by t lands on an
// ellipse whose axes differ by R sin^2 t (k - 1)).
void MeasureOutline(const Outline& a, const Outline& b, const std::function<Xyz(Xyz)>& carry, Figures& f) {
  ASSERT_EQ(a.vertices.size(), b.vertices.size());
  const std::size_t n = a.vertices.size();
  for (std::size_t k = 0; k < n; ++k) {
    const Xyz ground = carry(ObjectToWorld(a.vertices[k].at, a.normal));
    f.landings = std::max(f.landings, Gap3(ground, ObjectToWorld(b.vertices[k].at, b.normal)));
    ++f.landed;
  }
  double stretch = 0;
  if (!Vertical(a.normal) && n > 0) {
    Xyz ax, ay;
    test::ObjectAxes(a.normal, ax, ay);
    const Xyz p = ObjectToWorld(a.vertices[0].at, a.normal);
    const Xyz q = carry(p);
    const double kx = Gap3(carry({p.x + ax.x, p.y + ax.y, p.z + ax.z}), q);
    const double ky = Gap3(carry({p.x + ay.x, p.y + ay.y, p.z + ay.z}), q);
    stretch = std::fabs(kx - ky);
  }
  for (std::size_t k = 0; k < n; ++k) {
    const double bulge = a.vertices[k].bulge;
    if (bulge == 0 || (k + 1 == n && !a.closed)) continue;
    const Xyz p0 = a.vertices[k].at, p1 = a.vertices[(k + 1) % n].at;
    const Xyz q0 = b.vertices[k].at, q1 = b.vertices[(k + 1) % n].at;
    // Circle of a bulge: centre at h (1 - b^2) / 2b along the chord's left normal.
    auto circle = [](Xyz s, Xyz e, double bulgeValue, Xyz& centre, double& radius) {
      const double cx = e.x - s.x, cy = e.y - s.y, chord = std::hypot(cx, cy), h = chord / 2;
      const double t = h * (1 - bulgeValue * bulgeValue) / (2 * bulgeValue);
      centre = {s.x + cx / 2 - t * cy / chord, s.y + cy / 2 + t * cx / chord, s.z};
      radius = std::hypot(h, t);
    };
    Xyz c, cOut;
    double r = 0, rOut = 0;
    circle(p0, p1, bulge, c, r);
    circle(q0, q1, b.vertices[k].bulge, cOut, rOut);
    const double start = std::atan2(p0.y - c.y, p0.x - c.x), sweep = 4 * std::atan(bulge);
    double worst = 0;
    for (int j = 1; j < 64; ++j) {
      const double angle = start + sweep * j / 64;
      const Xyz sample = {c.x + r * std::cos(angle), c.y + r * std::sin(angle), p0.z};
      const Xyz landed = test::WorldToObject(carry(ObjectToWorld(sample, a.normal)), b.normal);
      worst = std::max(worst, std::hypot(std::fabs(Gap(landed, cOut) - rOut), landed.z - q0.z));
    }
    f.bulgeExcess = std::max(f.bulgeExcess, worst - stretch * r);
    ++f.bulges;
  }
}

// The direction of an entity as drawn, in world degrees: its rotation 50
// (0 when left out) about its extrusion, or an MTEXT's X-axis vector.
double DrawnDirection(const test::ReadEntity& e) {
  if (e.type == "MTEXT") {
    if (e.Count(11) > 0) return std::atan2(e.Get(21), e.Get(11)) * 180 / kPi;
    return e.Get(50);
  }
  const Xyz d = ObjectToWorld(Polar({0, 0, 0}, 1.0, e.Get(50)), NormalOf(e));
  return std::atan2(d.y, d.x) * 180 / kPi;
}

bool HasDirection(const test::ReadEntity& e) {
  if (e.type == "TEXT" || e.type == "ATTRIB" || e.type == "ATTDEF" || e.type == "INSERT" || e.type == "MTEXT") {
    return true;
  }
  return e.type == "DIMENSION" && (static_cast<int>(e.Get(70)) & 15) == 0;
}

// Compares each model-space entity of a drawing with its converted twin.
void Measure(const std::vector<test::ReadEntity>& in, const std::vector<test::ReadEntity>& out, PointChain& chain,
             Figures& f) {
  const std::function<Xyz(Xyz)> carry = [&](Xyz p) {
    double o[3];
    EXPECT_TRUE(chain.Transform(p.x, p.y, p.z, o));
    return Xyz{o[0], o[1], o[2]};
  };
  ASSERT_EQ(in.size(), out.size());
  Outline polyline, polylineOut;
  bool inPolyline = false, polyline3d = false;
  double polylineZ[2] = {0, 0};
  for (std::size_t k = 0; k < in.size(); ++k) {
    const auto &a = in[k], &b = out[k];
    if (Trim(a.Text(67)) == "1") continue;
    const Xyz na = NormalOf(a), nb = NormalOf(b);
    if (a.type == "POLYLINE") {
      const int flags = static_cast<int>(a.Get(70));
      inPolyline = true;
      polyline3d = flags & (8 | 16 | 64);
      polyline = {na, (flags & 1) != 0, {}};
      polylineOut = {nb, (flags & 1) != 0, {}};
      // A 2D polyline's vertices lie at its elevation.
      polylineZ[0] = a.Get(30);
      polylineZ[1] = b.Get(30);
    } else if (a.type == "VERTEX" && inPolyline) {
      const double z0 = polyline3d ? a.Get(30) : polylineZ[0], z1 = polyline3d ? b.Get(30) : polylineZ[1];
      polyline.vertices.push_back({{a.Get(10), a.Get(20), z0}, a.Get(42)});
      polylineOut.vertices.push_back({{b.Get(10), b.Get(20), z1}, b.Get(42)});
    } else if (a.type == "SEQEND" && inPolyline) {
      inPolyline = false;
      if (polyline3d) {
        for (std::size_t j = 0; j < polyline.vertices.size(); ++j) {
          f.points = std::max(f.points, Gap3(carry(polyline.vertices[j].at), polylineOut.vertices[j].at));
          ++f.pointsChecked;
        }
      } else {
        MeasureOutline(polyline, polylineOut, carry, f);
      }
    } else if (a.type == "LWPOLYLINE") {
      MeasureOutline(LightOutline(a), LightOutline(b), carry, f);
    } else if (a.type == "LINE" || a.type == "POINT") {
      for (int code : {10, 11}) {
        if (code == 11 && a.type == "POINT") continue;
        f.points = std::max(f.points, Gap3(carry(PointOf(a, code)), PointOf(b, code)));
        ++f.pointsChecked;
      }
    } else if (a.type == "ARC") {
      for (int side = 0; side < 2; ++side) {
        const Xyz ground = carry(ObjectToWorld(Polar(PointOf(a, 10), a.Get(40), a.Get(50 + side)), na));
        const Xyz drawn = ObjectToWorld(Polar(PointOf(b, 10), b.Get(40), b.Get(50 + side)), nb);
        f.arcEnds = std::max(f.arcEnds, Gap(ground, drawn));
      }
      ++f.arcs;
    } else if (a.type == "CIRCLE") {
      const Xyz centre = PointOf(b, 10);
      for (int s = 0; s < 8; ++s) {
        const Xyz sample = test::WorldToObject(carry(ObjectToWorld(Polar(PointOf(a, 10), a.Get(40), 45.0 * s), na)), nb);
        f.circleSamples = std::max(f.circleSamples, std::fabs(Gap(sample, centre) - b.Get(40)));
      }
      ++f.circles;
    }
    const bool objectPoint = a.type == "TEXT" || a.type == "ATTRIB" || a.type == "INSERT" || a.type == "CIRCLE";
    if (objectPoint || a.type == "MTEXT") {
      // An insertion point lands where its ground does.
      const Xyz ground = carry(objectPoint ? ObjectToWorld(PointOf(a, 10), na) : PointOf(a, 10));
      f.points = std::max(f.points, Gap3(ground, objectPoint ? ObjectToWorld(PointOf(b, 10), nb) : PointOf(b, 10)));
      ++f.pointsChecked;
    }
    if (HasDirection(a) && Vertical(na)) {
      // Its direction, written or left out, turns as the ground under it.
      const bool world = a.type == "MTEXT" || a.type == "DIMENSION";
      const Xyz at = world ? PointOf(a, 10) : ObjectToWorld(PointOf(a, 10), na);
      const Xyz step = Polar(at, 1.0, DrawnDirection(a));
      const Xyz p = carry(at), q = carry(step);
      const double drawn = DrawnDirection(b) * kPi / 180;
      f.directions = std::max(f.directions, std::fabs(std::remainder(std::atan2(q.y - p.y, q.x - p.x) - drawn, 2 * kPi)));
      ++f.directed;
      if (a.Count(50) == 0 && a.Count(11) == 0) ++f.implicit;
    }
  }
}

// Entities of every kind with a direction, written and left out, in world,
// mirrored and tilted planes, at a real place 50 km west of the central
// meridian near 50 degrees S (R12 layout: no subclasses).
std::string SyntheticDrawing() {
  const double x = 150000, y = 4400000;
  test::DrawingText d;
  d.Tag(0, "SECTION").Tag(2, "ENTITIES");
  d.Tag(0, "TEXT").Tag(8, "0").Point(10, x, y, 0).Tag(40, 2.5).Tag(1, "A");
  d.Tag(0, "TEXT").Tag(8, "0").Point(10, x + 5, y, 0).Tag(40, 2.5).Tag(1, "B").Tag(50, 30.0);
  d.Tag(0, "TEXT").Tag(8, "0").Point(10, -x, y, 0).Tag(40, 2.5).Tag(1, "C").Point(210, 0, 0, -1);
  d.Tag(0, "INSERT").Tag(8, "0").Tag(66, "1").Tag(2, "B").Point(10, x, y + 5, 0);
  d.Tag(0, "ATTRIB").Tag(8, "0").Point(10, x, y + 6, 0).Tag(40, 1.0).Tag(1, "V").Tag(2, "T").Tag(70, "0");
  d.Tag(0, "SEQEND").Tag(8, "0");
  d.Tag(0, "MTEXT").Tag(8, "0").Point(10, x, y + 10, 0).Tag(40, 2.5).Tag(1, "M");
  d.Tag(0, "MTEXT").Tag(8, "0").Point(10, x, y + 12, 0).Tag(40, 2.5).Tag(1, "N").Tag(50, 45.0);
  d.Tag(0, "DIMENSION").Tag(8, "0").Tag(2, "*D1").Point(10, x, y + 20, 0).Point(11, x + 5, y + 21, 0).Tag(70, "0");
  d.Point(13, x, y + 15, 0).Point(14, x + 10, y + 15, 0);
  d.Tag(0, "LWPOLYLINE").Tag(8, "0").Tag(90, "3").Tag(70, "1").Tag(38, 12.0).Point(10, x, y - 10).Tag(42, 0.5);
  d.Point(10, x + 20, y - 10).Tag(42, 2.5).Point(10, x + 20, y - 30);
  d.Tag(0, "POLYLINE").Tag(8, "0").Tag(66, "1").Point(10, 0, 0, 31).Tag(70, "0");
  d.Tag(0, "VERTEX").Tag(8, "0").Point(10, x, y - 40, 0).Tag(42, -1.5);
  d.Tag(0, "VERTEX").Tag(8, "0").Point(10, x + 8, y - 40, 0).Tag(0, "SEQEND").Tag(8, "0");
  // A plane tilted by 19 degrees, its arcs of 3 and 30 m radius.
  const Xyz n{0, 0.33, 0.944};
  const Xyz a = test::WorldToObject({x, y - 60, 40}, n), b = test::WorldToObject({x + 6, y - 60, 40}, n);
  const Xyz c = test::WorldToObject({x + 60, y - 60, 40}, n);
  d.Tag(0, "LWPOLYLINE").Tag(8, "0").Tag(90, "3").Tag(70, "0").Tag(38, a.z).Point(10, a.x, a.y).Tag(42, 3.0);
  d.Point(10, b.x, b.y).Tag(42, 0.8).Point(10, c.x, c.y).Point(210, n.x, n.y, n.z);
  d.Tag(0, "ENDSEC").Tag(0, "EOF");
  return d.text;
}

TEST_F(Corpus, EveryEntityLandsWhereItsGroundDoesAcrossAChangeOfCentralMeridianBothWays) {
  ScratchDir dir;
  Figures all;
  std::vector<std::filesystem::path> drawings = files_;
  drawings.emplace_back(dir.Write("synthetic.dxf", SyntheticDrawing()));
  for (const auto& file : drawings) {
    SCOPED_TRACE(file.filename().string());
    RecordingSink sink;
    // Gauß-Krüger at 51 degrees W to UTM at 45 degrees W, and back.
    const ConversionJob there = ZoneChangeJob(file.string(), dir.Path("zone.dxf"));
    ConversionJob back = ZoneChangeJob(dir.Path("zone.dxf"), dir.Path("back.dxf"));
    std::swap(back.input, back.output);
    for (const ConversionJob& job : {there, back}) {
      const RunResult result = RunConversion(job, sink);
      ASSERT_TRUE(result.Succeeded()) << (result.messages.empty() ? "" : result.messages.back().text);
      PointChain chain = testing::ChainOf(job);
      Measure(test::EntitiesOf(test::ReadTags(ReadAll(job.inputPath)), "ENTITIES"),
              test::EntitiesOf(test::ReadTags(ReadAll(job.outputPath)), "ENTITIES"), chain, all);
    }
  }
  EXPECT_GT(all.arcs, 20);
  EXPECT_GT(all.circles, 80);
  EXPECT_GT(all.directed, 900);
  EXPECT_GT(all.implicit, 400);  // 372 texts of electric.dxf alone (going there: coming back they are written)
  EXPECT_GT(all.landed, 10000);
  EXPECT_GT(all.bulges, 100);
  EXPECT_GT(all.pointsChecked, 500);
  EXPECT_LT(all.points, 0.001);
  EXPECT_LT(all.arcEnds, 0.001);
  EXPECT_LT(all.circleSamples, 0.001);
  EXPECT_LT(all.directions, 1e-4);
  EXPECT_LT(all.landings, 0.001);
  EXPECT_LT(all.bulgeExcess, 0.001);
  RecordProperty("points_m", FormatC("%.3g", all.points));
  RecordProperty("arc_ends_m", FormatC("%.3g", all.arcEnds));
  RecordProperty("circle_samples_m", FormatC("%.3g", all.circleSamples));
  RecordProperty("directions_rad", FormatC("%.3g", all.directions));
  RecordProperty("vertex_landings_m", FormatC("%.3g", all.landings));
  RecordProperty("bulge_samples_beyond_stretch_m", FormatC("%.3g", all.bulgeExcess));
}

}  // namespace
}  // namespace transref
