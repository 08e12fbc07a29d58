// A box's default text, whether the program wrote it or the window has it from its design,
// is typed over when the clerk comes into the box with Tab or Shift+Tab on screen.
#include "gui_fixture.h"

#include "callacct/form60.h"
#include "checkin/form2.h"
#include "reservations/form26.h"

#include <algorithm>
#include <iterator>

namespace vantreth::testing {
namespace {

class DefaultTextTest : public AppFixture {
protected:
    DefaultTextTest() : m_frontEnd(std::make_unique<gui::QtFrontEnd>(app())) {}
    ~DefaultTextTest() override { m_frontEnd.reset(); }
    std::unique_ptr<gui::QtFrontEnd> m_frontEnd;
};

// The control next to `box` in tab order that takes the focus now (before it, or after it).
platform::Control* Neighbour(platform::Form& form, const platform::Control& box, bool before) {
    const auto& controls = form.Controls();
    const auto at = std::find(controls.begin(), controls.end(), &box);
    const auto takes = [](const platform::Control* c) { return c->TakesFocus() && c->Usable(); };
    if (before) {
        auto found = std::find_if(std::make_reverse_iterator(at), controls.rend(), takes);
        return found == controls.rend() ? nullptr : *found;
    }
    auto found = std::find_if(at + 1, controls.end(), takes);
    return found == controls.end() ? nullptr : *found;
}

TEST_F(DefaultTextTest, ADefaultFromTheDesignIsTypedOverAfterTabOrShiftTab) {
    StartProgram();
    struct Case {
        const char* window;
        const char* box; // its text from the design
        bool backwards;  // Shift+Tab from the control after the box
    };
    const Case cases[] = {{form2::kName, "Text1", false},
                          {form2::kName, "Text1", true},
                          {Form26::kName, "Text1", false},
                          {Form26::kName, "Text1", true},
                          {Form60::kName, "Combo1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window) + (c.backwards ? " Shift+Tab" : " Tab"));
        platform::Form& form = app().Get(c.window);
        app().Dispatch([&] { app().Load(form); });
        platform::Control& box = *form.Find(c.box);
        ASSERT_EQ(box.ValueText(), box.design().caption);
        platform::Control* from = Neighbour(form, box, !c.backwards);
        ASSERT_NE(from, nullptr);
        app().Dispatch([&] { from->SetFocus(); });
        gui::QtWindow* window = m_frontEnd->WindowOf(form);
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(RunUntil([&] { return QApplication::focusWidget() == window->WidgetOf(from); }));
        Press(QApplication::focusWidget(),
              c.backwards ? Key(Qt::Key_Backtab, Qt::ShiftModifier) : Key(Qt::Key_Tab));
        ASSERT_TRUE(RunUntil([&] { return box.HasFocus(); }));
        QApplication::processEvents();
        Press(QApplication::focusWidget(), "3");
        EXPECT_EQ(box.ValueText(), "3");
        app().Dispatch([&] { app().Unload(form); });
    }
}

} // namespace
} // namespace vantreth::testing
