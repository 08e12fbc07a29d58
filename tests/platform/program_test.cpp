// The event rules every window relies on: change events, key routing, focus, frames,
// loading and unloading, the end of the program, timers and errors inside events.
#include "platform/clock.h"
#include "platform/engine.h"
#include "platform/program.h"
#include "support/failing_printer.h"
#include "support/file_faults.h"
#include "support/held_flushes.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>

namespace platform {
namespace {

class TestForm final : public Form {
public:
    TestForm(Program& program, std::string name) : Form(program, std::move(name), "Test", {0, 0, 300, 200}) {
        Text1.on_change = [this] { changes++; };
        Text1.on_key_press = [this](int& KeyAscii) { OnText1Key(KeyAscii); };
        Command1.on_click = [this] {
            clicks++;
            if (unloadOnClick)
                this->program().Unload(*this);
            afterUnload = true;
        };
        Check1.on_click = [this] { checkClicks++; };
        Timer1.on_timer = [this] {
            ticks++;
            if (boxInTick)
                MsgBox("tick");
            if (tickWork)
                tickWork();
        };
        Command2.on_click = [this] { MsgBox("waiting", vbOKOnly, "Box"); };
        Command3.on_click = [] { throw IoError("rooms", "Disk full"); };
    }

    TextBox Text1{*this, "Text1", {.caption = "start", .at = {0, 0, 50, 20}, .maxLength = 5}};
    TextBox Text2{*this, "Text2", {.at = {0, 30, 50, 20}}};
    Frame Frame1{*this, "Frame1", {.caption = "Group"}};
    CommandButton Command1{*this, "Command1", {.caption = "Go", .frame = &Frame1}};
    CommandButton Command2{*this, "Command2", {.caption = "Box"}};
    CommandButton Command3{*this, "Command3", {.caption = "Fail"}};
    CheckBox Check1{*this, "Check1", {.caption = "Tick"}};
    Label Hidden{*this, "Hidden", {.visible = false}};
    Timer Timer1{*this, "Timer1", {.interval = 100}};

    int formClicks = 0;
    int changes = 0, clicks = 0, checkClicks = 0, ticks = 0, loads = 0, unloads = 0, formKeys = 0;
    bool unloadOnClick = false, afterUnload = false, boxInTick = false;
    std::function<void()> tickWork;
    std::function<void()> loadWork; // what opening the window does besides showing it
    int replaceWith = 0;            // Text1's key handler replaces every key with this one
    bool moveFocusOnKey = false;    // Text1's key handler moves the focus to Text2

    void EnableKeyPreview() { SetKeyPreview(true); }
    bool comesBack = false; // the clerk's way on depends on the window
    bool ComesBackAfterAFailedStep() const override { return comesBack; }

private:
    void Form_Load() override {
        loads++;
        if (loadWork)
            loadWork();
        Show();
    }
    void Form_Unload() override { unloads++; }
    void Form_Click() override { formClicks++; }
    void Form_KeyPress(int& KeyAscii) override {
        formKeys++;
        if (KeyAscii == 'x')
            KeyAscii = 0;
    }
    void OnText1Key(int& KeyAscii) {
        if (replaceWith)
            KeyAscii = replaceWith;
        if (moveFocusOnKey)
            Text2.SetFocus();
    }
};

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        Services services;
        services.clock = &clock;
        services.dialogs = &dialogs;
        services.printer = &printer;
        services.shell = &shell;
        services.dataRoot = m_data.path();
        program = std::make_unique<Program>(services);
        program->Register("Test", [](Program& p) { return std::make_unique<TestForm>(p, "Test"); });
        program->Register("Other", [](Program& p) { return std::make_unique<TestForm>(p, "Other"); });
        program->Start("Test");
    }
    TestForm& form() { return static_cast<TestForm&>(program->Get("Test")); }

    vantreth::testing::TempFolder m_data;
    FakeClock clock;
    ScriptedDialogs dialogs;
    CapturePrinter printer;
    RecordingShell shell;
    std::unique_ptr<Program> program;
};

TEST_F(ProgramTest, WritingTheSameTextRaisesNoChange) {
    form().Text1.SetText("start");
    EXPECT_EQ(form().changes, 0);
    form().Text1.SetText("other");
    form().Text1.SetText("other");
    EXPECT_EQ(form().changes, 1);
}

TEST_F(ProgramTest, CodeWritesNeverRaiseClick) {
    form().Check1.SetValue(1);
    EXPECT_EQ(form().checkClicks, 0);
    form().Check1.UserClick();
    EXPECT_EQ(form().Check1.Value(), 0);
    EXPECT_EQ(form().checkClicks, 1);
}

TEST_F(ProgramTest, TypedKeysFollowMaxLengthAndBackspace) {
    form().Text1.SetText("");
    form().Text1.UserTypeText("abcdefg");
    EXPECT_EQ(form().Text1.Text(), "abcde");
    form().Text1.UserType(vbKeyBack);
    EXPECT_EQ(form().Text1.Text(), "abcd");
    form().Text1.UserType(vbKeyReturn);
    EXPECT_EQ(form().Text1.Text(), "abcd") << "Enter types nothing into a one-line box";
}

TEST_F(ProgramTest, TypingGoesInAtTheCaretAndReplacesTheSelection) {
    TextBox& box = form().Text2;
    box.SetText("SMTH");
    EXPECT_EQ(box.SelStart(), 4) << "a write from code puts the caret at the end";
    box.SetSelection(2);
    box.UserType('I');
    EXPECT_EQ(box.Text(), "SMITH");
    EXPECT_EQ(box.SelStart(), 3);
    box.SetSelection(0, 5);
    box.UserType('J');
    EXPECT_EQ(box.Text(), "J");
    box.SetText("JONES");
    box.SetSelection(1);
    box.UserType(vbKeyBack);
    EXPECT_EQ(box.Text(), "ONES");
    box.UserType(vbKeyBack);
    EXPECT_EQ(box.Text(), "ONES") << "Backspace at the start deletes nothing";
    box.SetSelection(1, 2);
    box.UserType(vbKeyBack);
    EXPECT_EQ(box.Text(), "OS");
}

// A text the program filled in is selected whole when the keyboard brings the focus (Tab,
// Shift+Tab, or code as the Enter walk does), so that typing replaces it; a click leaves the
// caret at its end, and a text the clerk typed is never selected so.
TEST_F(ProgramTest, AFilledInTextIsReplacedWhenTheKeyboardBringsTheFocus) {
    enum class Comes { Tab, ShiftTab, Code, Click };
    const struct {
        const char* what;
        bool filledByProgram;
        Comes comes;
        const char* after;
    } cases[] = {
        {"Tab into a default", true, Comes::Tab, "15"},
        {"Shift+Tab into a default", true, Comes::ShiftTab, "15"},
        {"the Enter walk into a default", true, Comes::Code, "15"},
        {"a click into a default", true, Comes::Click, "10.0015"},
        {"Tab into the clerk's text", false, Comes::Tab, "10.0015"},
        {"the Enter walk into the clerk's text", false, Comes::Code, "10.0015"},
    };
    TextBox& box = form().Text2;
    for (const auto& c : cases) {
        box.SetText("");
        if (c.filledByProgram)
            program->Dispatch([&] { box.SetText("10.00"); });
        else
            box.UserTypeText("10.00");
        Control& before = c.comes == Comes::ShiftTab ? static_cast<Control&>(form().Command1) : form().Text1;
        program->Dispatch([&] { before.SetFocus(); });
        switch (c.comes) {
        case Comes::Tab:
        case Comes::ShiftTab:
            form().UserTab(c.comes == Comes::ShiftTab);
            break;
        case Comes::Code:
            program->Dispatch([&] { box.SetFocus(); });
            break;
        case Comes::Click:
            box.UserClick();
            break;
        }
        ASSERT_TRUE(box.HasFocus()) << c.what;
        form().UserKey('1');
        form().UserKey('5');
        EXPECT_EQ(box.Text(), c.after) << c.what;
    }
}

TEST_F(ProgramTest, MaxLengthStillHoldsWhenTypingReplacesASelection) {
    TextBox& box = form().Text1; // at most 5 characters
    box.SetText("ABCDE");
    box.SetSelection(1, 2);
    box.UserType('x');
    EXPECT_EQ(box.Text(), "AxDE");
    box.SetSelection(0);
    box.UserType('1');
    box.UserType('2');
    EXPECT_EQ(box.Text(), "1AxDE");
}

TEST_F(ProgramTest, KeyHandlerMayReplaceTheKey) {
    form().Text1.SetText("");
    form().replaceWith = 'Z';
    form().Text1.UserType('a');
    EXPECT_EQ(form().Text1.Text(), "Z");
}

TEST_F(ProgramTest, UnconsumedKeyGoesToTheBoxThatRaisedItEvenAfterFocusMoved) {
    form().Text1.SetText("");
    form().moveFocusOnKey = true;
    form().Text1.UserType('q');
    EXPECT_EQ(form().Text1.Text(), "q");
    EXPECT_EQ(form().Text2.Text(), "");
    EXPECT_TRUE(form().Text2.HasFocus());
}

TEST_F(ProgramTest, KeyPreviewSeesKeysFirstAndMayConsumeThem) {
    form().EnableKeyPreview();
    form().Text1.SetText("");
    form().Text1.UserType('x');
    form().Text1.UserType('y');
    EXPECT_EQ(form().formKeys, 2);
    EXPECT_EQ(form().Text1.Text(), "y");
}

TEST_F(ProgramTest, WithoutKeyPreviewTheWindowSeesOnlyKeysNoControlTakes) {
    form().Text1.UserType('a');
    EXPECT_EQ(form().formKeys, 0);
}

TEST_F(ProgramTest, EnterOnAFocusedButtonPressesIt) {
    form().Command1.SetFocus();
    form().UserKey(vbKeyReturn);
    EXPECT_EQ(form().clicks, 1);
}

TEST_F(ProgramTest, FocusAndClicksIgnoreDisabledOrHiddenControlsAndFrames) {
    form().Text2.SetFocus();
    form().Frame1.SetEnabled(false);
    form().Command1.SetFocus();
    EXPECT_TRUE(form().Text2.HasFocus()) << "a control in a disabled frame cannot take the focus";
    form().Command1.UserClick();
    EXPECT_EQ(form().clicks, 0);
    form().Frame1.SetEnabled(true);
    form().Command1.SetVisible(false);
    form().Command1.UserClick();
    EXPECT_EQ(form().clicks, 0);
}

TEST_F(ProgramTest, LoadingALoadedWindowDoesNothingAndUnloadingAnUnloadedOneNeither) {
    program->Load("Test");
    EXPECT_EQ(form().loads, 1);
    program->Unload("Other");
    EXPECT_EQ(static_cast<TestForm&>(program->Get("Other")).unloads, 0);
}

TEST_F(ProgramTest, EveryLoadStartsFromTheDesignState) {
    program->Load("Other");
    form().Text1.SetText("changed");
    form().Command1.SetEnabled(false);
    program->Unload(form());
    program->Load(form());
    EXPECT_EQ(form().Text1.Text(), "start");
    EXPECT_TRUE(form().Command1.Enabled());
    EXPECT_FALSE(form().Hidden.Visible());
}

TEST_F(ProgramTest, HandlerCanUnloadItsOwnWindowAndGoOnAndTheProgramEndsAfterIt) {
    bool ended = false;
    program->on_ended = [&] { ended = true; };
    form().unloadOnClick = true;
    form().Command1.UserClick();
    EXPECT_TRUE(form().afterUnload);
    EXPECT_FALSE(form().Loaded());
    EXPECT_TRUE(program->Ended());
    EXPECT_TRUE(ended);
}

TEST_F(ProgramTest, AHiddenWindowKeepsTheProgramRunning) {
    program->Load("Other");
    program->Get("Other").Hide();
    form().unloadOnClick = true;
    form().Command1.UserClick();
    EXPECT_FALSE(program->Ended());
}

TEST_F(ProgramTest, TimersTickOnlyBetweenEventsOrWhileABoxIsUp) {
    program->TimePassed(99);
    EXPECT_EQ(form().ticks, 0);
    program->TimePassed(1);
    EXPECT_EQ(form().ticks, 1);

    program->Dispatch([&] { program->TimePassed(500); });
    EXPECT_EQ(form().ticks, 1) << "no tick inside a handler";

    dialogs.Answer(vbOK);
    program->Dispatch([&] {
        program->on_modal = [&] { program->TimePassed(100); };
        form().Command2.on_click();
    });
    program->on_modal = nullptr;
    EXPECT_EQ(form().ticks, 2) << "a box that is up lets the timers tick";
}

// A step that fails is undone whole; what a timer wants to save while the step's box is up
// is kept out of the step, and saved at a tick after it.
TEST_F(ProgramTest, AFailedStepIsUndoneAndATimerInsideItsBoxWaitsForALaterTick) {
    const std::filesystem::path root = program->data().root();
    std::filesystem::create_directories(root);
    DeleteFile(program->data().File("step"));
    DeleteFile(program->data().File("tick"));
    form().tickWork = [&] { ReplaceFileContent(program->data().File("tick"), "saved"); };
    dialogs.Answer(vbOK);
    dialogs.Answer(vbOK);
    program->Dispatch([&] {
        ReplaceFileContent(program->data().File("step"), "half");
        program->on_modal = [&] { program->TimePassed(100); };
        program->MsgBox("waiting", vbOKOnly, "Box");
        program->on_modal = nullptr;
        throw IoError(root / "rooms", "Disk full");
    });
    EXPECT_FALSE(FileExists(program->data().File("step"))) << "the failed step left a change";
    EXPECT_FALSE(FileExists(program->data().File("tick"))) << "the timer saved inside the step";
    EXPECT_EQ(form().ticks, 1);
    EXPECT_EQ(FileSize(program->data().File(kJournalName)), static_cast<long long>(kJournalHeaderBytes))
        << "the journal holds the failed step";
    program->TimePassed(100);
    EXPECT_TRUE(FileExists(program->data().File("tick")));
    EXPECT_EQ(dialogs.shown().size(), 2u) << "the box, then the failure; the deferred tick says nothing";
}

// Paper belongs to the step: a step that fails prints nothing (nor what an event inside it
// printed), one whose document cannot be made fails, and documents the printer refuses once
// the step is saved are each tried and shown as a printer error, the step staying saved.
TEST_F(ProgramTest, WhatAStepPrintsGoesOutOnlyOnceTheStepIsSaved) {
    using vantreth::testing::FailingPrinter;
    const std::filesystem::path root = program->data().root();
    FailingPrinter fullDisk("No space left on device");
    FailingPrinter refusing("lp: Error - Scheduler not responding.", FailingPrinter::Fails::Printed);
    // `faults`: given to the engine for the step, after the file is cleared.
    auto step = [&](PrinterDevice& device, bool fails, FileFaults* faults = nullptr) {
        DeleteFile(program->data().File("step"));
        program->engine().SetFaults(faults);
        program->printer().SetDevice(device);
        program->Dispatch([&] {
            ReplaceFileContent(program->data().File("step"), "saved");
            program->Dispatch([&] { program->printer().Print("inner"), program->printer().EndDoc(); });
            program->printer().Print("outer");
            program->printer().EndDoc();
            EXPECT_TRUE(printer.jobs().empty()) << "printed before the step was saved";
            if (fails)
                throw IoError(root / "rooms", "Disk full");
        });
        program->printer().SetDevice(printer);
        return FileExists(program->data().File("step"));
    };
    dialogs.Answer(vbOK);
    EXPECT_FALSE(step(printer, true));
    EXPECT_TRUE(printer.jobs().empty()) << "the failed step printed";
    dialogs.Answer(vbOK);
    EXPECT_FALSE(step(fullDisk, false));
    EXPECT_EQ(dialogs.shown().back().title, "Printer Error");
    EXPECT_TRUE(step(printer, false));
    std::vector<PrintJob> jobs = printer.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text() + jobs[1].Text(), "innerouter");
    dialogs.Answer(vbOK);
    EXPECT_TRUE(step(refusing, false)) << "the step is saved all the same";
    EXPECT_EQ(refusing.attempts(), 2);
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown()[2].title, "Printer Error");
    EXPECT_NE(dialogs.shown()[2].prompt.find("Scheduler not responding"), std::string::npos);
    // The save itself fails: nothing goes out.
    struct JournalFull final : FileFaults {
        Fault BeforeChange(const std::filesystem::path& file, size_t) override {
            return file.filename() == kJournalName ? Fault{Kind::Fail, ENOSPC} : Fault{};
        }
    } full;
    dialogs.Answer(vbOK);
    const bool saved = step(printer, false, &full);
    program->engine().SetFaults(nullptr);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(printer.jobs().empty()) << "printed though the save failed";
}

// Reports handed to the printer away from the window: while that goes on the program looks
// often whether any did not go out, and tells each step's box between events, never inside
// one.
TEST_F(ProgramTest, ReportsNotPrintedAreToldBetweenEvents) {
    struct Handing final : PrinterDevice {
        bool busy = true;
        std::vector<std::string> boxes;
        void Submit(const PrintJob&) override {}
        bool HandingOver() const override { return busy || !boxes.empty(); }
        std::vector<std::string> TakeNotPrinted() override { return std::exchange(boxes, {}); }
    } device;
    form().Timer1.SetEnabled(false);
    const int before = program->MsUntilNextTimer();
    EXPECT_EQ(before, -1);
    program->printer().SetDevice(device);
    EXPECT_GE(program->MsUntilNextTimer(), 0);
    EXPECT_LE(program->MsUntilNextTimer(), Program::kPrintCheckMs);
    program->TimePassed(Program::kPrintCheckMs);
    EXPECT_TRUE(dialogs.shown().empty());
    dialogs.Answer(vbOK);
    program->Dispatch([&] {
        device.boxes = {"3 reports could not be printed"};
        program->TimePassed(Program::kPrintCheckMs);
        EXPECT_TRUE(dialogs.shown().empty()) << "told inside an event";
    });
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Printer Error");
    EXPECT_EQ(dialogs.shown()[0].prompt, "3 reports could not be printed");
    dialogs.Answer(vbOK);
    device.boxes = {"1 more"};
    program->TimePassed(Program::kPrintCheckMs);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    device.busy = false;
    EXPECT_EQ(program->MsUntilNextTimer(), before);
    program->printer().SetDevice(printer);
}

TEST_F(ProgramTest, TimersOfUnloadedWindowsDoNotTick) {
    program->Load("Other");
    program->Unload(form());
    program->TimePassed(1000);
    EXPECT_EQ(form().ticks, 0);
}

TEST_F(ProgramTest, AFileErrorInAnEventIsShownAndEndsOnlyThatEvent) {
    dialogs.Answer(vbOK);
    form().Command3.UserClick();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "File Error");
    EXPECT_NE(dialogs.shown()[0].prompt.find("Disk full"), std::string::npos);
    EXPECT_TRUE(form().Loaded());
    EXPECT_FALSE(program->InHandler());
}

TEST_F(ProgramTest, AnUnexpectedBoxIsPassedOnToTheTest) {
    EXPECT_THROW(form().Command2.UserClick(), UnexpectedDialog);
    EXPECT_FALSE(program->InHandler());
}

TEST_F(ProgramTest, CloseBoxUnloadsByDefault) {
    program->Load("Other");
    program->Get("Other").UserClose();
    EXPECT_FALSE(program->IsLoaded("Other"));
}

TEST_F(ProgramTest, WindowClicksAndBringingToTheFront) {
    program->Load("Other");
    Form& other = program->Get("Other");
    other.ZOrder();
    form().ZOrder();
    EXPECT_GT(form().ZOrderStamp(), other.ZOrderStamp());
    form().UserClick();
    EXPECT_EQ(form().formClicks, 1);
    program->Unload(form());
    form().UserClick();
    EXPECT_EQ(form().formClicks, 1) << "an unloaded window takes no clicks";
}

// Esc presses the button captioned "... / Esc" wherever the focus is, unless a handler took
// the key or the window says Esc closes nothing.
class EscForm final : public Form {
public:
    EscForm(Program& program, bool pressesNothing) : Form(program, "Esc", "Esc", {0, 0, 300, 200}) {
        if (pressesNothing)
            SetEscPressesNothing();
        Text1.on_key_press = [this](int& KeyAscii) {
            if (takeEsc && KeyAscii == vbKeyEscape)
                KeyAscii = 0;
        };
        Command1.on_click = [this] { others++; };
        Command2.on_click = [this] { cancels++; };
    }
    TextBox Text1{*this, "Text1", {}};
    CommandButton Command1{*this, "Command1", {.caption = "Print and Esc"}};
    CommandButton Command2{*this, "Command2", {.caption = "Cancel / Esc"}};
    int cancels = 0, others = 0;
    bool takeEsc = false;

private:
    void Form_Load() override { Show(); }
};

TEST_F(ProgramTest, EscPressesTheCancelEscButtonUnlessTakenOrTurnedOff) {
    struct Case {
        bool pressesNothing, takeEsc, onButton;
        int cancels;
    } cases[] = {
        {false, false, false, 1}, {false, false, true, 1}, {false, true, false, 0}, {true, false, false, 0}};
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "Esc" + std::to_string(n++);
        program->Register(name, [&c](Program& p) { return std::make_unique<EscForm>(p, c.pressesNothing); });
        auto& form = static_cast<EscForm&>(program->Get(name));
        form.takeEsc = c.takeEsc;
        program->Dispatch([&] { program->Load(form); });
        if (c.onButton)
            form.UserKeyOn(form.Command1, vbKeyEscape);
        else
            form.UserKeyOn(form.Text1, vbKeyEscape);
        EXPECT_EQ(form.cancels, c.cancels) << name;
        EXPECT_EQ(form.others, 0) << name;
        EXPECT_EQ(form.Text1.Text(), "") << name;
    }
}

TEST(ListItemsTest, SortedListsOrderWithoutRegardToCase) {
    ListItems items(true);
    for (const char* s : {"beta", "Alpha", "gamma", "Beta2"})
        items.Add(s);
    EXPECT_EQ(items.all(), (std::vector<std::string>{"Alpha", "beta", "Beta2", "gamma"}));
}

// After a failed step no window shows what was not saved: a window the step opened is
// closed; once the step ran to its end (its record could not be written), a window whose
// content it changed is opened again from the files; a step stopped short leaves the windows
// it had open as they were, for the clerk to try again.
TEST_F(ProgramTest, AfterAFailedStepTheWindowsShowWhatIsStored) {
    struct JournalFull final : FileFaults {
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            return change.op == Op::Write && change.file.filename() == kJournalName
                       ? Fault{Kind::Fail, ENOSPC}
                       : Fault{};
        }
    };
    enum class Fails { No, InTheHandler, AtTheCommitPoint, StuckAtTheCommitPoint };
    struct Case {
        const char* name;
        Fails fails;
        bool closesTheWindow; // rather than typing into it
        const char* text;     // what Text1 shows after the step
        bool otherOpen;
        int reloads;              // of the window whose text the step changed
        bool savesOnOpen = false; // opening the window takes a number
    };
    const Case cases[] = {
        {"saved", Fails::No, false, "typed", true, 0},
        {"failed in the handler", Fails::InTheHandler, false, "start", false, 1},
        {"failed at the commit point", Fails::AtTheCommitPoint, false, "start", false, 1},
        {"closed the only window", Fails::AtTheCommitPoint, true, "start", false, 1},
        // Not opened again to show what is stored, it is opened as the front desk, by a step of its own.
        {"a window that saves when opened", Fails::AtTheCommitPoint, false, "start", false, 2, true},
        // Whether the step was saved is known only at the next start; the files can still be
        // read, and the window shows what they hold.
        {"failed for good at the commit point", Fails::StuckAtTheCommitPoint, false, "start", false, 1}};
    for (const Case& c : cases) {
        program->Unload("Other");
        program->Unload(form());
        form().loadWork = nullptr;
        if (c.savesOnOpen)
            form().loadWork = [&] { ReplaceFileContent(program->data().File("number"), "taken"); };
        program->Dispatch([&] { program->Load(form()); });
        const int loads = form().loads;
        JournalFull full;
        std::optional<vantreth::testing::UnsureSaving> unsure;
        if (c.fails == Fails::StuckAtTheCommitPoint)
            unsure.emplace(program->engine());
        else
            program->engine().SetFaults(c.fails == Fails::AtTheCommitPoint ? &full : nullptr);
        dialogs.Answer(vbOK);
        program->Dispatch([&] {
            if (c.closesTheWindow)
                program->Unload(form());
            else
                form().Text1.SetText("typed");
            program->Load("Other");
            ReplaceFileContent(program->data().File("saved"), c.fails == Fails::No ? "kept" : "lost");
            if (c.fails == Fails::InTheHandler)
                throw IoError(m_data.path() / "saved", "Disk full");
        });
        program->engine().SetFaults(nullptr);
        if (c.fails == Fails::No)
            dialogs.ClearAnswers();
        EXPECT_EQ(program->IsLoaded("Other"), c.otherOpen) << c.name;
        EXPECT_EQ(form().loads - loads, c.reloads) << c.name;
        EXPECT_TRUE(form().Loaded()) << c.name;
        EXPECT_EQ(form().Text1.Text(), c.text) << c.name;
        EXPECT_EQ(ReadFile(program->data().File("saved")).value_or(""), "kept") << c.name;
    }
}

// Only a window the clerk can see and use counts: a failed step that left a hidden window
// (such as the one that reads a port) or a minimised one opens the front desk.
TEST_F(ProgramTest, AFailedStepThatLeftNoWindowShownOpensTheFrontDesk) {
    struct JournalFull final : FileFaults {
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            return change.op == Op::Write ? Fault{Kind::Fail, ENOSPC} : Fault{};
        }
    };
    const struct {
        const char* name;
        bool atTheCommitPoint;
        bool minimises; // the step minimises the front desk rather than closing it
    } cases[] = {{"a hidden window left, failed in the handler", false, false},
                 {"a hidden window left, failed at the commit point", true, false},
                 {"the front desk left minimised", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        program->Dispatch([&] {
            program->Load("Other");
            program->Get("Other").Hide();
        });
        JournalFull full;
        program->engine().SetFaults(c.atTheCommitPoint ? &full : nullptr);
        dialogs.Answer(vbOK);
        program->Dispatch([&] {
            if (c.minimises)
                form().SetWindowState(WindowState::Minimized);
            else
                program->Unload(form());
            ReplaceFileContent(program->data().File("saved"), "lost");
            if (!c.atTheCommitPoint)
                throw IoError(m_data.path() / "saved", "Disk full");
        });
        program->engine().SetFaults(nullptr);
        EXPECT_TRUE(form().Loaded());
        EXPECT_TRUE(form().Visible());
        EXPECT_NE(form().windowState(), WindowState::Minimized);
        EXPECT_FALSE(program->Ended());
        program->Unload("Other");
    }
}

// Whatever the step did to the windows and wherever it failed, also when it left the engine
// unsure whether it was saved, the clerk has a window: a front desk the step hid or found
// hidden is shown, a window the clerk depends on that the step opened is there as the files
// hold it, and a front desk that cannot be read again comes back as it last stood.
TEST_F(ProgramTest, AfterAFailedStepTheClerkHasAWindowWhateverTheEnginesState) {
    struct JournalFull final : FileFaults {
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            return change.op == Op::Write && change.file.filename() == kJournalName ? Fault{Kind::Fail, EIO}
                                                                                    : Fault{};
        }
    };
    const auto other = [&]() -> TestForm& { return static_cast<TestForm&>(program->Get("Other")); };
    std::unique_ptr<vantreth::testing::TempFolder> folder; // a new one for each case
    struct Closing {
        std::unique_ptr<Program>& program;
        ~Closing() { program = nullptr; } // before its folder goes
    } closing{program};
    const auto desk = [&] { return program->data().File("desk"); };
    struct Case {
        const char* name;
        std::function<void()> before; // a step of its own, saved
        std::function<void()> step;   // the step that fails
        std::function<void()> check;
    };
    const Case cases[] = {
        {"the step hid the front desk", [&] { program->Load(other()); }, [&] { form().Hide(); },
         [&] { EXPECT_TRUE(other().Visible()); }},
        {"the front desk was hidden and the step closed the window over it",
         [&] {
             program->Load(other());
             form().Hide();
         },
         [&] { program->Unload(other()); }, [&] { EXPECT_FALSE(other().Loaded()); }},
        {"the step opened a window the clerk depends on", [&] { other().comesBack = true; },
         [&] {
             program->Load(other());
             other().Text1.SetText("typed");
         },
         [&] {
             EXPECT_TRUE(other().Loaded());
             EXPECT_TRUE(other().Visible());
             EXPECT_EQ(other().Text1.Text(), "start");
         }},
        {"the step changed a hidden window",
         [&] {
             program->Load(other());
             other().Hide();
         },
         [&] { other().Text1.SetText("typed"); },
         [&] {
             EXPECT_TRUE(other().Loaded());
             EXPECT_FALSE(other().Visible()) << "opened again as it was, out of sight";
             EXPECT_EQ(other().Text1.Text(), "start");
         }},
        {"the front desk cannot be read again", [&] { form().loadWork = [&] { ReadFile(desk()); }; },
         [&] {
             form().Text1.SetText("typed");
             // The disk itself goes bad behind the engine: the file becomes a folder.
             std::filesystem::remove(desk().path());
             std::filesystem::create_directory(desk().path());
         },
         [] {}},
    };
    enum class Fails { InTheHandler, AtTheCommitPoint, StuckAtTheCommitPoint };
    for (const Case& c : cases) {
        for (const Fails fails :
             {Fails::InTheHandler, Fails::AtTheCommitPoint, Fails::StuckAtTheCommitPoint}) {
            SCOPED_TRACE(std::string(c.name) + (fails == Fails::InTheHandler       ? ", in the handler"
                                                : fails == Fails::AtTheCommitPoint ? ", at the commit point"
                                                                                   : ", stuck"));
            program = nullptr;
            folder = std::make_unique<vantreth::testing::TempFolder>();
            std::ofstream(folder->path() / "desk") << "desk";
            Services services;
            services.clock = &clock;
            services.dialogs = &dialogs;
            services.printer = &printer;
            services.shell = &shell;
            services.dataRoot = folder->path();
            program = std::make_unique<Program>(services);
            program->Register("Test", [](Program& p) { return std::make_unique<TestForm>(p, "Test"); });
            program->Register("Other", [](Program& p) { return std::make_unique<TestForm>(p, "Other"); });
            program->Start("Test");
            program->Dispatch([&] {
                c.before();
                ReplaceFileContent(program->data().File("saved"), "kept"); // the journal is begun
            });
            ASSERT_EQ(dialogs.shown().size(), 0u);
            JournalFull full;
            std::optional<vantreth::testing::UnsureSaving> unsure;
            if (fails == Fails::StuckAtTheCommitPoint)
                unsure.emplace(program->engine());
            else
                program->engine().SetFaults(fails == Fails::InTheHandler ? nullptr : &full);
            dialogs.Answer(vbOK);
            program->Dispatch([&] {
                c.step();
                ReplaceFileContent(program->data().File("saved"), "lost");
                if (fails == Fails::InTheHandler)
                    throw IoError(folder->path() / "saved", "Input/output error");
            });
            program->engine().SetFaults(nullptr);
            EXPECT_EQ(dialogs.pending(), 0u) << "the failure was told";
            EXPECT_EQ(program->engine().Whole(), fails != Fails::StuckAtTheCommitPoint);
            dialogs.ClearShown();
            EXPECT_TRUE(form().Loaded());
            EXPECT_TRUE(form().Visible());
            EXPECT_NE(form().windowState(), WindowState::Minimized);
            c.check();
        }
    }
}

// What was found before the start (a settings file that could not be written) is told in a
// box before the first window comes up.
TEST(ProgramStartTest, WhatWasFoundBeforeTheStartIsToldFirst) {
    vantreth::testing::TempFolder data;
    FakeClock clock;
    ScriptedDialogs dialogs;
    CapturePrinter printer;
    RecordingShell shell;
    Program program({&clock, &dialogs, &printer, &shell, data.path(), {}});
    program.Register("Test", [](Program& p) { return std::make_unique<TestForm>(p, "Test"); });
    program.TellAtStart("The settings file could not be written.", "Settings");
    program.on_modal = [&] { EXPECT_FALSE(program.IsLoaded("Test")) << "told after the window came up"; };
    dialogs.Answer(vbOK);
    program.Start("Test");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Settings");
    EXPECT_TRUE(program.IsLoaded("Test"));
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// The checkpoint comes once the clerk has done nothing for two seconds (a timer ticking is
// not the clerk), once the journal is past 1 MiB, and at the end; not while the clerk works.
TEST_F(ProgramTest, TheCheckpointComesWhenTheClerkIsIdleTheJournalIsLargeOrTheProgramEnds) {
    const std::filesystem::path root = program->data().root();
    const auto save = [&](size_t bytes) {
        program->Dispatch([&] { ReplaceFileContent(program->data().File("step"), std::string(bytes, 'x')); });
    };
    struct Case {
        const char* name;
        size_t bytes;   // the step's file
        int msPerClick; // the clerk clicks Command1 this often; 0: never
        int ms;         // time passing, in ticks of the 100 ms timer
        bool checkpointed;
    };
    const Case cases[] = {
        {"idle with the timer ticking", 10, 0, Program::kCheckpointIdleMs + 100, true},
        {"the clerk at work", 10, 500, Program::kCheckpointIdleMs * 2, false},
        {"past 1 MiB", Engine::kCheckpointBytes + 1, 0, 100, true},
        {"under 1 MiB", 10, 0, 100, false},
    };
    for (const Case& c : cases) {
        save(c.bytes);
        ASSERT_TRUE(program->engine().NeedsCheckpoint()) << c.name;
        const int ticksBefore = form().ticks;
        for (int ms = 100; ms <= c.ms; ms += 100) {
            program->TimePassed(100);
            if (c.msPerClick != 0 && ms % c.msPerClick == 0)
                form().Command1.UserClick();
        }
        EXPECT_GT(form().ticks, ticksBefore) << c.name << ": the timer never ticked";
        // Its flushes run beside the window: between events the program looks whether they
        // are done and goes on (at most a few seconds, for a busy disk).
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (program->engine().Checkpointing() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            program->TimePassed(0);
        }
        EXPECT_EQ(!program->engine().NeedsCheckpoint(), c.checkpointed) << c.name;
    }
    save(10);
    const auto journalLength = std::filesystem::file_size(root / kJournalName);
    program.reset();
    EXPECT_LT(std::filesystem::file_size(root / kJournalName), journalLength) << "the end made no checkpoint";
}

} // namespace
} // namespace platform

namespace platform {
namespace {

// A second program over a folder of its own, with its own clock, boxes, printer and shell.
struct OtherProgram {
    explicit OtherProgram(Clock& clock, const std::filesystem::path& root)
        : program({&clock, &dialogs, &printer, &shell, root, {}, nullptr}) {
        program.Register("Test", [](Program& p) { return std::make_unique<TestForm>(p, "Test"); });
        program.Start("Test");
    }
    size_t DamageBoxes() const {
        size_t boxes = 0;
        for (const auto& shown : dialogs.shown())
            boxes += shown.title == "Damaged File" ? 1 : 0;
        return boxes;
    }
    ScriptedDialogs dialogs;
    CapturePrinter printer;
    RecordingShell shell;
    Program program;
};

// Damage found in a folder's file is told by the program of that folder, after its own next
// event, whichever program's event came across it: never by a program over another folder.
TEST_F(ProgramTest, DamageInAFolderIsToldByThatFoldersProgramOnly) {
    vantreth::testing::TempFolder otherRoot;
    OtherProgram other(clock, otherRoot.path());
    const FilePath torn = program->data().File("ledger");
    std::ofstream(torn.path(), std::ios::binary) << "\"a\",1\r\n\"b";
    dialogs.AnswerAlways("Damaged File", vbOK);
    other.dialogs.AnswerAlways("Damaged File", vbOK);
    other.program.Dispatch([&] { SeqReader(torn).NextLine(); });
    EXPECT_EQ(other.DamageBoxes(), 0u) << "told by the program of another folder";
    program->Dispatch([] {});
    size_t told = 0;
    for (const auto& shown : dialogs.shown())
        told +=
            shown.title == "Damaged File" && shown.prompt.find(torn.string()) != std::string::npos ? 1 : 0;
    EXPECT_EQ(told, 1u);
}

// The business date's file lies in the data folder, named before the program opened it: the
// program reads and changes it through its engine, so a step that moves the date and then
// fails leaves the stored date as it was.
TEST_F(ProgramTest, TheBusinessDateMovedInAFailedStepIsNotStored) {
    vantreth::testing::TempFolder root;
    BusinessClock business(DataFolder(root.path(), nullptr).File("clock"));
    OtherProgram other(business, root.path());
    other.dialogs.Answer(vbOK); // the failure
    other.program.Dispatch([&] {
        business.SetDate(AddDays(business.Today(), 5));
        throw IoError(root.path() / "rooms", "Disk full");
    });
    EXPECT_EQ(business.OffsetDays(), 0);
    EXPECT_FALSE(std::filesystem::exists(root.path() / "clock")) << "stored outside the step";
}

// The checkpoint's flushes run beside the window: while one is held up, a key, a tick and a
// step saved meanwhile go through at once. The journal is cut only once every file, the
// step's too, was flushed after its last write, so a power cut then loses nothing.
TEST_F(ProgramTest, NoKeyWaitsForTheCheckpointsFlushes) {
    const std::filesystem::path root = program->data().root();
    vantreth::testing::CountingFaults faults;
    faults.TrackFlushes(true);
    vantreth::testing::FaultsGiven given(program->engine(), faults);
    vantreth::testing::HeldFlushes flushes;
    program->engine().SetFlusher(flushes.flusher());
    const auto save = [&](const char* text) {
        program->Dispatch([&] { ReplaceFileContent(program->data().File("step"), text); });
    };
    save("first");
    flushes.Hold();
    program->TimePassed(Program::kCheckpointIdleMs);
    ASSERT_TRUE(flushes.WaitBegun(1)) << "the checkpoint did not begin";
    form().Text1.SetText("");
    form().Text1.UserType('k');
    save("second");
    program->TimePassed(100);
    EXPECT_FALSE(flushes.TimedOut()) << "the window's thread waited for a flush";
    EXPECT_EQ(form().Text1.Text(), "k");
    EXPECT_TRUE(program->engine().Checkpointing());
    EXPECT_TRUE(program->engine().NeedsCheckpoint()) << "cut while a flush was held";
    const auto held = std::filesystem::file_size(root / kJournalName);
    flushes.Release();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (program->engine().NeedsCheckpoint() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        program->TimePassed(0);
    }
    ASSERT_FALSE(program->engine().NeedsCheckpoint()) << "never cut";
    EXPECT_LT(std::filesystem::file_size(root / kJournalName), held);
    faults.LoseUnflushed(); // a power cut
    Engine(root).Recover();
    EXPECT_EQ(fileops::ReadWhole(root / "step").value_or(""), "second");
}

// A step's wait ends when its record is flushed: nothing else of the folder is written in it.
// Its files are written at the next quiet moment, and every read before that finds the step.
TEST_F(ProgramTest, AStepsWaitEndsAtItsRecordsFlushAndItsFilesAreWrittenWhenQuiet) {
    const std::filesystem::path root = program->data().root();
    vantreth::testing::CountingFaults faults;
    vantreth::testing::FaultsGiven given(program->engine(), faults);
    const auto save = [&](const char* text) {
        faults.Arm(0, FileFaults::Kind::None);
        program->Dispatch([&] { ReplaceFileContent(program->data().File("step"), text); });
        std::vector<std::string> changed; // on the disk: a change staged in memory is not
        for (long n = 1; n <= faults.count(); ++n)
            if (faults.OpOf(n) != FileFaults::Op::Stage)
                changed.push_back(faults.FileOf(n).filename().string());
        return changed;
    };
    const std::vector<std::string> record = {kJournalName, kJournalName}; // written, flushed
    EXPECT_EQ(save("first"), record);
    program->TimePassed(1);
    EXPECT_EQ(fileops::ReadWhole(root / "step").value_or(""), "first");
    EXPECT_EQ(save("second"), record);
    std::string read;
    program->Dispatch([&] { read = ReadFile(program->data().File("step")).value_or(""); });
    EXPECT_EQ(read, "second") << "a step read a file before the step saved before it was written";
}
} // namespace
} // namespace platform
