#include "conversion/Driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "TestFiles.h"
#include "geodesy/PointChain.h"
#include "support/ErrorLayer.h"
#include "support/Numbers.h"
#include "support/TextFile.h"
#include "CLocaleText.h"

namespace transref {
namespace {

using testing::ReadAll;
using testing::RecordingSink;
using testing::ScratchDir;
using testing::StandardJob;

// Expected output line computed independently of the list writer: the chain
// of the job's sides and printf's own formats.
std::string ExpectedLine(const ConversionJob& job, int id, double c1, double c2, double c3) {
  PointChain chain = testing::ChainOf(job);
  double out[3];
  EXPECT_TRUE(chain.Transform(c1, c2, c3, out));
  const bool geographic = job.output.system == CoordinateSystemKind::Geographic;
  const bool threeD = job.outputKind == FileKind::Ascii3D;
  char line[512];
  if (geographic) {
    transref::FormatC(line, sizeof line, threeD ? "%d %15.10lf %15.10lf %15.10lf\n" : "%d %15.10lf %15.10lf\n", id,
                  out[0], out[1], out[2]);
  } else {
    transref::FormatC(line, sizeof line, threeD ? "%d %10.5lf %10.5lf %10.5lf\n" : "%d %10.5lf %10.5lf\n", id, out[0],
                  out[1], out[2]);
  }
  return line;
}

constexpr const char* kList =
    "1 201234.567 1650123.456 12.5\n"
    "0042 175000.0 1702000.25 -3.75\n"
    "-7   250000  1598000   1000\n";

TEST(RunConversion, ListIsWrittenInTheFormatOfEveryOutputSystemAndKind) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", kList);
  struct Target {
    CoordinateSystemKind system;
    const char* label;
    FileKind kind;
  } targets[] = {
      {CoordinateSystemKind::LtmOru, "LTM (Oru)", FileKind::Ascii3D},
      {CoordinateSystemKind::LtmOru, "LTM (Oru)", FileKind::Ascii2D},
      {CoordinateSystemKind::Geographic, "Geográficas", FileKind::Ascii3D},
      {CoordinateSystemKind::Geographic, "Geográficas", FileKind::Ascii2D},
      {CoordinateSystemKind::Cartesian, "Cartesianas", FileKind::Ascii3D},
  };
  for (const Target& target : targets) {
    ConversionJob job = StandardJob(in, dir.Path("out.txt"), FileKind::Ascii3D, target.kind);
    job.output.system = target.system;
    job.output.systemLabel = target.label;
    RecordingSink sink;
    const RunResult result = RunConversion(job, sink);
    ASSERT_TRUE(result.Succeeded()) << target.label;
    EXPECT_EQ(result.pointsWritten, 3);
    const std::string expected = ExpectedLine(job, 1, 201234.567, 1650123.456, 12.5) +
                                 // An ID with leading zeros is written as read.
                                 "00" + ExpectedLine(job, 42, 175000.0, 1702000.25, -3.75) +
                                 ExpectedLine(job, -7, 250000, 1598000, 1000);
    EXPECT_EQ(ReadAll(dir.Path("out.txt")), expected) << target.label;
  }
}

TEST(RunConversion, GridToGridMovesByTheFalseEastingAndKeepsImportedHeights) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", kList);
  const ConversionJob job = StandardJob(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D);
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  const auto lines = testing::SplitLines(ReadAll(dir.Path("out.txt")));
  ASSERT_EQ(lines.size(), 3u);
  int id = 0;
  double e = 0, n = 0, h = 0;
  ASSERT_EQ(transref::test::ScanPointLine(lines[0].c_str(), id, e, n, h), 4);
  // The LTM false easting is 100 km larger; datum shift and the other scale
  // factor move the point by less than 200 m more.
  EXPECT_NEAR(e, 201234.567 + 100000.0, 200.0);
  EXPECT_NEAR(n, 1650123.456, 200.0);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 10), "  12.50000");  // height as read
}

TEST(RunConversion, HeightsFollowTheAltimetrySettings) {
  ScratchDir dir;
  // A 2D list written as 3D carries the height the rules give to 0.
  const std::string flat = dir.Write("flat.txt", "1 201234.567 1650123.456\n");
  ConversionJob job = StandardJob(flat, dir.Path("out.txt"), FileKind::Ascii2D, FileKind::Ascii3D);
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  std::string out = ReadAll(dir.Path("out.txt"));
  EXPECT_EQ(out.substr(out.size() - 12), "    0.00000\n");
  EXPECT_EQ(out, ExpectedLine(job, 1, 201234.567, 1650123.456, 0.0));

  // Without imported heights, a mean output height of 40 is every height.
  const std::string in = dir.Write("in.txt", kList);
  job = StandardJob(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D);
  job.altimetry.importHeights = false;
  job.altimetry.outputUseMeanHeight = true;
  job.altimetry.outputMeanHeight = 40.0;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  for (const std::string& line : testing::SplitLines(ReadAll(dir.Path("out.txt")))) {
    EXPECT_EQ(line.substr(line.size() - 11), "   40.00000") << line;
  }
}

TEST(RunConversion, IdentityCartesianCopiesAndAffineModelIsApplied) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", "5 3687622.1234567 -4583544.5 -3061432.25\n");
  ConversionJob job = StandardJob(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D);
  job.input = testing::PlainSide(CoordinateSystemKind::Cartesian, "Cartesianas");
  job.output = testing::PlainSide(CoordinateSystemKind::Cartesian, "Cartesianas");
  job.isogonal = IsogonalParameters{};
  job.isIdentity = true;
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  EXPECT_EQ(ReadAll(dir.Path("out.txt")), "5 3687622.12346 -4583544.50000 -3061432.25000\n");

  // The twelve affine values are applied, not ignored.
  job.model = TransformationModel::Affine;
  job.affine = AffineParameters{};
  job.affine.tx = 10.0;
  job.affine.ty = -20.0;
  job.affine.tz = 0.5;
  job.affine.a = 2.0;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  EXPECT_EQ(ReadAll(dir.Path("out.txt")), "5 7375254.24691 -4583564.50000 -3061431.75000\n");
}

TEST(RunConversion, ListsInEitherDecimalNotationAndOwnOutputReadBack) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", "1 201234,567 1650123,456 12,5\n2 175000.0 1702000.25 -3.75\n");
  ConversionJob job = StandardJob(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D);
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  EXPECT_EQ(ReadAll(dir.Path("out.txt")), ExpectedLine(job, 1, 201234.567, 1650123.456, 12.5) +
                                                ExpectedLine(job, 2, 175000.0, 1702000.25, -3.75));

  // Our own output (points, padded with blanks) converts back.
  ConversionJob back = job;
  back.inputPath = dir.Path("out.txt");
  back.outputPath = dir.Path("back.txt");
  std::swap(back.input, back.output);
  back.isogonal = kIsogonalGrs80ToHayford;
  ASSERT_TRUE(RunConversion(back, sink).Succeeded());
  EXPECT_EQ(testing::SplitLines(ReadAll(dir.Path("back.txt"))).size(), 2u);
}

TEST(RunConversion, CrLfListConvertsExactlyLikeLf) {
  ScratchDir dir;
  std::string crlf = kList;
  for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2)) crlf.insert(at, "\r");
  const std::string lf = dir.Write("lf.txt", kList);
  const std::string cr = dir.Write("crlf.txt", crlf);
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(StandardJob(lf, dir.Path("a.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink).Succeeded());
  ASSERT_TRUE(RunConversion(StandardJob(cr, dir.Path("b.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink).Succeeded());
  EXPECT_EQ(ReadAll(dir.Path("a.txt")), ReadAll(dir.Path("b.txt")));
  EXPECT_EQ(testing::SplitLines(ReadAll(dir.Path("b.txt"))).size(), 3u);
}

// Lists as instruments, spreadsheets and editors write them.
TEST(RunConversion, BlankLinesByteOrderMarkAndTabsAreNoPointsAndNoErrors) {
  ScratchDir dir;
  RecordingSink sink;
  const std::string out = dir.Path("out.txt");
  ConversionJob job = StandardJob("", out, FileKind::Ascii3D, FileKind::Ascii3D);
  const std::string points = ExpectedLine(job, 1, 200000, 1650000, 1) + ExpectedLine(job, 2, 200500, 1650500, 2);

  // Blank lines first, in the middle and last (empty, blanks, tabs, CR LF).
  job.inputPath = dir.Write("blank.txt", "\n  \r\n1 200000 1650000 1\n\n\t \n2 200500 1650500 2\n   \n\t");
  RunResult result = RunConversion(job, sink);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.pointsWritten, 2);
  EXPECT_EQ(ReadAll(out), points);

  // A byte-order mark, and tabs between the fields.
  job.inputPath = dir.Write("bom.txt", "\xEF\xBB\xBF" "1\t200000\t1650000\t1\r\n2 \t200500\t 1650500  2\r\n");
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  EXPECT_EQ(ReadAll(out), points);

  // Line numbers in messages stay those of the file; a mark after line 1
  // is no mark.
  job.inputPath = dir.Write("bad.txt", "\n\n1 200000 1650000 1\n\n1 x 1650000 1\n");
  result = RunConversion(job, sink);
  EXPECT_EQ(result.lineNumber, 5);
  ASSERT_EQ(result.messages.size(), 2u);
  EXPECT_EQ(result.messages[1].text, BadLineMessage(5));
  job.inputPath = dir.Write("bom2.txt", "1 200000 1650000 1\n\xEF\xBB\xBF" "2 200500 1650500 2\n");
  result = RunConversion(job, sink);
  EXPECT_EQ(result.lineNumber, 2);
  EXPECT_EQ(result.messages[0].text, NotANumberMessage("\xEF\xBB\xBF" "2"));
}

// A line is never split into two: one of exactly 2560 characters (the old
// read limit plus one) is one point; one over the reader's bound stops the
// run naming it.
TEST(RunConversion, LongLinesAreOnePointOrAnInconsistencyNeverTwoLines) {
  ScratchDir dir;
  RecordingSink sink;
  ConversionJob job = StandardJob("", dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D);
  std::string first = "1 200000 1650000 1";
  first += std::string(2560 - first.size(), ' ');
  ASSERT_EQ(first.size(), 2560u);
  std::string padded = "2 200500 1650500" + std::string(5000, ' ') + "2";
  job.inputPath = dir.Write("long.txt", first + "\n" + padded + "\n");
  RunResult result = RunConversion(job, sink);
  ASSERT_TRUE(result.Succeeded());
  EXPECT_EQ(result.linesRead, 2);
  EXPECT_EQ(ReadAll(dir.Path("out.txt")),
            ExpectedLine(job, 1, 200000, 1650000, 1) + ExpectedLine(job, 2, 200500, 1650500, 2));

  job.inputPath = dir.Write("over.txt", "1 200000 1650000 1\n" + std::string(TextFile::kMaxLineLength + 1, ' ') +
                                            "\n2 200500 1650500 2\n");
  result = RunConversion(job, sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  EXPECT_EQ(result.lineNumber, 2);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, BadLineMessage(2));
}

TEST(RunConversion, FailingLineNamesTheLineAndWritesNothing) {
  ScratchDir dir;
  const std::string good = "1 201234.567 1650123.456 12.5\n2 175000.0 1702000.25 -3.75\n";
  struct Case {
    std::string badLine;
    FileKind kind;
    CoordinateSystemKind system;
    std::vector<std::string> messages;
  } cases[] = {
      {"3 200000 1650000\n", FileKind::Ascii3D, CoordinateSystemKind::GaussKrugerOru,
       {"O arquivo de entrada possui uma inconsistência na linha 3:\n Número de linhas diferente de 4!"}},
      {"3 200000 1650000 x12\n", FileKind::Ascii3D, CoordinateSystemKind::GaussKrugerOru,
       {"x12 não é um valor numerico!", "O arquivo de entrada possui a inconsistência na linha 3!"}},
      {"3 1e+20 1650000 0\n", FileKind::Ascii3D, CoordinateSystemKind::GaussKrugerOru,
       {"O arquivo de entrada possui a inconsistência na linha 3:\nPonto fora do domínio da transformação!"}},
  };
  for (const Case& c : cases) {
    const std::string in = dir.Write("in.txt", good + c.badLine + "4 200000 1650000 0\n");
    const ConversionJob job = StandardJob(in, dir.Path("out.txt"), c.kind, c.kind);
    RecordingSink sink;
    const RunResult result = RunConversion(job, sink);
    EXPECT_EQ(result.status, RunResult::Status::Failed);
    EXPECT_EQ(result.lineNumber, 3);
    ASSERT_EQ(result.messages.size(), c.messages.size());
    for (std::size_t k = 0; k < c.messages.size(); ++k) EXPECT_EQ(result.messages[k].text, c.messages[k]);
    EXPECT_EQ(result.messages.back().kind, MessageBoxKind::Interrupt);
    if (c.messages.size() == 2) {
      EXPECT_EQ(result.messages[0].kind, MessageBoxKind::ConversionError);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.txt")));  // no half-written output
    EXPECT_EQ(sink.ends, 1);  // the progress window is hidden
  }
}

TEST(RunConversion, GeographicRangeMessagesNameTheirLine) {
  ScratchDir dir;
  ConversionJob job = StandardJob("", dir.Path("out.txt"), FileKind::Ascii2D, FileKind::Ascii2D);
  job.input = testing::PlainSide(CoordinateSystemKind::Geographic, "Geográficas");
  job.output = testing::PlainSide(CoordinateSystemKind::Geographic, "Geográficas");
  job.output.semiMajorAxis = 6378388.0;
  job.output.inverseFlattening = 297.0;
  job.isogonal = kIsogonalGrs80ToHayford;
  RecordingSink sink;

  job.inputPath = dir.Write("in.txt", "1 180 -90\n2 -180 90\n3 180.0000001 0\n");
  RunResult result = RunConversion(job, sink);
  EXPECT_EQ(result.lineNumber, 3);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, "O arquivo de entrada possui a inconsistência na linha 3:\nValor da Longitude incorreto!");

  job.inputPath = dir.Write("in.txt", "1 -51 -30\n2 -51 -90.5\n");
  result = RunConversion(job, sink);
  EXPECT_EQ(result.lineNumber, 2);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, "O arquivo de entrada possui a inconsistência na linha 2:\nValor da Latitude incorreto!");
}

TEST(RunConversion, ProgressIsReportedInBytesOfTheInput) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", kList);
  RecordingSink sink;
  ASSERT_TRUE(RunConversion(StandardJob(in, dir.Path("out.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink).Succeeded());
  EXPECT_EQ(sink.label, "Convertendo Arquivo");
  EXPECT_EQ(sink.remainingTime, "");
  EXPECT_EQ(sink.begins, 1);
  EXPECT_EQ(sink.shows, 1);
  EXPECT_EQ(sink.ends, 1);
  EXPECT_EQ(sink.total, static_cast<std::int64_t>(std::string(kList).size()));
  ASSERT_EQ(sink.steps.size(), 3u);
  EXPECT_EQ(sink.steps[0], 30);  // after the first line and its line feed
  EXPECT_EQ(sink.steps.back(), sink.total);
  ASSERT_EQ(sink.stages.size(), 1u);
  EXPECT_EQ(sink.stages[0], "Processando transformação");
}

TEST(RunConversion, WriteErrorIsNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ScratchDir dir;
  std::string many;
  for (int i = 0; i < 5000; ++i) many += std::to_string(i) + " 200000 1650000 10\n";
  const std::string in = dir.Write("in.txt", many);
  RecordingSink sink;
  const RunResult result = RunConversion(StandardJob(in, "/dev/full", FileKind::Ascii3D, FileKind::Ascii3D), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].text, "Erro na gravação do arquivo de saída!");
  EXPECT_EQ(sink.ends, 1);
  // A short list fails only when the output is closed.
  const std::string one = dir.Write("one.txt", "1 200000 1650000 10\n");
  const RunResult closing = RunConversion(StandardJob(one, "/dev/full", FileKind::Ascii3D, FileKind::Ascii3D), sink);
  EXPECT_EQ(closing.status, RunResult::Status::Failed);
  ASSERT_EQ(closing.messages.size(), 1u);
  EXPECT_EQ(closing.messages[0].text, "Erro na gravação do arquivo de saída!");
}

TEST(RunConversion, FilesThatCannotBeOpenedAreNamedWithTheReason) {
  ScratchDir dir;
  RecordingSink sink;
  const std::string list = dir.Write("in.txt", kList);
  struct Case {
    std::string input, output, message;
  } cases[] = {
      {dir.Path("sumiu.txt"), dir.Path("out.txt"),
       "Não foi possível abrir o arquivo de entrada \"" + dir.Path("sumiu.txt") + "\": o arquivo não existe."},
      {dir.Path(""), dir.Path("out.txt"),
       "Não foi possível abrir o arquivo de entrada \"" + dir.Path("") + "\": é uma pasta, não um arquivo."},
      {list, dir.Path("falta/out.txt"),
       "Não foi possível criar o arquivo de saída \"" + dir.Path("falta/out.txt") + "\": a pasta não existe."},
      {list, dir.Path(""),
       "Não foi possível criar o arquivo de saída \"" + dir.Path("") + "\": é uma pasta, não um arquivo."},
      {list, list + "/out.txt",
       "Não foi possível criar o arquivo de saída \"" + list + "/out.txt\": uma parte do caminho não é uma pasta."},
  };
  for (const Case& c : cases) {
    ZRTPrimitiveSys::ScopedReportCapture capture;
    const RunResult result = RunConversion(StandardJob(c.input, c.output, FileKind::Ascii3D, FileKind::Ascii3D), sink);
    EXPECT_EQ(result.status, RunResult::Status::OpenFailed) << c.message;
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].kind, MessageBoxKind::Interrupt);
    EXPECT_EQ(result.messages[0].text, c.message);
    EXPECT_EQ(capture.Count(), 0u);  // a message of the run, not the error layer's report
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.txt")));
  EXPECT_EQ(sink.begins, 0);
}

// The output changes only when the run succeeded: a failed run keeps an
// existing output byte for byte and leaves no file (nor a temporary one)
// behind, whatever the failure.
TEST(RunConversion, FailedRunLeavesTheOutputAsItWasAndNoFileBehind) {
  ScratchDir dir;
  RecordingSink sink;
  const std::string bad = dir.Write("bad.txt", "1 200000 1650000 1\n2 200000 x 2\n");
  const std::string previous = "101 277933.83506 1676724.28306    3.12000\n";
  dir.Write("anterior.txt", previous);
  RunResult result = RunConversion(StandardJob(bad, dir.Path("anterior.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);
  EXPECT_EQ(ReadAll(dir.Path("anterior.txt")), previous);
  result = RunConversion(StandardJob(bad, dir.Path("nova.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink);
  EXPECT_EQ(result.status, RunResult::Status::Failed);

  // A full disk: writing fails (EFBIG under a file-size limit) part way.
  std::string many;
  for (int i = 0; i < 5000; ++i) many += std::to_string(i) + " 200000 1650000 10\n";
  const std::string big = dir.Write("big.txt", many);
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 100000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  const RunResult full = RunConversion(StandardJob(big, dir.Path("anterior.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink);
  const RunResult fullNew = RunConversion(StandardJob(big, dir.Path("nova.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  for (const RunResult* r : {&full, &fullNew}) {
    EXPECT_EQ(r->status, RunResult::Status::Failed);
    ASSERT_EQ(r->messages.size(), 1u);
    EXPECT_EQ(r->messages[0].text, kWriteError);
  }
  EXPECT_EQ(ReadAll(dir.Path("anterior.txt")), previous);

  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path(""))) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"anterior.txt", "bad.txt", "big.txt"}));

  // And a good run replaces it.
  ASSERT_TRUE(RunConversion(StandardJob(big, dir.Path("anterior.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink).Succeeded());
  EXPECT_EQ(testing::SplitLines(ReadAll(dir.Path("anterior.txt"))).size(), 5000u);
}

// The batch converter's standard input and output: the same bytes as the
// run between files.
TEST(RunConversion, StreamsAreReadAndWrittenLikeFiles) {
  ScratchDir dir;
  RecordingSink sink;
  const std::string in = dir.Write("in.txt", kList);
  ASSERT_TRUE(RunConversion(StandardJob(in, dir.Path("file.txt"), FileKind::Ascii3D, FileKind::Ascii3D), sink).Succeeded());
  auto input = TextFile::Open(in.c_str(), TextFile::Mode::Read);
  auto output = TextFile::Open(dir.Path("stream.txt").c_str(), TextFile::Mode::Write);
  // The job's names are not used (nor compared with each other).
  const RunResult result = RunConversion(StandardJob("-", "-", FileKind::Ascii3D, FileKind::Ascii3D), sink,
                                         RunStreams{input.get(), output.get()});
  ASSERT_TRUE(result.Succeeded());
  output->Close();
  EXPECT_EQ(ReadAll(dir.Path("stream.txt")), ReadAll(dir.Path("file.txt")));
}

TEST(RunConversion, OutputThatIsTheInputIsRefusedBeforeWriting) {
  ScratchDir dir;
  const std::string in = dir.Write("in.txt", kList);
  std::filesystem::create_symlink(in, dir.Path("link.txt"));
  std::filesystem::create_directories(dir.Path("sub"));
  RecordingSink sink;
  for (const std::string& out : {in, dir.Path("link.txt"), dir.Path("sub/../in.txt"), dir.Path("./in.txt")}) {
    const RunResult result = RunConversion(StandardJob(in, out, FileKind::Ascii3D, FileKind::Ascii3D), sink);
    EXPECT_EQ(result.status, RunResult::Status::Failed) << out;
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].text, kSameFileError);
    EXPECT_EQ(ReadAll(in), kList) << out;
  }
  // A link as input and its target as output, too.
  const RunResult viaLink = RunConversion(StandardJob(dir.Path("link.txt"), in, FileKind::Ascii3D, FileKind::Ascii3D), sink);
  EXPECT_EQ(viaLink.status, RunResult::Status::Failed);
  EXPECT_EQ(ReadAll(in), kList);
  EXPECT_EQ(sink.begins, 0);
}

TEST(CheckJob, RefusesWhatCannotRun) {
  ConversionJob job = StandardJob("/nonexistent/a.txt", "/nonexistent/b.txt", FileKind::Ascii3D, FileKind::Ascii3D);
  EXPECT_FALSE(CheckJob(job).has_value());
  ConversionJob bad = job;
  bad.input.semiMajorAxis = 0.0;
  EXPECT_EQ(CheckJob(bad).value(), "Erro na leitura dos Parâmetros do Elipsóide!");
  bad = job;
  bad.output.inverseFlattening = 1.0;
  EXPECT_EQ(CheckJob(bad).value(), "Erro na leitura dos Parâmetros do Elipsóide!");
  bad = job;
  bad.output.scaleFactor = 0.0;
  EXPECT_EQ(CheckJob(bad).value(), kScaleFactorError);
  bad = job;
  bad.input.centralMeridian = std::nan("");
  EXPECT_EQ(CheckJob(bad).value(), kCentralMeridianError);
  bad = job;
  bad.outputKind = FileKind::Dxf;  // a list cannot become a drawing
  EXPECT_EQ(CheckJob(bad).value(), kFileKindError);
  bad = job;
  bad.inputKind = bad.outputKind = FileKind::Ascii2D;
  bad.output.system = CoordinateSystemKind::Cartesian;
  EXPECT_EQ(CheckJob(bad).value(), kFileKindError);
}

}  // namespace
}  // namespace transref
