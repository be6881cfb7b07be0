#include "support/TextFile.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/ErrorLayer.h"
#include "support/ZRTStrings.h"

namespace {

namespace fs = std::filesystem;
using transref::TextFile;
using transref::TryOpenFile;
using ZRTPrimitiveSys::ScopedReportCapture;
using ZRTPrimitiveSys::ZRTStrings;

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("transref_support_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Every line ReadLine yields until the end of the file.
  static std::vector<std::string> Lines(const std::string& path) {
    auto file = TryOpenFile(path.c_str(), 0, "r");
    std::vector<std::string> lines;
    ZRTStrings line;
    while (!file->AtEnd()) {
      line.ReadLine(*file);
      lines.push_back(line.ToStdString());
    }
    return lines;
  }

  fs::path folder_;
};

using LineList = std::vector<std::string>;

TEST_F(TextFileTest, MissingFileReportsOnceAndGivesNoFile) {
  ScopedReportCapture capture;
  const std::string path = (folder_ / "nao_existe.txt").string();
  EXPECT_EQ(TryOpenFile(path.c_str(), 0, "r"), nullptr);
  ASSERT_EQ(capture.Count(), 1u);
  ASSERT_EQ(capture.Written().size(), 1u);
  EXPECT_EQ(capture.Written()[0], "Erro: \nObjeto TryOpenFile:\nErro de Execução: Arquivo " +
                                      path + " é invalido\n");
  // A folder, a file in a missing folder and an unknown mode fail the same way.
  EXPECT_EQ(TryOpenFile(folder_.c_str(), 0, "r"), nullptr);
  EXPECT_EQ(TryOpenFile((folder_ / "x" / "y.txt").c_str(), 0, "w"), nullptr);
  EXPECT_EQ(TryOpenFile(Write("a.txt", "1").c_str(), 0, "q"), nullptr);
  EXPECT_EQ(capture.Count(), 4u);
}

TEST_F(TextFileTest, VeryLongPathMessageIsBounded) {
  ScopedReportCapture capture;
  const std::string path = "/nao/existe/" + std::string(300, 'p') + ".txt";
  EXPECT_EQ(TryOpenFile(path.c_str(), "r"), nullptr);
  ASSERT_EQ(capture.Count(), 1u);
  const std::string& report = capture.Last();
  EXPECT_EQ(report.size(), 255u);
  EXPECT_EQ(report.rfind("Objeto TryOpenFile:\nErro de Execução: Arquivo /nao/existe/ppp", 0), 0u);
}

TEST_F(TextFileTest, LineEndsFinalLineAndEmptyLines) {
  EXPECT_EQ(Lines(Write("lf.txt", "a b\nc\n")), (LineList{"a b", "c"}));
  EXPECT_EQ(Lines(Write("final.txt", "a\nultima")), (LineList{"a", "ultima"}));
  EXPECT_EQ(Lines(Write("empty.txt", "\n\nx\n\n")), (LineList{"", "", "x", ""}));
  EXPECT_EQ(Lines(Write("nothing.txt", "")), LineList{});
  // CR LF reads exactly like LF; a lone CR inside a line stays.
  EXPECT_EQ(Lines(Write("crlf.txt", "a b\r\nc\r\n\r\nfim")), (LineList{"a b", "c", "", "fim"}));
  EXPECT_EQ(Lines(Write("cr.txt", "a\rb\r\r\nc\r")), (LineList{"a\rb\r", "c\r"}));
}

TEST_F(TextFileTest, LongLinesAreReadWholeNeverSplit) {
  // Lines around the old 2559-character limit and across the 64 KiB buffer
  // come back whole, with LF or CR LF, and no phantom empty line follows.
  const std::string l2560(2560, 'b');
  const std::string l2561 = std::string(2559, 'c') + "XY";
  const std::string huge(3 * TextFile::kBufferSize + 17, 'h');
  const std::string path =
      Write("long.txt", l2560 + "\n" + l2561 + "\r\n" + huge + "\r\nfim\n" + huge + "\r");
  EXPECT_EQ(Lines(path), (LineList{l2560, l2561, huge, "fim", huge + "\r"}));

  // Over the bound: the read says so instead of cutting, and the next line
  // is the one after it.
  const std::string over(TextFile::kMaxLineLength + 1, 'o');
  auto file = TryOpenFile(Write("over.txt", "a\n" + over + "\r\nb\n" +
                                                std::string(TextFile::kMaxLineLength, 'k') + "\r\n")
                              .c_str(),
                          "r");
  std::string_view line;
  EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
  EXPECT_EQ(line, "a");
  EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::TooLong);
  EXPECT_TRUE(line.empty());
  EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
  EXPECT_EQ(line, "b");
  EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::Line);  // exactly at the bound, CR LF dropped
  EXPECT_EQ(line.size(), TextFile::kMaxLineLength);
  EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::End);
}

TEST_F(TextFileTest, ReadsAcrossTheBufferBoundary) {
  std::string bytes;
  std::vector<std::string> expected;
  for (int i = 0; bytes.size() < 3 * TextFile::kBufferSize; ++i) {
    expected.push_back("P" + std::to_string(i) + " " + std::string(static_cast<std::size_t>(i % 97), 'x'));
    bytes += expected.back() + (i % 2 ? "\r\n" : "\n");
  }
  EXPECT_EQ(Lines(Write("big.txt", bytes)), expected);
  // A CR LF split by the buffer boundary still counts as a line end.
  // The CR is the last byte of the first block, the LF the first of the next.
  std::string split;
  LineList splitLines;
  while (split.size() + 1001 < TextFile::kBufferSize) {
    splitLines.push_back(std::string(1000, 'k'));
    split += splitLines.back() + "\n";
  }
  splitLines.push_back(std::string(TextFile::kBufferSize - 1 - split.size(), 'm'));
  split += splitLines.back() + "\r\nlast";
  ASSERT_EQ(split[TextFile::kBufferSize - 1], '\r');
  splitLines.push_back("last");
  EXPECT_EQ(Lines(Write("split.txt", split)), splitLines);
}

TEST_F(TextFileTest, PositionSeekAndLength) {
  const std::string bytes = "primeira\r\nsegunda\nterceira";
  const std::string path = Write("pos.txt", bytes);
  auto file = TryOpenFile(path.c_str(), "r");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(transref::FileLength(*file), static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(file->Position(), 0);
  ZRTStrings line;
  EXPECT_TRUE(line.ReadLine(*file));
  EXPECT_EQ(file->Position(), 10);
  const std::int64_t second = file->Position();
  line.ReadLine(*file);
  EXPECT_EQ(line, "segunda");
  EXPECT_EQ(file->FileLength(), static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(file->Position(), 18);  // FileLength keeps the position
  ASSERT_TRUE(file->Seek(second));  // step back one line
  line.ReadLine(*file);
  EXPECT_EQ(line, "segunda");
  line.ReadLine(*file);
  EXPECT_EQ(line, "terceira");
  EXPECT_TRUE(file->AtEnd());
  EXPECT_EQ(file->Position(), static_cast<std::int64_t>(bytes.size()));
  EXPECT_FALSE(line.ReadLine(*file));  // nothing left: empty text
  EXPECT_EQ(line, "");
  ASSERT_TRUE(file->Seek(0));
  EXPECT_FALSE(file->AtEnd());
  line.ReadLine(*file);
  EXPECT_EQ(line, "primeira");
  EXPECT_FALSE(file->Seek(-1));
}

TEST_F(TextFileTest, SeekBeyondTheBufferedBlock) {
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += std::to_string(i % 10) + "\n";
  auto file = TryOpenFile(Write("seek.txt", bytes).c_str(), "r");
  ZRTStrings line;
  ASSERT_TRUE(file->Seek(2 * 30001));  // beyond the first 64 KiB block
  line.ReadLine(*file);
  EXPECT_EQ(line, "1");
  ASSERT_TRUE(file->Seek(2 * 7));
  line.ReadLine(*file);
  EXPECT_EQ(line, "7");
  EXPECT_EQ(file->Position(), 16);
}

// Standard input may be a pipe, which cannot seek: the start of the stream
// stays readable again (for a look at the first lines), and so does the
// line just read (for a drawing's look-ahead), also across refills.
TEST_F(TextFileTest, PipeGoesBackToItsStartAndToTheLastLine) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  if (::fcntl(ends[1], F_SETPIPE_SZ, 1 << 20) < (1 << 20)) GTEST_SKIP() << "pipe cannot hold 1 MiB";
  auto file = TextFile::FromDescriptor(ends[0], TextFile::Mode::Read, true);
  const auto put = [&](const std::string& bytes) {
    ASSERT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  };
  std::string_view line;
  put("  0\n");  // the writer sends one line at a time
  ASSERT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
  EXPECT_EQ(line, "  0");
  put("SECTION\n");
  ASSERT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
  EXPECT_EQ(line, "SECTION");
  ASSERT_TRUE(file->Seek(0));
  ASSERT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
  EXPECT_EQ(line, "  0");

  // Lines of every length, well past one buffer: each one read, gone back
  // to, and read again.
  std::vector<std::string> sent;
  std::string bytes;
  for (int i = 0; bytes.size() < 3 * TextFile::kBufferSize; ++i) {
    sent.push_back(std::to_string(i) + std::string(static_cast<std::size_t>(i * 37 % 1500), 'p'));
    bytes += sent.back() + "\n";
  }
  put(bytes);
  ::close(ends[1]);
  EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::Line);  // "SECTION" again
  for (const std::string& expected : sent) {
    const std::int64_t mark = file->Position();
    ASSERT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
    ASSERT_EQ(line, expected);
    ASSERT_TRUE(file->Seek(mark)) << expected.substr(0, 8);
    ASSERT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
    ASSERT_EQ(line, expected);
  }
  EXPECT_TRUE(file->AtEnd());
  EXPECT_FALSE(file->Seek(0));  // the start was read past long ago
}

TEST_F(TextFileTest, OpenSaysWhyItFailed) {
  int error = 0;
  EXPECT_EQ(TextFile::Open((folder_ / "nada.txt").c_str(), TextFile::Mode::Read, &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(TextFile::Open(folder_.c_str(), TextFile::Mode::Read, &error), nullptr);
  EXPECT_EQ(error, EISDIR);
  EXPECT_EQ(TextFile::Open((folder_ / "nada" / "x.txt").c_str(), TextFile::Mode::Write, &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(TextFile::Open((fs::path(Write("f.txt", "")) / "x.txt").c_str(), TextFile::Mode::Read, &error), nullptr);
  EXPECT_EQ(error, ENOTDIR);
}

TEST_F(TextFileTest, WritesLinesWithLineFeed) {
  const std::string path = (folder_ / "out.txt").string();
  auto file = TryOpenFile(path.c_str(), 0, "w");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(ZRTStrings("P1 10.000 20.000").PrintLine(*file));
  EXPECT_TRUE(file->WriteLine("segunda"));
  EXPECT_TRUE(file->Printf("%.3f;%d", 1.5, 7));
  const std::string large(200000, 'w');  // several buffers at once
  EXPECT_TRUE(file->Write(large));
  EXPECT_TRUE(file->Printf("%s", large.c_str()));
  EXPECT_EQ(file->Position(), static_cast<std::int64_t>(17 + 8 + 7 + 2 * large.size()));
  EXPECT_EQ(file->FileLength(), file->Position());
  EXPECT_TRUE(file->Close());
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->HasWriteError());
  EXPECT_EQ(Contents(path), "P1 10.000 20.000\nsegunda\n1.500;7" + large + large);
}

TEST_F(TextFileTest, DestructorFlushesAndWriteModeTruncates) {
  const std::string path = Write("trunc.txt", "conteudo antigo e longo\n");
  { TryOpenFile(path.c_str(), "w")->WriteLine("novo"); }
  EXPECT_EQ(Contents(path), "novo\n");
}

TEST_F(TextFileTest, WriteFailureIsRemembered) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  auto file = TryOpenFile("/dev/full", "w");
  ASSERT_NE(file, nullptr);
  file->WriteLine("cabe no buffer");  // buffered: not yet known to fail
  EXPECT_FALSE(file->Close());
  EXPECT_TRUE(file->HasWriteError());
  EXPECT_FALSE(file->Close());

  auto early = TryOpenFile("/dev/full", "w");
  const std::string large(TextFile::kBufferSize + 10, 'x');
  EXPECT_FALSE(early->Write(large));  // the full buffer is flushed and fails
  EXPECT_TRUE(early->HasWriteError());
  EXPECT_FALSE(early->WriteLine("depois"));
  EXPECT_FALSE(early->Close());
}

TEST_F(TextFileTest, ReadingAndWritingModesDoNotMix) {
  const std::string path = Write("mix.txt", "abc\n");
  auto reader = TryOpenFile(path.c_str(), "r");
  EXPECT_FALSE(reader->Write("x"));
  EXPECT_TRUE(reader->Close());
  auto writer = TryOpenFile((folder_ / "w.txt").c_str(), "w");
  std::string_view line;
  EXPECT_EQ(writer->ReadLine(line), TextFile::LineRead::End);
  EXPECT_TRUE(writer->AtEnd());
}

}  // namespace
