#include "conversion/Plausibility.h"
#include "conversion/dxf/DxfTransform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numbers>
#include <set>

#include "DxfReading.h"
#include "TestFiles.h"
#include "conversion/Driver.h"
#include "conversion/Progress.h"
#include "geodesy/PointChain.h"
#include "support/Numbers.h"
#include "CLocaleText.h"

namespace transref {
namespace {

using testing::ReadAll;
using testing::RecordingSink;
using testing::ScratchDir;
using testing::SplitLines;
using testing::ChainOf;
using testing::StandardJob;

TEST(ParseGroupCode, ReadsTheIntegerWithBlanksAround) {
  EXPECT_EQ(ParseGroupCode("10"), 10);
  EXPECT_EQ(ParseGroupCode(" 10"), 10);
  EXPECT_EQ(ParseGroupCode("  10"), 10);
  EXPECT_EQ(ParseGroupCode("10  "), 10);
  EXPECT_EQ(ParseGroupCode("\t39"), 39);
  EXPECT_EQ(ParseGroupCode("  0"), 0);
  EXPECT_EQ(ParseGroupCode("1010"), 1010);
  EXPECT_EQ(ParseGroupCode("-5"), -5);
  for (const char* notCode : {"", "   ", "10.0", "1 0", "ENTITIES", "x10", "10x", "+10"}) {
    EXPECT_FALSE(ParseGroupCode(notCode).has_value()) << notCode;
  }
}

TEST(ReadDxfValue, DecimalPointNumbersOnly) {
  EXPECT_EQ(ReadDxfValue("12.5"), 12.5);
  EXPECT_EQ(ReadDxfValue("  -2.5400"), -2.54);
  EXPECT_EQ(ReadDxfValue("+7"), 7.0);
  EXPECT_EQ(ReadDxfValue("1.000000000000000E+20"), 1e20);
  EXPECT_EQ(ReadDxfValue(""), 0.0);
  EXPECT_EQ(ReadDxfValue("   "), 0.0);
  EXPECT_THROW(ReadDxfValue("0x10"), std::runtime_error);  // decimal numbers only, no hexadecimal
  for (const char* bad : {"12,5", "7 ", "abc", "1.5.2", "+-3", "1e"}) {
    try {
      ReadDxfValue(bad);
      ADD_FAILURE() << bad;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), std::string(bad) + " não é um valor numerico!");
    }
  }
}

// A small drawing with every kind of place a coordinate can be, the
// transformed groups marked: {X value line, Y value line, Z value line or -1}.
struct Group {
  int x, y, z;
};

struct Drawing {
  std::vector<std::string> lines;
  std::vector<Group> groups;
  std::size_t eofLine;  // index of the "EOF" line
  std::string Text(const char* lineEnd = "\n") const {
    std::string text;
    for (const auto& line : lines) text += line + lineEnd;
    return text;
  }
};

Drawing SmallDrawing(const std::string& extentsMin = "190000.0", const std::string& extentsMax = "210000.0") {
  Drawing d;
  auto add = [&](std::initializer_list<const char*> lines) {
    for (const char* line : lines) d.lines.emplace_back(line);
  };
  auto group = [&](const char* xc, std::string x, const char* yc, const char* y, const char* zc = nullptr,
                   const char* z = nullptr) {
    const int at = static_cast<int>(d.lines.size());
    d.lines.emplace_back(xc);
    d.lines.push_back(x);
    d.lines.emplace_back(yc);
    d.lines.emplace_back(y);
    if (zc) {
      d.lines.emplace_back(zc);
      d.lines.emplace_back(z);
    }
    d.groups.push_back({at + 1, at + 3, zc ? at + 5 : -1});
  };
  add({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  9", "$INSBASE", " 10", "0.0", " 20",
       "0.0", " 30", "0.0", "  9", "$EXTMIN"});
  group(" 10", extentsMin, " 20", "1640000.0", " 30", "0.0");
  add({"  9", "$EXTMAX"});
  group(" 10", extentsMax, " 20", "1660000.0", " 30", "100.0");
  add({"  9", "$LIMMIN", " 10", "0.0", " 20", "0.0", "  0", "ENDSEC"});
  add({"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", " 10", "5.0", " 20", "6.0", " 30", "0.0", "  0", "ENDBLK",
       "  0", "ENDSEC"});
  add({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", "  8", "0", " 62", "1"});
  group(" 10", "200000.0", " 20", "1650000.0", " 30", "10.0");
  group(" 11", "200100.0", " 21", "1650100.0", " 31", "12.3456");
  add({"210", "0.0", "220", "0.0", "230", "1.0", "  0", "TEXT", "  8", "0"});
  group(" 10", "200050.0", " 20", "1650050.0");  // 2D: the next code is read again by the walk
  add({"  1", "ENDSEC", "  0", "TEXT"});          // a text that reads "ENDSEC" is just a text
  group(" 10", "200060.0", " 20", "1650060.0");
  add({"  1", "texto com ENDSEC e EOF", "  0", "LWPOLYLINE", " 90", "2"});
  group("10", "200000.5", "20", "1650000.5");      // codes without padding
  group("  10", "200001.5", "  20", "1650001.5");  // codes with two blanks
  add({"  0", "POINT"});
  group(" 10", "201000", " 20", "1651000");  // 2D: the thickness after it is no height
  add({" 39", "5.0"});
  add({"  0", "ENDSEC", "  0", "SECTION", "  2", "OBJECTS", " 10", "1.0", " 20", "2.0", "  0", "ENDSEC", "  0", "EOF"});
  d.eofLine = d.lines.size() - 1;
  add({"after the end", "999"});
  return d;
}

std::string Printf3(double v) {
  char text[400];
  transref::FormatC(text, sizeof text, "%0.3lf", v);
  return text;
}

// The drawing as it must come out: transformed values in "%0.3lf", every
// other line as read, nothing after EOF.
std::string ExpectedDrawing(const Drawing& d, const ConversionJob& job) {
  PointChain chain = ChainOf(job);
  std::vector<std::string> lines(d.lines.begin(), d.lines.begin() + static_cast<long>(d.eofLine) + 1);
  for (const Group& g : d.groups) {
    double out[3];
    const double z = g.z >= 0 ? transref::test::Number(d.lines[g.z]) : 0.0;
    if (!chain.Transform(transref::test::Number(d.lines[g.x]), transref::test::Number(d.lines[g.y]), z, out)) continue;
    lines[g.x] = Printf3(out[0]);
    lines[g.y] = Printf3(out[1]);
    if (g.z >= 0) lines[g.z] = Printf3(out[2]);
  }
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

// The converted drawing without the rotations it added to the small
// drawing's texts (the grid turns by 2.6e-5 rad there; they are checked
// with the other implicit directions).
std::string WithoutAddedDirections(const Drawing& d, const std::string& out) {
  const test::SetAside aside = test::SetAsideAddedDirections(d.lines, SplitLines(out));
  EXPECT_EQ(aside.added, 2);
  std::string text;
  for (const auto& line : aside.lines) text += line + "\n";
  return text;
}

TEST(ConvertDxf, TransformsExtentsAndEntityGroupsAndCopiesEverythingElse) {
  ScratchDir dir;
  const Drawing d = SmallDrawing();
  const std::string in = dir.Write("in.dxf", d.Text());
  const ConversionJob job = StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf);
  RecordingSink sink;
  const RunResult result = RunConversion(job, sink);
  ASSERT_TRUE(result.Succeeded()) << (result.messages.empty() ? "" : result.messages[0].text);
  EXPECT_EQ(result.pointsWritten, static_cast<std::int64_t>(d.groups.size()));
  const std::string out = ReadAll(dir.Path("out.dxf"));
  EXPECT_EQ(WithoutAddedDirections(d, out), ExpectedDrawing(d, job));
  // Spot checks that do not depend on the helper: the LINE's second point
  // keeps its codes and the POINT's thickness is copied, not read as a height.
  EXPECT_NE(out.find(" 11\n"), std::string::npos);
  EXPECT_NE(out.find(" 39\n5.0\n"), std::string::npos);
  EXPECT_NE(out.find("\n 31\n12.346\n"), std::string::npos);
  EXPECT_NE(out.find("$LIMMIN\n 10\n0.0\n 20\n0.0\n"), std::string::npos);
  EXPECT_NE(out.find("BLOCK\n 10\n5.0\n 20\n6.0\n"), std::string::npos);
  EXPECT_EQ(out.find("after the end"), std::string::npos);

  EXPECT_EQ(sink.stages, (std::vector<std::string>{"Lendo cabeçalho do arquivo de entrada",
                                                   "Processando transformação", "Finalizando..."}));
  EXPECT_EQ(sink.ends, 1);
  ASSERT_FALSE(sink.steps.empty());
  for (std::size_t k = 1; k < sink.steps.size(); ++k) EXPECT_GE(sink.steps[k], sink.steps[k - 1]);
}

TEST(ConvertDxf, CrLfDrawingConvertsExactlyLikeLf) {
  ScratchDir dir;
  const Drawing d = SmallDrawing();
  RecordingSink sink;
  const std::string lf = dir.Write("lf.dxf", d.Text());
  const std::string crlf = dir.Write("crlf.dxf", d.Text("\r\n"));
  ASSERT_TRUE(RunConversion(StandardJob(lf, dir.Path("a.dxf"), FileKind::Dxf, FileKind::Dxf), sink).Succeeded());
  ASSERT_TRUE(RunConversion(StandardJob(crlf, dir.Path("b.dxf"), FileKind::Dxf, FileKind::Dxf), sink).Succeeded());
  EXPECT_EQ(ReadAll(dir.Path("a.dxf")), ReadAll(dir.Path("b.dxf")));
  ASSERT_TRUE(RunConversion(StandardJob(crlf, dir.Path("b.txt"), FileKind::Dxf, FileKind::Ascii3D), sink).Succeeded());
  EXPECT_EQ(SplitLines(ReadAll(dir.Path("b.txt"))).size(), d.groups.size());
}

TEST(ConvertDxf, ListOutputHasOneLinePerGroupNumberedByItsCodeLine) {
  ScratchDir dir;
  const Drawing d = SmallDrawing();
  const std::string in = dir.Write("in.dxf", d.Text());
  for (FileKind kind : {FileKind::Ascii3D, FileKind::Ascii2D}) {
    const ConversionJob job = StandardJob(in, dir.Path("out.txt"), FileKind::Dxf, kind);
    RecordingSink sink;
    ASSERT_TRUE(RunConversion(job, sink).Succeeded());
    PointChain chain = ChainOf(job);
    std::string expected;
    for (const Group& g : d.groups) {
      double out[3];
      ASSERT_TRUE(chain.Transform(transref::test::Number(d.lines[g.x]), transref::test::Number(d.lines[g.y]),
                                  g.z >= 0 ? transref::test::Number(d.lines[g.z]) : 0.0, out));
      char line[256];
      // The identifier is the zero-based index of the X code line.
      if (kind == FileKind::Ascii3D) {
        transref::FormatC(line, sizeof line, "%d %10.5lf %10.5lf %10.5lf\n", g.x - 1, out[0], out[1], out[2]);
      } else {
        transref::FormatC(line, sizeof line, "%d %10.5lf %10.5lf\n", g.x - 1, out[0], out[1]);
      }
      expected += line;
    }
    EXPECT_EQ(ReadAll(dir.Path("out.txt")), expected);
    EXPECT_EQ(SplitLines(expected)[0].substr(0, 3), "18 ");  // $EXTMIN's X code is line 19
  }
}

TEST(ConvertDxf, ExtentsPlaceholdersAreKeptInDrawingsAndLeftOutOfLists) {
  ScratchDir dir;
  const Drawing d = SmallDrawing("1e+20", "-1.000000000000000E+20");
  const std::string in = dir.Write("in.dxf", d.Text());
  RecordingSink sink;
  const ConversionJob job = StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf);
  const RunResult result = RunConversion(job, sink);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.pointsWritten, static_cast<std::int64_t>(d.groups.size()) - 2);
  const std::string out = ReadAll(dir.Path("out.dxf"));
  EXPECT_EQ(WithoutAddedDirections(d, out), ExpectedDrawing(d, job));
  EXPECT_NE(out.find("$EXTMIN\n 10\n1e+20\n 20\n1640000.0\n 30\n0.0\n"), std::string::npos);
  EXPECT_NE(out.find("$EXTMAX\n 10\n-1.000000000000000E+20\n 20\n1660000.0\n 30\n100.0\n"), std::string::npos);

  ASSERT_TRUE(RunConversion(StandardJob(in, dir.Path("out.txt"), FileKind::Dxf, FileKind::Ascii3D), sink).Succeeded());
  const auto lines = SplitLines(ReadAll(dir.Path("out.txt")));
  ASSERT_EQ(lines.size(), d.groups.size() - 2);
  EXPECT_EQ(lines[0].substr(0, lines[0].find(' ')), std::to_string(d.groups[2].x - 1));
}

TEST(ConvertDxf, EntityOutsideTheDomainStopsTheRunNamingItsLine) {
  ScratchDir dir;
  Drawing d = SmallDrawing();
  const Group& point = d.groups.back();
  d.lines[point.x] = "1e+20";
  const std::string in = dir.Write("in.dxf", d.Text());
  RecordingSink sink;
  const RunResult result = RunConversion(StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  EXPECT_EQ(result.lineNumber, point.x);  // the 1-based number of the X code line
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, "O arquivo de entrada possui a inconsistência na linha " +
                                         std::to_string(point.x) + ":\nPonto fora do domínio da transformação!");
  EXPECT_EQ(sink.ends, 1);
  // A failed run leaves no output file.
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.dxf")));
}

// A rewritten value that the arithmetic cannot hold (here the length of a
// text direction of 1e200 m) is never written as "inf" or "nan": the run
// stops naming the tag, as for a point outside the domain.
TEST(ConvertDxf, ValueThatOverflowsStopsTheRunInsteadOfWritingNan) {
  ScratchDir dir;
  const std::string in = dir.Write("in.dxf",
                                   "  0\nSECTION\n  2\nENTITIES\n  0\nMTEXT\n  8\n0\n 10\n200000.0\n 20\n1650000.0\n"
                                   " 30\n0.0\n 11\n0.0\n 21\n0.0\n 31\n1e200\n  1\nx\n  0\nENDSEC\n  0\nEOF\n");
  RecordingSink sink;
  const RunResult result = RunConversion(StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  EXPECT_EQ(result.lineNumber, 15);  // the code line of the direction
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, "O arquivo de entrada possui a inconsistência na linha 15:\nPonto fora do domínio da transformação!");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.dxf")));
}

TEST(ConvertDxf, ValueThatIsNotANumberStopsTheRun) {
  ScratchDir dir;
  Drawing d = SmallDrawing();
  const Group& line = d.groups[2];
  d.lines[line.y] = "1650000,0";
  const std::string in = dir.Write("in.dxf", d.Text());
  RecordingSink sink;
  const RunResult result = RunConversion(StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  EXPECT_EQ(result.lineNumber, line.y + 1);
  ASSERT_EQ(result.messages.size(), 2u);
  EXPECT_EQ(result.messages[0].kind, MessageBoxKind::ConversionError);
  EXPECT_EQ(result.messages[0].text, "1650000,0 não é um valor numerico!");
  EXPECT_EQ(result.messages[1].kind, MessageBoxKind::Interrupt);
  EXPECT_EQ(result.messages[1].text,
            "O arquivo de entrada possui a inconsistência na linha " + std::to_string(line.y + 1) + "!");
  EXPECT_EQ(sink.ends, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.dxf")));
}

TEST(ConvertDxf, DrawingCutShortStopsTheRunNamingItsLastLine) {
  ScratchDir dir;
  const std::string head = "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n200000\n20\n1650000\n0\nPOINT\n";
  // Cut inside the second point (after its X code, X value, Y code, Z code)
  // or after it, before the section's end: each stops at the last line read.
  for (const std::string tail : {"10\n", "10\n200000\n", "10\n200000\n20\n", "10\n200000\n20\n1650000\n30\n",
                                 "10\n200000\n20\n1650000\n"}) {
    const std::string in = dir.Write("cut.dxf", head + tail);
    const int last = static_cast<int>(SplitLines(head + tail).size());
    RecordingSink sink;
    const RunResult result =
        RunConversion(StandardJob(in, dir.Path("cut-out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
    EXPECT_EQ(result.status, RunResult::Status::Failed) << tail;
    EXPECT_EQ(result.lineNumber, last) << tail;
    ASSERT_EQ(result.messages.size(), 1u) << tail;
    EXPECT_EQ(result.messages[0].text,
              "O arquivo de entrada possui a inconsistência na linha " + std::to_string(last) + "!");
    EXPECT_EQ(sink.ends, 1);
    // Nothing is made up for the second point, and a failed run writes nothing.
    EXPECT_FALSE(std::filesystem::exists(dir.Path("cut-out.dxf"))) << tail;
  }
  // A point without its Y value is broken, not a point at 0.
  const std::string noY = dir.Write("no-y.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n200000\n30\n5\n0\nENDSEC\n0\nEOF\n");
  RecordingSink sink;
  const RunResult broken = RunConversion(StandardJob(noY, dir.Path("no-y.out"), FileKind::Dxf, FileKind::Dxf), sink);
  EXPECT_EQ(broken.status, RunResult::Status::Failed);
  EXPECT_EQ(broken.lineNumber, 7);
  // Every section closed, only the final EOF missing (some writers omit
  // it): the drawing converts as it is.
  const std::string noEof = dir.Write("no-eof.dxf", head.substr(0, head.size() - 8) + "0\nENDSEC\n");
  const ConversionJob job = StandardJob(noEof, dir.Path("no-eof.out"), FileKind::Dxf, FileKind::Dxf);
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  PointChain chain = ChainOf(job);
  double p[3];
  ASSERT_TRUE(chain.Transform(200000, 1650000, 0, p));
  EXPECT_EQ(ReadAll(dir.Path("no-eof.out")), "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n" + Printf3(p[0]) + "\n20\n" +
                                                Printf3(p[1]) + "\n0\nENDSEC\n");
}

TEST(ConvertDxf, PaperSpaceEntitiesKeepTheirSheetCoordinates) {
  ScratchDir dir;
  const std::string in = dir.Write(
      "in.dxf",
      "0\nSECTION\n2\nENTITIES\n"
      "0\nLINE\n8\nCARIMBO\n67\n1\n10\n10.0\n20\n10.0\n11\n287.0\n21\n10.0\n"
      "0\nPOINT\n8\nPONTOS\n67\n0\n10\n200000\n20\n1650000\n30\n7\n"
      "0\nENDSEC\n0\nEOF\n");
  const ConversionJob job = StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf);
  RecordingSink sink;
  const RunResult result = RunConversion(job, sink);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.pointsWritten, 1);
  PointChain chain = ChainOf(job);
  double p[3];
  ASSERT_TRUE(chain.Transform(200000, 1650000, 7, p));
  EXPECT_EQ(ReadAll(dir.Path("out.dxf")),
            "0\nSECTION\n2\nENTITIES\n"
            "0\nLINE\n8\nCARIMBO\n67\n1\n10\n10.0\n20\n10.0\n11\n287.0\n21\n10.0\n"
            "0\nPOINT\n8\nPONTOS\n67\n0\n10\n" + Printf3(p[0]) + "\n20\n" + Printf3(p[1]) + "\n30\n" +
            Printf3(p[2]) + "\n0\nENDSEC\n0\nEOF\n");
}

TEST(ConvertDxf, FileWithoutEntitiesSectionIsNotReportedAsConverted) {
  ScratchDir dir;
  // A point list chosen as a drawing, and a drawing holding only a header.
  for (const std::string& text : {std::string("1 200000 1650000 10\n2 200100 1650100 11\n"),
                                 std::string("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nEOF\n")}) {
    const std::string in = dir.Write("not-a-drawing.dxf", text);
    RecordingSink sink;
    const RunResult result =
        RunConversion(StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
    EXPECT_EQ(result.status, RunResult::Status::Failed);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].kind, MessageBoxKind::Interrupt);
    EXPECT_EQ(result.messages[0].text, "O arquivo de entrada não possui a seção ENTITIES de um desenho DXF!");
    EXPECT_EQ(sink.ends, 1);
  }
}

TEST(ConvertDxf, DrawingWithoutHeaderStillHasItsEntitiesTransformed) {
  ScratchDir dir;
  const std::string in = dir.Write("in.dxf",
                                   "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n200000\n20\n1650000\n30\n7\n0\nENDSEC\n0\nEOF\n");
  const ConversionJob job = StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf);
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  PointChain chain = ChainOf(job);
  double out[3];
  ASSERT_TRUE(chain.Transform(200000, 1650000, 7, out));
  EXPECT_EQ(ReadAll(dir.Path("out.dxf")), "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n" + Printf3(out[0]) + "\n20\n" +
                                              Printf3(out[1]) + "\n30\n" + Printf3(out[2]) + "\n0\nENDSEC\n0\nEOF\n");

  // A header with $EXTMAX alone: it is transformed, and so are the entities
  // after the header's end.
  const std::string onlyMax = dir.Write(
      "max.dxf", "0\nSECTION\n2\nHEADER\n9\n$EXTMAX\n10\n200000\n20\n1650000\n9\n$LIMMAX\n10\n1\n20\n2\n0\nENDSEC\n"
                 "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n200000\n20\n1650000\n30\n7\n0\nENDSEC\n0\nEOF\n");
  const RunResult result = RunConversion(StandardJob(onlyMax, dir.Path("max.txt"), FileKind::Dxf, FileKind::Ascii2D), sink);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.pointsWritten, 2);
  const auto lines = SplitLines(ReadAll(dir.Path("max.txt")));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 2), "6 ");   // the X code is line 7
  EXPECT_EQ(lines[1].substr(0, 3), "24 ");  // the X code is line 25
}

TEST(ConvertDxf, BinaryDrawingIsRefusedNotCopied) {
  ScratchDir dir;
  // The sentinel of a binary DXF, then binary group data.
  std::string binary = "AutoCAD Binary DXF\r\n\x1a";
  const char groups[] = "\0\0SECTION\0\x02HEADER\0\r\n\x09";
  binary.append(groups, sizeof groups - 1);
  const std::string in = dir.Write("binary.dxf", binary);
  for (const FileKind kind : {FileKind::Dxf, FileKind::Ascii3D}) {
    RecordingSink sink;
    const RunResult result = RunConversion(StandardJob(in, dir.Path("out"), FileKind::Dxf, kind), sink);
    EXPECT_EQ(result.status, RunResult::Status::Failed);
    EXPECT_EQ(result.lineNumber, 1);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].text, "O arquivo de entrada possui a inconsistência na linha 1!");
    EXPECT_EQ(sink.ends, 1);
    EXPECT_EQ(ReadAll(dir.Path("out")), "");
  }
  // The same words further down, or as a text, are an ordinary line.
  const std::string text = dir.Write("text.dxf", "0\nSECTION\n2\nENTITIES\n0\nTEXT\n1\nAutoCAD Binary DXF\n"
                                                 "0\nENDSEC\n0\nEOF\n");
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(StandardJob(text, dir.Path("text.out"), FileKind::Dxf, FileKind::Dxf), sink).Succeeded());
  EXPECT_EQ(ReadAll(dir.Path("text.out")), ReadAll(text));
}

TEST(ConvertDxf, WriteErrorIsNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ScratchDir dir;
  const std::string in = dir.Write("in.dxf", SmallDrawing().Text());
  RecordingSink sink;
  const RunResult result = RunConversion(StandardJob(in, "/dev/full", FileKind::Dxf, FileKind::Dxf), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, "Erro na gravação do arquivo de saída!");
}

// ---- Directions, vertices and positions out of the zone ---------------------

struct Walked {
  std::string text;
  RunResult result;
  DxfFindings findings;
};

Walked WalkInMemory(const ConversionJob& job, const std::string& drawing) {
  PointChain chain = ChainOf(job);
  dxf::MemoryLineSource source(drawing);
  dxf::StringLineSink sink;
  NullProgressSink progress;
  Walked walked;
  EXPECT_TRUE(WalkDxf(job, chain, source, sink, progress, walked.result, &walked.findings));
  walked.text = sink.text;
  return walked;
}

std::string Entities(const std::string& entities) {
  return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

// Where a direction of angle 0 at the ground point (x, y) lands: the way a
// step of 1 m east is carried, in degrees [0, 360).
double CarriedEast(const ConversionJob& job, double x, double y) {
  PointChain chain = ChainOf(job);
  double p[3], q[3];
  EXPECT_TRUE(chain.Transform(x, y, 0, p) && chain.Transform(x + 1, y, 0, q));
  const double degrees = std::atan2(q[1] - p[1], q[0] - p[0]) * 180 / std::numbers::pi;
  return degrees < 0 ? degrees + 360 : degrees;
}

// A change of frame alone: the same grid on both sides, the frames turned
// about the polar axis by ten seconds of arc (the built-in sets, whose
// shifts are tens of metres, turn the grid by 2-3e-5 rad at 45 degrees S).
ConversionJob FrameChangeJob() {
  ConversionJob job = test::ZoneChangeJob("", "");
  job.output = job.input;
  job.isogonal.rz = 10.0 / 3600;
  job.isIdentity = false;
  return job;
}

TEST(ImplicitDirections, AreWrittenInTheirSubclassWithTheDrawingsLayoutWhenTheGridTurns) {
  // Expected lines: "#" any number, "@" the carried east direction in
  // degrees, "@cos" / "@sin" its world vector.
  struct Case {
    const char* what;
    std::vector<std::string> in, out;
  };
  const std::string x = "150000.0", y = "4400000.0";
  const std::vector<Case> cases = {
      {"R12 text, one blank before every code",
       {" 0", "TEXT", " 8", "0", " 10", x, " 20", y, " 30", "0.0", " 40", "2.5", " 1", "A"},
       {" 0", "TEXT", " 8", "0", " 10", "#", " 20", "#", " 30", "#", " 40", "2.5", " 1", "A", " 50", "@"}},
      {"text with subclasses and justification",
       {"  0", "TEXT", "100", "AcDbEntity", "  8", "0", "100", "AcDbText", " 10", x, " 20", y, " 30", "0.0", " 40",
        "2.5", "  1", "A", " 72", "1", " 11", x, " 21", y, " 31", "0.0", "100", "AcDbText", " 73", "2"},
       {"  0", "TEXT", "100", "AcDbEntity", "  8", "0", "100", "AcDbText", " 10", "#", " 20", "#", " 30", "#", " 40",
        "2.5", "  1", "A", " 50", "@", " 72", "1", " 11", "#", " 21", "#", " 31", "#", "100", "AcDbText", " 73", "2"}},
      {"block reference with an attribute, codes without blanks",
       {"0", "INSERT", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockReference", "66", "1", "2", "B", "10", x,
        "20", y, "30", "0.0", "0", "ATTRIB", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", x, "20", y,
        "30", "0.0", "40", "2.5", "1", "V", "100", "AcDbAttribute", "2", "T", "70", "0", "0", "SEQEND", "8", "0"},
       {"0", "INSERT", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockReference", "66", "1", "2", "B", "10", "#",
        "20", "#", "30", "#", "50", "@", "0", "ATTRIB", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "#",
        "20", "#", "30", "#", "40", "2.5", "1", "V", "50", "@", "100", "AcDbAttribute", "2", "T", "70", "0", "0",
        "SEQEND", "8", "0"}},
      {"horizontal dimension: in AcDbAlignedDimension, as the reference and independent readers have it",
       {"  0", "DIMENSION", "100", "AcDbEntity", "  8", "0", "100", "AcDbDimension", "  2", "*D1", " 10", x, " 20",
        y, " 11", x, " 21", y, " 70", "32", "100", "AcDbAlignedDimension", " 13", x, " 23", y, " 14", x, " 24", y,
        "100", "AcDbRotatedDimension"},
       {"  0", "DIMENSION", "100", "AcDbEntity", "  8", "0", "100", "AcDbDimension", "  2", "*D1", " 10", "#", " 20",
        "#", " 11", "#", " 21", "#", " 70", "32", "100", "AcDbAlignedDimension", " 13", "#", " 23", "#", " 14", "#",
        " 24", "#", " 50", "@", "100", "AcDbRotatedDimension"}},
      {"aligned dimension: its direction is its points'",
       {"  0", "DIMENSION", "  8", "0", "  2", "*D2", " 10", x, " 20", y, " 70", "33", " 13", x, " 23", y},
       {"  0", "DIMENSION", "  8", "0", "  2", "*D2", " 10", "#", " 20", "#", " 70", "33", " 13", "#", " 23", "#"}},
      {"multi-line text: the world X-axis vector",
       {"  0", "MTEXT", "100", "AcDbEntity", "  8", "0", "100", "AcDbMText", " 10", x, " 20", y, " 30", "0.0", " 40",
        "2.5", " 71", "1", "  1", "M", "  7", "Standard", " 73", "1"},
       {"  0", "MTEXT", "100", "AcDbEntity", "  8", "0", "100", "AcDbMText", " 10", "#", " 20", "#", " 30", "#", " 40",
        "2.5", " 71", "1", "  1", "M", "  7", "Standard", " 11", "@cos", " 21", "@sin", " 31", "0.0", " 73", "1"}},
  };
  const ConversionJob zone = test::ZoneChangeJob("", "");
  const double east = CarriedEast(zone, 150000.0, 4400000.0);
  ASSERT_GT(std::fabs(std::remainder(east, 360.0)), 0.5);  // the grid turns by half a degree here
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string in;
    for (const auto& line : c.in) in += line + "\n";
    const Walked walked = WalkInMemory(zone, Entities(in));
    const std::vector<std::string> out = SplitLines(walked.text);
    ASSERT_EQ(out.size(), c.out.size() + 8);
    int added = 0;
    for (std::size_t k = 0; k < c.out.size(); ++k) {
      const std::string& got = out[k + 4];
      const std::string& want = c.out[k];
      if (want == "#") {
        EXPECT_NO_THROW(ReadDxfValue(got)) << got;
      } else if (want[0] == '@') {
        if (want != "@sin") ++added;  // an MTEXT vector is one direction
        const double value = ReadDxfValue(got), radians = east * std::numbers::pi / 180;
        const double miss = want == "@"      ? std::remainder(value - east, 360.0)
                            : want == "@cos" ? value - std::cos(radians)
                                             : value - std::sin(radians);
        EXPECT_NEAR(miss, 0.0, 1e-6) << want << " " << got;
      } else {
        EXPECT_EQ(got, want) << "line " << k + 1;
      }
    }
    EXPECT_EQ(walked.findings.directionsAdded, added);
    // A change of frame that turns the grid by a few 1e-6 rad: nothing added.
    const double turn = std::remainder(CarriedEast(FrameChangeJob(), 150000.0, 4400000.0), 360.0) * std::numbers::pi / 180;
    ASSERT_GT(std::fabs(turn), 1e-6);
    ASSERT_LT(std::fabs(turn), 1e-5);
    const Walked kept = WalkInMemory(FrameChangeJob(), Entities(in));
    EXPECT_EQ(kept.findings.directionsAdded, 0);
    EXPECT_EQ(SplitLines(kept.text).size(), c.in.size() + 8);
  }
}

TEST(PolylineVertices, OfA2dPolylineLieAtItsElevationWhateverZTheyWrite) {
  // R12 writers put 0.0 in the vertices of a polyline at elevation 31; a 3D
  // polyline's vertices hold their own heights.
  const std::string drawing = Entities(
      "  0\nPOLYLINE\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n31.0\n 70\n0\n"
      "  0\nVERTEX\n 10\n150000.0\n 20\n4400000.0\n 30\n0.0\n  0\nVERTEX\n 10\n150010.0\n 20\n4400000.0\n 30\n0.0\n"
      "  0\nSEQEND\n"
      "  0\nPOLYLINE\n 66\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n8\n"
      "  0\nVERTEX\n 10\n150000.0\n 20\n4400000.0\n 30\n7.5\n 70\n32\n  0\nSEQEND\n");
  const Walked asDrawing = WalkInMemory(test::ZoneChangeJob("", ""), drawing);
  const std::vector<std::string> lines = SplitLines(asDrawing.text);
  std::vector<std::string> heights;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    if (lines[k] == " 30") heights.push_back(lines[k + 1]);
  }
  EXPECT_EQ(heights, (std::vector<std::string>{"31.000", "31.000", "31.000", "0.000", "7.500"}));
  const Walked asList = WalkInMemory(test::ZoneChangeJob("", "", FileKind::Ascii3D), drawing);
  std::vector<double> listed;
  for (const std::string& line : SplitLines(asList.text)) listed.push_back(test::Number(line.substr(line.rfind(' '))));
  EXPECT_EQ(listed, (std::vector<double>{31.0, 31.0, 7.5}));
}

TEST(OutOfZone, AViewCentreStaysAndAnEntityIsCountedWithItsLine) {
  // UTM at 45 degrees W to Gauss-Krueger at 51 degrees W. 0,0 lies at 85.5
  // degrees S, where the grid's series no longer come back to their point.
  ConversionJob job = test::ZoneChangeJob("", "");
  std::swap(job.input, job.output);
  const std::string drawing =
      "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nVPORT\n  0\nVPORT\n  2\n*ACTIVE\n 12\n0.0\n 22\n0.0\n"
      "  0\nENDTAB\n  0\nENDSEC\n" +
      Entities("  0\nPOINT\n 10\n500000.0\n 20\n5000000.0\n  0\nPOINT\n 10\n0.0\n 20\n0.0\n"
               "  0\nLINE\n 10\n0.0\n 20\n0.0\n 11\n10.0\n 21\n0.0\n");
  const Walked walked = WalkInMemory(job, drawing);
  const std::vector<std::string> lines = SplitLines(walked.text);
  ASSERT_GT(lines.size(), 34u);
  EXPECT_EQ(lines[13], "0.0");  // the view centre, as it was
  EXPECT_EQ(lines[15], "0.0");
  EXPECT_EQ(walked.findings.entities, 3);
  EXPECT_EQ(walked.findings.outside, 2);
  EXPECT_EQ(walked.findings.outsideLines, (std::vector<std::int64_t>{33, 39}));
  // The entity is converted as the chain gives it.
  EXPECT_NE(lines[33], "0.0");
  // The run's warning names them by their lines.
  const std::optional<std::string> warning = OutsideZoneWarning(walked.findings.outside, walked.findings.outsideLines);
  ASSERT_TRUE(warning.has_value());
  EXPECT_NE(warning->find("2 entidades"), std::string::npos) << *warning;
  EXPECT_NE(warning->find("linhas 33 e 39"), std::string::npos) << *warning;
  EXPECT_FALSE(OutsideZoneWarning(0, {}).has_value());
  // More entities than the three named, and more than the lines kept: one mark.
  EXPECT_NE(OutsideZoneWarning(40, {1, 2, 3, 4, 5})->find("(linhas 1, 2, 3 …)"), std::string::npos);
  EXPECT_NE(OutsideZoneWarning(40, {7, 8})->find("(linhas 7 e 8 …)"), std::string::npos);
}

}  // namespace
}  // namespace transref
