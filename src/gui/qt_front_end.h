// The program's windows on screen: one QtWindow for every loaded, visible form, refreshed
// from the model after every event and before every message box, and the clock that
// makes the forms' timers tick.
//
// The clock wakes up only when a timer or background task is due, and the windows redraw
// only what changed, so that the program takes no time while the clerk does nothing. A
// timer resting until a port has characters to read (the call box's) is woken when the
// port has some.
//
// Every window belongs to the window that was in front when it came up (the window the
// clerk was working in, or one the same event put up before it): it is transient for that
// window and stays above it. Message and input boxes belong to the window in front. A
// window whose owner goes away, is hidden or is minimised by the program passes to the
// window then in front, so that nothing the clerk must answer can hide behind another.
#pragma once

#include "platform/program.h"

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace vantreth::gui {

class QtWindow;

class QtFrontEnd final : public QObject {
public:
    explicit QtFrontEnd(platform::Program& program);
    ~QtFrontEnd() override;
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    platform::Program& program() const { return m_program; }
    // Brings every window in line with the model.
    void Refresh();
    // True while Refresh writes into the widgets (their signals are not the clerk's).
    bool Refreshing() const { return m_refreshing; }
    // True once the last window is gone.
    bool Ended() const { return m_ended; }
    // The window of the form, or null when it is not on screen.
    QtWindow* WindowOf(const platform::Form& form) const;
    // The window the form's window belongs to, or null.
    QtWindow* OwnerOf(const platform::Form& form) const;
    // The window in front that a message or input box belongs to: the front-most window on
    // screen that is not minimised, or null when there is none.
    QtWindow* FrontWindow() const;
    // The front-most window on screen that belongs to the form's window (directly or through
    // another), or null.
    QtWindow* FrontWindowOwnedBy(const platform::Form& form) const;
    // The clerk acts in the form's window (a key, a click): it is in front from now on.
    void ClerkActsIn(const platform::Form& form);
    // The form's window came in front: the window system activated it, or the program
    // brought it to the front.
    void CameToFront(const platform::Form& form);
    // Lets the time that passed since the last call go by for the forms' timers. The front
    // end's clock calls it, also while a message or input box is up (it runs in the box's
    // event loop).
    void KeepTime();
    // Sets the clock to wake up when the next timer is due (or not at all), and watches the
    // ports the resting timers wait on.
    void ScheduleTick();
    // Whether the clock is set to wake up: some timer or background task is due.
    bool ClockSet() const { return m_tick.isActive(); }
    // The frame the window system put around the last window it framed (none before).
    const QMargins& FrameMargins() const { return m_frameMargins; }
    void SetFrameMargins(const QMargins& margins) { m_frameMargins = margins; }
    // Saves a picture of every window on screen as DIR/<FormName>.png.
    void SaveScreenshots(const QString& dir) const;
    // Also save a picture of each window as it first comes up (empty: do not).
    void SetScreenshotOnLoad(const QString& dir) { m_shotsOnLoad = dir; }

    std::function<void()> on_ended;

private:
    void Unloaded(platform::Form& form);
    void FocusChanged(QWidget* now);
    void BringToFront(const platform::Form& form);
    // Whether the form's window can have windows of its own: it is loaded and shown, and
    // not minimised by the program.
    bool CanOwn(const platform::Form& form) const;
    // The front-most window that can own the form's window, leaving out the form's own
    // window and every window that belongs to it; null when there is none.
    const platform::Form* FrontOwnerFor(const platform::Form& form) const;
    bool BelongsTo(const platform::Form& form, const platform::Form& owner) const;
    // The timers of the loaded windows.
    template <class Visit> void ForEachTimer(Visit visit) const;
    void WatchPorts();
    // A port a resting timer waits on has characters to read: the timer wakes.
    void PortReadable(int fd);

    platform::Program& m_program;
    std::map<const platform::Form*, QPointer<QtWindow>> m_windows;
    std::map<const platform::Form*, const platform::Form*> m_owners;
    std::vector<const platform::Form*> m_front; // windows on screen, the front-most last
    std::vector<QPointer<QtWindow>> m_leaving;  // unloaded, to be deleted by the event loop
    const platform::Form* m_top = nullptr;      // the window last made active
    QTimer m_tick;
    QElapsedTimer m_elapsed;                                 // since time last passed for the timers
    bool m_armed = false;                                    // a timer or background task is due
    std::map<int, std::unique_ptr<QSocketNotifier>> m_ports; // descriptor -> its watch
    bool m_refreshing = false;
    bool m_ended = false;
    QMargins m_frameMargins;
    QString m_shotsOnLoad;
};

} // namespace vantreth::gui
