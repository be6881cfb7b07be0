// An output is never seen half-written: it appears, or changes, only when
// committed; otherwise nothing is left beside it.
#include "support/ReplacingOutput.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using transref::ReplacingOutput;

class ReplacingOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("transref_replacing_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

TEST_F(ReplacingOutputTest, NewFileAppearsOnlyWhenCommitted) {
  int error = -1;
  auto output = ReplacingOutput::Open(Path("novo.txt"), &error);
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(fs::path(output->TemporaryPath()).parent_path(), folder_);  // same folder: a rename
  ASSERT_TRUE(output->File().WriteLine("1 2 3"));
  EXPECT_FALSE(fs::exists(Path("novo.txt")));
  ASSERT_TRUE(output->Commit());
  EXPECT_EQ(Contents(Path("novo.txt")), "1 2 3\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"novo.txt"});
  // The usual permissions of a new file (the umask applies).
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(fs::status(Path("novo.txt")).permissions(), static_cast<fs::perms>(0666 & ~mask));

  // Not committed: nothing is left.
  {
    auto abandoned = ReplacingOutput::Open(Path("outro.txt"), &error);
    ASSERT_NE(abandoned, nullptr);
    abandoned->File().WriteLine("metade");
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"novo.txt"});
}

TEST_F(ReplacingOutputTest, ExistingFileKeepsItsContentUntilCommittedAndItsPermissions) {
  const std::string path = Write("saida.txt", "levantamento anterior\n");
  fs::permissions(path, static_cast<fs::perms>(0640));
  int error = 0;
  {
    auto failed = ReplacingOutput::Open(path, &error);
    ASSERT_NE(failed, nullptr);
    failed->File().Write(std::string(3 * transref::TextFile::kBufferSize, 'x'));  // flushed to the temporary file
    EXPECT_EQ(Contents(path), "levantamento anterior\n");
  }
  EXPECT_EQ(Contents(path), "levantamento anterior\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"saida.txt"});

  auto output = ReplacingOutput::Open(path, &error);
  ASSERT_NE(output, nullptr);
  output->File().WriteLine("novo");
  ASSERT_TRUE(output->Commit());
  EXPECT_EQ(Contents(path), "novo\n");
  EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0640));
}

TEST_F(ReplacingOutputTest, LinkStaysALinkAndDevicesAreWrittenInPlace) {
  const std::string target = Write("alvo.txt", "antes\n");
  fs::create_symlink(target, Path("link.txt"));
  int error = 0;
  auto output = ReplacingOutput::Open(Path("link.txt"), &error);
  ASSERT_NE(output, nullptr);
  output->File().WriteLine("depois");
  ASSERT_TRUE(output->Commit());
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(Contents(target), "depois\n");

  // /dev/null cannot be replaced by a rename (and must never be).
  auto device = ReplacingOutput::Open("/dev/null", &error);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->TemporaryPath(), "");
  device->File().WriteLine("nada");
  EXPECT_TRUE(device->Commit());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(ReplacingOutputTest, OutputsThatCannotBeWrittenSayWhy) {
  int error = 0;
  EXPECT_EQ(ReplacingOutput::Open(folder_.string(), &error), nullptr);
  EXPECT_EQ(error, EISDIR);
  EXPECT_EQ(ReplacingOutput::Open(Path("falta/x.txt"), &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(ReplacingOutput::Open(Write("arquivo", "") + "/x.txt", &error), nullptr);
  EXPECT_EQ(error, ENOTDIR);
  EXPECT_EQ(Names(), std::vector<std::string>{"arquivo"});
}

TEST_F(ReplacingOutputTest, PendingTemporaryFilesAreRemovedOnRequest) {
  // What the batch converter does when it is interrupted.
  int error = 0;
  auto output = ReplacingOutput::Open(Path("interrompido.txt"), &error);
  ASSERT_NE(output, nullptr);
  output->File().WriteLine("1 2 3");
  output->File().Flush();
  EXPECT_TRUE(fs::exists(output->TemporaryPath()));
  transref::RemovePendingOutputs();
  EXPECT_TRUE(Names().empty());
}

}  // namespace
