// The clerk's keys and picks on the controls on screen reach the model, and the widgets
// then show what the model has: typing at the caret and over a selection, the keys of a
// list, a combo box's list opened by its handler and picked from.
#include "gui_fixture.h"

#include "gui/qt_printer.h"
#include "platform/text.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QStyleOption>

namespace vantreth::testing {
namespace {

class ControlsWindow final : public platform::Form {
public:
    static constexpr const char* kName = "Controls";
    explicit ControlsWindow(platform::Program& program) : Form(program, kName, kName, {60, 60, 420, 260}) {
        List1.on_click = [this] { ++listClicks; };
        List1.on_key_press = [this](int& KeyAscii) { listKeys.push_back(KeyAscii); };
        Combo1.on_drop_down = [this] {
            ++dropDowns;
            if (on_drop_down)
                on_drop_down();
        };
        Combo1.on_click = [this] { ++comboClicks; };
        Combo2.on_click = [this] { ++comboClicks; };
    }

    platform::TextBox Text1{*this, "Text1", {.at = {8, 8, 200, 24}}};
    platform::ListBox List1{*this, "List1", {.at = {8, 40, 200, 130}}};
    platform::ComboBox Combo1{*this, "Combo1", {.at = {220, 8, 150, 24}}};
    platform::ComboBox Combo2{
        *this, "Combo2", {.at = {220, 40, 150, 24}, .fixedFont = true, .listOnly = true}};
    platform::CheckBox Check1{*this, "Check1", {.caption = "Check", .at = {220, 72, 150, 24}}};
    platform::ListBox List2{*this, "List2", {.at = {220, 100, 150, 60}, .fixedFont = true}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Close", .at = {220, 200, 150, 28}}};
    platform::TextBox Text2{*this, "Text2", {.at = {8, 180, 200, 24}}};

    int listClicks = 0;
    std::vector<int> listKeys;
    int dropDowns = 0;
    int comboClicks = 0;
    std::function<void()> on_drop_down;

protected:
    void Form_Load() override { Show(); }
};

class ControlsTest : public GuiProgramFixture {
protected:
    ControlsTest() {
        program().Register(ControlsWindow::kName,
                           [](platform::Program& p) { return std::make_unique<ControlsWindow>(p); });
        program().Start(ControlsWindow::kName);
    }

    ControlsWindow& Controls() { return program().Get<ControlsWindow>(); }
    template <class W> W* Widget(const char* name) {
        gui::QtWindow* window = frontEnd().WindowOf(Controls());
        return window ? window->findChild<W*>(QString::fromLatin1(name)) : nullptr;
    }
    // Code of the window runs, as in an event of the program.
    void Do(const std::function<void(ControlsWindow&)>& code) {
        program().Dispatch([this, &code] { code(Controls()); });
    }
};

// ---------------------------------------------------------------------------
// The focus and the font of the lists

TEST_F(ControlsTest, WhereTheProgramMovesTheFocusItsRingShows) {
    for (const char* name : {"Check1", "List2", "Command1", "Text1"}) {
        Do([name](ControlsWindow& w) { w.Find(name)->SetFocus(); });
        QWidget* widget = Widget<QWidget>(name);
        ASSERT_TRUE(RunUntil([widget] { return widget->hasFocus(); })) << name;
        QStyleOption option;
        option.initFrom(widget);
        EXPECT_TRUE(option.state & QStyle::State_HasFocus) << name;
        EXPECT_TRUE(option.state & QStyle::State_KeyboardFocusChange) << name << ": no focus ring";
    }
}

TEST_F(ControlsTest, ListsOfColumnsShowInTheFixedPitchFontOfTheReports) {
    const QString fixed = QFontInfo(gui::FixedPitchFont(9)).family();
    for (const char* name : {"List2", "Combo2"}) {
        const QFontInfo font(Widget<QWidget>(name)->font());
        EXPECT_TRUE(font.fixedPitch()) << name;
        EXPECT_EQ(font.family(), fixed) << name;
    }
    EXPECT_NE(QFontInfo(Widget<QWidget>("List1")->font()).family(), fixed)
        << "a list of words keeps the window's font";
}

// ---------------------------------------------------------------------------
// Typing into a text box

TEST_F(ControlsTest, TypingGoesInAtTheCaretOrOverTheSelection) {
    struct Case {
        const char* what;
        std::string before;
        int start, length; // where the clerk put the caret; a negative length selects leftwards
        std::vector<Key> keys;
        std::string after; // as the program stores it
        int caret;
    };
    const Case cases[] = {
        {"at the end", "ABCD", 4, 0, {"xy"}, "ABCDxy", 6},
        {"at the caret", "ABCD", 1, 0, {"xy"}, "AxyBCD", 3},
        {"over a selection", "ABCDEF", 1, 3, {"z"}, "AzEF", 2},
        {"over a selection made leftwards", "ABCDEF", 4, -3, {"z"}, "AzEF", 2},
        {"Backspace at the caret", "ABCD", 2, 0, {Qt::Key_Backspace}, "ACD", 1},
        {"Backspace over a selection", "ABCDEF", 2, 2, {Qt::Key_Backspace}, "ABEF", 2},
        {"after Home", "ABCD", 4, 0, {Qt::Key_Home, "x"}, "xABCD", 1},
        {"after the arrows",
         "ABCD",
         4,
         0,
         {Qt::Key_Left, Qt::Key_Left, "x", Qt::Key_Right, "y"},
         "ABxCyD",
         5},
        {"over what Shift+End selected", "ABCD", 1, 0, {{Qt::Key_End, Qt::ShiftModifier}, "z"}, "Az", 2},
        {"a character outside ASCII", "caf", 3, 0, {"\xc3\xa9"}, "caf\xe9", 4},
    };
    auto* edit = Widget<QLineEdit>("Text1");
    ASSERT_NE(edit, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Do([&c](ControlsWindow& w) { w.Text1.SetText(c.before); });
        ASSERT_EQ(edit->text().toStdString(), c.before);
        if (c.length == 0)
            edit->setCursorPosition(c.start);
        else
            edit->setSelection(c.start, c.length);
        for (const Key& key : c.keys)
            Press(edit, key);
        EXPECT_EQ(Controls().Text1.Text(), c.after);
        EXPECT_EQ(Controls().Text1.SelStart(), c.caret);
        EXPECT_EQ(edit->text(), QString::fromStdString(platform::Cp1252ToUtf8(c.after))) << "on screen";
        EXPECT_EQ(edit->cursorPosition(), c.caret) << "on screen";
    }
}

// A text the program filled in shows selected when the focus comes by the keyboard or from
// code, and typing on screen replaces it, as in the model; the clerk's own text does not.
TEST_F(ControlsTest, AFilledInTextIsSelectedOnScreenWhenTheKeyboardBringsTheFocus) {
    const struct {
        const char* what;
        bool tab; // Tab on screen, else the Enter walk (code)
        bool filledByProgram;
        const char* after;
    } cases[] = {
        {"the Enter walk into a default", false, true, "15"},
        {"Tab into a default", true, true, "15"},
        {"the Enter walk into the clerk's text", false, false, "10.0015"},
        {"Tab into the clerk's text", true, false, "10.0015"},
    };
    auto* edit = Widget<QLineEdit>("Text2");
    ASSERT_NE(edit, nullptr);
    frontEnd().WindowOf(Controls())->activateWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Do([&c](ControlsWindow& w) {
            w.Text2.SetText(c.filledByProgram ? "10.00" : "");
            w.Text1.SetFocus();
        });
        if (!c.filledByProgram)
            Controls().Text2.UserTypeText("10.00");
        Do([](ControlsWindow& w) { w.Text1.SetFocus(); });
        if (c.tab) {
            edit->setFocus(Qt::TabFocusReason);
        } else {
            Do([](ControlsWindow& w) { w.Text2.SetFocus(); });
        }
        QApplication::processEvents();
        ASSERT_TRUE(Controls().Text2.HasFocus());
        EXPECT_EQ(edit->hasSelectedText(), c.filledByProgram) << "on screen";
        Press(edit, "15");
        EXPECT_EQ(Controls().Text2.Text(), c.after);
        EXPECT_EQ(edit->text().toStdString(), c.after) << "on screen";
    }
}

// ---------------------------------------------------------------------------
// The keys of a list box

TEST_F(ControlsTest, ListKeysMoveTheSelectionAndClickTheNewLine) {
    constexpr int kLines = 40;
    Do([](ControlsWindow& w) {
        for (int i = 1; i <= kLines; ++i)
            w.List1.AddItem("Line " + std::to_string(100 + i));
    });
    auto* list = Widget<QListWidget>("List1");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), kLines);
    // A page is as many lines as show whole.
    int page = 0;
    list->scrollToTop();
    while (page < kLines && list->viewport()->rect().contains(list->visualItemRect(list->item(page))))
        ++page;
    ASSERT_GT(page, 1);
    ASSERT_LT(page, kLines / 2);

    struct Case {
        const char* what;
        int from;
        Qt::Key key;
        int to, pages; // lands on `to` plus `pages` pages
    };
    const Case cases[] = {
        {"Down with none selected", -1, Qt::Key_Down, 0, 0},
        {"Up with none selected", -1, Qt::Key_Up, 0, 0},
        {"Down", 5, Qt::Key_Down, 6, 0},
        {"Up", 5, Qt::Key_Up, 4, 0},
        {"Up on the first line", 0, Qt::Key_Up, 0, 0},
        {"Down on the last line", kLines - 1, Qt::Key_Down, kLines - 1, 0},
        {"Home", 20, Qt::Key_Home, 0, 0},
        {"End", 3, Qt::Key_End, kLines - 1, 0},
        {"Page Down", 0, Qt::Key_PageDown, 0, 1},
        {"Page Up", kLines - 1, Qt::Key_PageUp, kLines - 1, -1},
        {"Page Up near the top", 1, Qt::Key_PageUp, 0, 0},
        {"Page Down near the end", kLines - 2, Qt::Key_PageDown, kLines - 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Do([&c](ControlsWindow& w) { w.List1.SetListIndex(c.from); });
        ASSERT_EQ(list->currentRow(), c.from);
        const int clicks = Controls().listClicks;
        Press(list, c.key);
        const int expected = c.to + c.pages * page;
        EXPECT_EQ(Controls().List1.ListIndex(), expected);
        EXPECT_EQ(Controls().listClicks - clicks, expected != c.from ? 1 : 0)
            << "a click for a new line only";
        EXPECT_EQ(list->currentRow(), expected) << "on screen";
    }

    // A typed character goes to the list's key handler and moves nothing.
    Do([](ControlsWindow& w) { w.List1.SetListIndex(7); });
    Press(list, Key("k"));
    EXPECT_EQ(Controls().listKeys, std::vector<int>{'k'});
    EXPECT_EQ(Controls().List1.ListIndex(), 7);
}

// ---------------------------------------------------------------------------
// Combo boxes

TEST_F(ControlsTest, TheDropDownHandlerFillsTheListBeforeItOpensAndAPickReachesTheModel) {
    Controls().on_drop_down = [this] {
        platform::ComboBox& combo = Controls().Combo1;
        combo.Clear();
        for (const char* room : {"101", "102", "103"})
            combo.AddItem(room);
    };
    struct Case {
        const char* what;
        std::function<void(QComboBox&)> open;
    };
    const Case cases[] = {
        {"the arrow", [](QComboBox& combo) { combo.showPopup(); }},
        {"F4", [](QComboBox& combo) { Press(&combo, Qt::Key_F4); }},
        {"Alt+Down",
         [](QComboBox& combo) {
             Press(&combo, {Qt::Key_Down, Qt::AltModifier});
         }},
    };
    auto* combo = Widget<QComboBox>("Combo1");
    ASSERT_NE(combo, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Do([](ControlsWindow& w) {
            w.Combo1.Clear();
            w.Combo1.SetText("");
            w.dropDowns = w.comboClicks = 0;
        });
        ASSERT_EQ(combo->count(), 0);
        c.open(*combo);
        EXPECT_EQ(Controls().dropDowns, 1);
        ASSERT_EQ(combo->count(), 3) << "filled before it opened";
        ASSERT_TRUE(combo->view()->isVisible()) << "the list is open";

        // The clerk moves to the last line of the open list and presses Enter.
        QAbstractItemView* view = combo->view();
        view->setCurrentIndex(view->model()->index(2, 0));
        Press(view, Qt::Key_Return);
        EXPECT_FALSE(view->isVisible());
        EXPECT_EQ(Controls().Combo1.Text(), "103");
        EXPECT_EQ(Controls().Combo1.ListIndex(), 2);
        EXPECT_EQ(Controls().comboClicks, 1);
        EXPECT_EQ(combo->currentText(), QStringLiteral("103")) << "on screen";
    }

    // A handler that disables the box keeps its list shut.
    Controls().on_drop_down = [this] { Controls().Combo1.SetEnabled(false); };
    combo->showPopup();
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_FALSE(combo->isEnabled());
}

TEST_F(ControlsTest, KeysOnAComboBoxTypeIntoItOrStepThroughItsList) {
    struct Case {
        const char* what;
        const char* name;
        std::vector<Key> keys;
        std::string text;
        int index;
        int clicks;
    };
    const Case cases[] = {
        {"typing into a box that takes typing", "Combo1", {"AB"}, "AB", -1, 0},
        {"Backspace", "Combo1", {"ABC", Qt::Key_Backspace}, "AB", -1, 0},
        {"typing into a pick-only box", "Combo2", {"AB"}, "", -1, 0},
        {"Down steps to the first item", "Combo2", {Qt::Key_Down}, "Cash", 0, 1},
        {"Down, Down, Up", "Combo2", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, "Cash", 0, 3},
        {"Down on a box that takes typing", "Combo1", {Qt::Key_Down, Qt::Key_Down}, "Check", 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Do([](ControlsWindow& w) {
            for (platform::ComboBox* box : {&w.Combo1, &w.Combo2}) {
                box->Clear();
                box->SetText("");
                for (const char* pay : {"Cash", "Check", "Visa"})
                    box->AddItem(pay);
            }
            w.comboClicks = 0;
        });
        auto* combo = Widget<QComboBox>(c.name);
        ASSERT_NE(combo, nullptr);
        const auto& model = static_cast<const platform::ComboBox&>(*Controls().Find(c.name));
        for (const Key& key : c.keys)
            Press(combo, key);
        EXPECT_EQ(model.Text(), c.text);
        EXPECT_EQ(model.ListIndex(), c.index);
        EXPECT_EQ(Controls().comboClicks, c.clicks);
        EXPECT_EQ(combo->currentIndex(), c.index) << "on screen";
        if (combo->isEditable()) {
            EXPECT_EQ(combo->currentText().toStdString(), c.text) << "on screen";
        }
    }
}

} // namespace
} // namespace vantreth::testing
