// Undo as a property: random edit commands on random small texts through the whole stack (keys
// typed into the host editor with the package loaded, and the host editing its own buffer
// between commands), then `u` back to the start and CTRL-R forward to the end, twice. Every step
// must give back exactly the text the test recorded for it, and put the cursor where the step's
// first edit began, as the buffer told its listeners while the step was made: undo at that
// place in the text before the step, redo at the same place carried through the step's later
// edits; both held to a normal-mode position of the text.
//
// TAVIK_UNDO_SEED picks the run (default: a fixed seed), TAVIK_UNDO_SEQUENCES how many sequences
// it drives, TAVIK_UNDO_FIRST the first one. A failure prints the seed, the sequence, its text and
// its commands; TAVIK_UNDO_TRACE=1 writes each command to the error stream before it runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch_session.h"
#include "config/key_notation.h"
#include "platform/buffer_change.h"
#include "platform/edit_operations.h"
#include "platform/editor_host.h"
#include "platform/utf8_codec.h"

namespace tavik {
namespace {

using Rng = std::mt19937_64;

size_t Pick(Rng& rng, size_t n) {
  return std::uniform_int_distribution<size_t>(0, n - 1)(rng);
}
template <size_t N>
std::string PickOf(Rng& rng, const char* const (&items)[N]) {
  return items[Pick(rng, N)];
}
bool Chance(Rng& rng, int percent) {
  return static_cast<int>(Pick(rng, 100)) < percent;
}
std::string Count(Rng& rng) {
  return Chance(rng, 25) ? std::to_string(2 + Pick(rng, 3)) : "";
}

// Words that give every command something to work on: numbers for CTRL-A, brackets, quotes and
// tags for text objects, sentences, blanks and tabs for shifts and CTRL-W.
std::string RandomText(Rng& rng) {
  static constexpr const char* kWords[] = {
      "foo",     "bar", "baz", "x1",   "42",   "-7",       "0x1f", "007", "(a b)", "[c]", "{d}",
      "\"q r\"", "'s'", "a.b", "end.", "One.", "<t>x</t>", "  ",   "\t",  "o",     "é"};
  std::string text;
  const size_t lines = 1 + Pick(rng, 5);
  for (size_t l = 0; l < lines; ++l) {
    if (l > 0) text += "\n";
    const size_t words = Pick(rng, 6);
    for (size_t w = 0; w < words; ++w) {
      if (w > 0 && Chance(rng, 80)) text += " ";
      text += PickOf(rng, kWords);
    }
  }
  return text;
}

// Keys typed in insert or replace mode, every CTRL key of the mode among them; always left with
// Escape.
std::string InsertBody(Rng& rng) {
  static constexpr const char* kKeys[] = {
      "x",      "yz",    " ",        "1",     "(",        "<CR>",       "<BS>",   "<Del>",
      "<C-w>",  "<C-u>", "<C-t>",    "<C-d>", "<C-r>a",   "<C-r>\"",    "<C-r>-", "<C-y>",
      "<C-e>",  "<C-n>", "<C-p>",    "<C-j>", "<Left>",   "<Right>",    "<Up>",   "<Down>",
      "<Home>", "<End>", "<Insert>", "<Tab>", "<C-v>065", "<C-v><Tab>", "ab",     "<S-Tab>",
      "<C-h>",  "<C-m>", "<C-i>",    "<C-a>", "<C-o>"};
  std::string body;
  const size_t n = Pick(rng, 7);
  for (size_t i = 0; i < n; ++i) body += PickOf(rng, kKeys);
  return body + "<Esc>";
}

std::string Motion(Rng& rng) {
  static constexpr const char* kMotions[] = {"w", "b",  "e",  "W",  "B",  "E",  "$",      "0",
                                             "^", "j",  "k",  "h",  "l",  "gg", "G",      "}",
                                             "{", "%",  "fo", "t)", "Fa", "T ", "/o<CR>", "?a<CR>",
                                             "n", "ge", "+",  "-",  "_",  "`a", "'a"};
  return Count(rng) + PickOf(rng, kMotions);
}

std::string TextObject(Rng& rng) {
  static constexpr const char* kObjects[] = {"iw", "aw", "iW", "aW", "i(",  "a(",  "ib",
                                             "i[", "a]", "i{", "aB", "i\"", "a\"", "i'",
                                             "ip", "ap", "is", "as", "it",  "at"};
  return Count(rng) + PickOf(rng, kObjects);
}

std::string OperatorCommand(Rng& rng) {
  static constexpr const char* kOperators[] = {"d",    "y", "gU", "gu", "g~",   ">",
                                               "<lt>", "c", "=",  "gq", "\"ad", "\"Ay"};
  const std::string op = PickOf(rng, kOperators);
  std::string keys = Count(rng) + op;
  const size_t how = Pick(rng, 3);
  if (how == 0) {
    keys += Motion(rng);
  } else if (how == 1) {
    keys += TextObject(rng);
  } else {
    keys += op == "<lt>" ? op : op.substr(op.size() - 1);  // doubled: the count's lines
  }
  if (op == "c") keys += InsertBody(rng);
  return keys;
}

std::string SimpleAction(Rng& rng) {
  static constexpr const char* kActions[] = {
      "x",     "X",  "D",  "J",    "gJ",    "~",     "p",     "P",     "gp",
      "gP",    "]p", "[p", "\"ap", "\"bp",  "\"byy", "<C-a>", "<C-x>", "rq",
      "r<CR>", ".",  "ma", "Y",    "\"Ayw", "\"-p",  "yyp",   "ddp",   "xp"};
  return Count(rng) + PickOf(rng, kActions);
}

std::string InsertCommand(Rng& rng) {
  static constexpr const char* kEntries[] = {"i",  "a", "I", "A", "o", "O",  "gI",
                                             "gi", "C", "s", "S", "R", "cc", "cw"};
  return Count(rng) + PickOf(rng, kEntries) + InsertBody(rng);
}

std::string VisualCommand(Rng& rng) {
  static constexpr const char* kStarts[] = {"v", "V", "<C-v>"};
  static constexpr const char* kOps[] = {"d",     "x",     "y",  "p", "P",    "U", "u", "~",
                                         "J",     "gJ",    "rz", ">", "<lt>", "D", "X", "Y",
                                         "<C-a>", "<C-x>", "c",  "C", "S",    "I", "A", "o<Esc>"};
  const std::string start = PickOf(rng, kStarts);
  std::string keys = start + Motion(rng);
  if (Chance(rng, 30)) keys += TextObject(rng);
  const std::string op = PickOf(rng, kOps);
  keys += op;
  if (op == "c" || op == "C" || op == "S" || op == "I" || op == "A") keys += InsertBody(rng);
  return keys;
}

std::string ExCommand(Rng& rng) {
  static constexpr const char* kCommands[] = {"s/o/0/",
                                              "s/\\w\\+/[&]/g",
                                              "%s/a/AA/g",
                                              "%s/$/;/",
                                              "%s/^\\s*//",
                                              "s/ /\\r/",
                                              "%s/o\\|a//g",
                                              "g/o/d",
                                              "g/a/m0",
                                              "g/./t$",
                                              "v/x/d",
                                              "g/^/m0",
                                              "m+1",
                                              "m0",
                                              "m$",
                                              "1,2m$",
                                              "co.",
                                              "t0",
                                              "1,2t$",
                                              "d",
                                              "2,3d",
                                              "j",
                                              "1,3j",
                                              ">",
                                              "<lt>",
                                              "pu",
                                              "pu!",
                                              "pu a",
                                              "&&",
                                              "g/o/s/o/O/g",
                                              "%>",
                                              "2,$<lt>",
                                              "3",
                                              "g/a/-1j",
                                              "s/\\(o\\)\\(.\\)/\\2\\1/g",
                                              "g/^$/d",
                                              "%s/\\n//"};
  return ":" + PickOf(rng, kCommands) + "<CR>";
}

std::string MacroCommand(Rng& rng) {
  const size_t what = Pick(rng, 4);
  if (what == 0) return Count(rng) + "@a";
  if (what == 1) return "@@";
  std::string keys = what == 2 ? "qa" : "qA";
  const size_t n = 1 + Pick(rng, 3);
  for (size_t i = 0; i < n; ++i) {
    keys += Chance(rng, 50) ? OperatorCommand(rng) : SimpleAction(rng);
    keys += "<Esc>";
  }
  return keys + "q";
}

// One step of a sequence: keys for the engine, or text the host types or puts in by itself.
struct Command {
  std::string keys;          // key notation; empty for a host edit
  int history = 0;           // -1 when the keys undo one step, 1 when they redo one
  bool host_typing = false;  // the host types `text` at `at` as a user would
  TextPos at;
  TextPos to;  // a host replacement covers `at` to `to`
  std::string text;

  std::string Describe() const {
    if (!keys.empty()) return keys;
    std::ostringstream out;
    out << (host_typing ? "[host types \"" : "[host replaces ");
    if (!host_typing)
      out << at.line << "," << at.column << "-" << to.line << "," << to.column << " by \"";
    out << text << "\" at " << at.line << "," << at.column << "]";
    return out.str();
  }
};

Command RandomCommand(Rng& rng) {
  Command c;
  switch (Pick(rng, 10)) {
    case 0:
    case 1:
      c.keys = OperatorCommand(rng);
      break;
    case 2:
      c.keys = SimpleAction(rng);
      break;
    case 3:
      c.keys = InsertCommand(rng);
      break;
    case 4:
      c.keys = VisualCommand(rng);
      break;
    case 5:
      c.keys = ExCommand(rng);
      break;
    case 6:
      c.keys = MacroCommand(rng);
      break;
    case 7:
      if (Chance(rng, 50)) {
        c.keys = Motion(rng);
      } else {
        // Undo and redo between edits: the history forks when an edit follows.
        static constexpr const char* kUndo[] = {"u", ":u<CR>"};
        static constexpr const char* kRedo[] = {"<C-r>", ":red<CR>"};
        c.history = Chance(rng, 60) ? -1 : 1;
        c.keys = c.history < 0 ? PickOf(rng, kUndo) : PickOf(rng, kRedo);
      }
      break;
    default: {
      static constexpr const char* kTyped[] = {"X", "Yz", "\n", "  ", "(h)", "7"};
      c.host_typing = Chance(rng, 60);
      c.text = PickOf(rng, kTyped);
      // Positions are drawn large and clamped to the text when the command runs.
      c.at = {static_cast<uint32_t>(Pick(rng, 6)), static_cast<uint32_t>(Pick(rng, 12))};
      c.to = {c.at.line + static_cast<uint32_t>(Pick(rng, 2)),
              static_cast<uint32_t>(Pick(rng, 12))};
      break;
    }
  }
  // Whatever state a command leaves (a pending operator, a mode a failed motion left open),
  // Escape ends it.
  if (!c.keys.empty()) c.keys += "<Esc>";
  return c;
}

struct Snapshot {
  std::u16string text;
  TextPos cursor;
  TextPos began;   // where the step's first edit began
  TextPos landed;  // the same place after the step's later edits
};

std::string Show(const std::u16string& text) {
  std::string out;
  for (char ch : platform::ToUtf8(text)) {
    if (ch == '\n') {
      out += "\\n";
    } else if (ch == '\t') {
      out += "\\t";
    } else {
      out += ch;
    }
  }
  return "\"" + out + "\"";
}

// Where a normal-mode cursor ends for a position: within the text's lines and on a character
// of its line (column 0 on an empty line).
TextPos NormalModePosition(const std::u16string& text, TextPos pos) {
  std::vector<uint32_t> lengths{0};
  for (char16_t ch : text) {
    if (ch == u'\n') {
      lengths.push_back(0);
    } else {
      ++lengths.back();
    }
  }
  pos.line = std::min<uint32_t>(pos.line, static_cast<uint32_t>(lengths.size() - 1));
  const uint32_t length = lengths[pos.line];
  pos.column = std::min(pos.column, length == 0 ? 0 : length - 1);
  return pos;
}

// Each sequence of a run has its own generator, so that one can be replayed alone.
Rng MakeRng(uint64_t seed, uint64_t index) {
  std::seed_seq mixed{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32),
                      static_cast<uint32_t>(index)};
  return Rng(mixed);
}

class UndoProperty {
 public:
  UndoProperty(uint64_t seed, size_t index, bool trace)
      : seed_(seed), index_(index), trace_(trace), rng_(MakeRng(seed, index)) {}

  // Runs one random sequence; returns an empty string or what went wrong.
  std::string Run() {
    initial_ = RandomText(rng_);
    session_.OpenText("undo.txt", initial_);
    session_.FocusFirstDocument();
    View().Buffer().AddListener([this](const platform::BufferChange& change) {
      if (walking_) return;
      if (!began_) {
        began_ = change.start;
        landed_ = change.start;
      } else {
        landed_ = platform::MovePastChange(landed_, change);
      }
    });
    View().SetCaret(View().Buffer().Clamp(
        {static_cast<uint32_t>(Pick(rng_, 3)), static_cast<uint32_t>(Pick(rng_, 6))}));
    steps_.push_back(Now());
    began_.reset();
    const size_t n = 5 + Pick(rng_, 16);
    for (size_t i = 0; i < n; ++i) {
      commands_.push_back(RandomCommand(rng_));
      if (trace_) std::cerr << "  " << commands_.back().Describe() << std::endl;
      if (std::string error = RunCommand(commands_.back()); !error.empty()) return error;
      if (trace_) {
        std::cerr << "    -> " << Show(Now().text) << " cursor " << Now().cursor.line << ","
                  << Now().cursor.column << ", " << steps_.size() << " steps" << std::endl;
      }
    }
    return WalkBackAndForth();
  }

  std::string Replay() const {
    std::ostringstream out;
    out << "seed " << seed_ << ", sequence " << index_
        << "\ntext: " << Show(platform::FromUtf8(initial_)) << "\ncommands:\n";
    for (const Command& c : commands_) out << "  " << c.Describe() << "\n";
    out << "steps recorded:\n";
    for (size_t i = 0; i < steps_.size(); ++i) {
      const Snapshot& step = steps_[i];
      out << "  " << i << ": " << Show(step.text) << " cursor " << step.cursor.line << ","
          << step.cursor.column << ", began " << step.began.line << "," << step.began.column
          << ", landed " << step.landed.line << "," << step.landed.column << "\n";
    }
    return out.str();
  }

 private:
  platform::View& View() { return *session_.Editor().FocusedView(); }
  Snapshot Now() { return {View().Buffer().Text(), View().Caret(), {}, {}}; }
  // The state as a finished step: where its first edit began goes with it.
  Snapshot Finished() {
    Snapshot now = Now();
    now.began = began_.value_or(TextPos{});
    now.landed = landed_;
    began_.reset();
    return now;
  }
  uint64_t State() { return View().Buffer().TextState(); }

  // Feeds a command key by key. Whenever the engine is back in normal mode after the text
  // changed, that is one finished step; a key that ends several steps would be a fault the walk
  // finds, as the steps would then be undone together.
  std::string RunCommand(const Command& c) {
    uint64_t state = State();
    began_.reset();  // an undo or redo before told of its edits too
    if (c.keys.empty()) {
      // Host edits with no engine command between them are one step: the earlier one's
      // beginning stands and its place is carried on through this edit.
      if (host_edited_last_) {
        began_ = steps_.back().began;
        landed_ = steps_.back().landed;
      }
      HostEdit(c);
      if (State() != state) {
        if (host_edited_last_) steps_.pop_back();
        steps_.push_back(Finished());
        undone_.clear();
        host_edited_last_ = true;
      }
      began_.reset();
      return {};
    }
    host_edited_last_ = false;
    if (c.history != 0) return UndoOrRedo(c);
    for (KeyCode key : ParseKeys(platform::FromUtf8(c.keys))) {
      session_.FeedKey(key);
      if (session_.ModeName() == "NORMAL" && State() != state) {
        state = State();
        steps_.push_back(Finished());
        undone_.clear();
      }
    }
    session_.FinishKeys();
    if (session_.ModeName() != "NORMAL")
      return "still in " + session_.ModeName() + " after " + c.keys;
    if (State() != state) return "the text changed after the last key of " + c.keys;
    return {};
  }

  // An undo or redo in the middle of the sequence moves one step between the history and the
  // steps undone, and must give the text and cursor the walk would.
  std::string UndoOrRedo(const Command& c) {
    session_.FeedNotation(c.keys);
    std::optional<TextPos> began;
    if (c.history < 0 && steps_.size() > 1) {
      began = steps_.back().began;
      undone_.push_back(steps_.back());
      steps_.pop_back();
    } else if (c.history > 0 && !undone_.empty()) {
      steps_.push_back(undone_.back());
      undone_.pop_back();
      began = steps_.back().landed;
    }
    const Snapshot got = Now();
    std::ostringstream out;
    if (session_.ModeName() != "NORMAL") out << "mode " << session_.ModeName() << " ";
    if (got.text != steps_.back().text) {
      out << "text " << Show(got.text) << ", expected " << Show(steps_.back().text);
    } else if (began && got.cursor != NormalModePosition(got.text, *began)) {
      const TextPos want = NormalModePosition(got.text, *began);
      out << "cursor " << got.cursor.line << "," << got.cursor.column << ", expected " << want.line
          << "," << want.column;
    }
    if (out.str().empty()) return {};
    return c.keys + " in the sequence: " + out.str();
  }

  void HostEdit(const Command& c) {
    platform::View& view = View();
    const TextPos at = view.Buffer().Clamp(c.at);
    if (c.host_typing) {
      view.SetCaret(at);
      platform::InsertAtCaret(view, platform::FromUtf8(c.text), true);
    } else {
      view.Buffer().Replace(at, view.Buffer().Clamp(c.to), platform::FromUtf8(c.text));
    }
  }

  // One `u` or CTRL-R; checks the text against the step it must reach and the cursor against
  // what the same key gave on an earlier walk, if any.
  std::string Step(const char* key, size_t from, size_t to,
                   std::vector<std::optional<TextPos>>& cursors) {
    session_.FeedNotation(key);
    const Snapshot got = Now();
    std::ostringstream out;
    if (session_.ModeName() != "NORMAL") out << "mode " << session_.ModeName();
    if (got.text != steps_[to].text) {
      out << "text " << Show(got.text) << ", expected " << Show(steps_[to].text);
    } else if (const TextPos want =
                   NormalModePosition(got.text, to < from ? steps_[from].began : steps_[to].landed);
               got.cursor != want) {
      out << "cursor " << got.cursor.line << "," << got.cursor.column << ", expected " << want.line
          << "," << want.column << " where the step began";
    } else if (cursors.size() > to && cursors[to] && *cursors[to] != got.cursor) {
      out << "cursor " << got.cursor.line << "," << got.cursor.column
          << ", but an earlier walk gave " << cursors[to]->line << "," << cursors[to]->column;
    }
    if (cursors.size() <= to) cursors.resize(to + 1);
    cursors[to] = got.cursor;
    if (out.str().empty()) return {};
    return std::string(key) + " from step " + std::to_string(from) + " to " + std::to_string(to) +
           ": " + out.str();
  }

  std::string WalkBackAndForth() {
    const size_t last = steps_.size() - 1;
    walking_ = true;
    std::vector<std::optional<TextPos>> undone;
    std::vector<std::optional<TextPos>> redone;
    // Back, forward, and back and forward again: the second walks must repeat the first.
    for (int round = 0; round < 2; ++round) {
      for (size_t k = last; k > 0; --k) {
        if (std::string e = Step("u", k, k - 1, undone); !e.empty()) return e;
      }
      session_.FeedNotation("u");
      if (Now().text != steps_[0].text) return "u at the oldest step changed the text";
      for (size_t k = 1; k <= last; ++k) {
        if (std::string e = Step("<C-r>", k - 1, k, redone); !e.empty()) return e;
      }
      // Steps undone in the sequence and not overwritten since stay to be redone.
      if (undone_.empty()) {
        session_.FeedNotation("<C-r>");
        if (Now().text != steps_[last].text) return "CTRL-R at the newest step changed the text";
      }
    }
    return {};
  }

  uint64_t seed_;
  size_t index_;
  bool trace_;
  Rng rng_;
  // Told by the buffer's listener, which lives as long as the session: declared before it.
  std::optional<TextPos> began_;
  TextPos landed_;
  bool walking_ = false;
  app::BatchSession session_;
  std::string initial_;
  std::vector<Command> commands_;
  std::vector<Snapshot> steps_;
  std::vector<Snapshot> undone_;  // steps undone in the sequence, the next to redo last
  bool host_edited_last_ = false;
};

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

TEST(UndoProperty, EveryStepUndoesAndRedoesToTheTextItCameFrom) {
  const uint64_t seed = EnvNumber("TAVIK_UNDO_SEED", 20261208);
  const size_t sequences = EnvNumber("TAVIK_UNDO_SEQUENCES", 2000);
  const size_t first = EnvNumber("TAVIK_UNDO_FIRST", 0);
  const bool trace = EnvNumber("TAVIK_UNDO_TRACE", 0) != 0;
  std::cout << "undo property: seed " << seed << ", " << sequences << " sequences" << std::endl;
  for (size_t i = first; i < first + sequences; ++i) {
    if (trace) std::cerr << "sequence " << i << std::endl;
    UndoProperty run(seed, i, trace);
    if (std::string error = run.Run(); !error.empty()) {
      FAIL() << error << "\n" << run.Replay();
    }
  }
}

}  // namespace
}  // namespace tavik
