// The program object: the registry of windows, the services that stand in for the
// operating system, and the event dispatcher. All work happens in events; each event
// runs to its end before the next, and timers tick only between events (or while a
// message or input box is up). The program ends when no window is left loaded.
#pragma once

#include "clock.h"
#include "dialogs.h"
#include "engine.h"
#include "files.h"
#include "form.h"
#include "printer.h"
#include "serial.h"
#include "shell.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Services {
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    PrinterDevice* printer = nullptr;
    Shell* shell = nullptr;
    std::filesystem::path dataRoot;
    // Not empty when the folder's lock could not be had (why not): the folder is then only
    // looked at, never changed, and its journal is left alone.
    std::string readOnlyReason;
    // What every change to a file of the data folder asks first (tests only).
    FileFaults* faults = nullptr;
};

class Program : public EventLoop {
public:
    explicit Program(Services services);
    virtual ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The business clock. Inside an event the date keeper runs first, so that whatever the
    // event writes is dated by the business date of that moment (see SetDateKeeper).
    Clock& clock();
    // The clock without the date keeper: for the keeper's own work.
    Clock& ClockAsItStands() { return *m_services.clock; }
    Dialogs& dialogs() { return *m_services.dialogs; }
    Printer& printer() { return m_printer; }
    Shell& shell() { return *m_services.shell; }
    const DataFolder& data() const { return m_data; }
    Engine& engine() { return m_engine; }

    // Windows.
    using Factory = std::function<std::unique_ptr<Form>(Program&)>;
    void Register(const std::string& name, Factory factory);
    bool IsRegistered(std::string_view name) const;
    std::vector<std::string> RegisteredNames() const;
    // The window object, created on first use; creating it does not load it.
    Form& Get(std::string_view name);
    template <class F> F& Get() { return static_cast<F&>(Get(F::kName)); }
    // Runs Form_Load; nothing when the window is already loaded.
    void Load(Form& form);
    void Load(std::string_view name) { Load(Get(name)); }
    // Runs Form_Unload; nothing when the window is not loaded.
    void Unload(Form& form) override;
    void Unload(std::string_view name);
    bool IsLoaded(std::string_view name) const;
    std::vector<Form*> LoadedForms() const;

    // Loads the first window as the program's first event.
    void Start(std::string_view firstWindow);
    // Something the clerk must be told that was found before the program started (a settings
    // file that could not be written): shown in a box at Start, before the first window.
    void TellAtStart(std::string prompt, std::string title);
    bool Started() const { return m_started; }
    // True once the program was started and no window is loaded.
    bool Ended() const { return m_started && LoadedForms().empty(); }

    // Runs one event of the clerk as one transaction over the data folder: it happens whole
    // or not at all. A file, printer or serial error inside it undoes every change the
    // event made, is shown to the clerk in a message box and ends that event; an unexpected
    // box in a script is passed on. An event run from inside another is part of it.
    // `action` says in words what the clerk did (for the message after a crash).
    // `repeatKey` marks an event that comes back by itself (a timer): the same failure is
    // shown once, then retried quietly until it succeeds.
    void Dispatch(const std::function<void()>& handler, std::string_view action = {},
                  const void* repeatKey = nullptr) override;
    void DispatchIn(Form& window, const std::function<void()>& handler, std::string_view action = {},
                    const void* repeatKey = nullptr) override;
    bool InHandler() const { return m_depth > 0; }

    // Modal boxes; timers may tick while one is up.
    MsgBoxResult MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title) override;

    // Real time passes: a checkpoint of the journal is made once the program has been idle
    // for kCheckpointIdleMs (or the journal has grown past its size); every enabled timer of a loaded window
    // whose interval has gone by ticks once, and so does every background task. Nothing ticks while an event
    // runs, unless a box is up.
    void TimePassed(int ms);
    // Work that ticks like a timer whatever window is open, from the start of the program
    // to its end; each tick is an event of its own, named `action`.
    void AddBackgroundTask(std::string action, int intervalMs, std::function<void()> task);
    static constexpr int kCheckpointIdleMs = 2000;
    // How often, while reports are being handed to the printer, the program looks whether
    // any could not be.
    static constexpr int kPrintCheckMs = 100;
    // How much time must pass before TimePassed has something to tick: the least time left
    // to an enabled timer of a loaded window that is not resting, or to a background task
    // once the program runs; -1 when nothing would tick however much time passed (a resting
    // timer aside).
    int MsUntilNextTimer() const;
    // A timer was started, stopped, set to another interval, or rested or woken: what
    // MsUntilNextTimer says may have changed. Tells on_timers_changed.
    void TimersChanged() override;

    // Work that keeps the business date right (the motel's date hold after midnight): run at
    // every read of the clock inside an event, never from inside itself, so that a step whose
    // box was answered after midnight dates its writes as a timer tick would have. It reads
    // the clock through ClockAsItStands.
    void SetDateKeeper(std::function<void()> keeper) { m_dateKeeper = std::move(keeper); }

    // Observers for the Qt front end and the scenario runner.
    std::function<void(Form&)> on_loaded;
    std::function<void(Form&)> on_unloaded;
    std::function<void()> on_event_done;     // after each outermost event
    std::function<void()> on_modal;          // just before a box comes up
    std::function<void()> on_ended;          // once, when the last window is gone
    std::function<void()> on_timers_changed; // see TimersChanged

protected:
    // Called at the start of each step, inside its transaction: a program that keeps copies in
    // memory of what its files hold registers here how to put them back (see WhenUndone).
    virtual void StepBegun() {}

private:
    Services m_services;
    DataFolder m_data;
    Engine m_engine;
    Printer m_printer;
    std::map<std::string, Factory, std::less<>> m_factories;
    std::map<std::string, std::unique_ptr<Form>, std::less<>> m_forms;
    std::vector<Form*> m_loadOrder;
    void RunAction(const std::function<void()>& handler, std::string_view action, const void* repeatKey);
    // What each loaded window showed when a step began.
    struct Shown {
        Form* form;
        unsigned long version;
        bool visible;
        WindowState state;
    };
    std::vector<Shown> WindowsShown() const;
    // After a failed step, in whatever state the engine was left, so that no window shows what
    // was not saved: closes every window the step opened, opens again from the files every
    // window whose content it changed (but the one a step stopped short was working in) and
    // every one the clerk depends on, puts back whether the others were shown; then sees that
    // the clerk has a window to use.
    void ShowWhatIsStored(const std::vector<Shown>& before, bool ranToItsEnd, const Form* workingIn);
    void OpenTheFrontDeskIfNoWindowIsLeft();
    // Closes the window without running its unload step.
    void Close(Form& form);
    void RunTimerInsideAction(const std::function<void()>& handler, const void* repeatKey);
    // Shows the failure unless it is the one last shown for the same repeating event.
    // A box about a failure; one a timer (`repeatKey`) met already, of the same `cause`, is not shown again.
    void Report(const std::string& prompt, int style, const std::string& title, const void* repeatKey,
                const std::string& cause = {});
    void TellEngineNotes();
    void TellNotPrinted();
    void RecoverInterruptedAction();

    struct BackgroundTask {
        std::string action;
        int interval = 0;
        int elapsed = 0;
        std::function<void()> run;
    };
    std::vector<std::unique_ptr<BackgroundTask>> m_tasks;
    int m_depth = 0;
    int m_modal = 0;
    Form* m_workingIn = nullptr; // the window of the clerk's event about to run (DispatchIn)
    std::function<void()> m_dateKeeper;
    bool m_keepingDate = false;
    bool m_timersInsideAction = false;
    int m_idleMs = 0;
    // The failure last shown for each work that ticks, and (key nullptr) for the clerk's last action,
    // while it stands: see Report.
    std::map<const void*, std::string> m_repeatFailures;
    bool m_started = false;
    std::string m_frontDesk; // the window the program starts with
    bool m_endedReported = false;
    std::vector<std::pair<std::string, std::string>> m_startNotes; // prompt, title
};

} // namespace platform
