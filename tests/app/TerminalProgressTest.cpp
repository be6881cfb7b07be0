// The stderr progress bar: drawn in place, only when the percentage moves,
// with the remaining time, and erased at the end.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "convert/TerminalProgress.h"

namespace transref::convert {
namespace {

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

TEST(TerminalProgress, RedrawsOnlyWhenThePercentageChanges) {
  double now = 0.0;
  std::ostringstream terminal;
  TerminalProgress bar(terminal, [&now] { return now; });
  bar.SetStage("Processando transformação");
  bar.Begin(1000);
  bar.Show();
  EXPECT_EQ(Count(terminal.str(), "\r"), 1);
  EXPECT_EQ(bar.Line(), "Processando transformação [------------------------------]   0%");

  now = 1.0;
  bar.Step(4);  // still 0 %
  EXPECT_EQ(Count(terminal.str(), "\r"), 1);
  now = 2.0;
  bar.Step(400);  // 40 % after 2 s: 3 s to go
  EXPECT_EQ(Count(terminal.str(), "\r"), 2);
  EXPECT_EQ(bar.Line(),
            "Processando transformação [############------------------]  40% "
            "Tempo restante: 000h 00m 03s");

  now = 3.0;
  bar.Step(2000);  // clamped to the total
  EXPECT_EQ(bar.Line(),
            "Processando transformação [##############################] 100% "
            "Tempo restante: 000h 00m 00s");
  bar.End();
  // The last thing written erases the line.
  EXPECT_EQ(terminal.str().substr(terminal.str().size() - 4), "\r\x1b[K");
}

TEST(TerminalProgress, StageChangesRedrawAndNothingBeforeShow) {
  std::ostringstream terminal;
  TerminalProgress bar(terminal, [] { return 0.0; });
  bar.SetLabel("Convertendo Arquivo");
  EXPECT_EQ(bar.Line().rfind("Convertendo Arquivo [", 0), 0u);  // until a stage is set
  bar.SetStage("Lendo cabeçalho do arquivo de entrada");
  bar.Begin(0);
  bar.Step(10);
  EXPECT_TRUE(terminal.str().empty());
  bar.Show();
  bar.SetStage("Finalizando...");
  EXPECT_EQ(bar.Line().rfind("Finalizando... [", 0), 0u);
  EXPECT_EQ(Count(terminal.str(), "\r"), 2);
  bar.End();
  bar.End();  // a second end draws nothing more
  EXPECT_EQ(Count(terminal.str(), "\r"), 3);
}

}  // namespace
}  // namespace transref::convert
