// Runs the keystroke scenario files: each case gives a buffer with the cursor marked, keys in key
// notation, and what must hold afterwards. A failing case prints the expected and actual state
// side by side with the differing lines marked.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_session.h"
#include "common/test_temp_folder.h"

namespace tavik {
namespace {

struct Scenario {
  std::string file;
  int line = 0;
  std::string name;
  char marker = '|';
  std::vector<std::string> before;
  std::string keys;
  std::optional<std::vector<std::string>> after;
  std::optional<std::string> mode;
  std::optional<std::string> status;
  std::optional<int> beeps;
  std::vector<std::string> answers;
  std::vector<std::string> pane;
  bool check_pane = false;
  // Further documents, opened after the case's own: name and lines.
  std::vector<std::pair<std::string, std::vector<std::string>>> documents;
};

// What a file holds: its cases, and what is wrong with the file itself (a section the runner
// does not know, a buffer without its cursor), so that nothing in it goes unchecked unseen.
struct ScenarioFileContents {
  std::vector<Scenario> cases;
  std::vector<std::string> problems;
};

bool KnownSection(const std::string& section) {
  static constexpr std::string_view kSections[] = {"before", "keys",    "after", "mode",  "status",
                                                   "beeps",  "answers", "pane",  "marker"};
  return section.starts_with("open ") ||
         std::find(std::begin(kSections), std::end(kSections), section) != std::end(kSections);
}

size_t CountMarkers(const std::vector<std::string>& lines, char marker) {
  size_t n = 0;
  for (const std::string& l : lines) n += std::count(l.begin(), l.end(), marker);
  return n;
}

std::string Unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

// Reads one scenario file. Sections: "=== name" starts a case; "--- before", "--- keys",
// "--- after", "--- mode", "--- status", "--- beeps", "--- answers", "--- pane",
// "--- marker" and "--- open NAME" (another document) introduce their lines; any other section
// is a problem of the file. Lines before the first case are comments. A status may be written
// in double quotes to show its trailing blanks; buffers lose their trailing blank lines.
ScenarioFileContents ReadScenarios(const std::filesystem::path& path) {
  ScenarioFileContents contents;
  std::vector<Scenario>& cases = contents.cases;
  const std::string file = path.filename().string();
  std::ifstream in(path);
  std::string line;
  std::string section;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.starts_with("=== ")) {
      cases.push_back({});
      cases.back().file = path.filename().string();
      cases.back().line = number;
      cases.back().name = line.substr(4);
      section.clear();
      continue;
    }
    if (cases.empty()) continue;
    Scenario& c = cases.back();
    if (line.starts_with("--- ")) {
      section = line.substr(4);
      if (!KnownSection(section)) {
        contents.problems.push_back(file + ":" + std::to_string(number) + " \"" + c.name +
                                    "\": unknown section \"" + line + "\"");
        section.clear();
        continue;
      }
      if (section == "after") c.after.emplace();
      if (section == "pane") c.check_pane = true;
      if (section.starts_with("open ")) {
        c.documents.push_back({section.substr(5), {}});
        section = "open";
      }
      continue;
    }
    if (section.empty()) {
      // Lines between a case's name and its first section are comments; one that looks like a
      // header but is misspelt must not vanish.
      if (line.starts_with("--") || line.starts_with("==")) {
        contents.problems.push_back(file + ":" + std::to_string(number) + " \"" + c.name +
                                    "\": a header the runner does not know: \"" + line + "\"");
      }
      continue;
    }
    // Blank lines separate cases; a single-value section takes its first non-blank line.
    bool single = section == "mode" || section == "status" || section == "beeps";
    if (single && (line.empty() || (section == "mode" && c.mode) ||
                   (section == "status" && c.status) || (section == "beeps" && c.beeps))) {
      continue;
    }
    if (section == "before") {
      c.before.push_back(line);
    } else if (section == "keys") {
      c.keys += line;
    } else if (section == "after") {
      c.after->push_back(line);
    } else if (section == "mode") {
      c.mode = line;
    } else if (section == "status") {
      c.status = Unquote(line);
    } else if (section == "beeps") {
      c.beeps = std::stoi(line);
    } else if (section == "answers") {
      c.answers.push_back(line);
    } else if (section == "pane") {
      c.pane.push_back(line);
    } else if (section == "open") {
      c.documents.back().second.push_back(line);
    } else if (section == "marker" && !line.empty()) {
      c.marker = line[0];
    }
  }
  // Blank lines at the end of a buffer section only separate it from the next case.
  for (Scenario& c : cases) {
    while (!c.before.empty() && c.before.back().empty()) c.before.pop_back();
    while (c.after && !c.after->empty() && c.after->back().empty()) c.after->pop_back();
    if (c.before.empty()) c.before.push_back("");
    while (!c.pane.empty() && c.pane.back().empty()) c.pane.pop_back();
    for (auto& [name, lines] : c.documents) {
      while (!lines.empty() && lines.back().empty()) lines.pop_back();
    }
    // The buffer before gives the cursor, and the buffer after says where it must end: exactly
    // one marker each, or the case would start or be checked somewhere nobody chose.
    const std::string where = c.file + ":" + std::to_string(c.line) + " \"" + c.name + "\": ";
    const size_t before_markers = CountMarkers(c.before, c.marker);
    if (before_markers != 1) {
      contents.problems.push_back(where + std::to_string(before_markers) +
                                  " cursor markers in the buffer before, not 1");
    }
    if (c.after && CountMarkers(*c.after, c.marker) != 1) {
      contents.problems.push_back(where + std::to_string(CountMarkers(*c.after, c.marker)) +
                                  " cursor markers in the buffer after, not 1");
    }
  }
  return contents;
}

// Removes the cursor marker from the lines; returns the cursor (line, byte column).
std::pair<int, int> TakeMarker(std::vector<std::string>& lines, char marker) {
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t at = lines[i].find(marker);
    if (at != std::string::npos) {
      lines[i].erase(at, 1);
      return {static_cast<int>(i), static_cast<int>(at)};
    }
  }
  return {0, 0};
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
  return out;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  if (lines.empty() || (!text.empty() && text.back() == '\n')) lines.push_back("");
  return lines;
}

std::string Diff(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  std::ostringstream out;
  size_t n = std::max(expected.size(), actual.size());
  for (size_t i = 0; i < n; ++i) {
    std::string e = i < expected.size() ? expected[i] : "<none>";
    std::string a = i < actual.size() ? actual[i] : "<none>";
    out << (e == a ? "    " : "  ! ") << "expected: " << e << "\n";
    if (e != a) out << "  ! actual:   " << a << "\n";
  }
  return out.str();
}

std::string Describe(const Scenario& c) {
  return c.file + ":" + std::to_string(c.line) + " \"" + c.name + "\"\n  keys: " + c.keys + "\n";
}

void RunScenario(const Scenario& scenario) {
  Scenario c = scenario;
  auto [cursor_line, cursor_byte] = TakeMarker(c.before, c.marker);
  app::BatchSession session;
  session.SetAnswers(c.answers);
  session.OpenText("scenario.txt", Join(c.before));
  for (const auto& [name, lines] : c.documents) session.OpenText(name, Join(lines));
  session.FocusFirstDocument();
  session.SetCursorUtf8(cursor_line, cursor_byte);
  session.FeedNotation(c.keys);
  session.FinishKeys();

  if (c.after) {
    std::vector<std::string> expected = *c.after;
    std::vector<std::string> actual = Split(session.BufferTextUtf8());
    if (actual.size() > 1 && actual.back().empty() && !expected.empty() &&
        expected.size() < actual.size()) {
      actual.pop_back();
    }
    auto [line, byte] = session.CursorUtf8();
    if (line >= 0 && static_cast<size_t>(line) < actual.size()) {
      std::string& l = actual[line];
      l.insert(std::min<size_t>(byte, l.size()), 1, c.marker);
    }
    EXPECT_EQ(expected, actual) << Describe(c) << Diff(expected, actual);
  }
  if (c.mode) {
    EXPECT_EQ(*c.mode, session.ModeName()) << Describe(c) << "mode";
  }
  if (c.status) {
    EXPECT_EQ(*c.status, session.StatusUtf8()) << Describe(c) << "status";
  }
  if (c.beeps) {
    EXPECT_EQ(*c.beeps, session.Beeps()) << Describe(c) << "beeps";
  }
  if (c.check_pane) {
    EXPECT_EQ(c.pane, session.PaneLines()) << Describe(c) << "pane";
  }
}

std::vector<std::filesystem::path> ScenarioFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(TAVIK_SCENARIO_DIR)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class ScenarioFile : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(ScenarioFile, AllCasesPass) {
  const ScenarioFileContents contents = ReadScenarios(GetParam());
  ASSERT_FALSE(contents.cases.empty()) << GetParam() << " holds no case";
  for (const std::string& problem : contents.problems) ADD_FAILURE() << problem;
  for (const Scenario& c : contents.cases) {
    SCOPED_TRACE(c.name);
    RunScenario(c);
  }
}

// A misspelt section, a buffer without its cursor and one with two: each is reported, so a case
// cannot lose a check without the file failing.
TEST(ScenarioReader, ReportsWhatItWouldOtherwiseIgnore) {
  testing_support::TestTempFolder folder("tavik_scenario_reader");
  const std::string path = folder.Write("bad.txt",
                                        "=== misspelt\n--- before\n|a\n--- keys\nx\n--- atfer\nb\n"
                                        "=== no cursor\n--- before\na\n--- keys\nx\n"
                                        "=== two cursors after\n--- before\n|a\n--- keys\nx\n"
                                        "--- after\n|b|\n"
                                        "=== fine\n--- before\n|a\n--- keys\nx\n--- after\n|\n");
  const ScenarioFileContents contents = ReadScenarios(path);
  ASSERT_EQ(contents.cases.size(), 4u);
  ASSERT_EQ(contents.problems.size(), 3u);
  EXPECT_NE(contents.problems[0].find("bad.txt:6 \"misspelt\": unknown section \"--- atfer\""),
            std::string::npos)
      << contents.problems[0];
  EXPECT_NE(contents.problems[1].find("\"no cursor\": 0 cursor markers in the buffer before"),
            std::string::npos)
      << contents.problems[1];
  EXPECT_NE(contents.problems[2].find("2 cursor markers in the buffer after"), std::string::npos)
      << contents.problems[2];
  EXPECT_FALSE(contents.cases[0].after.has_value());  // the misspelt section's lines went nowhere
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioFile, testing::ValuesIn(ScenarioFiles()),
                         [](const testing::TestParamInfo<std::filesystem::path>& info) {
                           std::string name = info.param.stem().string();
                           std::replace_if(
                               name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); },
                               '_');
                           return name;
                         });

}  // namespace
}  // namespace tavik
