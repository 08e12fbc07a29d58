// Scripted message and input boxes: answers in order, answers that must fit the buttons,
// and boxes the script did not expect.
#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

TEST(ScriptedDialogsTest, AnswersBoxesInOrderAndRecordsThem) {
    ScriptedDialogs dialogs;
    dialogs.Answer(vbYes);
    dialogs.Input("205");
    dialogs.Answer(vbOK);
    dialogs.Input("");
    std::vector<std::string> transcript;
    dialogs.on_shown = [&](const ScriptedDialogs::Shown& s) {
        transcript.push_back(s.title + "=" + s.answer);
    };

    EXPECT_EQ(dialogs.MsgBox("Check out now?", vbYesNo + vbQuestion, "CHECK OUT"), vbYes);
    EXPECT_EQ(dialogs.InputBox("Room number", "MOVE"), "205");
    EXPECT_EQ(dialogs.MsgBox("Done", vbOKOnly, "DONE"), vbOK);
    EXPECT_EQ(dialogs.InputBox("Reason", "VOID"), "");
    EXPECT_EQ(dialogs.pending(), 0u);

    const std::vector<ScriptedDialogs::Shown>& shown = dialogs.shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_FALSE(shown[0].input);
    EXPECT_EQ(shown[0].prompt, "Check out now?");
    EXPECT_EQ(shown[0].title, "CHECK OUT");
    EXPECT_EQ(shown[0].style, vbYesNo + vbQuestion);
    EXPECT_EQ(shown[0].answer, "Yes");
    EXPECT_TRUE(shown[1].input);
    EXPECT_EQ(shown[1].prompt, "Room number");
    EXPECT_EQ(shown[1].answer, "205");
    EXPECT_EQ(shown[2].answer, "OK");
    EXPECT_TRUE(shown[3].input);
    EXPECT_EQ(shown[3].answer, "");
    EXPECT_EQ(transcript, (std::vector<std::string>{"CHECK OUT=Yes", "MOVE=205", "DONE=OK", "VOID="}));

    dialogs.ClearShown();
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST(ScriptedDialogsTest, AnswerMustFitTheButtons) {
    struct Case {
        int style;
        MsgBoxResult answer;
        bool fits;
        const char* answerName;
    };
    const Case cases[] = {
        {vbOKOnly, vbOK, true, "OK"},
        {vbOKOnly + vbExclamation, vbOK, true, "OK"},
        {vbOKOnly, vbYes, false, "Yes"},
        {vbOKOnly, vbCancel, false, "Cancel"},
        {vbOKCancel, vbOK, true, "OK"},
        {vbOKCancel, vbCancel, true, "Cancel"},
        {vbOKCancel, vbNo, false, "No"},
        {vbYesNo, vbYes, true, "Yes"},
        {vbYesNo + vbCritical, vbNo, true, "No"},
        {vbYesNo, vbOK, false, "OK"},
        {vbYesNo, vbCancel, false, "Cancel"},
        {3, vbYes, true, "Yes"},
        {3, vbNo, true, "No"},
        {3, vbCancel, true, "Cancel"},
        {3, vbOK, false, "OK"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        dialogs.Answer(c.answer);
        const std::string where = "style " + std::to_string(c.style) + ", answer " + c.answerName;
        if (c.fits) {
            EXPECT_EQ(dialogs.MsgBox("prompt", c.style, "TITLE"), c.answer) << where;
            ASSERT_EQ(dialogs.shown().size(), 1u) << where;
            EXPECT_EQ(dialogs.shown()[0].answer, c.answerName) << where;
        } else {
            try {
                dialogs.MsgBox("prompt", c.style, "TITLE");
                ADD_FAILURE() << where << ": accepted";
            } catch (const UnexpectedDialog& e) {
                EXPECT_NE(std::string(e.what()).find(c.answerName), std::string::npos)
                    << where << ": " << e.what();
            }
            EXPECT_TRUE(dialogs.shown().empty()) << where;
        }
    }
}

TEST(ScriptedDialogsTest, UnexpectedMessageBoxNamesTitleAndPrompt) {
    ScriptedDialogs dialogs;
    try {
        dialogs.MsgBox("You did not enter a room", vbOKOnly, "WARNING");
        ADD_FAILURE() << "box with no queued answer was accepted";
    } catch (const UnexpectedDialog& e) {
        EXPECT_EQ(std::string(e.what()), "unexpected message box \"WARNING\": You did not enter a room");
    }
}

TEST(ScriptedDialogsTest, MessageBoxWhenInputIsQueuedIsUnexpected) {
    ScriptedDialogs dialogs;
    dialogs.Input("12");
    try {
        dialogs.MsgBox("Delete it?", vbYesNo, "DELETE");
        ADD_FAILURE() << "message box took an input answer";
    } catch (const UnexpectedDialog& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("Delete it?"), std::string::npos) << what;
        EXPECT_NE(what.find("DELETE"), std::string::npos) << what;
    }
    // The answer is still there for the box it was meant for.
    EXPECT_EQ(dialogs.pending(), 1u);
    EXPECT_EQ(dialogs.InputBox("Amount", "PAY"), "12");
}

TEST(ScriptedDialogsTest, InputBoxWithoutQueuedTextIsUnexpected) {
    ScriptedDialogs dialogs;
    EXPECT_THROW(dialogs.InputBox("Amount", "PAY"), UnexpectedDialog);
    dialogs.Answer(vbOK);
    try {
        dialogs.InputBox("Amount paid", "PAY");
        ADD_FAILURE() << "input box took a message answer";
    } catch (const UnexpectedDialog& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("input box \"PAY\": Amount paid"), std::string::npos) << what;
    }
    EXPECT_EQ(dialogs.pending(), 1u);
    EXPECT_TRUE(dialogs.shown().empty());
}

} // namespace
} // namespace platform
