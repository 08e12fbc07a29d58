// "Call Accounting": the notice, the support address and its mail link.
#include "callacct/form71.h"
#include "support/app_fixture.h"

namespace vantreth {
namespace {

class Form71Test : public testing::AppFixture {
protected:
    void Open() {
        app().Dispatch([&] { app().Load(Form<Form71>()); });
    }
};

TEST_F(Form71Test, ShowsTheSupportAddressAndItsLinkStartsAMail) {
    Open();
    Form71& about = Form<Form71>();
    EXPECT_TRUE(about.Visible());
    EXPECT_EQ(about.Caption(), "Call Accounting");
    EXPECT_EQ(about.Label46.Caption(), app().settings().supportMail);
    EXPECT_NE(about.Label1.Caption().find("24 pin male to 9 pin female cable"), std::string::npos);

    about.Label46.UserClick();
    ASSERT_EQ(shell().opened().size(), 1u);
    EXPECT_EQ(shell().opened()[0], "mailto:" + app().settings().supportMail + "?subject=VANTRETH QUESTION");
    EXPECT_TRUE(IsLoaded("Form71"));

    about.Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form71"));
}

} // namespace
} // namespace vantreth
