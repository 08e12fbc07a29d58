// The scenario runner itself: its syntax, its transcript and how it reports failures. Most
// cases drive a small window made for these tests, so they do not depend on the real windows.
#include "script/script_runner.h"
#include "support/app_fixture.h"

#include "platform/files.h"
#include "records/filenames.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vantreth::script {
namespace {

namespace fs = std::filesystem;

// A window with one control of each kind, each handler leaving a trace in Label1.
class TestForm final : public AppForm {
public:
    static constexpr const char* kName = "TestForm";
    explicit TestForm(App& app) : AppForm(app, kName, "Test Window", {0, 0, 400, 300}) {
        SetKeyPreview(true);
        Label1.on_click = [this] { Label1.SetCaption("clicked"); };
        Label1.on_dbl_click = [this] { Label1.SetCaption("double"); };
        Text1.on_change = [this] { Label2.SetCaption("changed:" + Text1.Text()); };
        Command1.on_click = [this] {
            Label1.SetCaption(MsgBox("Save it?", platform::vbYesNo, "CONFIRM") == platform::vbYes ? "Yes"
                                                                                                  : "No");
        };
        Command2.on_click = [this] { Label1.SetCaption("disabled button ran"); };
        Command3.on_click = [this] {
            platform::Printer& printer = this->app().printer();
            printer.Print("Line one");
            printer.Print("Line two   ");
            printer.NewPage();
            printer.Print("Page two");
            printer.EndDoc();
        };
        Command4.on_click = [this] { Label1.SetCaption(InputBox("Your name:", "NAME")); };
        Command5.on_click = [this] {
            platform::ReplaceFileContent(this->app().data().File("notes", "hello"), "first\r\nsecond\r\n");
            platform::ReplaceFileContent(this->app().File("rooms"), std::string("12 \0", 4) + "\x80?");
        };
        Command6.on_click = [this] { this->app().shell().Open("mailto:desk@example.com"); };
        Command7.on_click = [this] { Label1.SetCaption("hidden button ran"); };
        Command8.on_click = [this] { throw platform::IoError(this->app().File("guest"), "Disk full"); };
        Check1.on_click = [this] { Label1.SetCaption("check " + std::to_string(Check1.Value())); };
        Combo1.on_click = [this] { Label1.SetCaption("picked " + Combo1.Text()); };
        Combo1.on_drop_down = [this] { Label1.SetCaption("dropped"); };
        List1.on_dbl_click = [this] { Label1.SetCaption("open " + List1.Text()); };
        Timer1.on_timer = [this] { Label3.SetCaption(std::to_string(++m_ticks)); };
    }

    platform::Label Label1{*this, "Label1", {.caption = "start"}};
    platform::Label Label2{*this, "Label2", {}};
    platform::Label Label3{*this, "Label3", {.caption = "0"}};
    platform::TextBox Text1{*this, "Text1", {.maxLength = 5}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Ask"}};
    platform::CommandButton Command2{*this, "Command2", {.caption = "Off", .enabled = false}};
    platform::CommandButton Command3{*this, "Command3", {.caption = "Print"}};
    platform::CommandButton Command4{*this, "Command4", {.caption = "Name"}};
    platform::CommandButton Command5{*this, "Command5", {.caption = "Write"}};
    platform::CommandButton Command6{*this, "Command6", {.caption = "Mail"}};
    platform::Frame Frame1{*this, "Frame1", {.caption = "Hidden", .visible = false}};
    platform::CommandButton Command7{*this, "Command7", {.caption = "Inside", .frame = &Frame1}};
    platform::CommandButton Command8{*this, "Command8", {.caption = "Fail"}};
    platform::CheckBox Check1{*this, "Check1", {.caption = "Smoking"}};
    platform::ComboBox Combo1{*this, "Combo1", {.caption = "Type"}};
    platform::ListBox List1{*this, "List1", {}};
    platform::Timer Timer1{*this, "Timer1", {.interval = 1000}};

private:
    void Form_Load() override {
        Show();
        m_ticks = 0;
        for (const char* item : {"a", "b", "c"})
            Combo1.AddItem(item);
        List1.AddItem("101");
        List1.AddItem("102");
    }
    void Form_KeyPress(int& KeyAscii) override {
        if (KeyAscii == platform::vbKeyEscape) {
            KeyAscii = 0;
            app().Unload(*this);
        }
    }
    int m_ticks = 0;
};

ScriptOptions TestOptions(fs::path baseDir = {}) {
    ScriptOptions options;
    options.baseDir = std::move(baseDir);
    options.on_program_made = [](App& app) {
        app.Register(TestForm::kName,
                     [](platform::Program& p) { return std::make_unique<TestForm>(static_cast<App&>(p)); });
    };
    return options;
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& transcript, const std::string& line) {
    for (const std::string& l : LinesOf(transcript))
        if (l == line)
            return true;
    return false;
}

// One script run on a runner of its own; the transcript is kept for checking.
struct ScriptRun {
    explicit ScriptRun(const std::string& script, fs::path baseDir = {})
        : runner(out, TestOptions(std::move(baseDir))) {
        std::istringstream in(script);
        result = runner.Run(in);
        transcript = out.str();
    }
    std::string LastLine() const { return LinesOf(transcript).back(); }

    std::ostringstream out;
    ScriptRunner runner;
    ScriptResult result;
    std::string transcript;
};

// ---------------------------------------------------------------------------

TEST(ScriptSyntaxTest, UnquoteRemovesOnlyOneOuterPairOfQuotes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\"\"", ""},         {"\" 5\"", " 5"}, {"abc", "abc"},       {"\"abc", "\"abc"},
        {"\"a\"b\"", "a\"b"}, {"\"", "\""},     {"\"\"\"\"", "\"\""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Unquote(in), out) << "input: " << in;
}

TEST(ScriptSyntaxTest, KeyCodeKnowsNamesAndSingleCharacters) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"Enter", 13}, {"esc", 27}, {"ESCAPE", 27}, {"Backspace", 8}, {"Space", 32}, {" ", 32},
        {"s", 's'},    {"1", '1'},  {"Tab", -1},    {"", -1},         {"ab", -1},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(KeyCode(name), code) << "key: \"" << name << "\"";
}

TEST(ScriptSyntaxTest, JoinedLinesDropsLineEndsAndJoinsWithSlash) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"A\r\n", "A"},
        {"1\r\n2\r\n", "1 / 2"},
        {"1\n2", "1 / 2"},
        {"\"x\",1\r\n\r\nlast", "\"x\",1 /  / last"},
    };
    for (const auto& [content, joined] : cases)
        EXPECT_EQ(JoinedLines(content), joined) << "content: " << content;
}

TEST(ScriptSyntaxTest, DumpShowsTextAsLinesAndOtherBytesAsHex) {
    EXPECT_EQ(DumpLines(""), std::vector<std::string>{"(empty)"});
    EXPECT_EQ(DumpLines("ab\r\ncd\r\n"), (std::vector<std::string>{"| ab", "| cd"}));
    EXPECT_EQ(DumpLines("AB "), (std::vector<std::string>{"| AB ", "(no line end after the last line)"}));

    std::string bytes = "0123456789abcdef";
    bytes += std::string("\x00\xFFZ", 3);
    const std::vector<std::string> dump = DumpLines(bytes);
    ASSERT_EQ(dump.size(), 2u);
    EXPECT_EQ(dump[0], "000000: 30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66  |0123456789abcdef|");
    EXPECT_EQ(dump[1], "000016: 00 FF 5A" + std::string(13 * 3, ' ') + "  |..Z|");
}

// ---------------------------------------------------------------------------

TEST(ScriptRunnerTest, EchoesEveryActionAndCommentAndEndsWithPassed) {
    ScriptRun run("# open the window\n"
                  "\n"
                  "   load TestForm   \n"
                  "expect TestForm.Caption = Test Window\n"
                  "click TestForm.Label1\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    EXPECT_EQ(run.result.actions, 3);
    EXPECT_EQ(run.result.checks, 1);
    EXPECT_EQ(LinesOf(run.transcript), (std::vector<std::string>{
                                           "# open the window",
                                           "> load TestForm",
                                           "  load TestForm",
                                           "> expect TestForm.Caption = Test Window",
                                           "> click TestForm.Label1",
                                           "PASSED: 3 actions, 1 check",
                                       }));
}

TEST(ScriptRunnerTest, AFailureStopsTheRunAndNamesItsLine) {
    struct Case {
        std::string script;
        int line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"load TestForm\n\nexpect TestForm.Label1.Caption = nope\nclick TestForm.Label1", 3,
         "expected TestForm.Label1.Caption = \"nope\", got \"start\""},
        {"# comment\nfrobnicate now", 2, "unknown action \"frobnicate\""},
        {"load TestForm\nclick TestForm.Command1", 2, "unexpected message box \"CONFIRM\": Save it?"},
        {"load TestForm\nclick TestForm.Command8", 2,
         "could not be used: Disk full.\\nThe step \"Test Window: Fail\" was not finished: nothing of it "
         "was "
         "saved."},
        {"load TestForm\nanswer Yes\nclick TestForm.Command4", 3,
         "unexpected input box \"NAME\": Your name:"},
        {"load TestForm\nanswer Yes\nanswer OK\nclick TestForm.Command1", 0,
         "1 answer queued but no box came"},
        {"input a\ninput b", 0, "2 answers queued but no box came"},
        {"load TestForm\npick TestForm.Combo1 z", 2, "no item \"z\" in Combo1; its items: a | b | c"},
        {"click Form99.Command1", 1, "there is no window Form99"},
        {"click testform.Command1", 1, "there is no window testform (did you mean TestForm?)"},
        {"load TestForm\nclick TestForm.Nothing", 2, "TestForm has no control Nothing"},
        {"click TestForm.Command1", 1, "TestForm is not loaded"},
        {"load TestForm\nexpect TestForm.Text1.Value = 1", 2, "the text box Text1 has no property Value"},
        {"load TestForm\nexpect TestForm.List1.List(2) = x", 2, "List1 has 2 items, no List(2)"},
        {"clock 13/45/26", 1, "not a date: \"13/45/26\""},
        {"clock 12/6/26 25:00:00", 1, "not a time: \"25:00:00\""},
        {"answer Maybe", 1, "the answer must be Yes, No, OK or Cancel"},
        {"load TestForm\nkey TestForm Ctrl", 2, "not a key: \"Ctrl\""},
        {"expect Form1.Loaded True", 1, "expect TARGET = VALUE"},
        {"expect file nothing-here = x", 1, "there is no data file nothing-here"},
        {"file ../etc/passwd", 1, "a file name inside the data folder"},
        {"start\nstart", 2, "the program was started already"},
        {"data copy no-such-folder", 1, "no folder"},
        {"wait soon", 1, "wait takes milliseconds"},
    };
    for (const Case& c : cases) {
        ScriptRun run(c.script);
        EXPECT_FALSE(run.result.ok) << c.script;
        EXPECT_EQ(run.result.line, c.line) << c.script << "\n" << run.transcript;
        EXPECT_NE(run.result.message.find(c.message), std::string::npos)
            << c.script << "\nmessage: " << run.result.message;
        const std::string prefix = c.line > 0 ? "FAILED line " + std::to_string(c.line) + ": " : "FAILED: ";
        EXPECT_EQ(run.LastLine(), prefix + run.result.message) << c.script;
    }
}

TEST(ScriptRunnerTest, QuotesGiveBlanksAndEmptyTexts) {
    ScriptRun run("load TestForm\n"
                  "set TestForm.Text1 \" 5\"\n"
                  "expect TestForm.Text1.Text = \" 5\"\n"
                  "expect TestForm.Label2.Caption = changed: 5\n"
                  "set TestForm.Label1 \"\"\n"
                  "expect TestForm.Label1.Caption = \"\"\n"
                  "expect TestForm.Label1.Caption =\n");
    EXPECT_TRUE(run.result.ok) << run.transcript;
    EXPECT_EQ(run.result.checks, 4);
}

TEST(ScriptRunnerTest, BoxesAndInputsAppearWithTheirAnswers) {
    ScriptRun run("load TestForm\n"
                  "answer No\n"
                  "click TestForm.Command1\n"
                  "expect TestForm.Label1.Caption = No\n"
                  "expect box = CONFIRM: Save it?\n"
                  "input Ann Lee\n"
                  "click TestForm.Command4\n"
                  "expect TestForm.Label1.Caption = Ann Lee\n"
                  "expect box = NAME: Your name:\n"
                  "answer OK\n"
                  "click TestForm.Command8\n"
                  "expect boxes = 3\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  box CONFIRM: Save it? -> No")) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  input NAME: Your name: -> Ann Lee")) << run.transcript;
    // The dispatcher's message for a file error, its line break shown as \n.
    EXPECT_NE(run.transcript.find("  box File Error: The file "), std::string::npos) << run.transcript;
    EXPECT_NE(run.transcript.find("Disk full.\\nThe step \"Test Window: Fail\" was not finished: nothing "
                                  "of it was saved. -> OK"),
              std::string::npos)
        << run.transcript;
}

TEST(ScriptRunnerTest, ActionsOnControlsThatCannotBeReachedAreNotesNotFailures) {
    ScriptRun run("load TestForm\n"
                  "click TestForm.Command2\n"
                  "click TestForm.Command7\n"
                  "set TestForm.Text1 x\n"
                  "check TestForm.Check1 0\n"
                  "expect TestForm.Label1.Caption = start\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  (nothing: Command2 is disabled)")) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  (nothing: Command7 is in Frame1, which is hidden)"))
        << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  (nothing: Check1 is 0 already)")) << run.transcript;
}

TEST(ScriptRunnerTest, TheClerksActionsReachTheirHandlers) {
    ScriptRun run("load TestForm\n"
                  "type TestForm.Text1 abc defg\n"
                  "expect TestForm.Text1.Text = abc d\n"
                  "key TestForm.Text1 Backspace\n"
                  "expect TestForm.Text1.Text = \"abc \"\n"
                  "expect TestForm.ActiveControl = Text1\n"
                  "click TestForm.Label1\n"
                  "expect TestForm.Label1.Caption = clicked\n"
                  "dblclick TestForm.Label1\n"
                  "expect TestForm.Label1.Caption = double\n"
                  "check TestForm.Check1 1\n"
                  "expect TestForm.Label1.Caption = check 1\n"
                  "click TestForm.Check1\n"
                  "expect TestForm.Check1.Value = 0\n"
                  "dropdown TestForm.Combo1\n"
                  "expect TestForm.Label1.Caption = dropped\n"
                  "pick TestForm.Combo1 b\n"
                  "expect TestForm.Label1.Caption = picked b\n"
                  "expect TestForm.Combo1.ListIndex = 1\n"
                  "expect TestForm.Combo1.Items = a | b | c\n"
                  "expect TestForm.Combo1.ListCount = 3\n"
                  "dblclick TestForm.List1 102\n"
                  "expect TestForm.Label1.Caption = open 102\n"
                  "expect TestForm.List1.List(0) = 101\n"
                  "expect TestForm.Command2.Enabled = False\n"
                  "expect TestForm.Command7.Visible = True\n"
                  "expect TestForm.Timer1.Interval = 1000\n"
                  "key TestForm Esc\n"
                  "expect TestForm.Loaded = False\n"
                  "expect TestForm.Visible = False\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  unload TestForm")) << run.transcript;
}

TEST(ScriptRunnerTest, WaitTicksEachTimerOncePerInterval) {
    ScriptRun run("load TestForm\n"
                  "wait 3500\n"
                  "expect TestForm.Label3.Caption = 3\n"
                  "wait 500\n"
                  "expect TestForm.Label3.Caption = 4\n"
                  "tick TestForm.Timer1\n"
                  "expect TestForm.Label3.Caption = 5\n");
    EXPECT_TRUE(run.result.ok) << run.transcript;
}

TEST(ScriptRunnerTest, ClockSetsTheFakeClock) {
    struct Case {
        std::string line;
        platform::DateTime now;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"clock 12/6/26 9:00:00 AM", {{2026, 12, 6}, {9, 0, 0}}, "12/6/26 9:00:00 AM"},
        {"clock 1/2/2027 13:05:09", {{2027, 1, 2}, {13, 5, 9}}, "1/2/27 1:05:09 PM"},
        {"clock 11:59:59 PM", {{2026, 12, 6}, {23, 59, 59}}, "12/6/26 11:59:59 PM"},
        {"clock 2/29/28", {{2028, 2, 29}, {9, 0, 0}}, "2/29/28 9:00:00 AM"},
    };
    for (const Case& c : cases) {
        ScriptRun run(c.line + "\nexpect clock = " + c.text + "\n");
        EXPECT_TRUE(run.result.ok) << run.transcript;
        const platform::DateTime now = run.runner.clock().Now();
        EXPECT_EQ(now.date, c.now.date) << c.line;
        EXPECT_EQ(now.time, c.now.time) << c.line;
    }
}

TEST(ScriptRunnerTest, PrintoutNumbersTheLinesOfTheJobsSinceTheLastOne) {
    ScriptRun run("load TestForm\n"
                  "click TestForm.Command3\n"
                  "printout\n"
                  "expect printout jobs = 1\n"
                  "expect printout line 2 = Line two\n"
                  "expect printout line 3 = <new page>\n"
                  "expect printout line 4 = Page two\n"
                  "printout\n"
                  "expect printout jobs = 0\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    const std::vector<std::string> lines = LinesOf(run.transcript);
    const std::vector<std::string> printed = {
        "> click TestForm.Command3", "  printed job 1 (2 pages)", "> printout",
        "  --- print job 1 ---",     "     1| Line one",          "     2| Line two   ",
        "     3| <new page>",        "     4| Page two"};
    auto at = std::search(lines.begin(), lines.end(), printed.begin(), printed.end());
    EXPECT_NE(at, lines.end()) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  (nothing was printed)")) << run.transcript;

    ScriptRun beyond("load TestForm\nclick TestForm.Command3\nprintout\nexpect printout line 5 = x\n");
    EXPECT_EQ(beyond.result.message, "the last printout has 4 lines, no line 5");
}

TEST(ScriptRunnerTest, DataFilesCanBeShownAndChecked) {
    ScriptRun run("load TestForm\n"
                  "expect exists notes/hello = False\n"
                  "click TestForm.Command5\n"
                  "expect exists notes/hello = True\n"
                  "file notes/hello\n"
                  "file rooms\n"
                  "file nothing\n"
                  "expect file notes/hello = first / second\n"
                  "expect bytes rooms 0 = 31 32 20 00\n"
                  "expect bytes rooms 3 = 00 80 3f\n"
                  "expect chars rooms 0 = \"12 \"\n"
                  "expect chars rooms 5 = ?\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    const std::vector<std::string> lines = LinesOf(run.transcript);
    const std::vector<std::string> text = {"> file notes/hello", "  notes/hello: 15 bytes",
                                           "  | first",          "  | second",
                                           "> file rooms",       "  rooms: 6 bytes"};
    EXPECT_NE(std::search(lines.begin(), lines.end(), text.begin(), text.end()), lines.end())
        << run.transcript;
    EXPECT_TRUE(
        HasLine(run.transcript, "  000000: 31 32 20 00 80 3F" + std::string(10 * 3, ' ') + "  |12 ..?|"))
        << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  (there is no file nothing)")) << run.transcript;

    ScriptRun wrong("load TestForm\nclick TestForm.Command5\nexpect bytes rooms 4 = 80 3F 00\n");
    EXPECT_EQ(wrong.result.message, "expected bytes rooms 4 = \"80 3F 00\", got \"80 3F (end of file)\"");
}

TEST(ScriptRunnerTest, DataNewGivesAFreshFolderThatGoesAtTheEnd) {
    fs::path first;
    fs::path second;
    {
        std::ostringstream out;
        ScriptRunner runner(out, TestOptions());
        std::istringstream script("load TestForm\nclick TestForm.Command5\n");
        ASSERT_TRUE(runner.Run(script).ok) << out.str();
        first = runner.dataRoot();
        runner.app()->engine().WriteCommitted(); // the quiet moment after the step
        EXPECT_TRUE(fs::exists(first / "rooms"));
        std::istringstream again("data new\nexpect exists rooms = False\nexpect TestForm.Loaded = False\n");
        ASSERT_TRUE(runner.Run(again).ok) << out.str();
        second = runner.dataRoot();
        EXPECT_NE(first, second);
        EXPECT_FALSE(fs::exists(first)) << "the folder of the first data command is left behind";
        for (const std::string& sub : records::DataSubFolders())
            EXPECT_TRUE(fs::is_directory(second / sub)) << sub;
    }
    EXPECT_FALSE(fs::exists(second)) << "the data folder outlives the run";
}

TEST(ScriptRunnerTest, DataCopyStartsFromACopyOfTheFolder) {
    testing::TempFolder source;
    fs::create_directories(source.path() / "seed" / "notes");
    std::ofstream(source.path() / "seed" / "rooms", std::ios::binary) << "101NK1 ";
    std::ofstream(source.path() / "seed" / "notes" / "x", std::ios::binary) << "hello\r\n";

    ScriptRun run("data copy seed\n"
                  "expect file rooms = \"101NK1 \"\n"
                  "expect file notes/x = hello\n"
                  "expect exists sleepers = False\n"
                  "load TestForm\n"
                  "click TestForm.Command5\n",
                  source.path());
    ASSERT_TRUE(run.result.ok) << run.transcript;
    EXPECT_TRUE(fs::is_directory(run.runner.dataRoot() / "sleepers"));
    std::ifstream original(source.path() / "seed" / "rooms", std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(original)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "101NK1 ") << "the script wrote into the folder it copied";
}

TEST(ScriptRunnerTest, GlobalsAndTheShellCanBeSeen) {
    std::ostringstream out;
    ScriptRunner runner(out, TestOptions());
    std::istringstream make("restart\n");
    ASSERT_TRUE(runner.Run(make).ok);
    runner.app()->gShift = "B";
    runner.app()->gSleepersDone = 1;
    runner.app()->gTaxRate = 0.105;
    std::istringstream script("expect global gShift = B\n"
                              "expect global gSleepersDone = 1\n"
                              "expect global gTaxRate = .105\n"
                              "expect global gClerk = \"\"\n"
                              "show globals\n"
                              "load TestForm\n"
                              "click TestForm.Command6\n");
    ASSERT_TRUE(runner.Run(script).ok) << out.str();
    EXPECT_TRUE(HasLine(out.str(), "  gShift = \"B\"")) << out.str();
    EXPECT_TRUE(HasLine(out.str(), "  opened mailto:desk@example.com")) << out.str();

    std::istringstream unknown("expect global gNothing = 1\n");
    EXPECT_EQ(runner.Run(unknown).message, "no shared variable gNothing");
}

TEST(ScriptRunnerTest, ShowListsTheWindowAndItsControls) {
    ScriptRun run("load TestForm\nshow\nshow TestForm\n");
    ASSERT_TRUE(run.result.ok) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  TestForm \"Test Window\" visible Normal active=Text1"))
        << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "    Label1 \"start\"")) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "    Command2 [Off] disabled")) << run.transcript;
}

TEST(ScriptRunnerTest, StartLoadsTheFrontDeskOfTheRealProgram) {
    ScriptRun run("start\nexpect Form1.Visible = True\nexpect ended = False\n");
    EXPECT_TRUE(run.result.ok) << run.transcript;
    EXPECT_TRUE(HasLine(run.transcript, "  load Form1")) << run.transcript;
}

} // namespace
} // namespace vantreth::script
