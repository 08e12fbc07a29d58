// The program's windows on screen, kept in step with the model; see qt_front_end.h.
#include "qt_front_end.h"

#include "qt_window.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace vantreth::gui {

namespace {

void SaveGrab(QWidget &window, const QString &dir, const platform::Form &form) {
    QDir().mkpath(dir);
    window.grab().save(QDir(dir).filePath(QString::fromStdString(form.Name()) + ".png"));
}

} // namespace

QtFrontEnd::QtFrontEnd(platform::Program &program) : m_program(program) {
    m_program.on_unloaded = [this](platform::Form &form) { Unloaded(form); };
    m_program.on_event_done = [this] { Refresh(); };
    m_program.on_modal = [this] { Refresh(); };
    m_program.on_ended = [this] {
        m_ended = true;
        m_tick.stop();
        if (on_ended)
            on_ended();
    };
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { FocusChanged(now); });
    connect(&m_tick, &QTimer::timeout, this, [this] { Tick(); });
    m_elapsed.start();
    m_tick.start(10);
}

QtFrontEnd::~QtFrontEnd() {
    m_program.on_unloaded = nullptr;
    m_program.on_event_done = nullptr;
    m_program.on_modal = nullptr;
    m_program.on_ended = nullptr;
    for (auto &[form, window] : m_windows)
        delete window.data();
}

QtWindow *QtFrontEnd::WindowOf(const platform::Form &form) const {
    auto found = m_windows.find(&form);
    return found == m_windows.end() ? nullptr : found->second.data();
}

void QtFrontEnd::Refresh() {
    if (m_refreshing)
        return;
    m_refreshing = true;
    const platform::Form *top = nullptr;
    for (platform::Form *form : m_program.LoadedForms()) {
        QtWindow *window = WindowOf(*form);
        if (!form->Visible()) {
            if (window)
                window->HideWindow();
            continue;
        }
        const bool created = window == nullptr;
        if (created) {
            window = new QtWindow(*form, *this);
            m_windows[form] = window;
        }
        window->Sync();
        top = form;
        if (created && !m_shotsOnLoad.isEmpty()) {
            QPointer<QtWindow> shown(window);
            QTimer::singleShot(100, this, [this, shown] {
                if (shown && shown->isVisible())
                    SaveGrab(*shown, m_shotsOnLoad, shown->form());
            });
        }
    }
    // A window that comes up (or is left on top when another goes) becomes the active one.
    if (top && top != m_top) {
        QtWindow *window = WindowOf(*top);
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            window->raise();
        window->activateWindow();
    }
    m_top = top;
    m_refreshing = false;
}

void QtFrontEnd::Unloaded(platform::Form &form) {
    auto found = m_windows.find(&form);
    if (found == m_windows.end())
        return;
    // The window may be in the middle of one of its own events: it goes once that is over.
    if (QtWindow *window = found->second.data()) {
        window->hide();
        window->deleteLater();
    }
    m_windows.erase(found);
    if (m_top == &form)
        m_top = nullptr;
}

void QtFrontEnd::FocusChanged(QWidget *now) {
    if (m_refreshing || m_program.InHandler() || now == nullptr)
        return;
    for (auto &[form, window] : m_windows) {
        if (window && window->isAncestorOf(now)) {
            if (platform::Control *control = window->ControlOf(now))
                control->SetFocus();
            return;
        }
    }
}

void QtFrontEnd::Tick() {
    const auto ms = static_cast<int>(m_elapsed.restart());
    if (ms > 0)
        m_program.TimePassed(ms);
}

void QtFrontEnd::SaveScreenshots(const QString &dir) const {
    for (const auto &[form, window] : m_windows)
        if (window && window->isVisible())
            SaveGrab(*window, dir, *form);
}

} // namespace vantreth::gui
