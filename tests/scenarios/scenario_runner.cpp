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
#include <vector>

#include "app/batch_session.h"

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

std::string Unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

// Reads one scenario file. Sections: "=== name" starts a case; "--- before", "--- keys",
// "--- after", "--- mode", "--- status", "--- beeps", "--- answers", "--- pane",
// "--- marker" and "--- open NAME" (another document) introduce their lines. Lines before the first case are comments. A status may be
// written in double quotes to show its trailing blanks; buffers lose their trailing blank lines.
std::vector<Scenario> ReadScenarios(const std::filesystem::path& path) {
  std::vector<Scenario> cases;
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
      if (section == "after") c.after.emplace();
      if (section == "pane") c.check_pane = true;
      if (section.starts_with("open ")) {
        c.documents.push_back({section.substr(5), {}});
        section = "open";
      }
      continue;
    }
    if (section.empty()) continue;
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
  }
  return cases;
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
    bool has_marker = std::any_of(expected.begin(), expected.end(), [&](const std::string& l) {
      return l.find(c.marker) != std::string::npos;
    });
    std::vector<std::string> actual = Split(session.BufferTextUtf8());
    if (actual.size() > 1 && actual.back().empty() && !expected.empty() &&
        expected.size() < actual.size()) {
      actual.pop_back();
    }
    if (has_marker) {
      auto [line, byte] = session.CursorUtf8();
      if (line >= 0 && static_cast<size_t>(line) < actual.size()) {
        std::string& l = actual[line];
        l.insert(std::min<size_t>(byte, l.size()), 1, c.marker);
      }
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
  std::vector<Scenario> cases = ReadScenarios(GetParam());
  ASSERT_FALSE(cases.empty()) << GetParam() << " holds no case";
  for (const Scenario& c : cases) {
    SCOPED_TRACE(c.name);
    RunScenario(c);
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioFile, testing::ValuesIn(ScenarioFiles()),
                         [](const testing::TestParamInfo<std::filesystem::path>& info) {
                           std::string name = info.param.stem().string();
                           std::replace_if(name.begin(), name.end(),
                                           [](char ch) { return !std::isalnum(ch); }, '_');
                           return name;
                         });

}  // namespace
}  // namespace tavik
