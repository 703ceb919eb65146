// The startup file: the search order, line splitting and numbering, the startup command table,
// and files that are huge or not text at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/startup_file.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

struct StartupRun {
  OptionSet options;
  MappingList mappings;
  std::vector<std::u16string> messages;
  std::vector<std::u16string> errors;

  size_t Lines(const std::string& bytes) {
    StartupContext context{options, mappings,
                           [this](std::u16string_view m) { messages.emplace_back(m); }};
    std::istringstream in(bytes);
    return RunStartupLines(in, u"/home/me/.tavikrc", context,
                           [this](std::u16string_view e) { errors.emplace_back(e); });
  }
};

std::u16string ErrorAt(int line) {
  std::string text = "Error processing /home/me/.tavikrc: line " + std::to_string(line);
  return std::u16string(text.begin(), text.end());
}

TEST(StartupFile, ColonsCommentsRangesAndUnknownNames) {
  StartupRun run;
  size_t failures = run.Lines(
      ":set ic\n"              // 1
      "set scs\n"              // 2
      ":\n"                    // 3: skipped
      "\n"                     // 4
      "\" a comment\n"         // 5
      "# not a comment\n"      // 6: fails
      "1,5d\n"                 // 7: a range
      "%s/a/b/\n"              // 8: no name
      "  :set list\n"          // 9: a colon after blanks stays
      "   \t \n"               // 10: all blanks
      "sets ic\n"              // 11: longer than the name
      "s ic\n"                 // 12: shorter than se
      "'a\n"                   // 13: a range
      "ver\n"                  // 14
      "set nosuch\n"           // 15: a message, not an error
      "nnoremap! <Space> :");  // 16: no line end at the end of the file
  std::vector<std::u16string> expected = {ErrorAt(6),  ErrorAt(7),  ErrorAt(8), ErrorAt(9),
                                          ErrorAt(11), ErrorAt(12), ErrorAt(13)};
  EXPECT_EQ(failures, expected.size());
  EXPECT_EQ(run.errors, expected);
  EXPECT_TRUE(run.options.Bool(OptionId::kIgnoreCase));
  EXPECT_FALSE(run.options.Bool(OptionId::kList));
  ASSERT_EQ(run.messages.size(), 2u);
  EXPECT_EQ(run.messages[0].substr(0, 5), u"Tavik");
  EXPECT_EQ(run.messages[1], u"Unknown option");
  ASSERT_EQ(run.mappings.Entries().size(), 1u);
  EXPECT_EQ(run.mappings.Entries()[0].rhs, u":");
  EXPECT_FALSE(run.mappings.Entries()[0].remap);
}

TEST(StartupFile, CarriageReturnsEndLinesAndEveryCommandNameIsKnown) {
  StartupRun run;
  std::string text;
  for (const char* name : {"se",  "map", "nm",       "vmap", "om",  "imap", "lm",       "cmap",
                           "no",  "nn",  "vnoremap", "ono",  "ino", "ln",   "cnoremap", "unm",
                           "nun", "vu",  "ounmap",   "iu",   "lu",  "cu",   "\"",       "ve"}) {
    text += std::string(name) + " q x\r\n";
  }
  EXPECT_EQ(run.Lines(text), 0u) << (run.errors.empty() ? "" : "first error");
  // Every map was undone by its unmap; set q x only reported "Unknown option".
  EXPECT_TRUE(run.mappings.Empty());
  // Mode-specific unmaps of mappings already gone say so, and nothing is an error.
  EXPECT_TRUE(run.errors.empty());
}

TEST(StartupFile, LongLinesAreSplitAndTheRestIsNumberedOnItsOwn) {
  StartupRun run;
  // 65536 bytes then more on the same physical line: the rest is line 2.
  std::string text = "set ic" + std::string(65536 - 6, ' ') + "junk\n" + "#x\n";
  EXPECT_EQ(run.Lines(text), 2u);
  EXPECT_EQ(run.errors, (std::vector<std::u16string>{ErrorAt(2), ErrorAt(3)}));
  EXPECT_TRUE(run.options.Bool(OptionId::kIgnoreCase));

  // A line of exactly 65535 bytes and its line feed is one line.
  StartupRun exact;
  EXPECT_EQ(exact.Lines("\"" + std::string(65534, 'a') + "\n#\n"), 1u);
  EXPECT_EQ(exact.errors, std::vector<std::u16string>{ErrorAt(2)});
}

TEST(StartupFile, HugeAndBinaryFilesLoadWithErrorsByLineNumber) {
  StartupRun many;
  std::string text;
  for (int i = 0; i < 10000; ++i) text += (i % 1000 == 999) ? "bad\n" : "set ic\n";
  EXPECT_EQ(many.Lines(text), 10u);
  EXPECT_EQ(many.errors.back(), ErrorAt(10000));

  StartupRun wide;
  std::string long_lines;
  for (int i = 0; i < 3; ++i) long_lines += "map Q " + std::string(100000, 'j') + "\n";
  // Each 100,006-byte line is read as 65536 bytes and a rest of "j"s, which is no command.
  EXPECT_EQ(wide.Lines(long_lines), 3u);
  EXPECT_EQ(wide.errors.back(), ErrorAt(6));
  ASSERT_EQ(wide.mappings.Entries().size(), 1u);
  EXPECT_EQ(wide.mappings.Entries()[0].rhs.size(), 65536u - 6);

  StartupRun junk;
  std::string bytes;
  uint32_t seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245 + 12345;
    bytes.push_back(static_cast<char>(seed >> 16));
  }
  junk.Lines(bytes);  // must not crash; every error names a line
  for (const std::u16string& e : junk.errors) EXPECT_EQ(e.rfind(u"Error processing ", 0), 0u);
}

TEST(StartupFile, MultiByteConversionReplacesWhatDoesNotConvert) {
  // The tests run in the C locale: bytes above 127 do not convert.
  EXPECT_EQ(MultiByteToUtf16("set ic"), u"set ic");
  EXPECT_EQ(MultiByteToUtf16("a\xff"
                             "b"),
            u"a\uFFFD"
            "b");
  EXPECT_EQ(MultiByteToUtf16(std::string("a\0b", 3)), u"a");
}

TEST(StartupFile, SearchOrderOfDirectoriesAndNames) {
  EXPECT_EQ(StartupDirectories("C:", "/Users/me", "/home/me", "/opt/tavik"),
            (std::vector<fs::path>{"C:/Users/me", "/home/me", "/opt/tavik"}));
  EXPECT_EQ(StartupDirectories(nullptr, "/Users/me", "/home/me", ""),
            (std::vector<fs::path>{"/home/me"}));
  EXPECT_EQ(StartupDirectories("C:", nullptr, "", "/opt/tavik"),
            (std::vector<fs::path>{"/opt/tavik"}));

  fs::path root = fs::temp_directory_path() / ("tavik_rc_test_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "home");
  fs::create_directories(root / "program");
  std::vector<fs::path> dirs = {root / "home", root / "program"};
  EXPECT_FALSE(FindStartupFile(dirs).has_value());
  std::ofstream(root / "program" / ".tavikrc") << "set ic\n";
  EXPECT_EQ(FindStartupFile(dirs), root / "program" / ".tavikrc");
  std::ofstream(root / "home" / "_tavikrc") << "set ic\n";
  EXPECT_EQ(FindStartupFile(dirs), root / "home" / "_tavikrc");
  std::ofstream(root / "home" / ".tavikrc") << "set ic\n";
  EXPECT_EQ(FindStartupFile(dirs), root / "home" / ".tavikrc");
  // A directory with the file's name is passed over.
  fs::remove(root / "home" / ".tavikrc");
  fs::create_directory(root / "home" / ".tavikrc");
  EXPECT_EQ(FindStartupFile(dirs), root / "home" / "_tavikrc");
  fs::remove_all(root);
}

}  // namespace
}  // namespace tavik
