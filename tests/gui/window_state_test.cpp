// The close box asks the window, which decides whether it goes; the window state the
// program sets is shown, and the one the clerk sets with the title bar is the model's.
#include "gui_fixture.h"

#include <QWindow>

namespace vantreth::testing {
namespace {

using WindowStateTest = GuiProgramFixture;

TEST_F(WindowStateTest, TheCloseBoxUnloadsTheWindowUnlessTheWindowKeepsIt) {
    struct Case {
        const char* what;
        bool keep;
    };
    const Case cases[] = {{"a window that lets go", false}, {"a window that stays", true}};
    Window("A").on_open = [this] { program().Load("B"); };
    program().Start("A");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int asked = 0;
        Window("B").on_close = c.keep ? std::function<void()>([&asked] { ++asked; }) : nullptr;
        ClickOpen("A");
        ASSERT_NE(Shown("B"), nullptr);
        Shown("B")->windowHandle()->close(); // the title bar's close box
        EXPECT_EQ(program().IsLoaded("B"), c.keep);
        EXPECT_EQ(Shown("B") != nullptr && Shown("B")->isVisible(), c.keep) << "on screen";
        EXPECT_EQ(asked, c.keep ? 1 : 0);
        EXPECT_TRUE(program().IsLoaded("A"));
        program().Dispatch([this] { program().Unload("B"); });
        RunUntil([] { return false; }, 20); // the window that went is deleted
    }
}

TEST_F(WindowStateTest, TheProgramsStateIsShownAndTheClerksIsTheModels) {
    struct Case {
        platform::WindowState state;
        Qt::WindowState shown;
        void (QWidget::*clerk)(); // the title bar's button
    };
    const Case cases[] = {
        {platform::WindowState::Maximized, Qt::WindowMaximized, &QWidget::showMaximized},
        {platform::WindowState::Minimized, Qt::WindowMinimized, &QWidget::showMinimized},
        {platform::WindowState::Normal, Qt::WindowNoState, &QWidget::showNormal},
    };
    constexpr Qt::WindowStates kStates = Qt::WindowMaximized | Qt::WindowMinimized;
    program().Start("A");
    gui::QtWindow* window = Shown("A");
    ASSERT_NE(window, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        program().Dispatch([&] { Window("A").SetWindowState(c.state); });
        EXPECT_EQ(window->windowState() & kStates, c.shown) << "set by the program";
        program().Dispatch([&] { Window("A").SetWindowState(platform::WindowState::Normal); });
        EXPECT_EQ(window->windowState() & kStates, Qt::WindowNoState);

        (window->*c.clerk)();
        EXPECT_EQ(Window("A").windowState(), c.state) << "set by the clerk";
        program().Dispatch([] {});
        EXPECT_EQ(window->windowState() & kStates, c.shown) << "kept after the next event";
        window->showNormal();
        EXPECT_EQ(Window("A").windowState(), platform::WindowState::Normal);
    }
}

} // namespace
} // namespace vantreth::testing
