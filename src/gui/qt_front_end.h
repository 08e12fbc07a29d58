// The program's windows on screen: one QtWindow for every loaded, visible form, refreshed
// from the model after every event and before every message box, and the clock that
// makes the forms' timers tick.
#pragma once

#include "platform/program.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>

namespace vantreth::gui {

class QtWindow;

class QtFrontEnd final : public QObject {
  public:
    explicit QtFrontEnd(platform::Program &program);
    ~QtFrontEnd() override;
    QtFrontEnd(const QtFrontEnd &) = delete;
    QtFrontEnd &operator=(const QtFrontEnd &) = delete;

    platform::Program &program() const { return m_program; }
    // Brings every window in line with the model.
    void Refresh();
    // True while Refresh writes into the widgets (their signals are not the clerk's).
    bool Refreshing() const { return m_refreshing; }
    // True once the last window is gone.
    bool Ended() const { return m_ended; }
    // The window of the form, or null when it is not on screen.
    QtWindow *WindowOf(const platform::Form &form) const;
    // Saves a picture of every window on screen as DIR/<FormName>.png.
    void SaveScreenshots(const QString &dir) const;
    // Also save a picture of each window as it first comes up (empty: do not).
    void SetScreenshotOnLoad(const QString &dir) { m_shotsOnLoad = dir; }

    std::function<void()> on_ended;

  private:
    void Unloaded(platform::Form &form);
    void FocusChanged(QWidget *now);
    void Tick();

    platform::Program &m_program;
    std::map<const platform::Form *, QPointer<QtWindow>> m_windows;
    const platform::Form *m_top = nullptr; // the window last made active
    QTimer m_tick;
    QElapsedTimer m_elapsed;
    bool m_refreshing = false;
    bool m_ended = false;
    QString m_shotsOnLoad;
};

} // namespace vantreth::gui
