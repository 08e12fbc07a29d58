// The program's self-test; see qt_self_test.h.
#include "qt_self_test.h"

#include "qt_dialogs.h"
#include "qt_front_end.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace vantreth::gui {

namespace {

constexpr int kTimeLimitMs = 20000;

QWidget* VisibleWindow(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title)
            return widget;
    return nullptr;
}

QPushButton* Button(QWidget* window, const QString& text) {
    if (window == nullptr)
        return nullptr;
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

void QtSelfTest::Schedule() {
    QTimer::singleShot(0, [this] { Run(); });
    QTimer::singleShot(kTimeLimitMs, [this] {
        if (m_done)
            return;
        Check(false, "the checks finished within 20 seconds");
        Finish();
    });
}

bool QtSelfTest::Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!ok && m_failure.empty())
        m_failure = what;
    return ok;
}

void QtSelfTest::Run() {
    QApplication::processEvents();
    Check(m_dialogs.unattendedBoxes().empty(), "no message box came up while the program started");
    QWidget* frontDesk = VisibleWindow(QStringLiteral("Front Desk"));
    Check(frontDesk != nullptr, "the \"Front Desk\" window is shown");
    Check(VisibleWindow(QStringLiteral("Greetings")) != nullptr, "the \"Greetings\" window is shown");
    QPushButton* exit = Button(frontDesk, QStringLiteral("EXIT VANTRETH"));
    if (Check(exit != nullptr && exit->isVisible() && exit->isEnabled(),
              "the front desk has an \"EXIT VANTRETH\" button that can be clicked")) {
        exit->click();
        QApplication::processEvents();
        std::string left;
        for (const platform::Form* form : m_frontEnd.program().LoadedForms())
            left += " " + form->Name();
        Check(m_frontEnd.Ended() && m_frontEnd.program().Ended(),
              "the program ended after \"EXIT VANTRETH\"" +
                  (left.empty() ? "" : " (still loaded:" + left + ")"));
        Check(VisibleWindow(QStringLiteral("Front Desk")) == nullptr, "the \"Front Desk\" window is gone");
    }
    Finish();
}

void QtSelfTest::Finish() {
    m_done = true;
    if (m_failure.empty())
        std::printf("self-test passed\n");
    else
        std::printf("self-test FAILED: %s\n", m_failure.c_str());
    std::fflush(stdout);
    QCoreApplication::exit(m_failure.empty() ? 0 : 1);
}

int QtSelfTest::Outcome() {
    if (!m_done) {
        Check(false, "the program kept running until the checks ran");
        Finish();
    }
    return m_failure.empty() ? 0 : 1;
}

} // namespace vantreth::gui
