#include "support/Paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using transref::ExtractExtension;
using transref::ExtractFileName;
using transref::ExtractFilePath;
using transref::ShortenPathForDisplay;
using transref::ZRTStrings;

TEST(PathsTest, SplitsFolderNameAndExtension) {
  EXPECT_EQ(ExtractFilePath("C:\\dados\\pontos.txt"), "C:\\dados\\");
  EXPECT_EQ(ExtractFileName("C:\\dados\\pontos.txt"), "pontos.txt");
  EXPECT_EQ(ExtractExtension("pontos.txt"), ".txt");
  EXPECT_EQ(ExtractFileName("pontos.txt"), "pontos.txt");
  EXPECT_EQ(ExtractFilePath("pontos.txt"), "");
  EXPECT_EQ(ExtractFilePath("/home/ana/pontos.txt"), "/home/ana/");
  EXPECT_EQ(ExtractFileName("/home/ana/pontos.txt"), "pontos.txt");
  EXPECT_EQ(ExtractExtension("levantamento.tar.gz"), ".tar.gz");
  EXPECT_EQ(ExtractExtension("LEIAME"), "");
}

TEST(PathsTest, EmptyAndNoStorageGiveEmpty) {
  ZRTStrings none("x");
  none.ReleaseStorage();
  for (const ZRTStrings& path : {ZRTStrings(), none}) {
    EXPECT_EQ(ExtractFilePath(path), "");
    EXPECT_EQ(ExtractFileName(path), "");
    EXPECT_EQ(ExtractExtension(path), "");
    EXPECT_EQ(ShortenPathForDisplay(path, 50), "");
    EXPECT_EQ(ShortenPathForDisplay(path, 0), "");
  }
}

// The remove-every-occurrence composition would damage these.
TEST(PathsTest, RepeatedComponentsAreKept) {
  EXPECT_EQ(ExtractFilePath("/dados/x/dados/x"), "/dados/x/dados/");
  EXPECT_EQ(ExtractFilePath("C:\\a.txt\\a.txt"), "C:\\a.txt\\");
  EXPECT_EQ(ExtractExtension("/home/ana.lima/pontos.txt"), ".txt");
  EXPECT_EQ(ExtractExtension("/home/ana.lima/pontos"), "");
}

TEST(ShortenPathTest, KeepsShortPathsAndShortensAtTheLimit) {
  const ZRTStrings shortPath("C:\\dados\\pontos.txt");
  EXPECT_EQ(ShortenPathForDisplay(shortPath, 50), shortPath);
  const std::string exact = "C:\\Projetos\\Levantamentos\\Zona\\pontos_ajustados_2.txt";
  const auto length = static_cast<std::int32_t>(exact.size());
  EXPECT_EQ(ShortenPathForDisplay(exact.c_str(), length + 1), exact.c_str());
  EXPECT_EQ(ShortenPathForDisplay(exact.c_str(), length),
            "C:\\Projetos\\...\\Zona\\pontos_ajustados_2.txt");
}

TEST(ShortenPathTest, LongAndShortForms) {
  const char* path =
      "C:\\Projetos\\Levantamentos\\2004\\Zona Norte\\Quadra 12\\pontos_ajustados.txt";
  ASSERT_EQ(std::string(path).size(), 72u);
  const ZRTStrings longForm = ShortenPathForDisplay(path, 50);
  EXPECT_EQ(longForm, "C:\\Projetos\\...\\Quadra 12\\pontos_ajustados.txt");
  EXPECT_EQ(longForm.Length(), 46);
  // When the long form does not fit, the first folder goes too.
  EXPECT_EQ(ShortenPathForDisplay(path, 46), "C:\\...\\Quadra 12\\pontos_ajustados.txt");
  // Two folders: the long form is not shorter than the limit.
  EXPECT_EQ(ShortenPathForDisplay("C:\\Primeira pasta\\Segunda pasta\\arquivo.txt", 20),
            "C:\\...\\Segunda pasta\\arquivo.txt");
  // Forward slashes: the drive is empty and the gap uses '/'.
  EXPECT_EQ(ShortenPathForDisplay("/home/ana/levantamentos/2004/norte/quadra12/pontos.txt", 40),
            "/home/.../quadra12/pontos.txt");
  // Repeated folder names are not removed from elsewhere in the path.
  EXPECT_EQ(ShortenPathForDisplay("C:\\x\\dados\\meio\\dados\\pontos.txt", 10),
            "C:\\...\\dados\\pontos.txt");
}

TEST(ShortenPathTest, FewerThanTwoFolders) {
  EXPECT_EQ(ShortenPathForDisplay("C:\\uma pasta muito longa\\pontos.txt", 20),
            "C:\\...\\pontos.txt");
  EXPECT_EQ(ShortenPathForDisplay("C:\\abc\\pontos.txt", 5), "C:\\abc\\pontos.txt");
  EXPECT_EQ(ShortenPathForDisplay("C:\\um_nome_de_arquivo_longo.txt", 10),
            "C:\\um_nome_de_arquivo_longo.txt");
  EXPECT_EQ(ShortenPathForDisplay("um_nome_de_arquivo_longo.txt", 10),
            "um_nome_de_arquivo_longo.txt");
}

}  // namespace
