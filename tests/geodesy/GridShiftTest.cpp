#include "geodesy/GridShift.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstring>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/Numbers.h"

namespace transref {
namespace {

namespace fs = std::filesystem;
using R = ReferenceFrame;

const std::string kShipped = std::string(TRANSREF_TEST_DATA_DIR) + "/grids/";
const std::string kProjData = "/usr/share/proj/";

fs::path Scratch(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("transref-grid-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  return folder / name;
}

// NTv2 written record by record, in either byte order: a parent subgrid
// and a finer child inside it whose shifts differ, so that a reader that
// does not prefer the child gives other values.
class NtV2Writer {
 public:
  explicit NtV2Writer(bool bigEndian) : big_(bigEndian) {}
  void Text(const char* key, const char* value) { Key(key), Key(value); }  // both blank-padded to 8
  void Int(const char* key, std::int32_t value) {
    Key(key);
    std::uint32_t raw = std::bit_cast<std::uint32_t>(value);
    if (big_) raw = __builtin_bswap32(raw);
    Bytes(reinterpret_cast<const char*>(&raw), 4);
    Bytes("\0\0\0\0", 4);
  }
  void Double(const char* key, double value) {
    Key(key);
    std::uint64_t raw = std::bit_cast<std::uint64_t>(value);
    if (big_) raw = __builtin_bswap64(raw);
    Bytes(reinterpret_cast<const char*>(&raw), 8);
  }
  void Float(float value) {
    std::uint32_t raw = std::bit_cast<std::uint32_t>(value);
    if (big_) raw = __builtin_bswap32(raw);
    Bytes(reinterpret_cast<const char*>(&raw), 4);
  }
  // A subgrid over [s, n] x [e, w] arc-seconds (longitudes positive west),
  // rows south to north, each row east to west.
  void Subgrid(const char* name, const char* parent, double s, double n, double e, double w, double step,
               double seed) {
    const int rows = static_cast<int>(std::lround((n - s) / step)) + 1;
    const int columns = static_cast<int>(std::lround((w - e) / step)) + 1;
    Text("SUB_NAME", name), Text("PARENT", parent), Text("CREATED", "20260101"), Text("UPDATED", "20260101");
    Double("S_LAT", s), Double("N_LAT", n), Double("E_LONG", e), Double("W_LONG", w);
    Double("LAT_INC", step), Double("LONG_INC", step), Int("GS_COUNT", rows * columns);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < columns; ++c) {
        Float(static_cast<float>(seed + 0.13 * r - 0.07 * c + 0.01 * r * c));  // latitude shift
        Float(static_cast<float>(-seed + 0.05 * r + 0.11 * c));                // longitude shift (west)
        Float(0.0f), Float(0.0f);
      }
    }
  }
  void Save(const fs::path& path) const { std::ofstream(path, std::ios::binary) << bytes_; }

 private:
  void Key(const char* key) {
    char padded[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    for (int i = 0; key[i] && i < 8; ++i) padded[i] = key[i];
    Bytes(padded, 8);
  }
  void Bytes(const char* data, std::size_t size) { bytes_.append(data, size); }
  bool big_;
  std::string bytes_;
};

// Two subgrids, big-endian, Bessel 1841 to GRS80, over 10°-12° E, 46°-48° N.
fs::path WriteMultiSubgridGrid() {
  NtV2Writer w(true);
  w.Int("NUM_OREC", 11), w.Int("NUM_SREC", 11), w.Int("NUM_FILE", 2), w.Text("GS_TYPE", "SECONDS");
  w.Text("VERSION", "NTv2.0"), w.Text("SYSTEM_F", "TESTF"), w.Text("SYSTEM_T", "TESTT");
  w.Double("MAJOR_F", 6377397.155), w.Double("MINOR_F", 6356078.963), w.Double("MAJOR_T", 6378137.0);
  w.Double("MINOR_T", 6356752.314);
  w.Subgrid("PARENT", "NONE", 46 * 3600.0, 48 * 3600.0, -12 * 3600.0, -10 * 3600.0, 1800.0, 1.5);
  w.Subgrid("CHILD", "PARENT", 46.5 * 3600.0, 47.5 * 3600.0, -11.5 * 3600.0, -10.5 * 3600.0, 300.0, 3.0);
  w.Text("END", "");
  const fs::path path = Scratch("two-subgrids-big-endian.gsb");
  w.Save(path);
  return path;
}

// PROJ's cct on `points` ("lon lat" in degrees): the oracle's answers.
std::vector<std::pair<double, double>> Cct(const std::string& grid, bool inverse,
                                           const std::vector<std::pair<double, double>>& points) {
  const fs::path input = Scratch("cct-input.txt");
  {
    std::ofstream out(input);
    for (const auto& [lon, lat] : points) out << FormatC("%.12f %.12f 0 0\n", lon, lat);
  }
  const std::string command = std::string("LC_ALL=C cct -d 12 ") + (inverse ? "-I " : "") + "+proj=hgridshift +grids=" +
                              grid + " " + input.string() + " 2>/dev/null";
  std::vector<std::pair<double, double>> results;
  FILE* pipe = popen(command.c_str(), "r");
  char line[256];
  while (pipe && fgets(line, sizeof line, pipe)) {
    // The process locale may use decimal commas: read the numbers with from_chars.
    double lon = 0, lat = 0;
    const char* end = line + std::strlen(line);
    const char* at = line;
    while (at < end && *at == ' ') ++at;
    const auto first = std::from_chars(at, end, lon);
    at = first.ptr;
    while (at < end && *at == ' ') ++at;
    if (first.ec == std::errc() && std::from_chars(at, end, lat).ec == std::errc()) results.emplace_back(lon, lat);
  }
  if (pipe) pclose(pipe);
  return results;
}

TEST(GridShift, ForwardAndInverseEqualProjHgridshift) {
  const std::vector<std::string> grids = {
      kShipped + "SAD69_003.gsb",      kShipped + "SAD96_003.gsb",    kShipped + "CA61_003.gsb",
      kShipped + "CA7072_003.gsb",     kProjData + "BETA2007.gsb",    kProjData + "ntf_r93.gsb",
      kProjData + "nzgd2kgrid0005.gsb", kProjData + "CHENYX06a.gsb", WriteMultiSubgridGrid().string(),
  };
  std::mt19937_64 random(20261209);
  for (const std::string& grid : grids) {
    SCOPED_TRACE(grid);
    const GridHeaderReading reading = ReadGridHeader(grid);
    ASSERT_TRUE(reading.header) << reading.problem;
    const GridHeader& h = *reading.header;
    // Points well inside the first subgrid (the inverse starts a little off).
    std::uniform_real_distribution<double> lon(h.west + 0.02 * (h.east - h.west), h.east - 0.02 * (h.east - h.west));
    std::uniform_real_distribution<double> lat(h.south + 0.02 * (h.north - h.south), h.north - 0.02 * (h.north - h.south));
    std::vector<std::pair<double, double>> points(300);
    for (auto& p : points) p = {lon(random), lat(random)};
    for (GridDirection direction : {GridDirection::Forward, GridDirection::Inverse}) {
      std::string problem;
      const std::unique_ptr<GridShift> shift = GridShift::Open(grid, direction, problem);
      ASSERT_TRUE(shift) << problem;
      const auto oracle = Cct(grid, direction == GridDirection::Inverse, points);
      ASSERT_EQ(oracle.size(), points.size());
      for (std::size_t k = 0; k < points.size(); ++k) {
        double x = points[k].first, y = points[k].second;
        ASSERT_TRUE(shift->Apply(x, y));
        EXPECT_NEAR(x, oracle[k].first, 1e-9);
        EXPECT_NEAR(y, oracle[k].second, 1e-9);
      }
      // Far outside every subgrid: refused, the point left as it was.
      double x = h.west - 30.0, y = h.south;
      EXPECT_FALSE(shift->Apply(x, y));
      EXPECT_EQ(x, h.west - 30.0);
    }
  }
}

TEST(GridShift, DirectionComesFromTheFramesTheHeaderJoins) {
  const GridFrameSide sirgas{R::Grs80, 6378137.0, 298.257222101};
  const GridFrameSide sad69{R::Sad69, 6378160.0, 298.25};
  const GridFrameSide sad96{R::Sad69_96, 6378160.0, 298.25};
  const GridFrameSide ca7072{R::CorregoAlegre7072, 6378388.0, 297.0};
  const GridFrameSide cartaGeral{R::Hayford, 6378388.0, 297.0};
  const GridFrameSide customHayford{R::Custom, 6378388.0, 297.0};
  const GridFrameSide customBessel{R::Custom, 6377397.155, 299.1528128};
  struct Case {
    std::string grid;
    GridFrameSide input, output;
    std::optional<GridDirection> direction;
  };
  const Case cases[] = {
      {"SAD69_003.gsb", sad69, sirgas, GridDirection::Forward},
      {"SAD69_003.gsb", sirgas, sad69, GridDirection::Inverse},
      {"SAD69_003.gsb", sad96, sirgas, std::nullopt},  // same ellipsoid, another frame
      {"SAD96_003.gsb", sad96, sirgas, GridDirection::Forward},
      {"CA7072_003.gsb", sirgas, ca7072, GridDirection::Inverse},
      {"CA7072_003.gsb", cartaGeral, sirgas, std::nullopt},  // Hayford 1924, but not Córrego Alegre
      {"CA7072_003.gsb", customHayford, sirgas, GridDirection::Forward},
      {"CA7072_003.gsb", sad69, sirgas, std::nullopt},
      {kProjData + "BETA2007.gsb", customBessel, sirgas, GridDirection::Forward},
      // CH1903 -> CH1903+, Bessel on both sides: forward.
      {kProjData + "CHENYX06a.gsb", customBessel, customBessel, GridDirection::Forward},
      {kProjData + "ntf_r93.gsb", customBessel, sirgas, std::nullopt},  // Clarke 1880 (IGN), not Bessel
  };
  for (const Case& c : cases) {
    const std::string path = c.grid.front() == '/' ? c.grid : kShipped + c.grid;
    SCOPED_TRACE(path);
    const GridHeaderReading reading = ReadGridHeader(path);
    ASSERT_TRUE(reading.header) << reading.problem;
    const GridFit fit = FitGrid(path, *reading.header, c.input, c.output);
    EXPECT_EQ(fit.direction, c.direction);
    if (!c.direction) {
      // The refusal names the grid, its frames and their axes.
      EXPECT_NE(fit.problem.find(fs::path(path).filename().string()), std::string::npos) << fit.problem;
      EXPECT_NE(fit.problem.find(reading.header->sourceName), std::string::npos) << fit.problem;
      EXPECT_NE(fit.problem.find("a = " + FormatC("%.3f", reading.header->targetMajor)), std::string::npos)
          << fit.problem;
    }
  }
}

TEST(GridShift, BrokenGridsAreRefusedNamingTheFileAndTheFault) {
  std::string sad69;
  {
    std::ifstream in(kShipped + "SAD69_003.gsb", std::ios::binary);
    sad69.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GT(sad69.size(), 1000u);
  std::string moreSubgrids = sad69;
  moreSubgrids[2 * 16 + 8] = 3;  // NUM_FILE 3: headers the file does not hold
  const struct {
    std::string name, bytes, fault;
  } cases[] = {
      {"vazia.gsb", "", "vazio"},
      {"texto.gsb", std::string(400, 'x'), "não é uma grade NTv2"},
      {"cabecalho.gsb", sad69.substr(0, 100), "truncado"},
      {"cortada.gsb", sad69.substr(0, sad69.size() / 2), "mais do que o arquivo contém"},
      {"subgrades.gsb", moreSubgrids, "truncado"},
  };
  for (const auto& c : cases) {
    const fs::path path = Scratch(c.name);
    std::ofstream(path, std::ios::binary) << c.bytes;
    const GridHeaderReading reading = ReadGridHeader(path.string());
    EXPECT_FALSE(reading.header) << c.name;
    EXPECT_NE(reading.problem.find("\"" + c.name + "\""), std::string::npos) << reading.problem;
    EXPECT_NE(reading.problem.find(c.fault), std::string::npos) << reading.problem;
  }
  EXPECT_NE(ReadGridHeader(Scratch("nao-existe.gsb").string()).problem.find("não existe"), std::string::npos);
}

}  // namespace
}  // namespace transref
