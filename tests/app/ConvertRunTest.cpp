// transref-convert as a program: whole files converted, failures reported
// with the system's texts and exit statuses, existing files protected.
// Expected coordinates are computed here straight through the geodesy
// functions (inverse projection, geocentric conversion, datum step, forward
// projection), independently of the converter's job building and of the
// list and drawing code.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ProcessRunner.h"
#include "geodesy/DatumStep.h"
#include "geodesy/Geocentric.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/TransverseMercator.h"
#include "support/Numbers.h"
#include "CLocaleText.h"

namespace transref {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;
using testing::RunProgram;

const std::string kProgram = TRANSREF_CONVERT_PROGRAM;
const fs::path kSamples = fs::path(TRANSREF_TEST_DATA_DIR) / "samples";
const fs::path kCorpus = TRANSREF_DXF_CORPUS_DIR;
constexpr const char* kSuccess = "O programa foi executado com sucesso!\n";

const Ellipsoid kGrs80(6378137.0, 298.257222101);
const Ellipsoid kHayford(6378388.0, 297.0);

// A Transverse Mercator grid: ellipsoid, central meridian, k0, FE, FN.
struct Grid {
  Ellipsoid ellipsoid;
  double centralMeridian;
  double scaleFactor;
  double falseEasting;
  double falseNorthing;
};

const Grid kGaussKrugerOru{kHayford, -51.0, 1.0, 200000.0, 5000000.0};
const Grid kLtmOru{kGrs80, -51.0, 0.999995, 300000.0, 5000000.0};

GeographicPoint FromGrid(double e, double n, double h, const Grid& grid) {
  ProjectedPoint projected;
  projected.easting = e;
  projected.northing = n;
  projected.height = h;
  projected.centralMeridian = static_cast<float>(grid.centralMeridian);
  GeographicPoint geographic;
  TransverseMercatorInverse(projected, grid.ellipsoid, grid.scaleFactor, grid.falseEasting,
                            grid.falseNorthing, geographic);
  return geographic;
}

CartesianPoint ToOtherFrame(const GeographicPoint& point, const Ellipsoid& ellipsoid,
                            const IsogonalParameters& parameters) {
  CartesianPoint in, out;
  GeographicToCartesian(point, ellipsoid, in);
  ApplyDatumStep(BuildDatumStep(parameters), in, out);
  return out;
}

// E, N of a grid point carried to another grid and frame.
std::array<double, 2> GridToGrid(double e, double n, double h, const Grid& from, const Grid& to,
                                 const IsogonalParameters& parameters) {
  GeographicPoint geographic;
  CartesianToGeographic(ToOtherFrame(FromGrid(e, n, h, from), from.ellipsoid, parameters),
                        to.ellipsoid, geographic);
  ProjectedPoint projected;
  TransverseMercatorForward(geographic, to.ellipsoid, to.centralMeridian, to.scaleFactor,
                            to.falseEasting, to.falseNorthing, projected);
  return {projected.easting, projected.northing};
}

std::string Format(const char* format, auto... values) {
  char text[256];
  transref::FormatC(text, sizeof text, format, values...);
  return text;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The sample list carried from "Gauß-Krüger (Oru)" to "LTM (Oru)" with the
// built-in set B, heights imported, in the 3D grid format.
std::string ExpectedSampleOutput(std::size_t lineLimit = SIZE_MAX) {
  std::string expected;
  std::size_t count = 0;
  for (const std::string& line : Lines(ReadFile(kSamples / "pontos_gk_oru.txt"))) {
    if (count++ == lineLimit) break;
    int id = 0;
    double e = 0, n = 0, h = 0;
    EXPECT_EQ(transref::test::ScanPointLine(line.c_str(), id, e, n, h), 4);
    const auto [east, north] = GridToGrid(e, n, h, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80);
    expected += Format("%d %10.5lf %10.5lf %10.5lf\n", id, east, north, h);
  }
  return expected;
}

class ConvertRun : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           (std::string("transref-convert-") + info->name() + "-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Path(const std::string& name) const { return dir_ / name; }

  fs::path dir_;
};

TEST_F(ConvertRun, SampleListToLtmOruWithDefaults) {
  const ProcessResult run =
      RunProgram(kProgram, {(kSamples / "pontos_gk_oru.txt").string(), Path("ltm.txt").string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, kSuccess);
  EXPECT_EQ(run.err, "");  // no bar when stderr is not a terminal
  EXPECT_EQ(ReadFile(Path("ltm.txt")), ExpectedSampleOutput());
}

TEST_F(ConvertRun, CrLfListConvertsLikeLf) {
  WriteFile(Path("crlf.txt"), WithCrLf(ReadFile(kSamples / "pontos_gk_oru.txt")));
  const ProcessResult run =
      RunProgram(kProgram, {"--quiet", Path("crlf.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "");  // --quiet
  EXPECT_EQ(ReadFile(Path("out.txt")), ExpectedSampleOutput());
}

TEST_F(ConvertRun, DecimalCommaFromTheLocaleOrTheOption) {
  std::string commas = ReadFile(kSamples / "pontos_gk_oru.txt");
  std::replace(commas.begin(), commas.end(), '.', ',');
  WriteFile(Path("virgula.txt"), commas);

  const ProcessResult brazilian =
      RunProgram(kProgram, {Path("virgula.txt").string(), Path("a.txt").string()},
                 {{"LANG", "pt_BR.UTF-8"}});
  EXPECT_EQ(brazilian.exitStatus, 0) << brazilian.err;
  EXPECT_EQ(ReadFile(Path("a.txt")), ExpectedSampleOutput());  // written with points

  const ProcessResult option = RunProgram(
      kProgram, {"--decimal-comma", Path("virgula.txt").string(), Path("b.txt").string()});
  EXPECT_EQ(option.exitStatus, 0) << option.err;
  EXPECT_EQ(ReadFile(Path("b.txt")), ExpectedSampleOutput());

  // LC_ALL wins over LANG; the option wins over both.
  for (const auto& [arguments, environment] :
       std::vector<std::pair<std::vector<std::string>,
                             std::map<std::string, std::optional<std::string>>>>{
           {{}, {{"LANG", "pt_BR.UTF-8"}, {"LC_ALL", "C"}}},
           {{"--decimal-point"}, {{"LANG", "pt_BR.UTF-8"}}}}) {
    std::vector<std::string> args = arguments;
    args.insert(args.end(), {"--force", Path("virgula.txt").string(), Path("c.txt").string()});
    const ProcessResult point = RunProgram(kProgram, args, environment);
    EXPECT_EQ(point.exitStatus, 1);
    EXPECT_EQ(point.err,
              "177938,743 não é um valor numerico!\n"
              "O arquivo de entrada possui a inconsistência na linha 1!\n");
    EXPECT_EQ(ReadFile(Path("c.txt")), "");
  }
}

TEST_F(ConvertRun, FailingLineStopsWithItsMessageAndKeepsThePointsBefore) {
  std::vector<std::string> lines = Lines(ReadFile(kSamples / "pontos_gk_oru.txt"));
  std::string input = lines[0] + "\n" + lines[1] + "\n103 183153.159 1673x240.628 61.80\n" +
                      lines[3] + "\n";
  WriteFile(Path("bad.txt"), input);
  const ProcessResult run =
      RunProgram(kProgram, {Path("bad.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "1673x240.628 não é um valor numerico!\n"
            "O arquivo de entrada possui a inconsistência na linha 3!\n");
  EXPECT_EQ(ReadFile(Path("out.txt")), ExpectedSampleOutput(2));

  WriteFile(Path("short.txt"), lines[0] + "\n102 179001.301 1675982.745\n");
  const ProcessResult fields =
      RunProgram(kProgram, {Path("short.txt").string(), Path("out2.txt").string()});
  EXPECT_EQ(fields.exitStatus, 1);
  EXPECT_EQ(fields.err,
            "O arquivo de entrada possui uma inconsistência na linha 2:\n"
            " Número de linhas diferente de 4!\n");
  EXPECT_EQ(ReadFile(Path("out2.txt")), ExpectedSampleOutput(1));
}

TEST_F(ConvertRun, GeographicToUtmMatchesTheWorkedExample) {
  WriteFile(Path("geo.txt"), "1 -48 -30 0\n2 -51 -30 12.5\n");
  const ProcessResult run = RunProgram(
      kProgram, {"--from", "geographic", "--to", "utm", Path("geo.txt").string(),
                 Path("utm.txt").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const std::vector<std::string> lines = Lines(ReadFile(Path("utm.txt")));
  ASSERT_EQ(lines.size(), 2u);
  int id = 0;
  double e = 0, n = 0, h = 0;
  ASSERT_EQ(transref::test::ScanPointLine(lines[0].c_str(), id, e, n, h), 4);
  EXPECT_EQ(id, 1);
  EXPECT_NEAR(e, 789409.653, 0.0006);
  EXPECT_NEAR(n, 6677424.096, 0.0006);
  ASSERT_EQ(transref::test::ScanPointLine(lines[1].c_str(), id, e, n, h), 4);
  EXPECT_NEAR(e, 500000.0, 0.0006);
  EXPECT_NEAR(n, 6681214.647, 0.0006);
  EXPECT_EQ(h, 12.5);  // imported
}

TEST_F(ConvertRun, CustomCentralMeridianInPackedSexagesimal) {
  WriteFile(Path("gk.txt"), "7 187500.25 1676500.75 10\n");
  const ProcessResult run = RunProgram(
      kProgram, {"--from", "gk-custom", "--from-cm-dms", "-51.1530", "--from-ellipsoid", "hayford",
                 "--to", "geographic", "--to-ellipsoid", "hayford", Path("gk.txt").string(),
                 Path("geo.txt").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  // 51° 15' 30" W through its list entry "51.2583333333°".
  const Grid custom{kHayford, -51.2583333333, 1.0, 200000.0, 5000000.0};
  GeographicPoint expected;
  CartesianToGeographic(ToOtherFrame(FromGrid(187500.25, 1676500.75, 10, custom), kHayford, {}),
                        kHayford, expected);
  EXPECT_EQ(ReadFile(Path("geo.txt")),
            Format("7 %15.10lf %15.10lf %15.10lf\n", expected.longitude.Degrees(),
                   expected.latitude.Degrees(), 10.0));
}

TEST_F(ConvertRun, ExistingOutputNeedsForce) {
  WriteFile(Path("out.txt"), "levantamento anterior\n");
  const std::string input = (kSamples / "pontos_gk_oru.txt").string();
  const ProcessResult refused = RunProgram(kProgram, {input, Path("out.txt").string()});
  EXPECT_EQ(refused.exitStatus, 2);
  EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFile(Path("out.txt")), "levantamento anterior\n");

  const ProcessResult forced = RunProgram(kProgram, {"--force", input, Path("out.txt").string()});
  EXPECT_EQ(forced.exitStatus, 0) << forced.err;
  EXPECT_EQ(ReadFile(Path("out.txt")), ExpectedSampleOutput());
}

TEST_F(ConvertRun, OutputNeverReplacesTheInput) {
  const std::string original = ReadFile(kSamples / "pontos_gk_oru.txt");
  WriteFile(Path("pontos.txt"), original);
  fs::create_symlink(Path("pontos.txt"), Path("link.txt"));
  for (const fs::path& output : {Path("pontos.txt"), Path("link.txt"), dir_ / "." / "pontos.txt"}) {
    const ProcessResult run =
        RunProgram(kProgram, {"--force", Path("pontos.txt").string(), output.string()});
    EXPECT_EQ(run.exitStatus, 1) << output;
    EXPECT_EQ(run.err, "O arquivo de saída não pode ser o próprio arquivo de entrada!\n");
    EXPECT_EQ(ReadFile(Path("pontos.txt")), original);
  }
}

TEST_F(ConvertRun, FileFailuresAreRunFailures) {
  const ProcessResult missing =
      RunProgram(kProgram, {Path("nada.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("Erro:"), std::string::npos) << missing.err;  // the error layer's report
  EXPECT_FALSE(fs::exists(Path("out.txt")));

  // A full device: the write error, never the success message.
  const ProcessResult full =
      RunProgram(kProgram, {"--force", (kSamples / "pontos_gk_oru.txt").string(), "/dev/full"});
  EXPECT_EQ(full.exitStatus, 1);
  EXPECT_EQ(full.out, "");
  EXPECT_EQ(full.err, "Erro na gravação do arquivo de saída!\n");
}

TEST_F(ConvertRun, UsageErrorsExitWithTwoAndNameTheOption) {
  const std::string input = (kSamples / "pontos_gk_oru.txt").string();
  const ProcessResult kind =
      RunProgram(kProgram, {"--to-kind", "dxf", input, Path("out.dxf").string()});
  EXPECT_EQ(kind.exitStatus, 2);
  EXPECT_EQ(kind.err,
            "transref-convert: --to-kind: uma lista ASCII não pode ser convertida em desenho DXF\n"
            "Use \"transref-convert --help\" para ver as opções.\n");
  EXPECT_FALSE(fs::exists(Path("out.dxf")));

  const ProcessResult unknown = RunProgram(kProgram, {"--to-sistema", "utm", input, "x"});
  EXPECT_EQ(unknown.exitStatus, 2);
  EXPECT_NE(unknown.err.find("--to-sistema"), std::string::npos);

  const ProcessResult help = RunProgram(kProgram, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("Uso: transref-convert", 0), 0u);
  const ProcessResult version = RunProgram(kProgram, {"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out.rfind("transref-convert ", 0), 0u);
}

// Our lot drawing: every coordinate group is 3D (" 10", X, " 20", Y, " 30", Z
// or the " 11" twins); the extents and all entity points are carried to
// "LTM (Oru)", every other line is copied.
TEST_F(ConvertRun, SampleDrawingToDrawing) {
  const fs::path input = kSamples / "lote_gk_oru.dxf";
  const ProcessResult run = RunProgram(kProgram, {input.string(), Path("lote_ltm.dxf").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const std::vector<std::string> in = Lines(ReadFile(input));

  std::vector<std::string> expected = in;
  std::size_t groups = 0;
  std::string entity;
  for (std::size_t k = 0; k + 5 < in.size(); ++k) {
    if (in[k] == "  0") entity = in[k + 1];
    if (in[k] != " 10" && in[k] != " 11") continue;
    if (entity == "POLYLINE") {
      // The header's 0,0 is a dummy: only its elevation is a height.
      expected[k + 5] = "0.000";
      k += 5;
      continue;
    }
    const double e = transref::test::Number(in[k + 1]), n = transref::test::Number(in[k + 3]), h = transref::test::Number(in[k + 5]);
    const auto [east, north] = GridToGrid(e, n, h, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80);
    expected[k + 1] = Format("%0.3lf", east);
    expected[k + 3] = Format("%0.3lf", north);
    expected[k + 5] = Format("%0.3lf", h);  // heights imported
    ++groups;
    k += 5;
  }
  EXPECT_EQ(groups, 2u + 4 + 2 + 2 + 1);  // extents, vertices, line, points, text
  EXPECT_EQ(Lines(ReadFile(Path("lote_ltm.dxf"))), expected);
}

TEST_F(ConvertRun, SampleDrawingToList) {
  const ProcessResult run =
      RunProgram(kProgram, {"--to-kind", "ascii3d", (kSamples / "lote_gk_oru.dxf").string(),
                            Path("lote.txt").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const std::vector<std::string> lines = Lines(ReadFile(Path("lote.txt")));
  ASSERT_EQ(lines.size(), 11u);  // one line per point: extents, vertices, line ends, points, text
  const std::string firstExtent = Format(
      "%d %10.5lf %10.5lf %10.5lf", 10,
      GridToGrid(177890.0, 1676690.0, 2.5, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80)[0],
      GridToGrid(177890.0, 1676690.0, 2.5, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80)[1],
      2.5);
  EXPECT_EQ(lines[0], firstExtent);  // identified by the index of its " 10" line
}

TEST_F(ConvertRun, EveryCorpusDrawingConverts) {
  std::size_t drawings = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".dxf" && extension != ".DXF") continue;
    ++drawings;
    const fs::path output = Path(entry.path().stem().string() + ".dxf");
    const ProcessResult run = RunProgram(kProgram, {entry.path().string(), output.string()});
    EXPECT_EQ(run.exitStatus, 0) << entry.path() << "\n" << run.err;
    EXPECT_EQ(run.out, kSuccess) << entry.path();

    std::vector<std::string> in = Lines(ReadFile(entry.path()));
    const auto eof = std::find(in.begin(), in.end(), "EOF");
    if (eof != in.end()) in.erase(eof + 1, in.end());
    const std::vector<std::string> out = Lines(ReadFile(output));
    ASSERT_EQ(out.size(), in.size()) << entry.path();
    std::size_t changed = 0;
    for (std::size_t k = 0; k < in.size(); ++k) changed += in[k] != out[k];
    EXPECT_GT(changed, 0u) << entry.path() << " came out unconverted";
  }
  EXPECT_EQ(drawings, 15u);
}

}  // namespace
}  // namespace transref
