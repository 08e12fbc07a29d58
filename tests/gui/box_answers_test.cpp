// What the clerk's answer to a message or input box gives the program, whichever way the
// box was answered, and what the box shows.
#include "gui_fixture.h"

#include <QAbstractButton>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

namespace vantreth::testing {
namespace {

enum class Answer { DefaultButton, Yes, No, Ok, Cancel, EscapeKey, CloseBox };

class BoxAnswersTest : public GuiProgramFixture {
protected:
    BoxAnswersTest() { program().Start("A"); }

    // Runs `raise` as an event of the program, answering the box it raises with `answer`
    // once it is up (the text typed first into an input box).
    void Answering(Answer answer, const std::function<void()>& raise, const QString& typed = QString()) {
        m_box = nullptr;
        m_stuck = false;
        QElapsedTimer answered;
        QTimer answerer;
        answerer.setInterval(5);
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            QWidget* box = dialogs().OpenBox();
            if (box == nullptr || !box->isVisible())
                return;
            if (m_box == box) {
                // Still up a second after the answer: taken down, for the checks to go on.
                if (answered.elapsed() > 1000) {
                    m_stuck = true;
                    static_cast<QDialog*>(box)->done(0);
                }
                return;
            }
            m_box = box;
            answered.start();
            m_text = m_title = QString();
            if (auto* message = qobject_cast<QMessageBox*>(box)) {
                m_text = message->text();
                m_title = message->windowTitle();
                m_icon = message->icon();
                m_buttons = message->standardButtons();
            } else if (auto* input = qobject_cast<QInputDialog*>(box)) {
                input->setTextValue(typed);
            }
            Give(*box, answer);
        });
        answerer.start();
        program().Dispatch(raise);
    }

    QWidget* m_box = nullptr;
    bool m_stuck = false; // the answer did not take the box down
    QString m_text, m_title;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons m_buttons;

private:
    static void Give(QWidget& box, Answer answer) {
        auto* message = qobject_cast<QMessageBox*>(&box);
        auto click = [message](QMessageBox::StandardButton which) {
            if (QAbstractButton* button = message ? message->button(which) : nullptr)
                button->click();
        };
        switch (answer) {
        case Answer::DefaultButton:
            return Press(&box, Qt::Key_Return);
        case Answer::Yes:
            return click(QMessageBox::Yes);
        case Answer::No:
            return click(QMessageBox::No);
        case Answer::Ok:
            return click(QMessageBox::Ok);
        case Answer::Cancel:
            return click(QMessageBox::Cancel);
        case Answer::EscapeKey:
            return Press(&box, Qt::Key_Escape);
        case Answer::CloseBox:
            box.close();
            break;
        }
    }
};

TEST_F(BoxAnswersTest, AMessageBoxGivesTheButtonTheClerkChose) {
    using Button = QMessageBox::StandardButton;
    struct Case {
        int style;
        Answer answer;
        platform::MsgBoxResult result;
    };
    const Case cases[] = {
        {platform::vbOKOnly, Answer::DefaultButton, platform::vbOK},
        {platform::vbOKOnly, Answer::EscapeKey, platform::vbOK},
        {platform::vbOKOnly, Answer::CloseBox, platform::vbOK},
        {platform::vbYesNo, Answer::DefaultButton, platform::vbYes},
        {platform::vbYesNo, Answer::Yes, platform::vbYes},
        {platform::vbYesNo, Answer::No, platform::vbNo},
        {platform::vbYesNo, Answer::EscapeKey, platform::vbNo},
        {platform::vbYesNo, Answer::CloseBox, platform::vbNo},
        {platform::vbOKCancel, Answer::DefaultButton, platform::vbOK},
        {platform::vbOKCancel, Answer::Ok, platform::vbOK},
        {platform::vbOKCancel, Answer::Cancel, platform::vbCancel},
        {platform::vbOKCancel, Answer::EscapeKey, platform::vbCancel},
        {platform::vbOKCancel, Answer::CloseBox, platform::vbCancel},
    };
    const std::map<int, QMessageBox::StandardButtons> buttons = {
        {platform::vbOKOnly, Button::Ok},
        {platform::vbYesNo, Button::Yes | Button::No},
        {platform::vbOKCancel, Button::Ok | Button::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + ", answer " +
                     std::to_string(static_cast<int>(c.answer)));
        auto result = static_cast<platform::MsgBoxResult>(0);
        Answering(c.answer, [&] { result = Window("A").MsgBox("Check out now?", c.style, "Folio"); });
        ASSERT_NE(m_box, nullptr) << "no box came up";
        EXPECT_FALSE(m_stuck) << "the answer left the box up";
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(m_buttons, buttons.at(c.style));
        EXPECT_EQ(dialogs().OpenBox(), nullptr);
    }
}

TEST_F(BoxAnswersTest, AMessageBoxShowsItsTextTitleAndIcon) {
    struct Case {
        int style;
        std::string prompt, title;
        QString shownText, shownTitle;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {platform::vbOKOnly, "Room 12 is dirty.", "Check In", "Room 12 is dirty.", "Check In",
         QMessageBox::NoIcon},
        {platform::vbYesNo | platform::vbQuestion, "Rate 45\x80?", "", "Rate 45\u20ac?", "Vantreth",
         QMessageBox::Question},
        {platform::vbOKOnly | platform::vbCritical, "Disk full", "Error", "Disk full", "Error",
         QMessageBox::Critical},
        {platform::vbOKOnly | platform::vbExclamation, "<b>1 & 2</b>", "x", "<b>1 & 2</b>", "x",
         QMessageBox::Warning},
        {platform::vbOKOnly | platform::vbInformation, "Done", "y", "Done", "y", QMessageBox::Information},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        Answering(Answer::DefaultButton, [&] { Window("A").MsgBox(c.prompt, c.style, c.title); });
        ASSERT_NE(m_box, nullptr) << "no box came up";
        EXPECT_FALSE(m_stuck) << "the answer left the box up";
        EXPECT_EQ(m_text, c.shownText);
        EXPECT_EQ(m_title, c.shownTitle);
        EXPECT_EQ(m_icon, c.icon);
    }
}

TEST_F(BoxAnswersTest, AnInputBoxGivesWhatWasTypedOnlyWhenAnswered) {
    struct Case {
        QString typed;
        Answer answer;
        std::string result; // as the program stores it
    };
    const Case cases[] = {
        {"12.50", Answer::DefaultButton, "12.50"}, {"caf\u00e9", Answer::DefaultButton, "caf\xe9"},
        {"", Answer::DefaultButton, ""},           {"12.50", Answer::EscapeKey, ""},
        {"12.50", Answer::CloseBox, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + ", answer " + std::to_string(static_cast<int>(c.answer)));
        std::string result = "not answered";
        Answering(
            c.answer, [&] { result = Window("A").InputBox("Deposit?", "Reservation"); }, c.typed);
        ASSERT_NE(m_box, nullptr) << "no box came up";
        EXPECT_FALSE(m_stuck) << "the answer left the box up";
        EXPECT_EQ(result, c.result);
    }
}

} // namespace
} // namespace vantreth::testing
