// Every window belongs to the window in front when it came up and stays above it; a window
// whose owner goes away, is hidden or is minimised by the program passes to the window in
// front, and a window with no owner left is a window of its own.
#include "gui_fixture.h"

#include "checkin/checkin_fixture.h"
#include "checkin/form14.h"
#include "checkin/form15.h"
#include "checkin/form2.h"

#include <QDialog>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

namespace vantreth::testing {
namespace {

// True when `window` is on screen tied to `owner` (null: to no window).
::testing::AssertionResult BelongsTo(const gui::QtWindow* window, const gui::QtWindow* owner) {
    if (window == nullptr || !window->isVisible())
        return ::testing::AssertionFailure() << "the window is not on screen";
    const QWindow* handle = window->windowHandle();
    const QWindow* tiedTo = handle ? handle->transientParent() : nullptr;
    const QWindow* expected = owner ? owner->windowHandle() : nullptr;
    if (window->owner() != owner || tiedTo != expected)
        return ::testing::AssertionFailure()
               << "tied to " << (tiedTo ? tiedTo->title().toStdString() : "no window") << ", expected "
               << (owner ? owner->windowTitle().toStdString() : "no window");
    const bool dialog = window->windowType() == Qt::Dialog;
    if (dialog != (owner != nullptr))
        return ::testing::AssertionFailure() << "window type " << window->windowType();
    return ::testing::AssertionSuccess();
}

using WindowOwnerTest = GuiProgramFixture;

TEST_F(WindowOwnerTest, AWindowBelongsToTheWindowTheClerkOpenedItFrom) {
    Window("A").on_load = [this] { program().Load("C"); };
    Window("A").on_open = [this] { program().Load("B"); };
    Window("C").on_open = [this] { program().Load("D"); };
    program().Start("A");
    ClickOpen("A");
    EXPECT_TRUE(BelongsTo(Shown("A"), nullptr));
    EXPECT_TRUE(BelongsTo(Shown("C"), Shown("A")));
    EXPECT_TRUE(BelongsTo(Shown("B"), Shown("A")));
    // Back in C, which is behind B now: what C opens belongs to C.
    ClickOpen("C");
    EXPECT_TRUE(BelongsTo(Shown("D"), Shown("C")));
}

// The keyboard stays where the clerk must answer: an owner none of whose controls can take
// a key hands its activation to the window in front of it, and while a box is up every
// window hands it to the box.
TEST_F(WindowOwnerTest, TheOwnerOfTheQuestionNeverTakesTheKeyboard) {
    Window("A").on_open = [this] {
        program().Load("B");
        Window("A").Open.SetEnabled(false);
    };
    program().Start("A");
    ClickOpen("A");
    ASSERT_TRUE(BelongsTo(Shown("B"), Shown("A")));
    ASSERT_TRUE(RunUntil([this] { return QApplication::activeWindow() == Shown("B"); }));
    Shown("A")->activateWindow(); // the clerk clicks the greyed owner
    RunUntil([] { return false; }, 100);
    EXPECT_EQ(QApplication::activeWindow(), Shown("B"));

    QWidget* activeUnderBox = nullptr;
    Window("B").on_open = [this, &activeUnderBox] {
        QTimer::singleShot(50, [this, &activeUnderBox] {
            Shown("B")->activateWindow();
            RunUntil([] { return false; }, 100);
            activeUnderBox = QApplication::activeWindow();
            if (QWidget* box = dialogs().OpenBox())
                static_cast<QDialog*>(box)->reject();
        });
        Window("B").MsgBox("Duplicate?", platform::vbYesNo, "Question");
    };
    ClickOpen("B");
    ASSERT_NE(activeUnderBox, nullptr);
    EXPECT_NE(activeUnderBox, Shown("B")) << "the window under the box took the keyboard";
}

TEST_F(WindowOwnerTest, AWindowOpenedWhileItsOpenerGoesBelongsToTheWindowInFront) {
    Window("A").on_open = [this] { program().Load("B"); };
    Window("B").on_open = [this] {
        program().Load("C");
        program().Unload(Window("B"));
    };
    program().Start("A");
    ClickOpen("A");
    ClickOpen("B");
    EXPECT_TRUE(BelongsTo(Shown("C"), Shown("A")));
}

TEST_F(WindowOwnerTest, AnOwnerThatGoesAwayOrHidesHandsItsWindowsOn) {
    struct Case {
        const char* what;
        std::function<void(platform::Program&, platform::Form&)> leave;
    };
    const Case cases[] = {
        {"unloaded", [](platform::Program& program, platform::Form& b) { program.Unload(b); }},
        {"hidden", [](platform::Program&, platform::Form& b) { b.Hide(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Window("A").on_open = [this] { program().Load("B"); };
        Window("B").on_open = [this] { program().Load("C"); };
        Window("C").on_open = [this, &c] { c.leave(program(), Window("B")); };
        if (!program().Started())
            program().Start("A");
        ClickOpen("A");
        ClickOpen("B");
        ASSERT_TRUE(BelongsTo(Shown("C"), Shown("B")));
        const QPoint placed = Shown("C")->pos();
        ClickOpen("C");
        EXPECT_TRUE(BelongsTo(Shown("C"), Shown("A")));
        EXPECT_EQ(Shown("C")->pos(), placed) << "handed on where it was";
        program().Dispatch([this] {
            program().Unload(Window("C"));
            program().Unload(Window("B"));
        });
    }
}

TEST_F(WindowOwnerTest, AnOwnerMinimisedByTheProgramLeavesItsWindowsOnTheScreen) {
    // B minimises its opener as it comes up; C, opened from B, makes B wait minimised.
    Window("A").on_open = [this] { program().Load("B"); };
    Window("B").on_load = [this] { Window("A").SetWindowState(platform::WindowState::Minimized); };
    Window("B").on_open = [this] {
        program().Load("C");
        Window("B").SetWindowState(platform::WindowState::Minimized);
    };
    program().Start("A");
    ClickOpen("A");
    EXPECT_TRUE(BelongsTo(Shown("B"), nullptr)) << "no window left in front to belong to";
    ClickOpen("B");
    EXPECT_TRUE(BelongsTo(Shown("C"), nullptr));
    EXPECT_TRUE(Shown("C")->isVisible());
}

TEST_F(WindowOwnerTest, AWindowMinimisedByTheClerkKeepsItsWindows) {
    Window("A").on_open = [this] { program().Load("B"); };
    program().Start("A");
    ClickOpen("A");
    ASSERT_TRUE(BelongsTo(Shown("B"), Shown("A")));
    Shown("A")->showMinimized(); // the title bar's button
    ASSERT_EQ(Window("A").windowState(), platform::WindowState::Minimized);
    program().Dispatch([] {});
    EXPECT_TRUE(BelongsTo(Shown("B"), Shown("A")));
}

// ---------------------------------------------------------------------------
// The check-in window: History and "Duplicate?" stay above it.

class CheckInWindowOwnerTest : public CheckInFixture {
protected:
    CheckInWindowOwnerTest() : m_frontEnd(std::make_unique<gui::QtFrontEnd>(app())) {}
    ~CheckInWindowOwnerTest() override { m_frontEnd.reset(); }
    gui::QtWindow* Shown(const platform::Form& form) { return m_frontEnd->WindowOf(form); }

    std::unique_ptr<gui::QtFrontEnd> m_frontEnd;
};

TEST_F(CheckInWindowOwnerTest, HistoryAndDuplicateBelongToTheCheckInWindow) {
    StartProgram();
    QPushButton* checkInButton = ButtonOf(Shown(Form<Form1>()), "Command1");
    ASSERT_NE(checkInButton, nullptr);
    checkInButton->click();
    ASSERT_TRUE(IsLoaded("form2"));
    EXPECT_TRUE(BelongsTo(Shown(Form<Form14>()), Shown(checkIn())));
    Form<Form14>().Command2.UserClick(); // "Cancel / Esc"
    FillIn();

    dialogs().Answer(platform::vbYes);
    dialogs().Input("");
    QPushButton* checkInNow = ButtonOf(Shown(checkIn()), "Command2");
    ASSERT_NE(checkInNow, nullptr);
    checkInNow->click();
    ExpectNoPendingAnswers();
    ASSERT_TRUE(IsLoaded("Form15"));
    EXPECT_TRUE(BelongsTo(Shown(Form<Form15>()), Shown(checkIn())));

    // A click on the greyed check-in window leaves "Duplicate?" tied to it, in front.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Shown(checkIn()), &press);
    EXPECT_TRUE(BelongsTo(Shown(Form<Form15>()), Shown(checkIn())));
    EXPECT_EQ(m_frontEnd->FrontWindow(), Shown(Form<Form15>()));
}

} // namespace
} // namespace vantreth::testing
