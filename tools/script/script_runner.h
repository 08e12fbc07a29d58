// The scenario runner: drives the program's windows from a text script, one action per
// line, and writes a transcript of everything that happens. The test suite runs whole
// flows with it (tests/scenarios/*.scn).
//
// Script syntax. Blank lines are ignored; a line whose first non-blank character is "#"
// is a comment (echoed to the transcript, not run). Trailing blanks of a line are ignored.
// Where an action takes a text (type, set, pick, input, the value of expect), the text is
// the rest of the line after one blank; to give leading or trailing blanks, or an empty
// text, put the whole text in double quotes: `set Form1.Text1 ""`, `expect X = " 5"`
// (the outer quotes are removed, nothing inside is escaped).
//
// The program and its data folder
//   data new              a fresh empty data folder (sub-folders made); the program is made anew
//   data copy DIR         a fresh data folder holding a copy of DIR (relative to the script's folder)
//   restart               the program made anew on the same data folder (not started)
//   start [Form]          the program starts: its first window (Form1 unless named) is loaded
//   clock M/D/YY [h:mm:ss AM]   sets the fake clock (M/D/YYYY and 24-hour "hh:mm:ss" work too;
//   clock h:mm:ss PM            a time alone keeps the date). The clock moves only by `clock`
//                               and by the program setting the business date.
//   Before the first `data` command the program runs on a fresh empty folder. Every data
//   folder is removed when the run ends. The settings are: motel "Test Motel", no call box.
//
// The clerk's actions (each runs as events of the program)
//   click Form.Control          button, label, text box, check box (flips it), frame
//   dblclick Form.Control [item]   label or frame; list box: the selected item, or the item given
//   type Form.Control text      text box or combo box, one key per character
//   key Form.Control KEY        a key pressed in that control (it takes the focus first)
//   key Form KEY                a key pressed in the window (to the control with the focus);
//                               Tab and Shift+Tab move the focus as the keyboard does
//                               KEY: Enter, Esc, Backspace, Space, or one character
//   pick Form.Control item      combo box or list box: the item with exactly that text
//   check Form.Control 0|1      check box set to that value
//   dropdown Form.Control       combo box: the list opens
//   close Form                  the window's close box
//   A click, key or pick on a disabled or hidden control (or one in a hidden or minimised
//   window) does nothing and says so in the transcript; acting on a window that is not
//   loaded fails the run.
//
// Code and time
//   set Form.Control text       a write from code: text box or combo box Text, or the Caption
//                               of a label, button, frame; Change handlers run as usual
//   load Form                   the window is loaded (for windows the clerk cannot reach)
//   tick Form.Timer             one tick of that timer
//   wait N                      N milliseconds pass: the timers tick as they fall due
//
// Message and input boxes: every box needs an answer queued before the action that shows it;
// a box without one fails the run, and so do answers left unused at the end.
//   answer Yes|No|OK|Cancel     the answer to the next message box
//   input text                  the text typed into the next input box ("" for Cancel)
//
// Looking (the output goes to the transcript)
//   show                        the loaded windows
//   show Form                   the window and every control's state
//   show globals                the shared variables
//   file NAME                   a data file (NAME relative to the data folder, e.g. sleepers/12626):
//                               text as lines, else 16 bytes a line as "OFFSET: hex |chars|",
//                               OFFSET decimal
//   printout                    the print jobs since the last printout, lines numbered from 1
//
// Checks: `expect TARGET = VALUE` compares the text exactly (after the quotes rule above).
//   Form.Loaded | Form.Visible                   True/False
//   Form.Caption | Form.WindowState (Normal/Minimized/Maximized) | Form.ActiveControl ("" when none)
//   Form.Control.P   P: Text, Caption, Value, Enabled, Visible, ToolTipText, ListCount, ListIndex,
//                    List(i) (from 0), Items (all items joined by " | "), Interval
//   ended                       True once the program was started and no window is loaded
//   box                         the last box shown, as "TITLE: PROMPT" (line ends in it shown as \n)
//   boxes                       the number of boxes shown so far
//   clock                       the fake clock as "M/D/YY h:mm:ss AM"
//   global NAME                 a shared variable (gShift, gClerk, gTaxRate, gSleepersDone, ...)
//   exists NAME                 True/False: the data file is there
//   file NAME                   the file's text with its lines joined by " / " (CR LF and LF end
//                               a line; the line end after the last line is dropped)
//   bytes NAME OFFSET           hex bytes at the decimal offset (from 0), e.g. `= 31 32 20`
//   chars NAME OFFSET           the bytes at the offset as text, as many as the value has
//   printout line N             line N (from 1) of the last printout, trailing blanks not compared;
//                               a page break is the line "<new page>"
//   printout jobs               the number of print jobs in the last printout
#pragma once

#include "app/app.h"
#include "app/headless.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/shell.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantreth::script {

struct ScriptResult {
    bool ok = true;
    int line = 0;        // the line that failed; 0 for a failure found at the end of the run
    std::string message; // why it failed
    int actions = 0;     // actions run
    int checks = 0;      // expectations met
};

struct ScriptOptions {
    // Where `data copy` finds relative folders: the script's own folder.
    std::filesystem::path baseDir;
    // Runs on every program the runner makes, before it is used (tests add windows of their own).
    std::function<void(App&)> on_program_made;
};

class ScriptRunner {
public:
    explicit ScriptRunner(std::ostream& transcript, ScriptOptions options = {});
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs the whole script and ends the transcript with "PASSED: ..." or "FAILED ...".
    ScriptResult Run(std::istream& script);
    // The time spent in the lines' actions so far, milliseconds: the program's handling of the
    // clerk's clicks and keys, without the runner's own transcript.
    double ActionMs() const { return m_actionMs; }

    // The program and folder of the run (nullptr / empty before the first action needing them).
    App* app() { return m_app.get(); }
    const std::filesystem::path& dataRoot() const;
    platform::FakeClock& clock() { return m_services.clock; }
    // What every change to a file of the run's data folder asks first, for the program made
    // now and every one made after it (tests only).
    void SetFileFaults(platform::FileFaults* faults) {
        m_services.faults = faults;
        if (m_app)
            m_app->engine().SetFaults(faults);
    }
    // Whether the program made now and every one made after it flush their files to the disk
    // (on unless switched off: a throw-away folder need not).
    void SetDurable(bool on) {
        m_durable = on;
        if (m_app)
            m_app->engine().SetDurable(on);
    }

private:
    struct Failure : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    class Line;

    void RunLine(Line& line);
    void Say(const std::string& text);
    void Note(const std::string& text);
    [[noreturn]] static void Fail(const std::string& message);

    App& Program();
    void MakeProgram();
    std::filesystem::path NewFolder();
    void DropFolders(bool keepCurrent);
    void CollectOutput();

    platform::Form& LoadedForm(const std::string& name);
    platform::Form& AnyForm(const std::string& name);
    platform::Control& ControlOf(const std::string& target, platform::Form** formOut = nullptr);
    // Why a clerk's action on the control cannot happen, "" when it can.
    static std::string Unreachable(const platform::Control& control);
    std::string DataPath(const std::string& name, std::filesystem::path& path);
    std::string ReadData(const std::string& name);

    void DoData(Line& line);
    void DoClock(Line& line);
    void DoClick(Line& line, bool doubleClick);
    void DoType(Line& line);
    void DoKey(Line& line);
    void DoSet(Line& line);
    void DoPick(Line& line);
    void DoCheck(Line& line);
    void DoDropDown(Line& line);
    void DoTick(Line& line);
    void DoWait(Line& line);
    void DoClose(Line& line);
    void DoLoad(Line& line);
    void DoShow(Line& line);
    void DoFile(Line& line);
    void DoPrintout();
    void DoExpect(Line& line);
    std::string Actual(const std::string& target);
    bool DataFileExists(const std::string& name);
    std::string PrintoutValue(Line& parts);
    std::string FormProperty(const platform::Form& form, const std::string& property);
    std::string ControlProperty(const platform::Control& control, const std::string& property);

    std::ostream& m_out;
    ScriptOptions m_options;
    HeadlessServices m_services;
    std::vector<std::filesystem::path> m_folders; // every folder made; the current one last
    std::unique_ptr<App> m_app;                   // after the services it uses
    bool m_durable = true;                        // see SetDurable

    std::vector<platform::PrintJob> m_jobs; // every job printed in the run
    size_t m_printoutFrom = 0;              // first job the next printout shows
    std::vector<std::string> m_printoutLines;
    int m_printoutJobs = 0;
    size_t m_shellSeen = 0;
    int m_actions = 0;
    double m_actionMs = 0; // see ActionMs
    int m_checks = 0;
};

// Helpers of the script syntax, public for the tests.
// The text without one pair of surrounding double quotes.
std::string Unquote(const std::string& text);
// A key name of the script (Enter, Esc, Backspace, Space, one character) as a character code; -1 if none.
int KeyCode(const std::string& name);
// A data file's content as `expect file` compares it: lines joined by " / ".
std::string JoinedLines(const std::string& content);
// The transcript lines of `file`: text lines, or 16 bytes a line in hex.
std::vector<std::string> DumpLines(const std::string& content);

} // namespace vantreth::script
