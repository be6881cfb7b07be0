// The shapes a converted drawing is pictured with: lines, polylines (with
// bulges and closed), arcs and circles as drawn, other entities at their
// insertion points, in world coordinates (a mirrored OCS included); blocks
// are not the drawing.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>

#include "TestFiles.h"
#include "conversion/Driver.h"
#include "conversion/ResultShapes.h"

namespace transref {
namespace {

std::string Tags(std::initializer_list<std::pair<int, const char*>> tags) {
  std::string text;
  for (const auto& [code, value] : tags) text += std::to_string(code) + "\n" + value + "\n";
  return text;
}

ResultShapes Read(const std::string& drawing) {
  dxf::MemoryLineSource lines(drawing);
  ResultShapes shapes;
  std::string problem;
  EXPECT_TRUE(ResultReaderFor(FileKind::Dxf)->Read(lines, shapes, problem)) << problem;
  shapes.ComputeBounds();
  return shapes;
}

double Degrees(std::string_view text) {
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

bool Near(PlanePoint p, double x, double y) { return std::fabs(p.x - x) < 1e-9 && std::fabs(p.y - y) < 1e-9; }

bool PassesThrough(const ResultPath& path, double x, double y) {
  for (const PlanePoint& p : path.vertices) {
    if (Near(p, x, y)) return true;
  }
  return false;
}

TEST(ResultShapesTest, DrawingEntitiesAsDrawn) {
  const std::string drawing =
      Tags({{0, "SECTION"}, {2, "BLOCKS"}, {0, "LINE"}, {10, "900"}, {20, "900"}, {11, "901"}, {21, "901"},
            {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"},
            {0, "LINE"}, {8, "0"}, {10, "1"}, {20, "2"}, {30, "0"}, {11, "3"}, {21, "4"}, {31, "0"},
            // A semicircle bulge from (0,0) to (10,0): counter-clockwise, so below.
            {0, "LWPOLYLINE"}, {90, "3"}, {70, "1"}, {10, "0"}, {20, "0"}, {42, "1"}, {10, "10"}, {20, "0"},
            {10, "10"}, {20, "10"},
            {0, "ARC"}, {10, "100"}, {20, "100"}, {40, "10"}, {50, "0"}, {51, "90"},
            // Mirrored OCS: centre x -200 in the OCS is x 200 in the world.
            {0, "CIRCLE"}, {10, "-200"}, {20, "0"}, {40, "5"}, {210, "0"}, {220, "0"}, {230, "-1"},
            {0, "POLYLINE"}, {66, "1"}, {70, "0"}, {0, "VERTEX"}, {10, "50"}, {20, "50"}, {0, "VERTEX"},
            {10, "60"}, {20, "50"}, {0, "SEQEND"},
            {0, "INSERT"}, {2, "BLOCO"}, {10, "7"}, {20, "8"}, {66, "1"}, {0, "ATTRIB"}, {10, "70"}, {20, "80"},
            {0, "SEQEND"},
            {0, "TEXT"}, {10, "-5"}, {20, "-6"}, {1, "texto"},
            {0, "ENDSEC"}, {0, "EOF"}});
  const ResultShapes shapes = Read(drawing);
  EXPECT_EQ(shapes.entityCount, 7u);  // LINE LWPOLYLINE ARC CIRCLE POLYLINE INSERT TEXT
  ASSERT_EQ(shapes.paths.size(), 5u);
  EXPECT_EQ(shapes.paths[0].vertices.size(), 2u);
  EXPECT_TRUE(Near(shapes.paths[0].vertices[1], 3, 4));
  EXPECT_TRUE(PassesThrough(shapes.paths[1], 5, -5));
  EXPECT_TRUE(Near(shapes.paths[1].vertices.front(), 0, 0));
  EXPECT_TRUE(shapes.paths[1].closed);
  EXPECT_TRUE(Near(shapes.paths[2].vertices.front(), 110, 100));
  EXPECT_TRUE(Near(shapes.paths[2].vertices.back(), 100, 110));
  EXPECT_TRUE(PassesThrough(shapes.paths[3], 205, 0));
  EXPECT_TRUE(PassesThrough(shapes.paths[3], 195, 0));
  EXPECT_EQ(shapes.paths[4].vertices.size(), 2u);
  EXPECT_TRUE(Near(shapes.paths[4].vertices[1], 60, 50));
  ASSERT_EQ(shapes.marks.size(), 2u);
  EXPECT_TRUE(Near(shapes.marks[0].at, 7, 8));
  EXPECT_TRUE(Near(shapes.marks[1].at, -5, -6));
  EXPECT_FALSE(shapes.marks[0].hasId);
  EXPECT_DOUBLE_EQ(shapes.maxX, 205.0);
  EXPECT_DOUBLE_EQ(shapes.minY, -6.0);
}

TEST(ResultShapesTest, ListPointsWithTheirIdentifiers) {
  dxf::MemoryLineSource lines("\xEF\xBB\xBF" "7 512.5 98.25 1\n\nx y\n-3 1,5 2 0\n");
  ResultShapes shapes;
  std::string problem;
  ASSERT_TRUE(ResultReaderFor(FileKind::Ascii3D)->Read(lines, shapes, problem));
  ASSERT_EQ(shapes.marks.size(), 2u);
  EXPECT_EQ(shapes.marks[0].id, 7);
  EXPECT_TRUE(Near(shapes.marks[1].at, 1.5, 2));
  EXPECT_EQ(shapes.unreadLines, 1u);
}

TEST(ResultShapesTest, TextWithoutEntitiesIsNoDrawing) {
  dxf::MemoryLineSource lines("1 2 3 4\n");
  ResultShapes shapes;
  std::string problem;
  EXPECT_FALSE(ResultReaderFor(FileKind::Dxf)->Read(lines, shapes, problem));
  EXPECT_FALSE(problem.empty());
}

// Every point file the converter writes reads back to the points it was
// given: geographic GRS80 to itself only changes the format, so the marks
// are the input's own longitudes, latitudes and text IDs.
TEST(ResultShapesTest, WrittenPointFilesReadBackToTheirPoints) {
  testing::ScratchDir dir;
  struct Point {
    const char* id;
    const char *lon, *lat;
  };
  const Point points[] = {{"M-01", "-51.2084722222", "-30.0541666667"}, {"P<2>&x", "-49.5", "-25.25"},
                          {"Ç-3", "-60.1", "2.75"}};
  std::string header = "Ponto;Longitude;Latitude;h\n", plain;
  for (const Point& p : points) {
    header += std::string(p.id) + ";" + p.lon + ";" + p.lat + ";12.5\n";
    plain += std::string(p.id) + ";" + p.lat + ";" + p.lon + ";12.5\n";
  }
  const std::string withHeader = dir.Write("cabecalho.csv", header);
  const std::string latFirst = dir.Write("lat-lon.csv", plain);
  const std::vector<ColumnRole> idLatLon = {ColumnRole::Id, ColumnRole::C2, ColumnRole::C1, ColumnRole::C3};
  const struct {
    const char* name;
    std::string input;
    FileKind kind;
    bool sexagesimal;
    std::vector<ColumnRole> columns;
  } cases[] = {
      {"delimited", withHeader, FileKind::Delimited, false, {}},
      {"delimited sexagesimal", withHeader, FileKind::Delimited, true, {}},
      {"delimited, chosen columns", latFirst, FileKind::Delimited, false, idLatLon},
      {"kml", withHeader, FileKind::Kml, false, {}},
      {"geojson", withHeader, FileKind::GeoJson, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConversionJob job;
    job.inputPath = c.input;
    job.outputPath = dir.Path("saida");
    job.inputKind = FileKind::Delimited;
    job.outputKind = c.kind;
    job.input = job.output = testing::PlainSide(CoordinateSystemKind::Geographic, "Geográficas");
    job.delimited.columns = c.columns;
    job.delimited.sexagesimalOutput = c.sexagesimal;
    NullProgressSink sink;
    ASSERT_TRUE(RunConversion(job, sink).Succeeded());
    std::string problem;
    const std::optional<ResultShapes> shapes =
        ReadResultFile(job.outputPath, c.kind, problem, {CoordinateSystemKind::Geographic, job.delimited});
    ASSERT_TRUE(shapes) << problem;
    EXPECT_EQ(shapes->unreadLines, 0u);
    ASSERT_EQ(shapes->marks.size(), std::size(points));
    for (std::size_t k = 0; k < std::size(points); ++k) {
      const ResultMark& mark = shapes->marks[k];
      EXPECT_TRUE(mark.hasId);
      EXPECT_EQ(mark.name, points[k].id);
      // Sexagesimal seconds keep five decimals: 1.4e-9 degrees.
      EXPECT_NEAR(mark.at.x, Degrees(points[k].lon), 2e-9);
      EXPECT_NEAR(mark.at.y, Degrees(points[k].lat), 2e-9);
    }
  }
}

}  // namespace
}  // namespace transref
