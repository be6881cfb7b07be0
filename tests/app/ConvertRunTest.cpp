// transref-convert as a program: whole files converted, failures reported
// with the system's texts and exit statuses, existing files protected.
// Expected coordinates are computed here straight through the geodesy
// functions (inverse projection, geocentric conversion, datum step, forward
// projection), independently of the converter's job building and of the
// list and drawing code.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <tuple>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "AddedDirections.h"
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

// The converter with the systems of the window's start ("--from gk-oru --to
// ltm-oru") where a run does not name them; --help and --version as given.
testing::ProcessResult RunProgram(const std::string& program, std::vector<std::string> arguments,
                                  const std::map<std::string, std::optional<std::string>>& environment = {},
                                  const std::string& standardInput = {}) {
  const auto names = [&](const char* option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  if (!names("--help") && !names("--version") && !names("--from")) arguments.insert(arguments.begin(), {"--from", "gk-oru"});
  if (!names("--help") && !names("--version") && !names("--to")) arguments.insert(arguments.begin(), {"--to", "ltm-oru"});
  return testing::RunProgram(program, arguments, environment, standardInput);
}

const std::string kProgram = TRANSREF_CONVERT_PROGRAM;
const fs::path kSamples = fs::path(TRANSREF_TEST_DATA_DIR) / "samples";
const fs::path kCorpus = TRANSREF_DXF_CORPUS_DIR;
constexpr const char* kSuccess = "O programa foi executado com sucesso!\n";
// What stderr says when the systems, ellipsoids and model are the defaults.
constexpr const char* kAssumedDefaults =
    "transref-convert: De: Gauß-Krüger (Oru), Hayford 1924 — Para: LTM (Oru), GRS80 — "
    "7 Parâmetros - Transformação Isogonal\n";

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
const Grid kUtm22South{kGrs80, -51.0, 0.9996, 500000.0, 10000000.0};
const Grid kUtm23South{kGrs80, -45.0, 0.9996, 500000.0, 10000000.0};

GeographicPoint FromGrid(double e, double n, double h, const Grid& grid) {
  ProjectedPoint projected;
  projected.easting = e;
  projected.northing = n;
  projected.height = h;
  projected.centralMeridian = grid.centralMeridian;
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

// Without systems nothing is converted: the systems are named, exit 2.
TEST_F(ConvertRun, NoSystemsNoConversion) {
  const std::string sample = (kSamples / "pontos_gk_oru.txt").string();
  const ProcessResult run = testing::RunProgram(kProgram, {sample, Path("ltm.txt").string()});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("transref-convert: --from e --to: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\"Gauß-Krüger (Oru)\", ou ltm, ltm-oru,"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(Path("ltm.txt")));
}

TEST_F(ConvertRun, SampleListToLtmOruWithDefaultsSaysWhatItAssumed) {
  const std::string sample = (kSamples / "pontos_gk_oru.txt").string();
  const ProcessResult run = RunProgram(kProgram, {sample, Path("ltm.txt").string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, kSuccess);
  EXPECT_EQ(run.err, kAssumedDefaults);  // a forgotten --from is seen; no bar: stderr is no terminal
  EXPECT_EQ(ReadFile(Path("ltm.txt")), ExpectedSampleOutput());

  // Everything named: nothing assumed, nothing said.
  const ProcessResult named =
      RunProgram(kProgram, {"--from", "gk-oru", "--from-ellipsoid", "hayford", "--to", "ltm-oru", "--to-ellipsoid",
                            "grs80", "--model", "7", sample, Path("named.txt").string()});
  EXPECT_EQ(named.exitStatus, 0) << named.err;
  EXPECT_EQ(named.err, "");
  EXPECT_EQ(ReadFile(Path("named.txt")), ExpectedSampleOutput());
}

// Brazil spans UTM zones 18 to 25: a forgotten --from-cm would convert a
// whole file in zone 22 (51° W) and report success. Systems, ellipsoids and
// model named, but not the zone: stderr names the meridian and hemisphere
// assumed; the zone named too: nothing is said.
TEST_F(ConvertRun, ForgottenZoneIsSaidBeforeTheRun) {
  WriteFile(Path("z23.txt"), "1 500000 6681214.647 0\n");
  const std::vector<std::string> named = {"--from", "utm", "--from-ellipsoid", "grs80", "--to", "geographic",
                                          "--to-ellipsoid", "grs80", "--model", "7"};
  std::vector<std::string> arguments = named;
  arguments.insert(arguments.end(), {Path("z23.txt").string(), Path("a.txt").string()});
  const ProcessResult forgotten = RunProgram(kProgram, arguments);
  ASSERT_EQ(forgotten.exitStatus, 0) << forgotten.err;
  EXPECT_EQ(forgotten.err,
            "transref-convert: De: UTM, MC 51° W, hemisfério S, GRS80 — Para: Geográficas, GRS80 — "
            "7 Parâmetros - Transformação Isogonal\n");

  arguments = named;
  arguments.insert(arguments.end(), {"--from-cm", "-45", "--from-hemisphere", "S", Path("z23.txt").string(),
                                     Path("b.txt").string()});
  const ProcessResult zoneNamed = RunProgram(kProgram, arguments);
  ASSERT_EQ(zoneNamed.exitStatus, 0) << zoneNamed.err;
  EXPECT_EQ(zoneNamed.err, "");

  // A meridian given but UTM's hemisphere left to its default is said too,
  // and so is an output grid's zone (here LTM, 51.5° W), whose meridian lies
  // 6.5° from the points: a warning follows the run.
  const ProcessResult hemisphere = RunProgram(
      kProgram, {"--from", "utm", "--from-ellipsoid", "grs80", "--from-cm", "-45", "--to", "ltm",
                 "--to-ellipsoid", "grs80", "--model", "7", Path("z23.txt").string(), Path("c.txt").string()});
  ASSERT_EQ(hemisphere.exitStatus, 0) << hemisphere.err;
  EXPECT_EQ(hemisphere.err.substr(0, hemisphere.err.find('\n') + 1),
            "transref-convert: De: UTM, MC 45° W, hemisfério S, GRS80 — Para: LTM, MC 51.5° W, GRS80 — "
            "7 Parâmetros - Transformação Isogonal\n");
  EXPECT_NE(hemisphere.err.find("a mais de 6° do meridiano central da saída"), std::string::npos);
}

TEST_F(ConvertRun, CrLfListConvertsLikeLf) {
  WriteFile(Path("crlf.txt"), WithCrLf(ReadFile(kSamples / "pontos_gk_oru.txt")));
  const ProcessResult run =
      RunProgram(kProgram, {"--quiet", Path("crlf.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "");  // --quiet
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFile(Path("out.txt")), ExpectedSampleOutput());
}

// A list may use either decimal mark whatever the locale, and the converter
// reads back its own output (points) in a decimal-comma locale.
TEST_F(ConvertRun, ListsInEitherDecimalMarkWhateverTheLocale) {
  const std::string points = ReadFile(kSamples / "pontos_gk_oru.txt");
  std::string commas = points;
  std::replace(commas.begin(), commas.end(), '.', ',');
  WriteFile(Path("virgula.txt"), commas);
  WriteFile(Path("ponto.txt"), points);
  using Environment = std::map<std::string, std::optional<std::string>>;
  struct Case {
    Environment environment;
    std::string option;  // the old options are still accepted and change nothing
  };
  int run = 0;
  for (const Case& c : {Case{{}, ""}, Case{{{"LANG", "pt_BR.UTF-8"}}, ""},
                        Case{{{"LANG", "pt_BR.UTF-8"}}, "--decimal-point"}, Case{{{"LC_ALL", "C"}}, "--decimal-comma"}}) {
    for (const char* input : {"virgula.txt", "ponto.txt"}) {
      std::vector<std::string> arguments{"--quiet"};
      if (!c.option.empty()) arguments.push_back(c.option);
      const fs::path output = Path("saida" + std::to_string(++run) + ".txt");
      arguments.insert(arguments.end(), {Path(input).string(), output.string()});
      const ProcessResult result = RunProgram(kProgram, arguments, c.environment);
      EXPECT_EQ(result.exitStatus, 0) << input << " " << c.option << " " << result.err;
      EXPECT_EQ(ReadFile(output), ExpectedSampleOutput()) << input;  // written with points
    }
  }
  const ProcessResult back =
      RunProgram(kProgram, {"--quiet", "--from", "ltm-oru", "--to", "gk-oru", Path("saida1.txt").string(),
                            Path("volta.txt").string()},
                 {{"LANG", "pt_BR.UTF-8"}});
  EXPECT_EQ(back.exitStatus, 0) << back.err;
  EXPECT_EQ(Lines(ReadFile(Path("volta.txt"))).size(), Lines(points).size());
}

TEST_F(ConvertRun, FailingLineStopsWithItsMessageAndWritesNothing) {
  std::vector<std::string> lines = Lines(ReadFile(kSamples / "pontos_gk_oru.txt"));
  std::string input = lines[0] + "\n" + lines[1] + "\n103 183153.159 1673x240.628 61.80\n" +
                      lines[3] + "\n";
  WriteFile(Path("bad.txt"), input);
  const ProcessResult run =
      RunProgram(kProgram, {"--quiet", Path("bad.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "1673x240.628 não é um valor numerico!\n"
            "O arquivo de entrada possui a inconsistência na linha 3!\n");
  EXPECT_FALSE(fs::exists(Path("out.txt")));
  // Mended, the same command runs: no half-written output is in the way.
  WriteFile(Path("bad.txt"), lines[0] + "\n" + lines[1] + "\n");
  const ProcessResult again =
      RunProgram(kProgram, {"--quiet", Path("bad.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_EQ(ReadFile(Path("out.txt")), ExpectedSampleOutput(2));

  // A failed run over an existing output (with --force) leaves it as it was.
  WriteFile(Path("short.txt"), lines[0] + "\n102 179001.301 1675982.745\n");
  const ProcessResult fields =
      RunProgram(kProgram, {"--quiet", "--force", Path("short.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(fields.exitStatus, 1);
  EXPECT_EQ(fields.err,
            "O arquivo de entrada possui uma inconsistência na linha 2:\n"
            " Número de linhas diferente de 4!\n");
  EXPECT_EQ(ReadFile(Path("out.txt")), ExpectedSampleOutput(2));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 3u);  // bad.txt, short.txt, out.txt: no temporary file left
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
      RunProgram(kProgram, {"--quiet", Path("nada.txt").string(), Path("out.txt").string()});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "transref-convert: Não foi possível abrir o arquivo de entrada \"" +
                             Path("nada.txt").string() + "\": o arquivo não existe.\n");
  EXPECT_FALSE(fs::exists(Path("out.txt")));

  const ProcessResult folder = RunProgram(
      kProgram, {"--quiet", (kSamples / "pontos_gk_oru.txt").string(), Path("falta/out.txt").string()});
  EXPECT_EQ(folder.exitStatus, 1);
  EXPECT_EQ(folder.err, "transref-convert: Não foi possível criar o arquivo de saída \"" +
                            Path("falta/out.txt").string() + "\": a pasta não existe.\n");

  // A full device: the write error, never the success message.
  const ProcessResult full =
      RunProgram(kProgram, {"--quiet", "--force", (kSamples / "pontos_gk_oru.txt").string(), "/dev/full"});
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
  // The worked pipe example is the one PipeRunWritesOnlyTheConvertedLines runs.
  EXPECT_NE(help.out.find("echo \"1 500000 6681214.647 0\" | transref-convert --from utm --to geographic - -"),
            std::string::npos);
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
      // The header's 0,0,0 is a dummy, its height written back as one.
      expected[k + 5] = "0.000";
      k += 5;
      continue;
    }
    // The lot's boundary is a 3D polyline: each vertex keeps its own height.
    const double h = transref::test::Number(in[k + 5]);
    const double e = transref::test::Number(in[k + 1]), n = transref::test::Number(in[k + 3]);
    const auto [east, north] = GridToGrid(e, n, h, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80);
    expected[k + 1] = Format("%0.3lf", east);
    expected[k + 3] = Format("%0.3lf", north);
    expected[k + 5] = Format("%0.3lf", h);  // heights imported
    ++groups;
    k += 5;
  }
  EXPECT_EQ(groups, 2u + 4 + 2 + 2 + 1);  // extents, vertices, line, points, text
  // The text's rotation, left out, is written: the grid turns by 2.6e-5 rad.
  const test::SetAside out = test::SetAsideAddedDirections(in, Lines(ReadFile(Path("lote_ltm.dxf"))));
  EXPECT_EQ(out.lines, expected);
  EXPECT_EQ(out.added, 1);
}

// The output's kind follows its name: a drawing written to "lote.txt" is a
// list, not a DXF under a list's name.
TEST_F(ConvertRun, SampleDrawingToList) {
  const ProcessResult run =
      RunProgram(kProgram, {(kSamples / "lote_gk_oru.dxf").string(), Path("lote.txt").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const ProcessResult named =
      RunProgram(kProgram, {"--to-kind", "ascii3d", (kSamples / "lote_gk_oru.dxf").string(),
                            Path("lote3d.txt").string()});
  ASSERT_EQ(named.exitStatus, 0) << named.err;
  EXPECT_EQ(ReadFile(Path("lote.txt")), ReadFile(Path("lote3d.txt")));
  const std::vector<std::string> lines = Lines(ReadFile(Path("lote.txt")));
  ASSERT_EQ(lines.size(), 11u);  // one line per point: extents, vertices, line ends, points, text
  const std::string firstExtent = Format(
      "%d %10.5lf %10.5lf %10.5lf", 10,
      GridToGrid(177890.0, 1676690.0, 2.5, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80)[0],
      GridToGrid(177890.0, 1676690.0, 2.5, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80)[1],
      2.5);
  EXPECT_EQ(lines[0], firstExtent);  // identified by the index of its " 10" line
}

// The input's kind follows its content: a drawing saved under a list's
// name, or read from a pipe, is a drawing; a 2D list stays 2D.
TEST_F(ConvertRun, KindsFromContent) {
  const fs::path drawing = kSamples / "lote_gk_oru.dxf";
  WriteFile(Path("desenho.txt"), ReadFile(drawing));
  const ProcessResult byName = RunProgram(kProgram, {"--quiet", drawing.string(), Path("a.dxf").string()});
  const ProcessResult byContent =
      RunProgram(kProgram, {"--quiet", Path("desenho.txt").string(), Path("b.dxf").string()});
  const ProcessResult piped =
      RunProgram(kProgram, {"--quiet", "-", Path("c.dxf").string()}, {}, ReadFile(drawing));
  for (const ProcessResult* run : {&byName, &byContent, &piped}) EXPECT_EQ(run->exitStatus, 0) << run->err;
  EXPECT_EQ(ReadFile(Path("b.dxf")), ReadFile(Path("a.dxf")));
  EXPECT_EQ(ReadFile(Path("c.dxf")), ReadFile(Path("a.dxf")));

  WriteFile(Path("plano.txt"), "1 177938.743 1676745.581\n2 179001.301 1675982.745\n");
  const ProcessResult flat = RunProgram(kProgram, {"--quiet", Path("plano.txt").string(), Path("plano_ltm.txt").string()});
  ASSERT_EQ(flat.exitStatus, 0) << flat.err;
  const auto [east, north] = GridToGrid(177938.743, 1676745.581, 0.0, kGaussKrugerOru, kLtmOru, kIsogonalHayfordToGrs80);
  EXPECT_EQ(Lines(ReadFile(Path("plano_ltm.txt"))).at(0), Format("%d %10.5lf %10.5lf", 1, east, north));
}

// "-" reads standard input and writes standard output, which then holds the
// converted lines and nothing else: the bytes of the run between files.
TEST_F(ConvertRun, PipeRunWritesOnlyTheConvertedLines) {
  const std::string sample = ReadFile(kSamples / "pontos_gk_oru.txt");
  const ProcessResult piped = RunProgram(kProgram, {"-", "-"}, {}, sample);
  EXPECT_EQ(piped.exitStatus, 0) << piped.err;
  EXPECT_EQ(piped.out, ExpectedSampleOutput());
  EXPECT_EQ(piped.err, std::string(kAssumedDefaults) + kSuccess);
  const ProcessResult quiet = RunProgram(kProgram, {"--quiet", "-", "-"}, {}, sample);
  EXPECT_EQ(quiet.out, ExpectedSampleOutput());
  EXPECT_EQ(quiet.err, "");

  // The help's example: one point of UTM zone 22 S to geographic coordinates.
  const ProcessResult point =
      RunProgram(kProgram, {"--quiet", "--from", "utm", "--to", "geographic", "-", "-"}, {}, "1 500000 6681214.647 0\n");
  ASSERT_EQ(point.exitStatus, 0) << point.err;
  GeographicPoint expected;
  CartesianToGeographic(ToOtherFrame(FromGrid(500000, 6681214.647, 0, kUtm22South), kGrs80, {}), kGrs80, expected);
  EXPECT_EQ(point.out, Format("1 %15.10lf %15.10lf %15.10lf\n", expected.longitude.Degrees(),
                              expected.latitude.Degrees(), 0.0));
  // A file that fails part way has sent the points before it, and says so.
  const ProcessResult failed = RunProgram(kProgram, {"--quiet", "-", "-"}, {}, Lines(sample)[0] + "\n1 x 2 3\n");
  EXPECT_EQ(failed.exitStatus, 1);
  EXPECT_EQ(failed.out, ExpectedSampleOutput(1));
  EXPECT_EQ(failed.err, "x não é um valor numerico!\nO arquivo de entrada possui a inconsistência na linha 2!\n");
}

// Brazilian states span several zones: UTM 22 S to 23 S (and another LTM
// meridian) is a conversion, equal to the chain computed here.
TEST_F(ConvertRun, ZoneChangeIsAConversion) {
  WriteFile(Path("z22.txt"), "1 789409.653 6677424.096 12.5\n2 500000 6681214.647 0\n");
  const ProcessResult run = RunProgram(
      kProgram, {"--quiet", "--from", "utm", "--to", "utm", "--to-cm", "-45", Path("z22.txt").string(),
                 Path("z23.txt").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  std::string expected;
  for (const auto& [id, e, n, h] : {std::tuple{1, 789409.653, 6677424.096, 12.5}, std::tuple{2, 500000.0, 6681214.647, 0.0}}) {
    const auto [east, north] = GridToGrid(e, n, h, kUtm22South, kUtm23South, {});
    expected += Format("%d %10.5lf %10.5lf %10.5lf\n", id, east, north, h);
  }
  EXPECT_EQ(ReadFile(Path("z23.txt")), expected);

  // The same system, meridian, hemisphere, false origin and ellipsoid: refused, naming the rule.
  const ProcessResult same = RunProgram(kProgram, {"--from", "utm", "--to", "utm", Path("z22.txt").string(),
                                                   Path("nada.txt").string()});
  EXPECT_EQ(same.exitStatus, 2);
  EXPECT_NE(same.err.find("nada a converter: entrada e saída têm o mesmo sistema, meridiano central, hemisférios, "
                          "falsa origem e elipsóide"),
            std::string::npos)
      << same.err;
}

// Stopped part way (Ctrl+C, kill), the converter leaves no file behind.
TEST_F(ConvertRun, InterruptedRunLeavesNoFile) {
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  const std::string output = Path("saida.txt").string();
  const pid_t child = fork();
  if (child == 0) {
    dup2(input[0], STDIN_FILENO);
    close(input[0]);
    close(input[1]);
    execl(kProgram.c_str(), kProgram.c_str(), "--quiet", "--from", "gk-oru", "--to", "ltm-oru", "-", output.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input[0]);
  const std::string first = "1 177938.743 1676745.581 3.12\n";
  ASSERT_EQ(write(input[1], first.data(), first.size()), static_cast<ssize_t>(first.size()));
  // The converter now waits for more input with its temporary file open.
  bool temporary = false;
  for (int wait = 0; wait < 1000 && !temporary; ++wait) {
    for (const auto& entry : fs::directory_iterator(dir_)) temporary |= entry.path().filename().string()[0] == '.';
    if (!temporary) usleep(10000);
  }
  EXPECT_TRUE(temporary);
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(input[1]);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(fs::is_empty(dir_));
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
    const std::vector<std::string> out = test::SetAsideAddedDirections(in, Lines(ReadFile(output))).lines;
    ASSERT_EQ(out.size(), in.size()) << entry.path();
    std::size_t changed = 0;
    for (std::size_t k = 0; k < in.size(); ++k) changed += in[k] != out[k];
    EXPECT_GT(changed, 0u) << entry.path() << " came out unconverted";
  }
  EXPECT_EQ(drawings, 15u);
}

}  // namespace
TEST_F(ConvertRun, SpreadsheetConvertsSayingItsLayoutAndWarnsOfSwappedColumns) {
  WriteFile(Path("pontos.csv"), "Ponto;Norte;Este\r\nM-01;6670116,88581;480729,81229\r\n");
  using Args = std::vector<std::string>;
  const Args sides = {"--from", "utm", "--from-cm", "-51", "--to", "geographic", "--to-ellipsoid", "grs80",
                      "--model", "7", "--from-ellipsoid", "grs80", "--from-hemisphere", "S"};
  Args arguments = sides;
  arguments.insert(arguments.end(), {Path("pontos.csv").string(), Path("geo.csv").string()});
  const ProcessResult run = RunProgram(kProgram, arguments);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.err, "transref-convert: leiaute: separador \";\", vírgula decimal, com cabeçalho, colunas id,n,e, "
                     "UTF-8, fim de linha CR LF\n");
  // The header renamed, the columns kept in their order; cs2cs puts the
  // point at 30.1° S, 51.2° W: within 1 mm (eight decimals).
  const std::string geo = ReadFile(Path("geo.csv"));
  EXPECT_EQ(geo.rfind("Ponto;Latitude;Longitude\r\nM-01;-30,10000000", 0), 0u) << geo;
  EXPECT_NE(geo.find(";-51,20000000"), std::string::npos) << geo;

  // Told the wrong order, the points land far from the zone: a warning,
  // and with --strict the exit status 3.
  arguments = sides;
  WriteFile(Path("sem.csv"), "M-01;6670116,88581;480729,81229\r\n");
  arguments.insert(arguments.end(), {"--strict", "--quiet", "--columns", "id,e,n", Path("sem.csv").string(),
                                     Path("troca.csv").string()});
  const ProcessResult swapped = RunProgram(kProgram, arguments);
  EXPECT_EQ(swapped.exitStatus, 3) << swapped.err;
  EXPECT_NE(swapped.err.find("transref-convert: Atenção: 1 ponto com a coordenada E a mais de 1.000 km"),
            std::string::npos) << swapped.err;
}

}  // namespace transref

namespace transref {
namespace {

// SAD 69 / UTM 23 S to SIRGAS 2000 / UTM 23 S with the grid that ships,
// checked against PROJ's cs2cs with the same grid; a point outside the grid
// fails the run, naming its line, and keeps the old output.
TEST_F(ConvertRun, OldMapToSirgas2000WithTheShippedGrid) {
  const std::string points = "1 333000 7395000 760.5\n2 712345.678 7212345.678 12\n";
  WriteFile(Path("sad69.txt"), points);
  const ProcessResult run =
      RunProgram(kProgram, {"--from", "utm", "--from-cm", "-45", "--from-frame", "sad69", "--to", "utm", "--to-frame",
                            "sirgas2000", Path("sad69.txt").string(), Path("sirgas.txt").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.err.find("Grade NTv2: SAD69_003.gsb (SAD69 → SIRGAS00)"), std::string::npos) << run.err;

  const std::string oracle =
      "LC_ALL=C cct -d 6 +proj=pipeline +step +inv +proj=utm +zone=23 +south +a=6378160 +rf=298.25 "
      "+step +proj=hgridshift +grids=" + (fs::path(TRANSREF_TEST_DATA_DIR) / "grids" / "SAD69_003.gsb").string() +
      " +step +proj=utm +zone=23 +south +ellps=GRS80 " + Path("cct-in.txt").string();
  WriteFile(Path("cct-in.txt"), "333000 7395000 0 0\n712345.678 7212345.678 0 0\n");
  FILE* pipe = popen(oracle.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::istringstream written(ReadFile(Path("sirgas.txt")));
  written.imbue(std::locale::classic());
  char line[256];
  while (fgets(line, sizeof line, pipe)) {
    std::istringstream expected(line);
    expected.imbue(std::locale::classic());
    double e = 0, n = 0, id = 0, gotE = 0, gotN = 0, h = 0;
    expected >> e >> n;
    written >> id >> gotE >> gotN >> h;
    EXPECT_NEAR(gotE, e, 1e-3);
    EXPECT_NEAR(gotN, n, 1e-3);
  }
  pclose(pipe);

  WriteFile(Path("outside.txt"), points + "17 500000 5000000 0\n");  // 45° S
  const ProcessResult outside =
      RunProgram(kProgram, {"--force", "--from", "utm", "--from-cm", "-45", "--from-frame", "sad69", "--to", "utm",
                            "--to-frame", "sirgas2000", "--model", "grid", Path("outside.txt").string(),
                            Path("sirgas.txt").string()});
  EXPECT_EQ(outside.exitStatus, 1);
  EXPECT_NE(outside.err.find("linha 3, ponto 17"), std::string::npos) << outside.err;
}

}  // namespace
}  // namespace transref
