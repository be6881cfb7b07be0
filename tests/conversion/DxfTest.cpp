#include "conversion/DxfTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "TestFiles.h"
#include "conversion/Driver.h"
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
  group(" 10", "201000", " 20", "1651000", " 39", "5.0");  // thickness taken as the group's Z
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
  EXPECT_EQ(out, ExpectedDrawing(d, job));
  // Spot checks that do not depend on the helper: the LINE's second point
  // keeps its codes and the POINT's thickness became a height of 3 decimals.
  EXPECT_NE(out.find(" 11\n"), std::string::npos);
  EXPECT_NE(out.find(" 39\n5.000\n"), std::string::npos);
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
  EXPECT_EQ(out, ExpectedDrawing(d, job));
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

TEST(ConvertDxf, DrawingCutShortInsideAGroupStopsTheRunInsteadOfInventingValues) {
  ScratchDir dir;
  const std::string head = "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n200000\n20\n1650000\n0\nPOINT\n";
  // Cut after the X code, after the X value, after the Y code, and after a
  // Z code: each leaves the group at line 13 without its values.
  for (const std::string tail : {"10\n", "10\n200000\n", "10\n200000\n20\n", "10\n200000\n20\n1650000\n30\n"}) {
    const std::string in = dir.Write("cut.dxf", head + tail);
    RecordingSink sink;
    const RunResult result =
        RunConversion(StandardJob(in, dir.Path("cut-out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
    EXPECT_EQ(result.status, RunResult::Status::Failed) << tail;
    EXPECT_EQ(result.lineNumber, 13) << tail;
    ASSERT_EQ(result.messages.size(), 1u) << tail;
    EXPECT_EQ(result.messages[0].text, "O arquivo de entrada possui a inconsistência na linha 13!");
    EXPECT_EQ(sink.ends, 1);
    // Nothing is made up for the second point, and a failed run writes nothing.
    EXPECT_FALSE(std::filesystem::exists(dir.Path("cut-out.dxf"))) << tail;
  }
}

TEST(ConvertDxf, DirectionVectorsAreCopiedNotCarriedAsPositions) {
  ScratchDir dir;
  // An ELLIPSE: centre (10), major-axis end relative to the centre (11); a
  // LINE whose code 11 is its end point; a paper-space VIEWPORT.
  const std::string in = dir.Write(
      "in.dxf",
      "0\nSECTION\n2\nENTITIES\n"
      "0\nELLIPSE\n10\n200000\n20\n1650000\n30\n0\n11\n25.5\n21\n0\n31\n0\n40\n0.5\n"
      "0\nLINE\n10\n200000\n20\n1650000\n11\n200100\n21\n1650100\n"
      "0\nVIEWPORT\n67\n1\n10\n148.5\n20\n105\n30\n0\n12\n200050\n22\n1650050\n"
      "0\nENDSEC\n0\nEOF\n");
  const ConversionJob job = StandardJob(in, dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf);
  RecordingSink sink;
  const RunResult result = RunConversion(job, sink);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.pointsWritten, 3);  // the ellipse centre and the two line ends
  PointChain chain = ChainOf(job);
  double c[3], a[3], b[3];
  ASSERT_TRUE(chain.Transform(200000, 1650000, 0, c));
  ASSERT_TRUE(chain.Transform(200000, 1650000, 0, a));
  ASSERT_TRUE(chain.Transform(200100, 1650100, 0, b));
  EXPECT_EQ(ReadAll(dir.Path("out.dxf")),
            "0\nSECTION\n2\nENTITIES\n"
            "0\nELLIPSE\n10\n" + Printf3(c[0]) + "\n20\n" + Printf3(c[1]) + "\n30\n" + Printf3(c[2]) +
            "\n11\n25.5\n21\n0\n31\n0\n40\n0.5\n"
            "0\nLINE\n10\n" + Printf3(a[0]) + "\n20\n" + Printf3(a[1]) + "\n11\n" + Printf3(b[0]) +
            "\n21\n" + Printf3(b[1]) + "\n"
            "0\nVIEWPORT\n67\n1\n10\n148.5\n20\n105\n30\n0\n12\n200050\n22\n1650050\n"
            "0\nENDSEC\n0\nEOF\n");
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

// ---- The public drawings of the corpus -------------------------------------

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

// An independent reading of a drawing: its lines (CR dropped) up to the EOF
// line, and the line indices of the X values of the ENTITIES section.
struct CorpusReading {
  std::vector<std::string> lines;
  std::set<std::size_t> entityXValues;
};

// Codes 10-19 that hold directions, offsets or sizes in these entities, not
// positions (the DXF reference's group code tables).
bool HoldsAVector(const std::string& entity, const std::string& code) {
  static const std::map<std::string, std::set<std::string>> vectors = {
      {"ELLIPSE", {"11"}}, {"MTEXT", {"11"}}, {"TOLERANCE", {"11"}}, {"XLINE", {"11"}}, {"RAY", {"11"}},
      {"SPLINE", {"12", "13"}}, {"MLINE", {"12", "13"}}, {"IMAGE", {"11", "12", "13", "14"}},
      {"WIPEOUT", {"11", "12", "13", "14"}},
      {"VIEWPORT", {"10", "11", "12", "13", "14", "15", "16", "17"}}};
  const auto found = vectors.find(entity);
  return found != vectors.end() && found->second.count(code) > 0;
}

CorpusReading ReadCorpus(const std::string& text) {
  CorpusReading r;
  r.lines = SplitLines(text, true);
  std::string section, entity;
  bool paperSpace = false;  // code 67 = 1: sheet coordinates of a layout
  for (std::size_t k = 0; k + 1 < r.lines.size(); k += 2) {
    const std::string code = Trim(r.lines[k]);
    const std::string value = Trim(r.lines[k + 1]);
    if (code == "0" && value == "EOF") {
      r.lines.resize(k + 2);
      break;
    }
    if (code == "0") {
      entity = value;
      paperSpace = false;
    }
    if (code == "67") paperSpace = value == "1";
    if (code == "0" && value == "ENDSEC") section.clear();
    if (code == "2" && k >= 2 && Trim(r.lines[k - 2]) == "0" && Trim(r.lines[k - 1]) == "SECTION") section = value;
    if (section == "ENTITIES" && code.size() == 2 && code[0] == '1' && !paperSpace && !HoldsAVector(entity, code)) {
      r.entityXValues.insert(k + 1);
      k += 2;  // the Y pair belongs to the group
      // A Z pair, when present, belongs to it too.
      if (k + 2 < r.lines.size() && Trim(r.lines[k + 2]).size() == 2 && Trim(r.lines[k + 2])[0] == '3') k += 2;
    }
  }
  return r;
}

ConversionJob BackJob(const std::string& in, const std::string& out) {
  // LTM (Oru) on GRS80 back to Gauß-Krüger (Oru) on Hayford with set A.
  ConversionJob job = StandardJob(in, out, FileKind::Dxf, FileKind::Dxf);
  std::swap(job.input, job.output);
  job.isogonal = kIsogonalGrs80ToHayford;
  return job;
}

TEST(ConvertDxfCorpus, EveryDrawingConvertsLineForLine) {
  ScratchDir dir;
  ASSERT_TRUE(std::filesystem::is_directory(TRANSREF_DXF_CORPUS_DIR)) << TRANSREF_DXF_CORPUS_DIR;
  const auto files = CorpusFiles();
  ASSERT_EQ(files.size(), 15u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    RecordingSink sink;
    const RunResult result = RunConversion(StandardJob(file.string(), dir.Path("out.dxf"), FileKind::Dxf, FileKind::Dxf), sink);
    ASSERT_TRUE(result.Succeeded()) << (result.messages.empty() ? "" : result.messages.back().text);
    const CorpusReading input = ReadCorpus(ReadAll(file.string()));
    const std::vector<std::string> output = SplitLines(ReadAll(dir.Path("out.dxf")));
    ASSERT_EQ(output.size(), input.lines.size());
    std::size_t changedEntityX = 0;
    for (std::size_t k = 0; k < output.size(); ++k) {
      if (output[k] == input.lines[k]) continue;
      // Only values of coordinate codes 10-39 change, and they are "%0.3lf".
      ASSERT_EQ(k % 2, 1u) << "line " << k + 1;
      const std::string code = Trim(input.lines[k - 1]);
      ASSERT_TRUE(code.size() == 2 && code[0] >= '1' && code[0] <= '3') << "line " << k + 1 << " code " << code;
      const auto point = output[k].find('.');
      ASSERT_NE(point, std::string::npos);
      EXPECT_EQ(output[k].size() - point, 4u) << output[k];
      if (input.entityXValues.count(k)) ++changedEntityX;
    }
    // Every X value of the entities was transformed (the grids' false
    // eastings differ by 100 km, so none can stay as it was).
    EXPECT_EQ(changedEntityX, input.entityXValues.size());
    EXPECT_GT(changedEntityX, 0u);
    // The entity groups, and at most the two header extents besides.
    EXPECT_GE(result.pointsWritten, static_cast<std::int64_t>(input.entityXValues.size()));
    EXPECT_LE(result.pointsWritten, static_cast<std::int64_t>(input.entityXValues.size()) + 2);
  }
}

TEST(ConvertDxfCorpus, SetBThenSetALandsWithinTheResidualOfTheTwoSets) {
  ScratchDir dir;
  double worstNear = 0.0;  // drawings within 250 km of the central meridian
  double worstFar = 0.0;   // points_lines_3d.dxf, 435 km east of it
  ASSERT_TRUE(std::filesystem::is_directory(TRANSREF_DXF_CORPUS_DIR)) << TRANSREF_DXF_CORPUS_DIR;
  for (const auto& file : CorpusFiles()) {
    SCOPED_TRACE(file.filename().string());
    const bool far = file.filename() == "points_lines_3d.dxf";
    RecordingSink sink;
    ASSERT_TRUE(RunConversion(StandardJob(file.string(), dir.Path("there.dxf"), FileKind::Dxf, FileKind::Dxf), sink).Succeeded());
    ASSERT_TRUE(RunConversion(BackJob(dir.Path("there.dxf"), dir.Path("back.dxf")), sink).Succeeded());
    const CorpusReading input = ReadCorpus(ReadAll(file.string()));
    const std::vector<std::string> there = SplitLines(ReadAll(dir.Path("there.dxf")));
    const std::vector<std::string> back = SplitLines(ReadAll(dir.Path("back.dxf")));
    ASSERT_EQ(back.size(), input.lines.size());
    for (std::size_t k = 0; k < back.size(); ++k) {
      if (there[k] == input.lines[k]) {
        EXPECT_EQ(back[k], input.lines[k]);
        continue;
      }
      const double d = std::fabs(transref::test::Number(back[k]) - transref::test::Number(input.lines[k]));
      (far ? worstFar : worstNear) = std::max(far ? worstFar : worstNear, d);
    }
  }
  // Sets A and B were published separately and are not exact inverses;
  // composed they shrink a geocentric radius by about 0.1 mm. Most drawings
  // hold small coordinates, which in these grids lie 200 km west of the
  // central meridian near 45 degrees S; there the chain's round trip without
  // rounding leaves up to 0.75 mm (datum sets and projection series). Each
  // pass also writes "%0.3lf" (up to 0.5 mm of rounding, twice): 1.75 mm in
  // all, measured 1.7 mm. The bound sits just above it.
  EXPECT_LT(worstNear, 0.0018);
  // 435 km from the central meridian, far outside the 3-degree zone of the
  // grids, the truncated Transverse Mercator series of the two grids no
  // longer invert each other: measured 9.3 mm.
  EXPECT_LT(worstFar, 0.0095);
  EXPECT_GT(worstFar, 0.005);  // the series error is really there
  RecordProperty("worst_residual_near_m", std::to_string(worstNear));
  RecordProperty("worst_residual_far_m", std::to_string(worstFar));
}

}  // namespace
}  // namespace transref
