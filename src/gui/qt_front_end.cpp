// The program's windows on screen, kept in step with the model; see qt_front_end.h.
#include "qt_front_end.h"

#include "qt_window.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSocketNotifier>

#include <algorithm>
#include <limits>
#include <set>

namespace vantreth::gui {

namespace {

void SaveGrab(QWidget& window, const QString& dir, const platform::Form& form) {
    QDir().mkpath(dir);
    window.grab().save(QDir(dir).filePath(QString::fromStdString(form.Name()) + ".png"));
}

} // namespace

QtFrontEnd::QtFrontEnd(platform::Program& program) : m_program(program) {
    m_program.on_loaded = [this](platform::Form&) { ScheduleTick(); };
    m_program.on_unloaded = [this](platform::Form& form) {
        Unloaded(form);
        ScheduleTick();
    };
    m_program.on_event_done = [this] {
        Refresh();
        ScheduleTick();
    };
    m_program.on_modal = [this] {
        Refresh();
        ScheduleTick();
    };
    m_program.on_timers_changed = [this] { ScheduleTick(); };
    m_program.on_ended = [this] {
        m_ended = true;
        ScheduleTick();
        if (on_ended)
            on_ended();
    };
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
    m_tick.setSingleShot(true);
    // Never early: a tick before the timer is due would only set the clock again.
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, [this] { KeepTime(); });
    m_elapsed.start();
    ScheduleTick();
}

QtFrontEnd::~QtFrontEnd() {
    m_program.on_loaded = nullptr;
    m_program.on_unloaded = nullptr;
    m_program.on_event_done = nullptr;
    m_program.on_modal = nullptr;
    m_program.on_timers_changed = nullptr;
    m_program.on_ended = nullptr;
    for (auto& [form, window] : m_windows)
        delete window.data();
    // Windows whose forms went and that no event loop took away yet go with the front end.
    for (QPointer<QtWindow>& window : m_leaving)
        delete window.data();
}

QtWindow* QtFrontEnd::WindowOf(const platform::Form& form) const {
    auto found = m_windows.find(&form);
    return found == m_windows.end() ? nullptr : found->second.data();
}

QtWindow* QtFrontEnd::OwnerOf(const platform::Form& form) const {
    auto found = m_owners.find(&form);
    return found == m_owners.end() || found->second == nullptr ? nullptr : WindowOf(*found->second);
}

void QtFrontEnd::Refresh() {
    if (m_refreshing)
        return;
    m_refreshing = true;
    const std::vector<platform::Form*> forms = m_program.LoadedForms();

    // A window that comes up belongs to the window in front, and is in front itself.
    for (platform::Form* form : forms) {
        if (!form->Visible() || WindowOf(*form) != nullptr)
            continue;
        auto* window = new QtWindow(*form, *this);
        m_windows[form] = window;
        m_owners[form] = FrontOwnerFor(*form);
        BringToFront(*form);
        if (!m_shotsOnLoad.isEmpty()) {
            QPointer<QtWindow> shown(window);
            QTimer::singleShot(100, this, [this, shown] {
                if (shown && shown->isVisible())
                    SaveGrab(*shown, m_shotsOnLoad, shown->form());
            });
        }
    }
    // An owner that went away, was hidden or was minimised by the program hands its windows
    // on before it goes out of sight.
    for (platform::Form* form : forms) {
        if (!form->Visible())
            continue;
        const platform::Form*& owner = m_owners[form];
        if (owner != nullptr && !CanOwn(*owner))
            owner = FrontOwnerFor(*form);
    }
    for (platform::Form* form : forms)
        if (form->Visible())
            WindowOf(*form)->SetOwner(OwnerOf(*form));

    const platform::Form* top = nullptr;
    for (platform::Form* form : forms) {
        QtWindow* window = WindowOf(*form);
        if (!form->Visible()) {
            if (window)
                window->HideWindow();
            continue;
        }
        window->Sync();
        top = form;
    }
    // A window that comes up (or is left on top when another goes) becomes the active one.
    if (top && top != m_top) {
        QtWindow* window = WindowOf(*top);
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            window->raise();
        window->activateWindow();
        BringToFront(*top);
    }
    m_top = top;
    m_refreshing = false;
}

void QtFrontEnd::BringToFront(const platform::Form& form) {
    m_front.erase(std::remove(m_front.begin(), m_front.end(), &form), m_front.end());
    m_front.push_back(&form);
}

void QtFrontEnd::ClerkActsIn(const platform::Form& form) {
    if (QtWindow* window = WindowOf(form)) {
        window->MarkStale();
        BringToFront(form);
    }
}

void QtFrontEnd::CameToFront(const platform::Form& form) {
    if (WindowOf(form) != nullptr)
        BringToFront(form);
}

bool QtFrontEnd::CanOwn(const platform::Form& form) const {
    const QtWindow* window = WindowOf(form);
    if (window == nullptr || !form.Loaded() || !form.Visible())
        return false;
    // Minimised by the clerk, the window takes its own windows along; minimised by the
    // program, it leaves them on the screen.
    return form.windowState() != platform::WindowState::Minimized || window->MinimisedByClerk();
}

bool QtFrontEnd::BelongsTo(const platform::Form& form, const platform::Form& owner) const {
    const platform::Form* at = &form;
    for (size_t steps = 0; at != nullptr && steps <= m_owners.size(); ++steps) {
        if (at == &owner)
            return true;
        auto found = m_owners.find(at);
        at = found == m_owners.end() ? nullptr : found->second;
    }
    return false;
}

const platform::Form* QtFrontEnd::FrontOwnerFor(const platform::Form& form) const {
    for (auto it = m_front.rbegin(); it != m_front.rend(); ++it)
        if (*it != &form && CanOwn(**it) && !BelongsTo(**it, form))
            return *it;
    return nullptr;
}

QtWindow* QtFrontEnd::FrontWindow() const {
    for (auto it = m_front.rbegin(); it != m_front.rend(); ++it) {
        QtWindow* window = WindowOf(**it);
        if (window && window->isVisible() && !window->isMinimized())
            return window;
    }
    return nullptr;
}

QtWindow* QtFrontEnd::FrontWindowOwnedBy(const platform::Form& form) const {
    for (auto it = m_front.rbegin(); it != m_front.rend(); ++it) {
        QtWindow* window = WindowOf(**it);
        if (*it != &form && window && window->isVisible() && !window->isMinimized() && BelongsTo(**it, form))
            return window;
    }
    return nullptr;
}

void QtFrontEnd::Unloaded(platform::Form& form) {
    auto found = m_windows.find(&form);
    if (found == m_windows.end())
        return;
    // The window may be in the middle of one of its own events: it goes once that is over.
    if (QtWindow* window = found->second.data()) {
        window->hide();
        window->deleteLater();
        std::erase_if(m_leaving, [](const QPointer<QtWindow>& gone) { return gone.isNull(); });
        m_leaving.emplace_back(window);
    }
    m_windows.erase(found);
    m_owners.erase(&form);
    m_front.erase(std::remove(m_front.begin(), m_front.end(), &form), m_front.end());
    if (m_top == &form)
        m_top = nullptr;
}

void QtFrontEnd::FocusChanged(QWidget* now) {
    if (m_refreshing || m_program.InHandler() || now == nullptr)
        return;
    for (auto& [form, window] : m_windows) {
        if (window && window->isAncestorOf(now)) {
            if (platform::Control* control = window->ControlOf(now))
                control->SetFocus();
            return;
        }
    }
}

void QtFrontEnd::KeepTime() {
    // While nothing is due, time passes for no timer (a resting one waits for its port).
    if (m_armed) {
        const auto ms = static_cast<int>(m_elapsed.restart());
        if (ms > 0)
            m_program.TimePassed(ms);
    }
    ScheduleTick();
}

void QtFrontEnd::ScheduleTick() {
    WatchPorts();
    const int due = m_ended ? -1 : m_program.MsUntilNextTimer();
    if (due < 0) {
        m_armed = false;
        m_tick.stop();
        return;
    }
    if (!m_armed) {
        // The time that went by while nothing was due counts for no timer.
        m_armed = true;
        m_elapsed.restart();
    }
    const qint64 wait = std::max<qint64>(1, due - m_elapsed.elapsed());
    m_tick.start(static_cast<int>(std::min<qint64>(wait, std::numeric_limits<int>::max())));
}

template <class Visit> void QtFrontEnd::ForEachTimer(Visit visit) const {
    for (platform::Form* form : m_program.LoadedForms())
        for (platform::Control* control : form->Controls())
            if (control->Kind() == platform::ControlKind::Timer)
                visit(*static_cast<platform::Timer*>(control));
}

void QtFrontEnd::WatchPorts() {
    std::set<int> wanted;
    if (!m_ended)
        ForEachTimer([&wanted](const platform::Timer& timer) {
            if (timer.Resting() && timer.MsUntilTick() >= 0 && timer.RestDescriptor() >= 0)
                wanted.insert(timer.RestDescriptor());
        });
    for (auto it = m_ports.begin(); it != m_ports.end();) {
        if (wanted.count(it->first) != 0) {
            it->second->setEnabled(true);
            ++it;
            continue;
        }
        // Its port was closed or its timer woke: the watch goes, later, as it may be the one
        // whose signal is being handled.
        it->second->setEnabled(false);
        it->second.release()->deleteLater();
        it = m_ports.erase(it);
    }
    for (int fd : wanted) {
        if (m_ports.count(fd) != 0)
            continue;
        auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, [this, fd] { PortReadable(fd); });
        m_ports.emplace(fd, std::move(notifier));
    }
}

void QtFrontEnd::PortReadable(int fd) {
    // Quiet until the timer has read what came and rests again.
    if (auto found = m_ports.find(fd); found != m_ports.end())
        found->second->setEnabled(false);
    std::vector<platform::Timer*> waiting;
    ForEachTimer([&waiting, fd](platform::Timer& timer) {
        if (timer.Resting() && timer.RestDescriptor() == fd)
            waiting.push_back(&timer);
    });
    for (platform::Timer* timer : waiting)
        timer->Wake();
    ScheduleTick();
}

void QtFrontEnd::SaveScreenshots(const QString& dir) const {
    for (const auto& [form, window] : m_windows)
        if (window && window->isVisible())
            SaveGrab(*window, dir, *form);
}

} // namespace vantreth::gui
