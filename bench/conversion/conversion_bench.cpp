// Throughput of the conversion engine on large files, and of a floor that
// only reads, parses and writes the same lines without transforming them.
//
//   conversion_bench generate-list N PATH   one N-point 3D list in Gauß-Krüger (Oru)
//   conversion_bench generate-dxf N PATH    a drawing with N POINT entities (3D groups)
//   conversion_bench generate-csv N PATH    the same points as a pt_BR spreadsheet: ';'
//                                           separated, decimal commas, a header row and a
//                                           descriptor column
//   conversion_bench convert KIND IN OUT    the engine, "Gauß-Krüger (Oru)" on Hayford to
//                                           "LTM (Oru)" on GRS80 with set B (KIND: list,
//                                           dxf or csv)
//   conversion_bench generate-sad69 N PATH  one N-point 3D list in SAD 69 / UTM 23 S
//   conversion_bench convert-sad69 MODEL IN OUT
//                                           SAD 69 / UTM 23 S to SIRGAS 2000 / UTM 23 S, MODEL
//                                           grid (IBGE's SAD69_003.gsb) or 3 (IBGE's translation)
//   conversion_bench floor IN OUT           read, split, parse and format each list line
//   conversion_bench floor-dxf IN OUT       read each drawing line, parse and format the
//                                           coordinate values (codes 10-39), copy the rest
//
// The floors write their output as the engine does: to a temporary file
// beside it, forced to the disk and renamed over the output name, so that
// both pay the same price for a file that is never seen half-written.
//
// Each run prints one line: "<what> <points> points <seconds> s <points/s> points/s".
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "conversion/Driver.h"
#include "conversion/ConversionJob.h"
#include "geodesy/ParameterSets.h"
#include "support/ReplacingOutput.h"
#include "support/TextFile.h"

namespace {

using namespace transref;

// Survey points around Porto Alegre in Gauß-Krüger (Oru), CM 51° W on
// Hayford: E 200000 +- 50000 m, N 1650000 +- 100000 m (about 29° to 31° S),
// heights 0 to 800 m.
struct PointGenerator {
  std::mt19937_64 random{20261208};
  std::uniform_real_distribution<double> e{150000.0, 250000.0};
  std::uniform_real_distribution<double> n{1550000.0, 1750000.0};
  std::uniform_real_distribution<double> h{0.0, 800.0};
};

int GenerateList(long count, const char* path) {
  std::FILE* out = std::fopen(path, "w");
  if (!out) return 1;
  PointGenerator g;
  for (long i = 1; i <= count; ++i) std::fprintf(out, "%ld %.3f %.3f %.3f\n", i, g.e(g.random), g.n(g.random), g.h(g.random));
  return std::fclose(out) == 0 ? 0 : 1;
}

int GenerateDxf(long count, const char* path) {
  std::FILE* out = std::fopen(path, "w");
  if (!out) return 1;
  std::fputs("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$EXTMIN\n 10\n150000.0\n 20\n1550000.0\n"
             " 30\n0.0\n  9\n$EXTMAX\n 10\n250000.0\n 20\n1750000.0\n 30\n800.0\n  0\nENDSEC\n"
             "  0\nSECTION\n  2\nENTITIES\n",
             out);
  PointGenerator g;
  for (long i = 0; i < count; ++i) {
    std::fprintf(out, "  0\nPOINT\n  8\nPONTOS\n 10\n%.3f\n 20\n%.3f\n 30\n%.3f\n", g.e(g.random), g.n(g.random),
                 g.h(g.random));
  }
  std::fputs("  0\nENDSEC\n  0\nEOF\n", out);
  return std::fclose(out) == 0 ? 0 : 1;
}

int GenerateCsv(long count, const char* path) {
  std::FILE* out = std::fopen(path, "w");
  if (!out) return 1;
  std::fputs("Ponto;Este;Norte;Cota;Descrição\r\n", out);
  static const char* const kCodes[] = {"MURO", "POSTE", "CERCA", "MARCO"};
  PointGenerator g;
  char line[160];
  for (long i = 1; i <= count; ++i) {
    const int length = std::snprintf(line, sizeof line, "P-%ld;%.3f;%.3f;%.3f;%s\r\n", i, g.e(g.random),
                                     g.n(g.random), g.h(g.random), kCodes[i % 4]);
    for (int k = 0; k < length; ++k) {
      if (line[k] == '.') line[k] = ',';
    }
    std::fwrite(line, 1, static_cast<std::size_t>(length), out);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}

// Points of São Paulo and Minas Gerais in SAD 69 / UTM 23 S (CM 45° W):
// E 200000 to 800000 m, N 7200000 to 7600000 m, inside IBGE's grid.
int GenerateSad69(long count, const char* path) {
  std::FILE* out = std::fopen(path, "w");
  if (!out) return 1;
  std::mt19937_64 random{20261209};
  std::uniform_real_distribution<double> e{200000.0, 800000.0}, n{7200000.0, 7600000.0}, h{0.0, 1500.0};
  for (long i = 1; i <= count; ++i) std::fprintf(out, "%ld %.3f %.3f %.3f\n", i, e(random), n(random), h(random));
  return std::fclose(out) == 0 ? 0 : 1;
}

void Report(const char* what, long points, double seconds) {
  std::printf("%s %ld points %.3f s %.0f points/s\n", what, points, seconds, points / seconds);
}

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Runs the job through the engine and reports its points per second.
int TimedRun(const ConversionJob& job, const char* what) {
  NullProgressSink progress;
  const double start = Now();
  const RunResult result = RunConversion(job, progress);
  const double seconds = Now() - start;
  if (!result.Succeeded()) {
    for (const auto& message : result.messages) std::fprintf(stderr, "%s\n", message.text.c_str());
    return 1;
  }
  Report(what, static_cast<long>(result.pointsWritten), seconds);
  return 0;
}

int Convert(const char* kind, const char* in, const char* out) {
  ConversionJob job;
  job.inputPath = in;
  job.outputPath = out;
  const bool dxf = std::strcmp(kind, "dxf") == 0;
  const bool csv = std::strcmp(kind, "csv") == 0;
  job.inputKind = job.outputKind = dxf ? FileKind::Dxf : csv ? FileKind::Delimited : FileKind::Ascii3D;
  job.model = TransformationModel::Isogonal;
  job.isogonal = kIsogonalHayfordToGrs80;
  job.isIdentity = false;
  job.input.system = CoordinateSystemKind::GaussKrugerOru;
  job.input.systemLabel = "Gauß-Krüger (Oru)";
  job.input.semiMajorAxis = 6378388.0;
  job.input.inverseFlattening = 297.0;
  job.input.falseEasting = 200000.0;
  job.input.scaleFactor = 1.0;
  job.output.system = CoordinateSystemKind::LtmOru;
  job.output.systemLabel = "LTM (Oru)";
  job.output.falseEasting = 300000.0;
  job.output.scaleFactor = 0.999995;
  return TimedRun(job, dxf ? "engine-dxf" : csv ? "engine-csv" : "engine-list");
}

int ConvertSad69(const char* model, const char* in, const char* out) {
  ConversionJob job;
  job.inputPath = in;
  job.outputPath = out;
  const bool grid = std::strcmp(model, "grid") == 0;
  for (JobSide* side : {&job.input, &job.output}) {
    side->system = CoordinateSystemKind::Utm;
    side->systemLabel = "UTM";
    side->centralMeridian = -45.0;
    side->falseEasting = 500000.0;
    side->falseNorthing = 10000000.0;
    side->scaleFactor = 0.9996;
  }
  job.input.frame = ReferenceFrame::Sad69;
  job.input.semiMajorAxis = FrameInfo(ReferenceFrame::Sad69).semiMajorAxis;
  job.input.inverseFlattening = FrameInfo(ReferenceFrame::Sad69).inverseFlattening;
  if (grid) {
    job.model = TransformationModel::Grid;
    job.grid.path = ShippedGridPath(ReferenceFrame::Sad69, ReferenceFrame::Grs80);
  } else {
    job.model = TransformationModel::Translation;
    job.isogonal = kTranslationSad69ToSirgas2000;
    job.isIdentity = false;
  }
  return TimedRun(job, grid ? "sad69-grid" : "sad69-3-parameters");
}

// "%10.5lf" with std::to_chars and padding by hand.
char* FloorFixed(char* p, double value) {
  constexpr int kWidth = 10, kDecimals = 5;
  char digits[400];
  const char* end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, kDecimals).ptr;
  const long length = end - digits;
  for (long pad = kWidth - length; pad > 0; --pad) *p++ = ' ';
  std::memcpy(p, digits, static_cast<std::size_t>(length));
  return p + length;
}

// The floor: reading, splitting, number parsing (std::from_chars) and
// fixed-format writing (std::to_chars) of every list line, with the point
// copied instead of transformed.
int Floor(const char* in, const char* out) {
  const double start = Now();
  auto input = TextFile::Open(in, TextFile::Mode::Read);
  int error = 0;
  auto replacing = ReplacingOutput::Open(out, &error);
  if (!input || !replacing) return 1;
  TextFile* output = &replacing->File();
  long points = 0;
  while (!input->AtEnd()) {
    std::string_view view;
    input->ReadLine(view);
    const char* line = view.data();
    const std::size_t length = view.size();
    if (length == 0) break;
    std::string_view fields[4];
    int count = 0;
    for (std::size_t i = 0; i < length && count < 4;) {
      while (i < length && line[i] == ' ') ++i;
      const std::size_t begin = i;
      while (i < length && line[i] != ' ') ++i;
      if (i > begin) fields[count++] = std::string_view(line + begin, i - begin);
    }
    if (count != 4) return 1;
    int id = 0;
    double v[3];
    std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), id);
    for (int k = 0; k < 3; ++k) std::from_chars(fields[k + 1].data(), fields[k + 1].data() + fields[k + 1].size(), v[k]);
    char text[1300];
    char* p = std::to_chars(text, text + 12, id).ptr;
    for (double value : v) {
      *p++ = ' ';
      p = FloorFixed(p, value);
    }
    *p++ = '\n';
    output->Write(std::string_view(text, static_cast<std::size_t>(p - text)));
    ++points;
  }
  if (!replacing->Commit()) return 1;
  Report("floor-list", points, Now() - start);
  return 0;
}

// The drawing floor: every line read and written; code lines read as
// integers, the values of codes 10-39 parsed with std::from_chars and written
// "%0.3lf" with std::to_chars, every other line copied.
int FloorDxf(const char* in, const char* out) {
  const double start = Now();
  auto input = TextFile::Open(in, TextFile::Mode::Read);
  int error = 0;
  auto replacing = ReplacingOutput::Open(out, &error);
  if (!input || !replacing) return 1;
  TextFile* output = &replacing->File();
  long points = 0;
  bool codeLine = true;
  int code = -1;
  while (!input->AtEnd()) {
    std::string_view text;
    input->ReadLine(text);
    const char* line = text.data();
    const std::size_t length = text.size();
    if (codeLine) {
      std::size_t i = 0;
      while (i < length && line[i] == ' ') ++i;
      code = -1;
      std::from_chars(line + i, line + length, code);
      output->WriteLine(text);
    } else if (code >= 10 && code <= 39) {
      double value = 0.0;
      std::from_chars(line, line + length, value);
      char digits[400];
      const char* end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 3).ptr;
      output->WriteLine(std::string_view(digits, static_cast<std::size_t>(end - digits)));
      if (code <= 19) ++points;
    } else {
      output->WriteLine(text);
    }
    codeLine = !codeLine;
  }
  if (!replacing->Commit()) return 1;
  Report("floor-dxf", points, Now() - start);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate-list" && argc == 4) return GenerateList(std::atol(argv[2]), argv[3]);
  if (command == "generate-dxf" && argc == 4) return GenerateDxf(std::atol(argv[2]), argv[3]);
  if (command == "generate-csv" && argc == 4) return GenerateCsv(std::atol(argv[2]), argv[3]);
  if (command == "convert" && argc == 5) return Convert(argv[2], argv[3], argv[4]);
  if (command == "generate-sad69" && argc == 4) return GenerateSad69(std::atol(argv[2]), argv[3]);
  if (command == "convert-sad69" && argc == 5) return ConvertSad69(argv[2], argv[3], argv[4]);
  if (command == "floor" && argc == 4) return Floor(argv[2], argv[3]);
  if (command == "floor-dxf" && argc == 4) return FloorDxf(argv[2], argv[3]);
  std::fprintf(stderr,
               "usage: conversion_bench generate-list N PATH | generate-dxf N PATH | generate-csv N PATH | convert list|dxf|csv IN OUT | generate-sad69 N PATH | convert-sad69 grid|3 IN OUT | floor IN OUT | floor-dxf IN OUT\n");
  return 2;
}
