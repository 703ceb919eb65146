// Places read out of build output, the walk over them, and the build child process with its
// captured output, exit status and time limit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "platform/build_runner.h"
#include "platform/output_locations.h"

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

TEST(OutputLocationTest, CompilerMakeAndGrepFormsGiveFileLineAndColumn) {
  std::optional<OutputLocation> l = ParseLocation(u"src/a.cpp:12:5: error: 'x' was not declared");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->file, u"src/a.cpp");
  EXPECT_EQ(l->line, 12u);
  EXPECT_EQ(l->column, 5u);
  EXPECT_TRUE(l->error);

  l = ParseLocation(u"b.h:7: warning: unused");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->file, u"b.h");
  EXPECT_EQ(l->line, 7u);
  EXPECT_EQ(l->column, 0u);
  EXPECT_FALSE(l->error);

  // grep -n output: the text after the line number is the line itself.
  l = ParseLocation(u"notes.txt:3:TODO fix the error path");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->line, 3u);
  EXPECT_EQ(l->column, 0u);

  // make names its makefile inside brackets; the bracket is not part of the name. Its own
  // report of a failed recipe is a place, but the error it reports was counted already.
  l = ParseLocation(u"make: *** [Makefile:4: all] Error 2");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->file, u"Makefile");
  EXPECT_EQ(l->line, 4u);
  EXPECT_FALSE(l->error);
  l = ParseLocation(u"make[2]: *** [sub/Makefile:9: x.o] Error 1");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->file, u"sub/Makefile");
  EXPECT_FALSE(l->error);

  l = ParseLocation(u"In file included from /usr/include/x.h:30,");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->file, u"/usr/include/x.h");
  EXPECT_EQ(l->line, 30u);

  // A drive letter stays part of the file name.
  l = ParseLocation(u"C:\\src\\a.cpp:9:1: fatal error: no file");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->file, u"C:\\src\\a.cpp");
  EXPECT_EQ(l->line, 9u);
  EXPECT_EQ(l->column, 1u);
}

TEST(OutputLocationTest, TextThatOnlyLooksLikeAPlaceIsNotOne) {
  EXPECT_FALSE(ParseLocation(u""));
  EXPECT_FALSE(ParseLocation(u"no places here"));
  EXPECT_FALSE(ParseLocation(u"started at 12:30:15"));                // a time of day
  EXPECT_FALSE(ParseLocation(u"see http://example.com:8080/x"));      // a port
  EXPECT_FALSE(ParseLocation(u"/usr/bin/ld: a.o: in function `f'"));  // no line number
  EXPECT_FALSE(ParseLocation(u"a.c:0: nothing at line zero"));
  EXPECT_FALSE(ParseLocation(u"a.c:12345678901: too long a number"));
  EXPECT_FALSE(ParseLocation(u":12: no file"));
  EXPECT_FALSE(ParseLocation(u"a.c:12x"));
}

TEST(BuildLogTest, StepsForwardAndBackOverPlacesAndErrorsSkippingUnusableOnes) {
  BuildLog log;
  log.Start("/tmp");
  for (const char16_t* line : {u"Build started", u"a.c:1: warning: w", u"gone.c:2: error: e",
                               u"plain text", u"b.c:3:4: error: f", u"done"}) {
    log.AddLine(line);
  }
  auto usable = [](const OutputLocation& l) { return l.file != u"gone.c"; };
  EXPECT_EQ(log.CountLocations(false), 3u);
  EXPECT_EQ(log.CountLocations(true), 2u);
  EXPECT_EQ(log.Step(true, false, usable), std::optional<size_t>(1));
  EXPECT_EQ(log.Step(true, false, usable), std::optional<size_t>(4));  // gone.c is skipped
  EXPECT_EQ(log.OrdinalOf(4, false), 3u);
  EXPECT_EQ(log.Step(true, false, usable), std::nullopt);  // the end: the walk stays
  EXPECT_EQ(log.Current(), std::optional<size_t>(4));
  EXPECT_EQ(log.Step(false, false, usable), std::optional<size_t>(1));
  EXPECT_EQ(log.Step(false, false, usable), std::nullopt);

  // Errors only, from the start of a new walk.
  log.Start("/tmp");
  log.AddLine(u"a.c:1: warning: w");
  log.AddLine(u"b.c:3:4: error: f");
  EXPECT_EQ(log.Step(false, true, usable), std::optional<size_t>(1));  // back from the end
  log.Start("/tmp");
  log.AddLine(u"a.c:1: warning: w");
  log.AddLine(u"b.c:3:4: error: f");
  EXPECT_EQ(log.Step(true, true, usable), std::optional<size_t>(1));
  EXPECT_EQ(log.Step(true, true, usable), std::nullopt);
}

class BuildRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tavik_build_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  fs::path folder_;
};

TEST_F(BuildRunnerTest, CapturesBothStreamsAndTheExitStatusInTheFolder) {
  std::ofstream(folder_ / "here.txt") << "x";
  const BuildResult r =
      RunBuildCommand("ls; echo to-stderr >&2; cat; exit 3", folder_.string(), 20000);
  ASSERT_TRUE(r.started);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 3);
  // The build runs in the folder, sees an empty standard input and both streams are kept.
  EXPECT_EQ(r.output, "here.txt\nto-stderr\n");
}

TEST_F(BuildRunnerTest, ABuildThatRunsTooLongIsStoppedWithItsChildren) {
  const BuildResult r =
      RunBuildCommand("echo begun; sleep 30 & sleep 30; echo never", folder_.string(), 300);
  ASSERT_TRUE(r.started);
  EXPECT_TRUE(r.timed_out);
  EXPECT_EQ(r.output, "begun\n");
  EXPECT_NE(r.exit_code, 0);
}

TEST_F(BuildRunnerTest, TheUserCanStopABuildAndItsChildren) {
  int asked = 0;
  const BuildResult r = RunBuildCommand("echo begun; sleep 30 & sleep 30", folder_.string(), 60000,
                                        [&asked] { return ++asked == 3; });
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(asked, 3);
  EXPECT_NE(r.exit_code, 0);
  // A build that ends by itself is not asked about again once it is over.
  asked = 0;
  const BuildResult quick =
      RunBuildCommand("echo done", folder_.string(), 60000, [&asked] { return ++asked > 1000; });
  EXPECT_FALSE(quick.cancelled);
  EXPECT_EQ(quick.exit_code, 0);
  EXPECT_EQ(quick.output, "done\n");
}

TEST_F(BuildRunnerTest, AMissingFolderOrCommandIsReportedByTheShell) {
  BuildResult r = RunBuildCommand("true", (folder_ / "missing").string(), 20000);
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exit_code, 127);
  EXPECT_NE(r.output.find("cannot enter"), std::string::npos) << r.output;
  r = RunBuildCommand("no-such-program-here", folder_.string(), 20000);
  EXPECT_EQ(r.exit_code, 127);
  EXPECT_FALSE(r.output.empty());
}

TEST_F(BuildRunnerTest, PipelinesInTheBuildEndQuietlyEvenWhenTheEditorIgnoresSigpipe) {
  auto* previous = std::signal(SIGPIPE, SIG_IGN);
  const BuildResult r = RunBuildCommand("yes | head -n 2", folder_.string(), 20000);
  std::signal(SIGPIPE, previous);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.output, "y\ny\n");  // no "Broken pipe" complaint from yes
}

TEST_F(BuildRunnerTest, OutputBeyondTheLimitIsReadAndDropped) {
  // Twice the limit: the child is not blocked on a full pipe and finishes normally.
  const std::string command =
      "head -c " + std::to_string(2 * kMaxBuildOutput) + " /dev/zero; echo tail >&2";
  const BuildResult r = RunBuildCommand(command, folder_.string(), 60000);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(r.output_cut);
  EXPECT_EQ(r.output.size(), kMaxBuildOutput);
}

}  // namespace
}  // namespace tavik::platform
