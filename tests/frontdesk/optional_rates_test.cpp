// Optional Rates: the five slots of "oprates" and the ATTENTION notice with gAttentionOpen.
#include "support/app_fixture.h"

#include "frontdesk/form69.h"
#include "frontdesk/form70.h"
#include "records/settings_files.h"

namespace vantreth {
namespace {

using testing::AppFixture;

// Five Singles as the file's 20 bytes, then the 30 bytes a save must leave alone.
std::string SlotBytes(const records::OptionalRates& rates, const std::string& tail = std::string(30, 'z')) {
    return rates.Encode() + tail;
}

class OptionalRatesTest : public AppFixture {
protected:
    Form69& optional() { return Form<Form69>(); }
    Form70& notice() { return Form<Form70>(); }
    platform::TextBox* Slot(int i) {
        platform::TextBox* boxes[] = {&optional().Text1, &optional().Text2, &optional().Text3,
                                      &optional().Text4, &optional().Text5};
        return boxes[i];
    }
};

TEST_F(OptionalRatesTest, LoadShowsEverySlotWithZeroForEmptyOnes) {
    WriteBytes("oprates", SlotBytes({39.95f, 0, 125, 0, 0.5f}));
    LoadWindow(optional());
    const char* expected[] = {"39.95", "0", "125", "0", ".5"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Slot(i)->Text(), expected[i]) << Slot(i)->Name();
    EXPECT_EQ(optional().ActiveControl(), &optional().Text1);
}

TEST_F(OptionalRatesTest, LargeRatesShowEveryCentAndAreKeptAsLoaded) {
    const records::OptionalRates stored{100000.01f, 131071.99f, 112345.68f, 99999.99f, 0.01f};
    WriteBytes("oprates", SlotBytes(stored));
    LoadWindow(optional());
    const char* expected[] = {"100000.01", "131071.99", "112345.68", "99999.99", ".01"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Slot(i)->Text(), expected[i]) << Slot(i)->Name();
    optional().Command2.UserClick();
    EXPECT_EQ(ReadBytes("oprates"), SlotBytes(stored));
}

TEST_F(OptionalRatesTest, NewFileShowsFiveZeros) {
    LoadWindow(optional());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Slot(i)->Text(), "0") << Slot(i)->Name();
}

// Rates stored with parts of a cent or beyond what a Single keeps to the cent, left in their
// boxes as loaded, are not judged and are written back byte for byte.
TEST_F(OptionalRatesTest, RatesLeftAsLoadedAreKeptByteForByte) {
    const records::OptionalRates stored{53.955f, 12345.678f, 150000.02f, 0, 45};
    WriteBytes("oprates", SlotBytes(stored));
    LoadWindow(optional());
    Retype(optional().Text5, "46");
    optional().Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form69"));
    EXPECT_EQ(ReadBytes("oprates"), SlotBytes({53.955f, 12345.678f, 150000.02f, 0, 46}));
}

TEST_F(OptionalRatesTest, SaveStoresEverySlotAndAClearedBoxEmptiesIt) {
    WriteBytes("oprates", SlotBytes({39.95f, 49.95f, 59.95f, 0, 0}));
    LoadWindow(optional());
    Retype(optional().Text3, "");
    Retype(optional().Text4, "75.5");
    Retype(optional().Text5, " 80 ");
    optional().Command2.UserClick();
    EXPECT_EQ(ReadBytes("oprates"), SlotBytes({39.95f, 49.95f, 0, 75.5f, 80})) << "bytes 20 to 49 untouched";
    EXPECT_FALSE(IsLoaded("Form69"));
}

TEST_F(OptionalRatesTest, SaveRefusesTextThatIsNotARate) {
    WriteBytes("oprates", SlotBytes({39.95f, 0, 0, 0, 0}));
    const std::string before = ReadBytes("oprates");
    struct Case {
        int slot;
        const char* typed;
    };
    const Case cases[] = {{0, "abc"}, {1, "-10"}, {2, "12a"}, {3, "$45"}, {4, "4.5.0"}};
    LoadWindow(optional());
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i)
            Retype(*Slot(i), "20");
        Retype(*Slot(c.slot), c.typed);
        dialogs().Answer(platform::vbOK);
        optional().Command2.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << "slot " << c.slot + 1 << " \"" << c.typed << "\"";
        EXPECT_EQ(ReadBytes("oprates"), before) << "slot " << c.slot + 1 << " \"" << c.typed << "\"";
        EXPECT_EQ(optional().ActiveControl(), Slot(c.slot)) << "slot " << c.slot + 1;
        EXPECT_TRUE(IsLoaded("Form69"));
    }
    ExpectNoPendingAnswers();
}

TEST_F(OptionalRatesTest, EnterMovesDownTheSlotsToSave) {
    LoadWindow(optional());
    for (int i = 0; i < 5; ++i) {
        Slot(i)->UserType(platform::vbKeyReturn);
        platform::Control* next = i < 4 ? static_cast<platform::Control*>(Slot(i + 1)) : &optional().Command2;
        EXPECT_EQ(optional().ActiveControl(), next) << "Enter in " << Slot(i)->Name();
        EXPECT_EQ(Slot(i)->Text(), "0") << "Enter is consumed";
    }
}

TEST_F(OptionalRatesTest, ExitWritesNothing) {
    LoadWindow(optional());
    Retype(optional().Text1, "99");
    optional().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form69"));
    EXPECT_EQ(records::ReadOptionalRates(app().data()), records::OptionalRates{});
}

TEST_F(OptionalRatesTest, AttentionIsFlaggedWhileItIsUp) {
    EXPECT_EQ(app().gAttentionOpen, 0);
    LoadWindow(notice());
    EXPECT_TRUE(notice().Visible());
    EXPECT_EQ(app().gAttentionOpen, 1);
    EXPECT_EQ(notice().Label1.Caption(),
              "There are no optional rates listed at this time. To add optional rates, from front desk menu, "
              "choose "
              "'Main Menu' then 'Administration' then choose 'Set Optional Rates'. ");
    notice().Command1.UserClick();
    EXPECT_FALSE(IsLoaded("Form70"));
    EXPECT_EQ(app().gAttentionOpen, 0);
}

TEST_F(OptionalRatesTest, AttentionClosedByItsCloseBoxClearsTheFlag) {
    LoadWindow(notice());
    notice().UserClose();
    EXPECT_FALSE(IsLoaded("Form70"));
    EXPECT_EQ(app().gAttentionOpen, 0);
}

} // namespace
} // namespace vantreth
