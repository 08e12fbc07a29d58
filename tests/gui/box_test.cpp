// Message and input boxes belong to the window in front (or to the box already up), and
// the windows' timers go on ticking while a box is up, also a box a timer raised.
#include "gui_fixture.h"

#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

namespace vantreth::testing {
namespace {

// What became of one box the test answered.
struct Answered {
    QWidget* owner = nullptr;
    QWindow* tiedTo = nullptr;
    QString title;
    QString ownerTitle;
};

class BoxTest : public GuiProgramFixture {
protected:
    // Answers every box once it is up: a message box with its default button, an input box
    // with `typed`; when `ready` is set, only once it says so (or 3 seconds have passed).
    void AnswerBoxes(const QString& typed = QString()) {
        m_waiting.start();
        m_answerer.setInterval(5);
        QObject::connect(&m_answerer, &QTimer::timeout, [this, typed] {
            QWidget* box = dialogs().OpenBox();
            if (box == nullptr || !box->isVisible())
                return;
            // A box never ready is answered all the same after 3 seconds, for the checks.
            if (ready && !ready() && m_waiting.elapsed() < 3000)
                return;
            QWidget* owner = box->parentWidget();
            m_answered.push_back({owner, box->windowHandle()->transientParent(), box->windowTitle(),
                                  owner ? owner->windowTitle() : QString()});
            if (auto* input = qobject_cast<QInputDialog*>(box)) {
                input->setTextValue(typed);
                input->accept();
            } else if (auto* message = qobject_cast<QMessageBox*>(box)) {
                message->defaultButton() ? message->defaultButton()->click() : message->accept();
            }
        });
        m_answerer.start();
    }

    std::function<bool()> ready;
    std::vector<Answered> m_answered;

private:
    QTimer m_answerer;
    QElapsedTimer m_waiting;
};

TEST_F(BoxTest, ABoxBelongsToTheWindowThatRaisedIt) {
    std::string typed;
    platform::MsgBoxResult answer = platform::vbNo;
    Window("A").on_open = [this] { program().Load("B"); };
    Window("B").on_open = [this, &answer, &typed] {
        answer = Window("B").MsgBox("Sure?", platform::vbYesNo, "Question");
        typed = Window("B").InputBox("Amount?", "Deposit");
    };
    program().Start("A");
    ClickOpen("A");
    AnswerBoxes("12.50");
    ClickOpen("B");
    ASSERT_EQ(m_answered.size(), 2u);
    for (const Answered& box : m_answered) {
        SCOPED_TRACE(box.title.toStdString());
        EXPECT_EQ(box.owner, Shown("B"));
        EXPECT_EQ(box.tiedTo, Shown("B")->windowHandle());
    }
    EXPECT_EQ(answer, platform::vbYes);
    EXPECT_EQ(typed, "12.50");
}

TEST_F(BoxTest, TimersTickWhileABoxATimerRaisedIsUp) {
    int ticks = 0;
    int ticksWhenAnswered = -1;
    Window("A").on_open = [this] { program().Load("B"); };
    Window("A").on_tick = [this, &ticks, &ticksWhenAnswered] {
        if (++ticks == 1) {
            Window("A").MsgBox("The call box stopped.", platform::vbOKOnly, "Call Accounting");
            ticksWhenAnswered = ticks;
        }
    };
    program().Start("A");
    ClickOpen("A"); // B is in front of A when the box comes
    Window("A").Timer1.SetInterval(10);
    Window("A").Timer1.SetEnabled(true);
    ready = [&ticks] { return ticks >= 6; };
    AnswerBoxes();
    ASSERT_TRUE(RunUntil([&] { return ticksWhenAnswered >= 0; }, 4000))
        << "the box was not answered: " << ticks << " tick(s) while it was up";
    EXPECT_GE(ticksWhenAnswered, 6);
    ASSERT_EQ(m_answered.size(), 1u);
    EXPECT_EQ(m_answered[0].owner, Shown("B")) << "a box from a timer belongs to the window in front";
}

// A box idles like the desk: the program wakes for the timers that are due, not to poll.
TEST_F(BoxTest, WhileABoxIsUpTheProgramWakesOnlyForTheTimersDue) {
    struct Wakes final : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Timer;
            return false;
        }
    } wakes;
    int ticks = 0;
    Window("A").on_tick = [&ticks] { ++ticks; };
    Window("A").on_open = [this, &wakes] {
        QTimer::singleShot(1000, [this] {
            if (QWidget* box = dialogs().OpenBox())
                static_cast<QDialog*>(box)->accept();
        });
        qApp->installEventFilter(&wakes);
        Window("A").MsgBox("Wait", platform::vbOKOnly, "Box");
        qApp->removeEventFilter(&wakes);
    };
    program().Start("A");
    Window("A").Timer1.SetInterval(250);
    Window("A").Timer1.SetEnabled(true);
    ClickOpen("A");
    EXPECT_GE(ticks, 3) << "the timer ticks under the box";
    EXPECT_LE(wakes.count, 12) << "wake-ups in the second the box was up";
}

TEST_F(BoxTest, ABoxRaisedWhileAnotherIsUpBelongsToThatBox) {
    int ticks = 0;
    Window("A").on_open = [this, &ticks] {
        Window("A").Timer1.SetInterval(10);
        Window("A").Timer1.SetEnabled(true);
        Window("A").MsgBox("First", platform::vbOKOnly, "First");
        Window("A").Timer1.SetEnabled(false);
    };
    Window("A").on_tick = [this, &ticks] {
        if (++ticks == 1)
            Window("A").MsgBox("Second", platform::vbOKOnly, "Second");
    };
    program().Start("A");
    // "First" waits until the timer has raised "Second" over it and that was answered.
    ready = [this] {
        return dialogs().OpenBox()->windowTitle() == QLatin1String("Second") ||
               (!m_answered.empty() && m_answered.back().title == QLatin1String("Second"));
    };
    AnswerBoxes();
    ClickOpen("A");
    ASSERT_EQ(m_answered.size(), 2u);
    EXPECT_EQ(m_answered[0].title, QLatin1String("Second"));
    EXPECT_EQ(m_answered[0].ownerTitle, QLatin1String("First"));
    EXPECT_EQ(m_answered[1].title, QLatin1String("First"));
    EXPECT_EQ(m_answered[1].owner, Shown("A"));
}

} // namespace
} // namespace vantreth::testing
