// The program object: window registry, load and unload, the event dispatcher and timers.
#include "program.h"

#include "decimal.h"
#include "engine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

namespace platform {

namespace {

// What the clerk is told while saved steps cannot be written into the files.
std::string NotWholeMessage(const std::string& reason) {
    return "Steps already saved could not all be written into the data files (" + reason +
           ").\nNothing can be read or changed until they are. Free some disk space and try again, or "
           "close the program: its next start finishes the work.";
}

// Counts nesting for as long as it lives, also when an exception passes through.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

} // namespace

EventLoop& EventLoopOf(Program& program) {
    return program;
}

Program::Program(Services services)
    : m_services(std::move(services)), m_data(m_services.dataRoot, &m_engine),
      m_engine(m_services.dataRoot, m_services.faults),
      m_printer(
          *m_services.printer, [this] { return m_depth > 0; }, FilePath(m_services.dataRoot, &m_engine)) {
    if (!m_services.clock || !m_services.dialogs || !m_services.printer || !m_services.shell)
        throw std::invalid_argument("Program needs a clock, dialogs, a printer and a shell");
    if (!m_services.readOnlyReason.empty())
        m_engine.SetReadOnly(m_services.readOnlyReason);
    // A step's wait ends when its record is flushed: its files are written between events.
    m_engine.HoldUntilQuiet(true);
    // The printer's files and the business date's lie in the data folder: from now on they are
    // read and changed through its engine.
    m_services.printer->OpenIn(m_data);
    if (auto* business = dynamic_cast<BusinessClock*>(m_services.clock))
        business->OpenIn(m_data);
}

Program::~Program() {
    // At the end the files written since the last checkpoint go to the disk; what cannot be
    // flushed now is in the journal, and the next start writes it again.
    try {
        m_engine.Checkpoint();
        m_engine.Close(); // a clean end: the next start has nothing to tell
    } catch (const IoError&) {
    }
}

void Program::Register(const std::string& name, Factory factory) {
    m_factories[name] = std::move(factory);
}

bool Program::IsRegistered(std::string_view name) const {
    return m_factories.find(name) != m_factories.end();
}

std::vector<std::string> Program::RegisteredNames() const {
    std::vector<std::string> names;
    for (const auto& [name, factory] : m_factories)
        names.push_back(name);
    return names;
}

Form& Program::Get(std::string_view name) {
    auto found = m_forms.find(name);
    if (found != m_forms.end())
        return *found->second;
    auto factory = m_factories.find(name);
    if (factory == m_factories.end())
        throw std::logic_error("no window named " + std::string(name));
    auto form = factory->second(*this);
    Form& ref = *form;
    m_forms.emplace(std::string(name), std::move(form));
    return ref;
}

void Program::Load(Form& form) {
    if (form.m_loaded)
        return;
    form.ResetForLoad();
    form.m_loaded = true;
    m_loadOrder.push_back(&form);
    if (on_loaded)
        on_loaded(form);
    try {
        form.Form_Load();
    } catch (...) {
        Close(form); // a window whose load failed is closed rather than left half filled
        throw;
    }
    if (form.m_loaded)
        form.FocusFirst();
}

void Program::Unload(Form& form) {
    if (!form.m_loaded)
        return;
    form.Form_Unload();
    Close(form); // nothing when the unload step unloaded it already
}

void Program::Close(Form& form) {
    if (!form.m_loaded)
        return;
    form.m_loaded = false;
    form.m_visible = false;
    form.m_active = nullptr;
    m_loadOrder.erase(std::remove(m_loadOrder.begin(), m_loadOrder.end(), &form), m_loadOrder.end());
    if (on_unloaded)
        on_unloaded(form);
}

void Program::Unload(std::string_view name) {
    if (IsRegistered(name))
        Unload(Get(name));
}

bool Program::IsLoaded(std::string_view name) const {
    auto found = m_forms.find(name);
    return found != m_forms.end() && found->second->m_loaded;
}

std::vector<Form*> Program::LoadedForms() const {
    return m_loadOrder;
}

Clock& Program::clock() {
    if (m_dateKeeper && m_depth > 0 && !m_keepingDate) {
        m_keepingDate = true;
        try {
            m_dateKeeper();
        } catch (...) {
            m_keepingDate = false;
            throw;
        }
        m_keepingDate = false;
    }
    return *m_services.clock;
}

void Program::Start(std::string_view firstWindow) {
    m_started = true;
    m_frontDesk = std::string(firstWindow);
    Form& first = Get(firstWindow);
    RecoverInterruptedAction();
    // Reports of saved steps an earlier run did not hand to the printer, once the files hold
    // every saved step (and so every report listed with one).
    if (!m_engine.ReadOnly() && m_engine.Whole()) {
        if (const std::string left = m_printer.LeftBehind(); !left.empty())
            m_startNotes.emplace_back(left, "Printer Error");
    }
    if (auto* business = dynamic_cast<BusinessClock*>(m_services.clock);
        business != nullptr && business->Damaged()) {
        DepthGuard guard(m_depth);
        MsgBox("The business date could not be read; it is now the computer's date.",
               vbOKOnly | vbExclamation, "Business Date");
    }
    for (const auto& [prompt, title] : std::exchange(m_startNotes, {})) {
        DepthGuard guard(m_depth);
        MsgBox(prompt, vbOKOnly | vbExclamation, title);
    }
    m_printer.NotPrintedShown(); // told until shown: a program stopped with the box up tells again
    Dispatch([this, &first] { Load(first); }, "Starting the program");
}

void Program::TellAtStart(std::string prompt, std::string title) {
    m_startNotes.emplace_back(std::move(prompt), std::move(title));
}

// Steps committed to the journal and not yet (or not wholly) in the files, when the program
// was killed or the computer went down, are written into the files before any window reads
// them. A damaged or foreign journal is put aside and reported.
void Program::RecoverInterruptedAction() {
    DepthGuard guard(m_depth);
    try {
        for (const std::string& told : m_engine.Recover())
            MsgBox(told, vbOKOnly | vbExclamation, "Data Folder");
        m_engine.Told();
        if (!m_engine.undoneStep().empty())
            MsgBox("The program was stopped in the middle of \"" + m_engine.undoneStep() +
                       "\".\nThat step was undone: nothing of it was saved. Please do it again.",
                   vbOKOnly | vbExclamation, "Unfinished Step Undone");
    } catch (const IoError& e) {
        MsgBox("Steps already saved could not all be written into the data files (" + e.reason() +
                   ").\nNothing can be read or changed. Close the program, free some disk space or mend the "
                   "disk, "
                   "and start it again: its start finishes the work.",
               vbOKOnly | vbCritical, "File Error");
    }
    m_services.clock->Reload(); // a step written again may have moved the date
}

namespace {

struct Failure {
    std::string prompt;
    std::string title;
    std::string cause; // what failed, without the step's words: a timer's failure that lasts is told once
};

bool IsReadOnlyReason(const std::string& reason) {
    return reason == std::strerror(EROFS) || reason == std::strerror(EACCES) ||
           reason == std::strerror(EPERM);
}

// What the clerk is told about an event that failed; the current exception is one of the
// program's own errors or another std::exception.
Failure DescribeFailureOf(const std::filesystem::path& dataRoot, const std::string& step);

// `step`: the step's own words. The cause is the same words without the step's.
Failure DescribeFailure(const std::filesystem::path& dataRoot, const std::string& step) {
    Failure failure = DescribeFailureOf(dataRoot, step);
    failure.cause = failure.prompt;
    const std::string named = "\"" + step + "\"";
    for (size_t at = failure.cause.find(named); at != std::string::npos; at = failure.cause.find(named, at))
        failure.cause.erase(at, named.size());
    return failure;
}

Failure DescribeFailureOf(const std::filesystem::path& dataRoot, const std::string& step) {
    const std::string notFinished = "The step \"" + step + "\" was not finished: nothing of it was saved.";
    try {
        throw;
    } catch (const FolderNotWhole& e) {
        // The steps saved before are kept (the journal holds them): only this one was not saved.
        return {NotWholeMessage(e.reason()) + "\nThe steps saved before are kept; the step \"" + step +
                    "\" was not saved.",
                "File Error"};
    } catch (const StepOutcomeUnknown& e) {
        return {e.reason(), "File Error"};
    } catch (const DiskFailing& e) {
        return {e.reason(), "File Error"};
    } catch (const FolderReadOnly& e) {
        return {"The data folder " + dataRoot.string() + " is open only to be looked at (" + e.reason() +
                    "), so nothing can be changed.\nNothing was saved.",
                "File Error"};
    } catch (const IoError& e) {
        if (IsReadOnlyReason(e.reason()))
            return {"The data folder " + dataRoot.string() + " cannot be changed (" + e.file().string() +
                        ": " + e.reason() + ").\nNothing was saved.",
                    "File Error"};
        return {"The file " + e.file().string() + " could not be used: " + e.reason() + ".\n" + notFinished,
                "File Error"};
    } catch (const AmountTooLarge& e) {
        return {std::string(e.what()) + "\nNothing was saved.", "Amount Too Large"};
    } catch (const PrintError& e) {
        return {std::string("The report could not be printed: ") + e.what(), "Printer Error"};
    } catch (const SerialError& e) {
        return {std::string("The call box port could not be used: ") + e.what(), "Call Accounting"};
    } catch (const std::exception& e) {
        return {std::string("Something went wrong: ") + e.what() + ".\n" + notFinished, "Error"};
    }
}

// Sets a flag for as long as it lives.
class FlagGuard {
public:
    FlagGuard(bool& flag, bool value) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~FlagGuard() { m_flag = m_old; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

void Program::Dispatch(const std::function<void()>& handler, std::string_view action, const void* repeatKey) {
    if (m_depth > 0) {
        if (m_timersInsideAction) {
            RunTimerInsideAction(handler, repeatKey);
            return;
        }
        // An event raised from inside another is a part of it: its failure fails the whole.
        DepthGuard guard(m_depth);
        handler();
        return;
    }
    RunAction(handler, action, repeatKey);
    if (repeatKey == nullptr)
        m_idleMs = 0; // idle time counts from the clerk's last action, not from a timer's tick
    TellNotPrinted();
    TellEngineNotes();
    // A damaged file the event came across is reported once, when the event is over.
    for (const std::string& damage : m_engine.damage().Take()) {
        DepthGuard guard(m_depth);
        MsgBox(damage, vbOKOnly | vbExclamation, "Damaged File");
    }
    if (on_event_done)
        on_event_done();
    if (Ended() && !m_endedReported) {
        m_endedReported = true;
        if (on_ended)
            on_ended();
    }
}

void Program::DispatchIn(Form& window, const std::function<void()>& handler, std::string_view action,
                         const void* repeatKey) {
    if (m_depth == 0)
        m_workingIn = &window;
    Dispatch(handler, action, repeatKey);
    m_workingIn = nullptr;
}

void Program::RunAction(const std::function<void()>& handler, std::string_view action,
                        const void* repeatKey) {
    DepthGuard guard(m_depth);
    std::optional<Failure> failure;
    std::string notPrinted;
    const std::vector<Shown> shown = WindowsShown();
    const Form* workingIn = std::exchange(m_workingIn, nullptr);
    bool atCommit = false; // the handler ran to its end: every window moved on with the step
    {
        Transaction transaction(m_engine, action.empty() && workingIn != nullptr ? workingIn->Caption()
                                          : action.empty() ? std::string("a step of the program")
                                                           : std::string(action));
        try {
            for (auto& made : m_forms)
                made.second->StepBegins();
            StepBegun();
            handler();
            atCommit = true;
            transaction.Commit(); // the commit point
            // What the step printed goes out only now that it is saved, and from its files: the
            // PDFs are written into them before the printer reads them.
            if (m_printer.HeldCount() > 0)
                m_engine.WriteCommitted();
            notPrinted = m_printer.Release();
        } catch (const UnexpectedDialog&) {
            m_printer.Drop();
            transaction.Rollback();
            throw;
        } catch (const std::exception&) {
            failure = DescribeFailure(m_data.root(), transaction.action());
            m_printer.Drop();
            transaction.Rollback(); // the files were never touched; copies in memory are put back
        }
    }
    if (!failure) {
        // The step stays saved; the PDF of a report the printer did not take is in print/.
        if (!notPrinted.empty())
            Report(notPrinted, vbOKOnly | vbCritical, "Printer Error", repeatKey);
        else
            m_repeatFailures.erase(repeatKey);
        return;
    }
    Report(failure->prompt, vbOKOnly | vbCritical, failure->title, repeatKey, failure->cause);
    ShowWhatIsStored(shown, atCommit, workingIn);
}

std::vector<Program::Shown> Program::WindowsShown() const {
    std::vector<Shown> shown;
    for (Form* form : m_loadOrder)
        shown.push_back({form, form->ShownVersion(), form->Visible(), form->windowState()});
    return shown;
}

// After a failed step every window the clerk can use shows what is stored, whatever state the
// engine was left in. What the step opened is closed; every window whose content it changed
// (a new number, a balance, a button it enabled for the next step, a caption) is loaded again
// from the files, as the clerk would open it, and keeps whether it was shown. A step stopped
// short before its end leaves the window it was working in as the clerk left it, with what
// the clerk entered, to try again (such a window moves its own steps on only at its end). A
// window it closed stays closed (what it held is not stored). A window the clerk's way on
// depends on (Form::ComesBackAfterAFailedStep) is there after the step, loaded again from the
// files, whether the step closed it or opened it (the front desk a window was going back to).
// A window the step left alone keeps what it showed, and whether it was shown or minimised.
// When nothing can be read (saved steps could not be written into the files), a window that
// cannot be loaded again is closed rather than left showing what the step made of it.
void Program::ShowWhatIsStored(const std::vector<Shown>& before, bool ranToItsEnd, const Form* workingIn) {
    std::vector<std::pair<size_t, Shown>> reopen; // in the order the windows were opened
    const auto shownBefore = [&before](const Form* form) {
        return static_cast<size_t>(
            std::find_if(before.begin(), before.end(), [form](const Shown& s) { return s.form == form; }) -
            before.begin());
    };
    for (Form* form : LoadedForms()) {
        const size_t was = shownBefore(form);
        if (was == before.size()) {
            if (form->ComesBackAfterAFailedStep())
                reopen.emplace_back(before.size() + reopen.size(),
                                    Shown{form, 0, form->Visible(), WindowState::Normal});
            else
                Close(*form);
        } else if (before[was].version != form->ShownVersion() && (ranToItsEnd || form != workingIn)) {
            reopen.emplace_back(was, before[was]);
        } else {
            form->m_visible = before[was].visible;
            form->m_state = before[was].state;
        }
    }
    for (size_t was = 0; was < before.size(); ++was)
        if (!before[was].form->Loaded() && before[was].form->ComesBackAfterAFailedStep())
            reopen.emplace_back(was, before[was]);
    for (const auto& [order, window] : reopen)
        Close(*window.form);
    // Opened again only to show what is stored, a window changes nothing: one whose opening
    // must save something (a number it takes) stays closed, and the clerk opens it anew.
    // They open in the order they were opened before, each over the ones before it.
    std::sort(reopen.begin(), reopen.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [order, window] : reopen) {
        Form& form = *window.form;
        Transaction showing(m_engine, "opening a window again");
        showing.RefuseChanges("a window opened again after a failed step saves nothing");
        try {
            Load(form);
            if (form.Loaded())
                form.m_visible = window.visible;
        } catch (const UnexpectedDialog&) {
            throw;
        } catch (const std::exception&) {
            // Closed by its failed load; the step's own failure was told.
        }
        showing.Rollback();
    }
    OpenTheFrontDeskIfNoWindowIsLeft();
}

// The clerk is never left without a window to see and use (a hidden window, such as the one
// that reads the call box, is none, nor is one the step left minimised): when the failed step
// left none, the front desk opens, as a step of its own, as the clerk would open it; when it
// is there out of sight, it is shown and restored. When it cannot be opened (a file it reads
// cannot be read, or nothing can be read until the next start), it comes back as it last
// stood, for the clerk to try again or to close the program.
void Program::OpenTheFrontDeskIfNoWindowIsLeft() {
    const auto usable = [](const Form* form) {
        return form->Loaded() && form->Visible() && form->windowState() != WindowState::Minimized;
    };
    if (m_frontDesk.empty() || std::any_of(m_loadOrder.begin(), m_loadOrder.end(), usable))
        return;
    Form& frontDesk = Get(m_frontDesk);
    if (!frontDesk.Loaded()) {
        Transaction opening(m_engine, "opening the front desk");
        try {
            Load(frontDesk);
            opening.Commit();
        } catch (const UnexpectedDialog&) {
            opening.Rollback();
            throw;
        } catch (const std::exception&) {
            opening.Rollback(); // the step's own failure was told
        }
    }
    if (!frontDesk.Loaded()) {
        frontDesk.m_loaded = true;
        m_loadOrder.push_back(&frontDesk);
        if (on_loaded)
            on_loaded(frontDesk);
    }
    frontDesk.Show();
    if (frontDesk.windowState() == WindowState::Minimized)
        frontDesk.SetWindowState(WindowState::Normal);
}

// A timer that ticks while a box is up inside an action must not become part of that
// action: it may read, but a change it tries waits for a later tick, after the action.
void Program::RunTimerInsideAction(const std::function<void()>& handler, const void* repeatKey) {
    Transaction* outer = m_engine.step();
    if (outer == nullptr) {
        // The box belongs to no open action (a failure being reported): a step of its own.
        FlagGuard inside(m_timersInsideAction, false);
        RunAction(handler, "a timer", repeatKey);
        return;
    }
    DepthGuard guard(m_depth);
    FlagGuard inside(m_timersInsideAction, false);
    outer->BlockChanges(true);
    std::optional<Failure> failure;
    try {
        handler();
    } catch (const WorkDeferred&) {
    } catch (const UnexpectedDialog&) {
        outer->BlockChanges(false);
        throw;
    } catch (const std::exception&) {
        failure = DescribeFailure(m_data.root(), "a timer's work while a box was up");
    }
    outer->BlockChanges(false);
    if (failure)
        Report(failure->prompt, vbOKOnly | vbCritical, failure->title, repeatKey, failure->cause);
}

// What the storage engine found while running (a step written again and saved, a disk that
// failed or answers again) is told between events, once.
void Program::TellEngineNotes() {
    if (m_depth > 0)
        return;
    for (const std::string& told : m_engine.TakeNotes()) {
        DepthGuard guard(m_depth);
        MsgBox(told, vbOKOnly | vbExclamation, "Data Folder");
    }
}

// Reports of saved steps are handed to the printer away from the window: what did not go out
// is told between events, one box per step.
void Program::TellNotPrinted() {
    if (m_depth > 0)
        return;
    const std::vector<std::string> boxes = m_printer.TakeNotPrinted();
    for (const std::string& told : boxes) {
        DepthGuard guard(m_depth);
        MsgBox(told, vbOKOnly | vbCritical, "Printer Error");
    }
    if (!boxes.empty())
        m_printer.NotPrintedShown();
}

void Program::Report(const std::string& prompt, int style, const std::string& title, const void* repeatKey,
                     const std::string& cause) {
    // Work that ticks is tried again quietly when its failure was shown already, for it, for other
    // work that ticks or for the clerk's last action, and still stands (a disk that stays failing
    // fails them all alike): the same cause, whatever the step's words. The clerk's own action (no
    // key) is always told.
    const std::string& same = cause.empty() ? prompt : cause;
    const bool shown = std::any_of(m_repeatFailures.begin(), m_repeatFailures.end(),
                                   [&same](const auto& failing) { return failing.second == same; });
    m_repeatFailures[repeatKey] = same;
    if (repeatKey != nullptr && shown)
        return;
    MsgBox(prompt, style, title);
}

MsgBoxResult Program::MsgBox(const std::string& prompt, int style, const std::string& title) {
    DepthGuard modal(m_modal);
    if (on_modal)
        on_modal();
    return dialogs().MsgBox(prompt, style, title);
}

std::string Program::InputBox(const std::string& prompt, const std::string& title) {
    DepthGuard modal(m_modal);
    if (on_modal)
        on_modal();
    return dialogs().InputBox(prompt, title);
}

void Program::TimePassed(int ms) {
    if (m_depth > 0 && m_modal == 0)
        return;
    if (m_depth == 0) {
        m_idleMs += ms;
        // The steps committed since the last quiet moment go into the files now, not in the
        // clerk's wait: a failure there is the engine's (MustRewrite), told at the next read.
        m_engine.WriteCommitted();
        // A checkpoint begun goes on between events whatever the clerk does: its flushes run
        // on the engine's own thread, and no key waits for them.
        if (m_engine.Checkpointing() ||
            (m_engine.NeedsCheckpoint() &&
             (m_idleMs >= kCheckpointIdleMs || m_engine.size() > Engine::kCheckpointBytes))) {
            try {
                m_engine.CheckpointWithoutWaiting();
            } catch (const IoError&) {
                // What was committed is in the journal; a failure that lasts is told once, below.
            }
        }
        TellEngineNotes();
    }
    TellNotPrinted();
    FlagGuard inside(m_timersInsideAction, m_depth > 0);
    for (Form* form : LoadedForms()) {
        if (!form->Loaded())
            continue;
        for (Control* control : form->Controls()) {
            if (control->Kind() == ControlKind::Timer)
                static_cast<Timer*>(control)->Advance(ms);
            if (!form->Loaded())
                break;
        }
    }
    for (const auto& task : m_tasks) {
        task->elapsed += ms;
        if (task->elapsed < task->interval || !m_started || Ended())
            continue;
        task->elapsed = 0;
        BackgroundTask* ticking = task.get();
        Dispatch([ticking] { ticking->run(); }, ticking->action, ticking);
    }
}

int Program::MsUntilNextTimer() const {
    int next = -1;
    const auto sooner = [&next](int ms) {
        if (ms >= 0 && (next < 0 || ms < next))
            next = ms;
    };
    for (const Form* form : m_loadOrder) {
        for (const Control* control : form->Controls()) {
            if (control->Kind() != ControlKind::Timer)
                continue;
            const auto* timer = static_cast<const Timer*>(control);
            if (!timer->Resting())
                sooner(timer->MsUntilTick());
        }
    }
    if (m_started && !Ended())
        for (const auto& task : m_tasks)
            sooner(std::max(0, task->interval - task->elapsed));
    if (m_printer.HandingOver())
        sooner(kPrintCheckMs);
    if (m_engine.Behind())
        sooner(0); // the first quiet moment writes the steps committed into the files
    return next;
}

void Program::TimersChanged() {
    if (on_timers_changed)
        on_timers_changed();
}

void Program::AddBackgroundTask(std::string action, int intervalMs, std::function<void()> task) {
    auto added = std::make_unique<BackgroundTask>();
    added->action = std::move(action);
    added->interval = intervalMs;
    added->run = std::move(task);
    m_tasks.push_back(std::move(added));
}

} // namespace platform
