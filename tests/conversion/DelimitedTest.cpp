// Delimited point files, maps and the plausibility warnings, through whole
// runs over files written here. Expected positions come from PROJ's cs2cs
// (UTM 22 S on GRS80), an independent implementation.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "conversion/Driver.h"
#include "conversion/lists/DelimitedList.h"
#include "geodesy/AngleText.h"

namespace transref {
namespace {

using testing::ReadAll;
using testing::ScratchDir;

JobSide Utm22South() {
  JobSide side = testing::LtmOruGrs80();
  side.system = CoordinateSystemKind::Utm;
  side.systemLabel = "UTM";
  side.falseEasting = 500000.0;
  side.falseNorthing = 10000000.0;
  side.scaleFactor = 0.9996;
  return side;
}

JobSide GeographicGrs80() { return testing::PlainSide(CoordinateSystemKind::Geographic, "Geográficas"); }

ConversionJob Job(const std::string& in, const std::string& out, FileKind inKind, FileKind outKind, JobSide from,
                  JobSide to) {
  ConversionJob job;
  job.inputPath = in;
  job.outputPath = out;
  job.inputKind = inKind;
  job.outputKind = outKind;
  job.input = std::move(from);
  job.output = std::move(to);
  return job;
}

RunResult RunJob(const ConversionJob& job) {
  NullProgressSink sink;
  return RunConversion(job, sink);
}

TEST(ReadAngleText, DecimalAndSexagesimalInEveryNotation) {
  const double dms = 51.0 + 12.0 / 60.0 + 30.5 / 3600.0;
  const struct {
    const char* text;
    AngleAxis axis;
    double degrees;
  } cases[] = {
      {"-51.2084722", AngleAxis::Longitude, -51.2084722},
      {"51,2084722", AngleAxis::Longitude, 51.2084722},
      {"51°12'30.5\"W", AngleAxis::Longitude, -dms},
      {"51 12 30.5 W", AngleAxis::Longitude, -dms},
      {"-51:12:30.5", AngleAxis::Longitude, -dms},
      {"51 12 30,5 O", AngleAxis::Longitude, -dms},
      {"L 51º12′30.5″", AngleAxis::Longitude, dms},
      {"30 03 45 S", AngleAxis::Latitude, -(30.0 + 3.0 / 60.0 + 45.0 / 3600.0)},
      {"\xB0" "5N", AngleAxis::Latitude, 5.0},  // a Windows-1252 degree sign, undecoded
  };
  for (const auto& c : cases) {
    const AngleReading reading = ReadAngleText(c.text, c.axis);
    ASSERT_TRUE(reading.degrees) << c.text << ": " << reading.reason;
    EXPECT_NEAR(*reading.degrees, c.degrees, 1e-12) << c.text;
  }
  for (const char* bad : {"", "abc", "51 60 00 W", "-51 12 W", "51 12.5 30", "30 S 4", "1 2 3 4"}) {
    const AngleReading reading = ReadAngleText(bad, AngleAxis::Longitude);
    EXPECT_FALSE(reading.degrees) << bad;
    EXPECT_FALSE(reading.reason.empty()) << bad;
  }
  EXPECT_FALSE(ReadAngleText("30 S", AngleAxis::Longitude).degrees);  // a latitude letter
}

TEST(DetectLayout, SeparatorDecimalMarkHeaderAndColumns) {
  using R = ColumnRole;
  const struct {
    std::vector<std::string> lines;
    char separator, decimalMark;
    bool header;
    std::vector<R> columns;
  } cases[] = {
      {{"Ponto;Este;Norte;Cota;Descrição;", "M-01;672932,071;7454321,234;812,5;MURO;"}, ';', ',', true,
       {R::Id, R::C1, R::C2, R::C3, R::Carried, R::Carried}},
      {{"PT,E,N,H,CODE", "1,7454321.234,672932.071,812.5,MURO"}, ',', '.', true,
       {R::Id, R::C1, R::C2, R::C3, R::Carried}},
      {{"# export", "nome\tLATITUDE\tlongitude", "A\t-30.1\t-51.2"}, '\t', '.', true, {R::Id, R::C2, R::C1}},
      // Blanks inside tab-separated sexagesimal values do not separate.
      {{"Nome\tLat\tLon", "P2\t-29 58 12.25\t-50 47 03.5", "P3\t-30.5\t-51.5"}, '\t', '.', true,
       {R::Id, R::C2, R::C1}},
      {{"1 672932,071 7454321,234 812,5", "2 672940,5 7454330 813"}, ' ', ',', false, {R::Id, R::C1, R::C2, R::C3}},
      {{"E1;100;200;POSTE"}, ';', '.', false, {R::Id, R::C1, R::C2}},
      {{"Código;Norte;Leste"}, ';', '.', true, {R::Id, R::C2, R::C1}},
  };
  for (const auto& c : cases) {
    const LayoutDetection detection = DetectLayout(c.lines, {}, CoordinateSystemKind::Utm, {});
    ASSERT_TRUE(detection.layout) << c.lines.front() << ": " << detection.reason;
    EXPECT_EQ(detection.layout->separator, c.separator) << c.lines.front();
    EXPECT_EQ(detection.layout->decimalMark, c.decimalMark) << c.lines.front();
    EXPECT_EQ(detection.layout->header, c.header) << c.lines.front();
    EXPECT_EQ(detection.layout->columns, c.columns) << c.lines.front();
  }
  // The options win over detection.
  DelimitedOptions options;
  options.columns = *ParseColumnsText("id,n,e,h,-");
  options.header = false;
  const LayoutDetection chosen = DetectLayout({"Ponto;Este;Norte"}, {}, CoordinateSystemKind::Utm, options);
  ASSERT_TRUE(chosen.layout);
  EXPECT_FALSE(chosen.layout->header);
  EXPECT_EQ(chosen.layout->columns[1], R::C2);
  // A chosen decimal mark is written, except where a comma separates.
  options.decimalMark = '.';
  EXPECT_EQ(DetectLayout({"1;2,5;3,5"}, {}, CoordinateSystemKind::Utm, options).layout->decimalMark, '.');
  options.decimalMark = ',';
  EXPECT_EQ(DetectLayout({"1,2.5,3.5"}, {}, CoordinateSystemKind::Utm, options).layout->decimalMark, '.');
  EXPECT_FALSE(ParseColumnsText("id,e,e,n"));
  EXPECT_EQ(ColumnRolesProblem({R::Id, R::C2, R::C2}, CoordinateSystemKind::Utm),
            "a coluna N foi escolhida mais de uma vez");
  EXPECT_EQ(ColumnRolesProblem({R::Id, R::C2}, CoordinateSystemKind::Geographic), "escolha a coluna Longitude");
  DelimitedOptions headed;
  headed.header = true;
  EXPECT_FALSE(DetectLayout({"a;b;c"}, {}, CoordinateSystemKind::Utm, headed).layout);
}

TEST(DelimitedRun, SpreadsheetKeepsEveryByteButTheCoordinates) {
  ScratchDir dir;
  const std::string in = dir.Write("pontos.csv",
                                   "\xEF\xBB\xBFPonto;Este;Norte;Cota;Descrição\r\n"
                                   "# levantamento\r\n"
                                   "\"M 01\";672932,071;7454321,234;812,5;MURO;\r\n"
                                   "\r\n"
                                   "001;\"672940,5\";7454330;813,25;\"POSTE; luz\"\r\n");
  const ConversionJob job =
      Job(in, dir.Path("out.csv"), FileKind::Delimited, FileKind::Delimited, Utm22South(), GeographicGrs80());
  const RunResult result = RunJob(job);
  ASSERT_TRUE(result.Succeeded()) << result.messages.front().text;
  EXPECT_EQ(result.convertedCount, 2u);
  EXPECT_TRUE(result.warnings.empty());
  // Every byte as read but the coordinates (masked here), which lie within
  // 1 mm (1e-8 degrees) of cs2cs.
  std::string out = ReadAll(job.outputPath);
  const std::regex number("-?[0-9]+,[0-9]{10}");
  std::vector<double> values;
  for (auto it = std::sregex_iterator(out.begin(), out.end(), number); it != std::sregex_iterator(); ++it) {
    std::string text = it->str();
    text[text.find(',')] = '.';
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);  // whatever the locale
    values.push_back(value);
  }
  EXPECT_EQ(std::regex_replace(out, number, "#"),
            "\xEF\xBB\xBFPonto;Longitude;Latitude;h;Descrição\r\n"
            "# levantamento\r\n"
            "\"M 01\";#;#;#;MURO;\r\n"
            "\r\n"
            "001;\"#\";#;#;\"POSTE; luz\"\r\n");
  const std::vector<double> expected = {-49.3125936242, -23.0105093415, 812.5, -49.3125123894, -23.0104293125, 813.25};
  ASSERT_EQ(values.size(), expected.size());
  for (std::size_t k = 0; k < values.size(); ++k) EXPECT_NEAR(values[k], expected[k], 1e-8) << k;
}

TEST(DelimitedRun, EncodingsAndLineEndsAreKept) {
  ScratchDir dir;
  // UTF-16 LE with its mark and CR LF; Windows-1252 with CR line ends.
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("P;E;N\r\n1;480729,81229;6670116,88581\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  const struct {
    std::string name, bytes, firstLineEnd;
  } cases[] = {
      {"utf16.csv", utf16, std::string("\r\0\n\0", 4)},
      {"cp1252.csv", "Nome;E;N\rP\xC1GUA;480729,81229;6670116,88581\r", "\r"},
  };
  for (const auto& c : cases) {
    const std::string in = dir.Write(c.name, c.bytes);
    ConversionJob job = Job(in, dir.Path("out-" + c.name), FileKind::Delimited, FileKind::Delimited, Utm22South(),
                            GeographicGrs80());
    job.delimited.sexagesimalOutput = true;
    const RunResult result = RunJob(job);
    ASSERT_TRUE(result.Succeeded()) << c.name << ": " << result.messages.front().text;
    const std::string out = ReadAll(job.outputPath);
    EXPECT_EQ(out.substr(0, 2), c.bytes.substr(0, 2)) << c.name;  // the mark, or the first letters
    EXPECT_NE(out.find(c.firstLineEnd), std::string::npos) << c.name;
    EXPECT_EQ(out.find('\n') == std::string::npos, c.firstLineEnd == "\r") << c.name;
    if (c.name == "cp1252.csv") {
      // The name as read, the degree sign in the file's own encoding.
      EXPECT_NE(out.find("P\xC1GUA;51\xB0" "12'00,00000\"W;30\xB0" "06'00,00000\"S"), std::string::npos) << out;
    }
  }
}

TEST(StrictList, IdsWithLeadingZerosOrPlusAreWrittenAsRead) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", "01 500000 7000000 1\n+1 500000 7000000 1\n1 500000 7000000 1\n-0 500000 7000000 1\n");
  const ConversionJob job = Job(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D, Utm22South(),
                                GeographicGrs80());
  ASSERT_TRUE(RunJob(job).Succeeded());
  std::vector<std::string> ids;
  for (const std::string& line : testing::SplitLines(ReadAll(job.outputPath))) ids.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(ids, (std::vector<std::string>{"01", "+1", "1", "0"}));
}

TEST(DelimitedRun, ImplausiblePointsWarnWithCountLinesAndCause) {
  ScratchDir dir;
  const struct {
    const char* content;
    JobSide from, to;
    const char* expected;  // a part of the only warning
  } cases[] = {
      {"P;E;N\n1;7454321,2;672932,0\n2;7454330;672940\n", Utm22South(), GeographicGrs80(), "E e N trocadas"},
      {"P;Lon;Lat\n1;51,2;30,1\n", GeographicGrs80(), Utm22South(), "sinal negativo"},
      {"P;Lat;Lon\n1;-51,2;-30,1\n", GeographicGrs80(), Utm22South(), "latitude e longitude trocadas"},
      {"P;E;N;H\n1;480729,8;6670116,8;1.035\n", Utm22South(), GeographicGrs80(), "separador de milhar"},
  };
  for (const auto& c : cases) {
    const ConversionJob job =
        Job(dir.Write("in.csv", c.content), dir.Path("out.csv"), FileKind::Delimited, FileKind::Delimited, c.from, c.to);
    const RunResult result = RunJob(job);
    ASSERT_TRUE(result.Succeeded()) << c.content;
    ASSERT_FALSE(result.warnings.empty()) << c.content;
    EXPECT_NE(result.warnings.back().find(c.expected), std::string::npos) << result.warnings.back();
    EXPECT_NE(result.warnings.front().find("linha"), std::string::npos) << result.warnings.front();
  }
}

TEST(DelimitedRun, EveryBadLineIsNamedAndNothingIsWritten) {
  ScratchDir dir;
  const std::string in = dir.Write("in.csv",
                                   "P;E;N;H\n1;1;2\nB;abc;2;3\nok;480729;6670116;0\n\"C;1;2;3\nD\xC1;5;6;x\n");
  const ConversionJob job =
      Job(in, dir.Path("out.csv"), FileKind::Delimited, FileKind::Delimited, Utm22South(), GeographicGrs80());
  const RunResult result = RunJob(job);
  ASSERT_FALSE(result.Succeeded());
  EXPECT_FALSE(std::filesystem::exists(job.outputPath));
  EXPECT_EQ(result.lineNumber, 2);
  EXPECT_EQ(result.messages.front().text, FieldCountMessage(2, 4));
  const std::string& list = result.messages.back().text;
  for (const char* part : {"4 linhas", "linha 2: 3 campos com o separador \";\"", "linha 3: coluna 2",
                           "linha 5: aspas", "linha 6: coluna 4", "\"DÁ;5;6;x\""}) {
    EXPECT_NE(list.find(part), std::string::npos) << part << " in " << list;
  }
}

TEST(StrictList, SeveralBadLinesAreAllNamedAfterTheFirstLinesOwnMessage) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", "1 480729 6670116 0\n2 480729\n3 480729 6670116 0\n4 4807x9 6670116 0\n");
  const ConversionJob job = Job(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D, Utm22South(),
                                GeographicGrs80());
  const RunResult result = RunJob(job);
  ASSERT_FALSE(result.Succeeded());
  EXPECT_FALSE(std::filesystem::exists(job.outputPath));
  ASSERT_EQ(result.messages.size(), 2u);
  EXPECT_EQ(result.messages.front().text, FieldCountMessage(2, 4));
  EXPECT_EQ(result.messages.back().text,
            "2 linhas do arquivo de entrada não puderam ser lidas:\n"
            "linha 2: 2 campos separados por espaços, esperados 4: \"2 480729\"\n"
            "linha 4: o ID não é um número inteiro ou uma coordenada não é um número: \"4 4807x9 6670116 0\"");
}

TEST(MapOutput, PointsNamedByTheirIdsWithTheirColumnsOrARefusal) {
  ScratchDir dir;
  const std::string in = dir.Write("in.csv", "Ponto;E;N;Código\nM<1>;480729,81229;6670116,88581;\"MURO \"\"A\"\"\"\n");
  const struct {
    FileKind kind;
    const char* expected;
  } cases[] = {
      {FileKind::Kml, "<name>M&lt;1&gt;</name><ExtendedData><Data name=\"Código\"><value>MURO &quot;A&quot;</value>"},
      {FileKind::GeoJson, "\"id\": \"M<1>\", \"Código\": \"MURO \\\"A\\\"\"}, \"geometry\": {\"type\": \"Point\", "
                          "\"coordinates\": [-51.20000000"},
  };
  for (const auto& c : cases) {
    ConversionJob job = Job(in, dir.Path("out"), FileKind::Delimited, c.kind, Utm22South(), GeographicGrs80());
    ASSERT_TRUE(RunJob(job).Succeeded());
    EXPECT_NE(ReadAll(job.outputPath).find(c.expected), std::string::npos) << ReadAll(job.outputPath);
    job.output = Utm22South();
    const RunResult refused = RunJob(job);
    ASSERT_FALSE(refused.Succeeded());
    EXPECT_NE(refused.messages.front().text.find("GRS80"), std::string::npos);
  }
}

// Points carried on several threads in batches of lines: the same bytes,
// warnings and messages as on one, with bad lines in different batches.
TEST(DelimitedRun, SeveralWorkersGiveTheOneWorkerResult) {
  ScratchDir dir;
  std::string good = "Ponto;E;N;H;Desc\r\n";
  for (int k = 1; k <= 10000; ++k) {
    if (k % 997 == 0) good += "# comentário " + std::to_string(k) + "\r\n";
    // A few points with E and N swapped, for a plausibility warning.
    const bool swapped = k % 3001 == 0;
    const std::string e = std::to_string(480000 + k % 1000) + "," + std::to_string(k % 1000);
    const std::string n = std::to_string(6670000 + k % 7919) + ",5";
    good += "P-" + std::to_string(k) + ";" + (swapped ? n : e) + ";" + (swapped ? e : n) + ";12,5;MURO\r\n";
  }
  std::string bad = good;
  // Bad lines in the first, the second and the last batch: a word for a
  // number, too few fields, a point outside the transformation's domain.
  for (const auto& [line, replacement] : {std::pair{"P-7;", "P-7;abc;1;2;X"}, std::pair{"P-5000;", "P-5000;1"},
                                          std::pair{"P-9999;", "P-9999;900000000;1;2;X"}}) {
    const std::size_t at = bad.find(line);
    bad.replace(at, bad.find('\r', at) - at, replacement);
  }
  for (const FileKind kind : {FileKind::Delimited, FileKind::GeoJson, FileKind::Ascii3D}) {
    for (const std::string* content : {&good, &bad}) {
      const ConversionJob job = Job(dir.Write("in.csv", *content), dir.Path("out"), FileKind::Delimited, kind,
                                    Utm22South(), GeographicGrs80());
      NullProgressSink sink;
      const RunResult one = RunConversion(job, sink, {}, 1);
      const std::string oneOutput = one.Succeeded() ? ReadAll(job.outputPath) : "";
      const RunResult three = RunConversion(job, sink, {}, 3);
      ASSERT_EQ(three.Succeeded(), content == &good);
      ASSERT_EQ(one.Succeeded(), three.Succeeded());
      EXPECT_EQ(one.pointsWritten, three.pointsWritten);
      EXPECT_EQ(one.lineNumber, three.lineNumber);
      EXPECT_EQ(one.warnings, three.warnings);
      ASSERT_EQ(one.messages.size(), three.messages.size());
      for (std::size_t k = 0; k < one.messages.size(); ++k) EXPECT_EQ(one.messages[k].text, three.messages[k].text);
      if (three.Succeeded()) {
        EXPECT_EQ(three.pointsWritten, 10000);
        EXPECT_EQ(ReadAll(job.outputPath), oneOutput);
        ASSERT_EQ(three.warnings.size(), 1u);
        EXPECT_NE(three.warnings.front().find("E e N trocadas"), std::string::npos) << three.warnings.front();
      } else {
        EXPECT_EQ(three.lineNumber, 8);
        EXPECT_NE(three.messages.back().text.find("3 linhas"), std::string::npos);
        EXPECT_NE(three.messages.back().text.find("linha 10010: ponto fora do dom"), std::string::npos)
            << three.messages.back().text;
      }
    }
  }
}

}  // namespace
}  // namespace transref

namespace transref {
namespace {

// A drawing in UTM 22 S with one entity of each kind that holds a position.
std::string SurveyDrawing(const std::string& pointE, const std::string& pointN) {
  const std::vector<std::string> lines = {
      "0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "470000.0", "20", "6660000.0", "30", "0.0",
      "9", "$EXTMAX", "10", "490000.0", "20", "6680000.0", "30", "0.0", "0", "ENDSEC",
      "0", "SECTION", "2", "ENTITIES",
      "0", "POINT", "5", "1A", "8", "MARCOS", "10", pointE, "20", pointN, "30", "10.0",
      "0", "INSERT", "5", "1B", "8", "BLOCOS;\"A\"", "2", "MARCO", "10", "480010.0", "20", "6670010.0", "30", "0.0",
      "0", "TEXT", "5", "1C", "8", "TEXTOS", "10", "480020.0", "20", "6670020.0", "30", "0.0", "40", "1.0", "1", "P1",
      "0", "LINE", "5", "1D", "8", "LOTE", "10", "480030.0", "20", "6670030.0", "30", "1.0",
      "11", "480040.0", "21", "6670040.0", "31", "2.0",
      "0", "CIRCLE", "5", "1E", "8", "\xC1RVORES", "10", "480050.0", "20", "6670050.0", "30", "0.0", "40", "2.0",
      "0", "ENDSEC", "0", "EOF"};
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(DrawingPoints, WrittenAsASpreadsheetOrMapWithNumberLayerTypeAndHandle) {
  ScratchDir dir;
  const std::string in = dir.Write("in.dxf", SurveyDrawing("480000.0", "6670000.0"));
  // The same system on both sides: the positions come back as drawn.
  ConversionJob job = Job(in, dir.Path("out.csv"), FileKind::Dxf, FileKind::Delimited, Utm22South(), Utm22South());
  RunResult result = RunJob(job);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_TRUE(result.warnings.empty());
  EXPECT_EQ(result.convertedCount, 5u);
  // Positions within a millimetre of the drawing's (the grid's round trip
  // is not exact), every other field as written.
  const struct {
    const char* id;
    double e, n, h;
    const char* rest;
  } expected[] = {
      {"1", 480000, 6670000, 10, "MARCOS;POINT;1A"}, {"2", 480010, 6670010, 0, "\"BLOCOS;\"\"A\"\"\";INSERT;1B"},
      {"3", 480030, 6670030, 1, "LOTE;LINE;1D"},     {"4", 480040, 6670040, 2, "LOTE;LINE;1D"},
      {"5", 480050, 6670050, 0, "ÁRVORES;CIRCLE;1E"},
  };
  const std::vector<std::string> lines = testing::SplitLines(ReadAll(job.outputPath));
  ASSERT_EQ(lines.size(), std::size(expected) + 1);
  EXPECT_EQ(lines[0], "\xEF\xBB\xBFPonto;E;N;H;Camada;Entidade;Handle\r");
  const std::regex row(R"(([^;]+);(\d+),(\d{5});(\d+),(\d{5});(\d+),(\d{5});(.*)\r)");
  const auto number = [](const std::string& whole, const std::string& decimals) {
    const std::string text = whole + "." + decimals;
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);  // not the locale's mark
    return value;
  };
  for (std::size_t k = 0; k < std::size(expected); ++k) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[k + 1], m, row)) << lines[k + 1];
    EXPECT_EQ(m[1], expected[k].id);
    EXPECT_NEAR(number(m[2], m[3]), expected[k].e, 1e-3);
    EXPECT_NEAR(number(m[4], m[5]), expected[k].n, 1e-3);
    EXPECT_NEAR(number(m[6], m[7]), expected[k].h, 1e-3);
    EXPECT_EQ(m[8], expected[k].rest);
  }

  // Read back as a delimited file, it gives the same points.
  const ConversionJob back =
      Job(job.outputPath, dir.Path("back.txt"), FileKind::Delimited, FileKind::Ascii3D, Utm22South(), Utm22South());
  ASSERT_TRUE(RunJob(back).Succeeded());
  EXPECT_EQ(testing::SplitLines(ReadAll(back.outputPath))[1].substr(0, 16), "2 480010.00000 6");

  job.output = GeographicGrs80();
  for (const FileKind map : {FileKind::Kml, FileKind::GeoJson}) {
    job.outputKind = map;
    job.outputPath = dir.Path(map == FileKind::Kml ? "out.kml" : "out.geojson");
    ASSERT_TRUE(RunJob(job).Succeeded());
    const std::string text = ReadAll(job.outputPath);
    EXPECT_NE(text.find(map == FileKind::Kml ? "<name>5</name><ExtendedData><Data name=\"Camada\"><value>ÁRVORES"
                                             : "{\"id\": \"5\", \"Camada\": \"ÁRVORES\", \"Entidade\": \"CIRCLE\""),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find(map == FileKind::Kml ? "<name>6</name>" : "\"id\": \"6\""), std::string::npos);
  }
}

TEST(DrawingPoints, ImplausiblePositionsWarnAsAListsPointsDo) {
  ScratchDir dir;
  JobSide northern = Utm22South();
  northern.northern = true;
  northern.falseNorthing = 0.0;
  JobSide zone21 = Utm22South();
  zone21.centralMeridian = -57.0;
  const struct {
    const char *e, *n;
    JobSide to;
    const char* expected;
  } cases[] = {
      {"6670000.0", "480000.0", Utm22South(), "E e N trocadas"},
      {"480000.0", "6670000.0", northern, "outro hemisfério que o escolhido para a saída"},
      {"700000.0", "6670000.0", zone21, "1 ponto a mais de 6° do meridiano central da saída"},
  };
  for (const auto& c : cases) {
    ConversionJob job = Job(dir.Write("in.dxf", SurveyDrawing(c.e, c.n)), dir.Path("out.dxf"), FileKind::Dxf,
                            FileKind::Dxf, Utm22South(), c.to);
    const RunResult result = RunJob(job);
    ASSERT_TRUE(result.Succeeded()) << c.expected;
    std::string all;
    for (const std::string& warning : result.warnings) all += warning + "\n";
    EXPECT_NE(all.find(c.expected), std::string::npos) << c.expected << " in " << all;
  }
}

}  // namespace
}  // namespace transref
