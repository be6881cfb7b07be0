// Runs with the "Grade NTv2" model: lists and drawings through the shipped
// grids, points outside the grid, grids that do not fit or are broken.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <locale>
#include <sstream>
#include <string>

#include "TestFiles.h"
#include "conversion/Driver.h"
#include "geodesy/ParameterSets.h"

namespace transref {
namespace {

using testing::ReadAll;
using testing::RecordingSink;
using testing::ScratchDir;
using R = ReferenceFrame;
using K = CoordinateSystemKind;

JobSide Side(K system, R frame) {
  JobSide side = testing::PlainSide(system, "");
  side.frame = frame;
  side.semiMajorAxis = FrameInfo(frame).semiMajorAxis;
  side.inverseFlattening = FrameInfo(frame).inverseFlattening;
  return side;
}

ConversionJob GridJob(const std::string& input, const std::string& output, R from, R to, std::string grid) {
  ConversionJob job;
  job.inputPath = input;
  job.outputPath = output;
  job.model = TransformationModel::Grid;
  job.grid.path = std::move(grid);
  job.input = Side(K::Geographic, from);
  job.output = Side(K::Geographic, to);
  return job;
}

std::string Shipped(R a, R b) { return ShippedGridPath(a, b); }

// Forward with the frames one way, back with them the other: the direction
// follows the frames, so the second run undoes the first.
TEST(GridRun, ShippedGridsRunForwardAndBackByTheFrames) {
  ScratchDir dir;
  for (R old : {R::Sad69, R::Sad69_96, R::CorregoAlegre61, R::CorregoAlegre7072}) {
    const std::string grid = Shipped(old, R::Grs80);
    ASSERT_FALSE(grid.empty()) << FrameInfo(old).label;
    const std::string in = dir.Write("in.txt", "1 -48.5 -20.25 812.5\n2 -45.1234 -23.5 0\n");
    RecordingSink sink;
    const RunResult there = RunConversion(GridJob(in, dir.Path("sirgas.txt"), old, R::Grs80, grid), sink);
    ASSERT_TRUE(there.Succeeded()) << there.messages.at(0).text;
    const RunResult back =
        RunConversion(GridJob(dir.Path("sirgas.txt"), dir.Path("back.txt"), R::Grs80, old, grid), sink);
    ASSERT_TRUE(back.Succeeded()) << back.messages.at(0).text;
    const auto moved = testing::SplitLines(ReadAll(dir.Path("sirgas.txt")));
    const auto returned = testing::SplitLines(ReadAll(dir.Path("back.txt")));
    ASSERT_EQ(returned.size(), 2u);
    // The written lines use the decimal point whatever the process locale.
    double id, lon, lat, h, lon0, lat0, h0;
    std::istringstream r(returned[0]), m(moved[0]);
    r.imbue(std::locale::classic());
    m.imbue(std::locale::classic());
    r >> id >> lon >> lat >> h;
    m >> id >> lon0 >> lat0 >> h0;
    EXPECT_NEAR(lon, -48.5, 1e-9);
    EXPECT_NEAR(lat, -20.25, 1e-9);
    EXPECT_GT(std::fabs(lon0 + 48.5), 1e-5);  // the grid did move the point
    EXPECT_EQ(h0, 812.5);                     // heights pass unchanged
  }
}

TEST(GridRun, RefusedRunsNameTheCauseAndWriteNothing) {
  ScratchDir dir;
  const std::string empty = dir.Write("vazia.gsb", "");
  std::string outside;  // 25 points: 20 named, then how many more
  for (int k = 1; k <= 25; ++k) outside += std::to_string(100 + k) + " -70 -20 0\n";
  struct Case {
    std::string list;
    std::string grid;
    R from;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"1 -48 -20 0\n7 -75 -20 0\n\n2 -47 -21 0\n9 -48 10 0\n", Shipped(R::Sad69, R::Grs80), R::Sad69,
       {"\"SAD69_003.gsb\" (linha 2, ponto 7);", "\nlinha 5: ponto 9 fora da área da grade \"SAD69_003.gsb\": \"9 -48 10 0\""}},
      {outside, Shipped(R::Sad69, R::Grs80), R::Sad69, {"\nlinha 20: ponto 120 fora", "… e mais 5 linhas."}},
      {"1 -48 -20 0\n", Shipped(R::CorregoAlegre7072, R::Grs80), R::Sad69, {"\"CA7072_003.gsb\" liga CA7072"}},
      {"1 -48 -20 0\n", empty, R::Sad69, {"\"vazia.gsb\"", "vazio"}},
      {"1 -48 -20 0\n", "", R::Sad69, {std::string(kNoGridChosen)}},
  };
  for (const Case& c : cases) {
    const std::string in = dir.Write("in.txt", c.list);
    const std::string out = dir.Write("out.txt", "kept\n");
    RecordingSink sink;
    const RunResult result = RunConversion(GridJob(in, out, c.from, R::Grs80, c.grid), sink);
    ASSERT_FALSE(result.Succeeded());
    std::string said;
    for (const UserMessage& message : result.messages) said += message.text + "\n";
    for (const std::string& text : c.named) EXPECT_NE(said.find(text), std::string::npos) << said;
    EXPECT_EQ(ReadAll(out), "kept\n");
  }
  // Córrego Alegre 1961 has no published parameters: neutral values are
  // refused, typed ones run.
  ConversionJob job = GridJob(dir.Write("in.txt", "1 -48 -20 0\n"), dir.Path("ca61.txt"), R::CorregoAlegre61,
                              R::Grs80, "");
  job.model = TransformationModel::Translation;
  RecordingSink sink;
  const RunResult neutral = RunConversion(job, sink);
  ASSERT_FALSE(neutral.Succeeded());
  EXPECT_EQ(neutral.messages.at(0).text, kNoParametersMessage);
  job.isogonal.tx = -200.0;
  EXPECT_TRUE(RunConversion(job, sink).Succeeded());
}

// A drawing goes through the same chain: inside the grid it converts, and
// each line whose point leaves the grid is named.
TEST(GridRun, DrawingsThroughTheGrid) {
  ScratchDir dir;
  const std::string drawing = std::string(TRANSREF_TEST_DATA_DIR) + "/samples/lote_gk_oru.dxf";
  ConversionJob job = GridJob(drawing, dir.Path("out.dxf"), R::CorregoAlegre7072, R::Grs80,
                              Shipped(R::CorregoAlegre7072, R::Grs80));
  job.inputKind = job.outputKind = FileKind::Dxf;
  job.input = testing::GaussKrugerOruHayford();
  job.input.frame = R::CorregoAlegre7072;
  job.output = testing::LtmOruGrs80();
  RecordingSink sink;
  const RunResult inside = RunConversion(job, sink);
  ASSERT_TRUE(inside.Succeeded()) << inside.messages.at(0).text;
  EXPECT_GT(inside.pointsWritten, 0);

  // Córrego Alegre 1961's grid ends at 27.5° S; the drawing lies near 30° S.
  job.input.frame = R::CorregoAlegre61;
  job.grid.path = Shipped(R::CorregoAlegre61, R::Grs80);
  job.outputPath = dir.Path("out61.dxf");
  const RunResult outside = RunConversion(job, sink);
  ASSERT_FALSE(outside.Succeeded());
  EXPECT_NE(outside.messages.at(0).text.find("\"CA61_003.gsb\""), std::string::npos);
  EXPECT_NE(outside.messages.at(0).text.find("\nlinha "), std::string::npos) << outside.messages[0].text;
  EXPECT_FALSE(std::filesystem::exists(job.outputPath));
}

}  // namespace
}  // namespace transref
