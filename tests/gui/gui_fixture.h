// Small windows for the Qt layer's tests: a program of test windows on screen through the
// real front end, with real Qt boxes, and helpers that run the event loop.
#pragma once

#include "gui/qt_dialogs.h"
#include "gui/qt_front_end.h"
#include "gui/qt_window.h"
#include "platform/program.h"
#include "records/filenames.h"
#include "support/app_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vantreth::testing {

// Runs the event loop until `done` is true or `ms` have passed; true when it got done.
inline bool RunUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The button of the window that shows the control named `name`.
inline QPushButton* ButtonOf(const gui::QtWindow* window, const char* name) {
    return window ? window->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr;
}

// A key the clerk presses: a key with its modifiers, or the characters of a text typed one
// by one.
struct Key {
    Key(const char* typed) : text(QString::fromUtf8(typed)) {}
    Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) : key(key), modifiers(modifiers) {}
    int key = 0;
    QString text;
    Qt::KeyboardModifiers modifiers;
};

// Presses and releases the key on the widget, as the window system hands it over.
inline void Press(QWidget* widget, const Key& key) {
    auto send = [widget](int code, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        QApplication::sendEvent(widget, &release);
    };
    if (key.text.isEmpty())
        send(key.key, key.modifiers, QString());
    for (const QChar c : key.text)
        send(c.toUpper().unicode(), key.modifiers, QString(c));
}

// A test window: a button whose click runs `on_open`, and a timer (off until a test sets
// its interval) whose ticks run `on_tick`.
class TestWindow final : public platform::Form {
public:
    TestWindow(platform::Program& program, const std::string& name, platform::Rect at)
        : Form(program, name, name, at) {
        Open.on_click = [this] {
            if (on_open)
                on_open();
        };
        Timer1.on_timer = [this] {
            if (on_tick)
                on_tick();
        };
    }

    platform::CommandButton Open{*this, "Open", {.caption = "Open", .at = {8, 8, 90, 26}}};
    platform::Timer Timer1{*this, "Timer1", {.enabled = false}};
    std::function<void()> on_load;
    std::function<void()> on_open;
    std::function<void()> on_tick;
    std::function<void()> on_close; // the close box; none: the window unloads

protected:
    void Form_Load() override {
        Show();
        if (on_load)
            on_load();
    }
    void Form_QueryClose() override {
        if (on_close)
            on_close();
        else
            Form::Form_QueryClose();
    }
};

// A program of test windows "A", "B", "C" and "D" on a fresh folder, shown by the front end,
// with real Qt boxes.
class GuiProgramFixture : public ::testing::Test {
protected:
    GuiProgramFixture() {
        platform::Services services;
        services.clock = &m_clock;
        services.dialogs = &m_dialogs;
        services.printer = &m_printer;
        services.shell = &m_shell;
        services.dataRoot = m_folder.path();
        platform::DataFolder(m_folder.path(), nullptr).EnsureLayout(records::DataSubFolders());
        m_program = std::make_unique<platform::Program>(services);
        int x = 40;
        for (const char* name : {"A", "B", "C", "D"}) {
            m_program->Register(name, [name, x](platform::Program& program) {
                return std::make_unique<TestWindow>(program, name, platform::Rect{x, 60, 240, 160});
            });
            x += 60;
        }
        m_frontEnd = std::make_unique<gui::QtFrontEnd>(*m_program);
        m_dialogs.SetFrontWindow([this]() -> QWidget* { return m_frontEnd->FrontWindow(); });
    }
    ~GuiProgramFixture() override {
        m_frontEnd.reset();
        m_program.reset();
    }

    platform::Program& program() { return *m_program; }
    gui::QtFrontEnd& frontEnd() { return *m_frontEnd; }
    gui::QtDialogs& dialogs() { return m_dialogs; }
    TestWindow& Window(const char* name) { return static_cast<TestWindow&>(m_program->Get(name)); }
    gui::QtWindow* Shown(const char* name) { return m_frontEnd->WindowOf(m_program->Get(name)); }
    // The clerk clicks the window's button.
    void ClickOpen(const char* name) {
        QPushButton* button = ButtonOf(Shown(name), "Open");
        ASSERT_NE(button, nullptr) << name << " is not on screen";
        button->click();
    }

private:
    TempFolder m_folder;
    platform::FakeClock m_clock;
    gui::QtDialogs m_dialogs;
    platform::CapturePrinter m_printer;
    platform::RecordingShell m_shell;
    std::unique_ptr<platform::Program> m_program;
    std::unique_ptr<gui::QtFrontEnd> m_frontEnd;
};

} // namespace vantreth::testing
