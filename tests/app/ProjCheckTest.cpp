// Point files as surveyors hold them (a pt_BR spreadsheet, an instrument's
// export, a GIS export in degrees, minutes and seconds), converted by
// transref-convert with nothing but --from and --to, checked against PROJ's
// cs2cs: every position within 1 mm, every other field byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ProcessRunner.h"

namespace transref {
namespace {

namespace fs = std::filesystem;

// cs2cs on the PATH, or empty.
std::string FindCs2cs() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const fs::path candidate = fs::path(dir) / "cs2cs";
    if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

// Fields split at a one-byte separator (the files here quote no separator).
std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

// A number with either decimal mark, whatever the process locale.
double Number(std::string text) {
  for (char& c : text) c = c == ',' ? '.' : c;
  double value = NAN;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : NAN;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines = Split(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  return lines;
}

struct Row {
  std::vector<std::string> fields;  // as written in the file
  double x, y, h;                   // the position the coordinate fields mean, in PROJ's axis order
};

struct Sample {
  const char* name;
  std::string header;
  char separator;
  const char* lineEnd;
  std::vector<std::string> arguments;  // --from and --to only
  std::string projFrom, projTo;
  int xColumn, yColumn, hColumn;  // where the coordinates stand (the same in the output)
  bool geographicOutput;
  std::vector<Row> rows;
};

constexpr double DegreesOf(int d, int m, double s) { return d + m / 60.0 + s / 3600.0; }

std::vector<Sample> Samples() {
  const std::string utm22s = "+proj=utm +zone=22 +south +ellps=GRS80 +units=m +no_defs";
  const std::string geographic = "+proj=longlat +ellps=GRS80 +no_defs";
  const std::string ltmOru = "+proj=tmerc +lat_0=0 +lon_0=-51 +k=0.999995 +x_0=300000 +y_0=5000000 +ellps=GRS80";
  return {
      {"planilha pt_BR", "Ponto;Este;Norte;Cota;Descrição", ';', "\r\n", {"--from", "utm", "--to", "geographic"},
       utm22s, geographic, 1, 2, 3, true,
       {{{"001", "480729,812", "6670116,886", "12,345", "MURO"}, 480729.812, 6670116.886, 12.345},
        {{"M-02", "512345,678", "6712345,678", "3,210", "\"POSTE\""}, 512345.678, 6712345.678, 3.210},
        {{"P-ÁGUA", "450000,000", "6600000,000", "0,000", ""}, 450000.0, 6600000.0, 0.0}}},
      {"instrumento", "PT,E,N,H,CODE", ',', "\n", {"--from", "ltm-oru", "--to", "utm"}, ltmOru, utm22s, 1, 2, 3,
       false,
       {{{"E1", "300123.456", "1676724.283", "45.120", "MARCO"}, 300123.456, 1676724.283, 45.120},
        {{"20240115093000", "299876.5", "1690000.321", "0", "POSTE"}, 299876.5, 1690000.321, 0.0},
        {{"1.0", "301000", "1660000", "100", "CERCA"}, 301000.0, 1660000.0, 100.0}}},
      {"SIG", "Nome\tLatitude\tLongitude\tAltitude", '\t', "\n", {"--from", "geographic", "--to", "utm"},
       geographic, utm22s, 2, 1, 3, false,
       {{{"P1", "30°03'45.5\"S", "51°12'30.5\"W", "10.0"}, -DegreesOf(51, 12, 30.5), -DegreesOf(30, 3, 45.5), 10.0},
        {{"P2", "-29 58 12.25", "-50 47 03.5", "0"}, -DegreesOf(50, 47, 3.5), -DegreesOf(29, 58, 12.25), 0.0},
        {{"P3", "-30:30:00", "-51:30:00", "5"}, -51.5, -30.5, 5.0}}},
  };
}

TEST(IndependentCheck, SurveyorsFilesConvertWithinAMillimetreOfProjKeepingEveryOtherField) {
  const std::string cs2cs = FindCs2cs();
  if (cs2cs.empty()) GTEST_SKIP() << "cs2cs (PROJ) is not installed";
  const fs::path dir = fs::temp_directory_path() / ("transref-proj-check-" + std::to_string(::getpid()));
  fs::create_directories(dir);

  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    std::string content = sample.header + sample.lineEnd;
    std::string projInput;
    for (const Row& row : sample.rows) {
      for (std::size_t k = 0; k < row.fields.size(); ++k) content += (k ? std::string(1, sample.separator) : "") + row.fields[k];
      content += sample.lineEnd;
      char text[96];
      std::snprintf(text, sizeof text, "%.10f %.10f %.4f\n", row.x, row.y, row.h);
      projInput += text;
    }
    for (char& c : projInput) c = c == ',' ? '.' : c;  // snprintf follows the process locale
    const fs::path in = dir / "in.txt", out = dir / "out.txt";
    std::ofstream(in, std::ios::binary) << content;
    fs::remove(out);

    std::vector<std::string> arguments = sample.arguments;
    arguments.insert(arguments.end(), {in.string(), out.string()});
    const testing::ProcessResult run = testing::RunProgram(TRANSREF_CONVERT_PROGRAM, arguments);
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    std::vector<std::string> projArguments = {"-f", "%.10f"};
    std::istringstream from(sample.projFrom + " +to " + sample.projTo);
    for (std::string word; from >> word;) projArguments.push_back(word);
    const testing::ProcessResult proj = testing::RunProgram(cs2cs, projArguments, {}, projInput);
    ASSERT_EQ(proj.exitStatus, 0) << proj.err;
    const std::vector<std::string> expected = Lines(proj.out);

    std::ifstream converted(out, std::ios::binary);
    const std::vector<std::string> lines = Lines(std::string(std::istreambuf_iterator<char>(converted), {}));
    ASSERT_EQ(lines.size(), sample.rows.size() + 1);
    ASSERT_EQ(expected.size(), sample.rows.size());
    for (std::size_t r = 0; r < sample.rows.size(); ++r) {
      const std::vector<std::string> got = Split(lines[r + 1], sample.separator);
      const Row& row = sample.rows[r];
      ASSERT_EQ(got.size(), row.fields.size()) << lines[r + 1];
      for (std::size_t k = 0; k < got.size(); ++k) {
        const int column = static_cast<int>(k);
        if (column != sample.xColumn && column != sample.yColumn && column != sample.hColumn) {
          EXPECT_EQ(got[k], row.fields[k]);
        }
      }
      // cs2cs writes "x<tab>y z".
      std::string reference = expected[r];
      for (char& c : reference) c = c == '\t' ? ' ' : c;
      const std::vector<std::string> xyz = Split(reference, ' ');
      ASSERT_EQ(xyz.size(), 3u) << expected[r];
      const double x = Number(got[static_cast<std::size_t>(sample.xColumn)]);
      const double y = Number(got[static_cast<std::size_t>(sample.yColumn)]);
      const double h = Number(got[static_cast<std::size_t>(sample.hColumn)]);
      // Degrees to metres on the ground for a geographic output.
      const double metresY = sample.geographicOutput ? 111320.0 : 1.0;
      const double metresX = sample.geographicOutput ? 111320.0 * std::cos(Number(xyz[1]) * M_PI / 180.0) : 1.0;
      EXPECT_NEAR(x * metresX, Number(xyz[0]) * metresX, 1e-3) << lines[r + 1] << " / " << expected[r];
      EXPECT_NEAR(y * metresY, Number(xyz[1]) * metresY, 1e-3) << lines[r + 1] << " / " << expected[r];
      EXPECT_NEAR(h, Number(xyz[2]), 1e-3) << lines[r + 1];
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace transref
