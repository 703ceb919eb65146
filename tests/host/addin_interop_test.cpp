// Working beside other add-ins, which tests install through the host's add-in interface: the
// add-in that takes Escape for its lists gets it to the engine with `vaxesc` on and keeps it
// with it off; an add-in's in-place rename suspends the view and leaves the engine in normal
// mode when it ends; the special editors of the database-edition host hand the engine their
// navigation keys as editor commands.
#include "host/addin_interop.h"

#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "host/package.h"
#include "host/registration.h"
#include "platform/utf8_codec.h"

namespace tavik::host {
namespace {

using platform::CommandGroup;
using platform::EditorCommand;
namespace cmd2k = platform::cmd2k;

// An add-in's filter at the head of a view's chain: it keeps Cancel (closing a list of its own)
// and counts every command that reaches it.
class AddInFilter final : public platform::CommandTarget {
 public:
  explicit AddInFilter(platform::View& view) : view_(view) {
    next_ = view.Filters().AddCommandFilter(this);
  }
  ~AddInFilter() override { view_.Filters().RemoveCommandFilter(this); }
  platform::CommandStatus QueryStatus(const EditorCommand& command) override {
    return next_->QueryStatus(command);
  }
  platform::HResult Exec(const EditorCommand& command) override {
    ++reached;
    if (command.group == CommandGroup::kStandard2K && command.id == cmd2k::kCancel) {
      ++lists_closed;
      return platform::HResult::kOk;
    }
    return next_->Exec(command);
  }
  int reached = 0;
  int lists_closed = 0;

 private:
  platform::View& view_;
  platform::CommandTarget* next_ = nullptr;
};

EditorCommand Std(uint32_t id) {
  return {CommandGroup::kStandard2K, id, 0};
}

class AddInInteropTest : public ::testing::Test {
 protected:
  platform::View& Open(const std::string& text) {
    session_.OpenText("t.cpp", text);
    session_.FocusFirstDocument();
    return *session_.Editor().FocusedView();
  }
  platform::Automation& Automation() { return session_.Editor().automation(); }

  app::BatchSession session_;
};

TEST_F(AddInInteropTest, EscapeTakenByTheListAddInReachesTheEngineOnlyWithVaxesc) {
  Automation().AddAddIn({u"visual assist x", true});  // the name is compared without case
  platform::View& view = Open("abc\n");
  AddInFilter add_in(view);
  session_.FeedNotation("i");
  ASSERT_EQ(session_.ModeName(), "INSERT");
  // The add-in takes the Escape key for its list and sends the host's Cancel.
  session_.Editor().SendCommand(view, Std(cmd2k::kCancel));
  EXPECT_EQ(session_.ModeName(), "NORMAL");
  EXPECT_EQ(add_in.lists_closed, 0);
  session_.FeedNotation(":set novaxesc<CR>i");
  session_.Editor().SendCommand(view, Std(cmd2k::kCancel));
  EXPECT_EQ(session_.ModeName(), "INSERT");
  EXPECT_EQ(add_in.lists_closed, 1);
}

TEST_F(AddInInteropTest, AListAddInThatIsNotConnectedKeepsItsEscape) {
  Automation().AddAddIn({u"Visual Assist X", false});
  platform::View& view = Open("abc\n");
  AddInFilter add_in(view);
  session_.FeedNotation("i");
  session_.Editor().SendCommand(view, Std(cmd2k::kCancel));
  EXPECT_EQ(session_.ModeName(), "INSERT");
  EXPECT_EQ(add_in.lists_closed, 1);
  EXPECT_FALSE(session_.Package().Interop().EscapeAddInConnected());
}

TEST_F(AddInInteropTest, ARenameSuspendsTheViewAndItsEndLeavesTheEngineInNormalMode) {
  // The rename add-in registers its marker type when it loads and marks the name it renames.
  platform::MarkerTypeDefinition marker;
  marker.guid = kRenameMarkerGuid;
  marker.name = u"Rename field";
  const uint32_t type = session_.Editor().colours().RegisterMarkerType(marker);
  constexpr std::string_view kGroup = "{0A1B2C3D-0000-4000-8000-000000000001}";
  platform::EditorHost& editor = session_.Editor();
  Automation().AddCommand(
      {u"Resharper.Rename", std::string(kGroup), 7, [&](std::u16string_view) {
         editor.automation().PlaceMarker(editor.FocusedDocument()->id, type, {0, 0}, {0, 3});
         return platform::CommandResult::kOk;
       }});
  Open("abc def\n");
  session_.FeedNotation("d");  // pending when the rename starts
  ASSERT_EQ(editor.Execute(u"Resharper.Rename"), platform::CommandResult::kOk);
  EXPECT_TRUE(session_.Package().Interop().IsRenameCommand(kGroup, 7));
  EXPECT_FALSE(session_.Package().Interop().IsRenameCommand(kGroup, 8));
  // Typing edits the name the host's way.
  session_.FeedNotation("x");
  EXPECT_EQ(session_.BufferTextUtf8(), "xabc def\n");
  EXPECT_TRUE(session_.Package().Filter(*editor.FocusedView())->Suspended());
  // The rename is over: the next key finds the engine in normal mode with nothing pending.
  Automation().ClearMarkers(editor.FocusedDocument()->id, type);
  session_.FeedNotation("w");
  EXPECT_FALSE(session_.Package().Filter(*editor.FocusedView())->Suspended());
  EXPECT_EQ(session_.BufferTextUtf8(), "xabc def\n");
  EXPECT_EQ(session_.ModeName(), "NORMAL");
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{0, 5}));
}

// A host of the version with the database edition installed, or not.
struct SpecialHost {
  explicit SpecialHost(std::string_view version, bool database_edition) {
    editor.registry().SetString(
        std::string(platform::kCurrentUserHive) + "\\" + std::string(platform::kHostProductKey),
        platform::kHostVersionValue, platform::FromUtf8(version));
    editor.AttachStoresToRegistry();
    if (database_edition) {
      editor.registry().CreateKey(MachineRoot(editor.LocalRegistryRoot()) + "\\" +
                                  std::string(kDatabaseEditionKey));
    }
    package = std::make_unique<Package>(editor);
    editor.OpenText(u"one\ntwo\nthree\n", "q.sql");
    view = editor.FocusedView();
    package->ConnectAutomation();
  }
  platform::EditorHost editor;
  std::unique_ptr<Package> package;
  platform::View* view = nullptr;
};

TEST(SpecialEditorTest, NavigationCommandsOfASpecialEditorGoToTheEngine) {
  SpecialHost host("9.0", true);
  ASSERT_TRUE(host.package->HostIsDatabaseEdition());
  AddInFilter below(*host.view);
  host.editor.SendCommand(*host.view, Std(cmd2k::kDown));
  host.editor.SendCommand(*host.view, Std(cmd2k::kRight));
  EXPECT_EQ(host.view->Caret(), (TextPos{1, 1}));
  host.editor.SendCommand(*host.view, Std(cmd2k::kReturn));  // a line down in normal mode
  EXPECT_EQ(host.view->Caret(), (TextPos{2, 0}));
  host.editor.SendCommand(*host.view, Std(17));  // End
  EXPECT_EQ(host.view->Caret(), (TextPos{2, 4}));
  host.editor.SendCommand(*host.view, Std(cmd2k::kBackspace));
  host.editor.SendCommand(*host.view, Std(cmd2k::kDelete));
  EXPECT_EQ(host.view->Buffer().LineCount(), 4u);
  EXPECT_EQ(host.view->Caret(), (TextPos{2, 3}));
  EXPECT_EQ(platform::ToUtf8(host.view->Buffer().Line(2)), "thre");
  EXPECT_EQ(below.reached, 0);  // the host's own handling never ran
  host.package->HandleKey(*host.view, KeyCode::Char(u'i'));
  host.editor.SendCommand(*host.view, Std(cmd2k::kCancel));
  EXPECT_EQ(host.package->Engine().Mode(), EngineMode::kNormal);
}

TEST(SpecialEditorTest, OtherHostsAndOtherLanguagesLeaveTheCommandsToTheChain) {
  for (const auto& [version, installed] : {std::pair{"9.0", false}, std::pair{"8.0", true}}) {
    SpecialHost host(version, installed);
    EXPECT_FALSE(host.package->HostIsDatabaseEdition()) << version;
    AddInFilter below(*host.view);
    host.editor.SendCommand(*host.view, Std(cmd2k::kDown));
    EXPECT_EQ(below.reached, 1) << version;
  }
  SpecialHost host("9.0", true);
  host.editor.OpenText(u"int x;\n", "a.cpp");
  AddInFilter below(*host.editor.FocusedView());
  host.editor.SendCommand(*host.editor.FocusedView(), Std(cmd2k::kDown));
  EXPECT_EQ(below.reached, 1);
}

}  // namespace
}  // namespace tavik::host
