// The kind of an input from its first lines, whatever its name.
#include "conversion/lists/InputKind.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "support/TextFile.h"

namespace transref {
namespace {

using testing::ScratchDir;

std::optional<FileKind> KindOf(const ScratchDir& dir, const std::string& bytes) {
  auto file = TextFile::Open(dir.Write("entrada", bytes).c_str(), TextFile::Mode::Read);
  const std::optional<FileKind> kind = DetectInputKind(*file);
  // The file is read again from where it was.
  std::string_view line;
  EXPECT_EQ(file->Position(), 0);
  if (!bytes.empty()) {
    EXPECT_EQ(file->ReadLine(line), TextFile::LineRead::Line);
  }
  return kind;
}

TEST(DetectInputKind, DrawingsByTheirFirstLinesListsByTheirFields) {
  ScratchDir dir;
  for (const char* drawing : {"  0\nSECTION\n  2\nHEADER\n", "0\r\nSECTION\r\n", "\xEF\xBB\xBF" "0\nSECTION\n",
                              "\n \n999\ndxflib\n  0\n SECTION \n", "AutoCAD Binary DXF\r\n\x1a"}) {
    EXPECT_EQ(KindOf(dir, drawing), FileKind::Dxf) << drawing;
  }
  EXPECT_EQ(KindOf(dir, "101 177938.743 1676745.581 3.12\n"), FileKind::Ascii3D);
  EXPECT_EQ(KindOf(dir, "\n\t\n101\t177938.743\t1676745.581\n"), FileKind::Ascii2D);
  EXPECT_EQ(KindOf(dir, "\xEF\xBB\xBF" "1 2 3\n"), FileKind::Ascii2D);
  EXPECT_EQ(KindOf(dir, "0\nPOINT\n"), FileKind::Delimited);  // no section: not a drawing
  // Not the strict grammar on some line: a delimited file.
  for (const char* delimited : {"Ponto;E;N\n1;2;3\n", "1 2 3\n# fim\n", "M-01 500 600 7\n", "1 2 3\nE-4 5 6\n"}) {
    EXPECT_EQ(KindOf(dir, delimited), FileKind::Delimited) << delimited;
  }
  // A mistyped number or a missing field keeps the strict list and its messages.
  EXPECT_EQ(KindOf(dir, "1 2 3\n4 5x 6\n5 6\n"), FileKind::Ascii2D);
  EXPECT_EQ(KindOf(dir, ""), FileKind::Ascii3D);
}

}  // namespace
}  // namespace transref
