// A window the program places partly off the screen is moved onto it.
#include "gui_fixture.h"

#include <QScreen>

namespace vantreth::testing {
namespace {

TEST(MovedOntoScreen, MovesAFrameAsLittleAsItTakes) {
    const QRect screen(0, 0, 1024, 768);
    struct Case {
        QRect frame;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 100, 300, 200}, {100, 100}}, // on the screen already
        {{200, 120, 870, 420}, {154, 120}}, // History at 1024x768: off the right edge
        {{620, 140, 490, 390}, {534, 140}}, // the Totals Report day chooser
        {{900, 700, 200, 100}, {824, 668}}, // off the right and the bottom
        {{-50, -20, 200, 100}, {0, 0}},     // off the left and the top
        {{300, 10, 1200, 900}, {0, 0}},     // larger than the screen: its top left on it
    };
    for (const Case& c : cases)
        EXPECT_EQ(gui::MovedOntoScreen(c.frame, screen), c.expected) << c.frame.x() << "," << c.frame.y();
    EXPECT_EQ(gui::MovedOntoScreen({1100, 50, 200, 100}, QRect(1024, 0, 1280, 1024)), QPoint(1100, 50))
        << "a second screen";
}

class ScreenTest : public AppFixture {
protected:
    ScreenTest() : m_frontEnd(std::make_unique<gui::QtFrontEnd>(app())) {}
    ~ScreenTest() override { m_frontEnd.reset(); }
    std::unique_ptr<gui::QtFrontEnd> m_frontEnd;
};

TEST_F(ScreenTest, HistoryAndTheTotalsDayChooserComeUpOnTheScreen) {
    StartProgram();
    for (const char* name : {"Form14", "Form49"}) {
        SCOPED_TRACE(name);
        platform::Form& form = app().Get(name);
        app().Dispatch([&] { app().Load(form); });
        const gui::QtWindow* window = m_frontEnd->WindowOf(form);
        ASSERT_NE(window, nullptr);
        const QRect screen = window->screen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        ASSERT_GT(form.At().x + frame.width(), screen.right() + 1) << "placed on the screen to begin with";
        if (frame.width() <= screen.width())
            EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width();
        else
            EXPECT_EQ(frame.left(), screen.left());
        EXPECT_EQ(frame.top(), form.At().y) << "moved only as far as it takes";
        app().Dispatch([&] { app().Unload(form); });
    }
}

} // namespace
} // namespace vantreth::testing
