// Rates: applying a rate table to the rooms, the Set Rates window with its list of locked
// rooms, the day of the week and the tax rates, down to the bytes of their files.
#include "support/app_fixture.h"
#include "support/builders.h"

#include "frontdesk/form1.h"
#include "frontdesk/form18.h"
#include "frontdesk/form19.h"
#include "frontdesk/form56.h"
#include "frontdesk/form59.h"
#include "frontdesk/form69.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/posting_codes.h"
#include "records/rerate_rooms.h"
#include "records/room_record.h"
#include "records/settings_files.h"

#include <functional>
#include <vector>

namespace vantreth {
namespace {

using testing::AppFixture;

// A room with a note and spare text, which applying rates must keep.
records::RoomRecord Room(const std::string& number, const std::string& type, float rate,
                         bool locked = false) {
    return testing::Room({.room = number,
                          .type = type,
                          .rate = rate,
                          .comment = "NOTE " + number,
                          .rateLocked = locked,
                          .spare = "keep"});
}

// Three Singles as a rate table's 12 bytes, then three bytes that must never be touched.
std::string TableBytes(float single, float dbl, float jqz, const std::string& tail = "abc") {
    return records::RateTable{single, dbl, jqz}.Encode() + tail;
}

class RatesTest : public AppFixture {
protected:
    void AddRoom(const records::RoomRecord& room) { records::AppendRoom(app().data(), room); }
    float RateOf(long n) { return records::ReadRoom(app().data(), n).Rate; }
    Form59& rates() { return Form<Form59>(); }
};

// --- applying a table -----------------------------------------------------------------

TEST_F(RatesTest, ReRateGivesEachTypeItsGroupRate) {
    struct Case {
        const char* type;
        float expected;
    };
    const Case cases[] = {
        {"NK1", 40},  {"K11", 40},   {"NQ1", 40},    {"Q11", 40},   {"PNQ1", 40}, {"PQ1", 40},
        {"NDD1", 55}, {"DD1", 55},   {"SNQ1", 90},   {"SQ1", 90},   {"SNQ3", 90}, {"SQ3", 90},
        {"S", 90},    {"XYZ", 1.5f}, {" NQ1", 1.5f}, {"nq1", 1.5f}, {"", 1.5f},
    };
    for (const Case& c : cases)
        AddRoom(Room("1", c.type, 1.5f));
    const std::string before = ReadBytes("rooms");

    const auto locked = records::ReRateRooms(app().data(), {40, 55, 90});

    EXPECT_TRUE(locked.empty());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const records::RoomRecord room = records::ReadRoom(app().data(), static_cast<long>(i) + 1);
        EXPECT_EQ(room.Rate, cases[i].expected) << "type \"" << cases[i].type << "\"";
        // Only the rate changes: the bytes before and after it are as they were.
        const std::string bytes = room.Encode();
        const std::string old = before.substr(i * 115, 115);
        EXPECT_EQ(bytes.substr(0, 8) + bytes.substr(12), old.substr(0, 8) + old.substr(12))
            << "type \"" << cases[i].type << "\"";
    }
}

TEST_F(RatesTest, ReRatePassesOverLockedRoomsAndReturnsThem) {
    AddRoom(Room("101", "NQ1", 10));
    AddRoom(Room("102", "NQ1", 33.25f, true));
    AddRoom(Room("12", "SQ1", 99, true));
    AddRoom(Room("104", "DD1", 10));
    const auto locked = records::ReRateRooms(app().data(), {40, 55, 90});
    ASSERT_EQ(locked.size(), 2u);
    EXPECT_EQ(locked[0].Room, "102");
    EXPECT_EQ(locked[1].Room, "12 ");
    EXPECT_EQ(RateOf(1), 40);
    EXPECT_EQ(RateOf(2), 33.25f);
    EXPECT_EQ(RateOf(3), 99);
    EXPECT_EQ(RateOf(4), 55);
}

TEST_F(RatesTest, TableNeverSavedReRatesNothing) {
    AddRoom(Room("101", "NQ1", 45));
    AddRoom(Room("102", "SNQ3", 95));
    const std::string before = ReadBytes("rooms");

    EXPECT_FALSE(records::ReadSavedRateTable(app().data(), records::kWeekdayFile));
    EXPECT_FALSE(Exists("weekday")) << "asking does not create the file";
    EXPECT_FALSE(records::ReRateRoomsForDay(app().data(), 1));
    EXPECT_EQ(ReadBytes("rooms"), before);

    WriteBytes("weekend", records::RateTable{40, 55, 90}.Encode().substr(0, 11));
    EXPECT_FALSE(records::ReRateRoomsForDay(app().data(), 6))
        << "a table shorter than 12 bytes was never saved";
    EXPECT_EQ(ReadBytes("rooms"), before);
}

TEST_F(RatesTest, TableSavedWithZerosIsApplied) {
    AddRoom(Room("101", "NQ1", 45));
    WriteBytes("weekend", TableBytes(0, 0, 0));
    const auto locked = records::ReRateRoomsForDay(app().data(), 5);
    ASSERT_TRUE(locked);
    EXPECT_EQ(RateOf(1), 0);
}

TEST_F(RatesTest, DayNumberPicksTheTable) {
    for (double day : {1.0, 2.0, 3.0, 4.0})
        EXPECT_EQ(records::RateTableFileForDay(day), records::kWeekdayFile) << day;
    for (double day : {5.0, 6.0, 7.0})
        EXPECT_EQ(records::RateTableFileForDay(day), records::kWeekendFile) << day;
}

// --- Set Rates ------------------------------------------------------------------------

TEST_F(RatesTest, SetRatesShowsBothTables) {
    WriteBytes("weekday", TableBytes(45.5f, 55, 89.99f));
    WriteBytes("weekend", TableBytes(50, 60.25f, 100));
    LoadWindow(rates());
    EXPECT_EQ(rates().Label7.Caption(), "45.5");
    EXPECT_EQ(rates().Label8.Caption(), "55");
    EXPECT_EQ(rates().Label9.Caption(), "89.99");
    EXPECT_EQ(rates().Label20.Caption(), "50");
    EXPECT_EQ(rates().Label19.Caption(), "60.25");
    EXPECT_EQ(rates().Label18.Caption(), "100");
    EXPECT_FALSE(rates().List1.Visible());
    EXPECT_FALSE(rates().Label24.Visible());
}

TEST_F(RatesTest, SetRatesShowsLargeRatesToTheCent) {
    WriteBytes("weekday", TableBytes(100000.01f, 131071.99f, 112345.68f));
    WriteBytes("weekend", TableBytes(99999.99f, 100000.02f, 0.01f));
    LoadWindow(rates());
    const std::vector<std::string> shown = {rates().Label7.Caption(),  rates().Label8.Caption(),
                                            rates().Label9.Caption(),  rates().Label20.Caption(),
                                            rates().Label19.Caption(), rates().Label18.Caption()};
    EXPECT_EQ(shown, (std::vector<std::string>{"100000.01", "131071.99", "112345.68", "99999.99", "100000.02",
                                               ".01"}));
}

TEST_F(RatesTest, WeekdayUpdateChangesOnlyTheFilledRates) {
    WriteBytes("weekday", TableBytes(45, 55, 90, "xyz"));
    records::WriteDayOfWeek(app().data(), 6);
    AddRoom(Room("101", "NDD1", 10));
    LoadWindow(rates());
    rates().Text2.UserTypeText("62.5");
    rates().Command1.UserClick();

    EXPECT_EQ(ReadBytes("weekday"), TableBytes(45, 62.5f, 90, "xyz")) << "bytes 12 to 14 untouched";
    EXPECT_EQ(rates().Label8.Caption(), "62.5");
    EXPECT_EQ(rates().Text2.Text(), "");
    EXPECT_EQ(RateOf(1), 10) << "Saturday: the weekday table is not applied";
    EXPECT_EQ(rates().ActiveControl(), &rates().Text6);
}

TEST_F(RatesTest, WeekdayUpdateOnAWeekdayReRatesAndListsLockedRooms) {
    records::WriteDayOfWeek(app().data(), 2);
    AddRoom(Room("101", "NQ1", 10));
    AddRoom(Room("12", "NQ1", 45.5f, true));
    AddRoom(Room("103", "SNQ3", 10));
    AddRoom(Room("104", "ZZ9", 10));
    LoadWindow(rates());
    rates().Text1.UserTypeText("49.95");
    rates().Text2.UserTypeText("59");
    rates().Text3.UserTypeText("99");
    rates().Command1.UserClick();

    EXPECT_EQ(ReadBytes("weekday"), TableBytes(49.95f, 59, 99, ""));
    EXPECT_EQ(RateOf(1), 49.95f);
    EXPECT_EQ(RateOf(2), 45.5f);
    EXPECT_EQ(RateOf(3), 99);
    EXPECT_EQ(RateOf(4), 10);
    EXPECT_EQ(rates().List1.Items(), std::vector<std::string>{"12    45.5"});
    EXPECT_TRUE(rates().List1.Visible());
    EXPECT_TRUE(rates().Label24.Visible());

    // The list keeps growing while the window is open.
    rates().Text1.UserTypeText("50");
    rates().Command1.UserClick();
    EXPECT_EQ(rates().List1.Items(), (std::vector<std::string>{"12    45.5", "12    45.5"}));
}

TEST_F(RatesTest, WeekdayUpdateWithoutLockedRoomsKeepsTheListHidden) {
    records::WriteDayOfWeek(app().data(), 1);
    AddRoom(Room("101", "NQ1", 10));
    LoadWindow(rates());
    rates().Text1.UserTypeText("40");
    rates().Command1.UserClick();
    EXPECT_EQ(RateOf(1), 40);
    EXPECT_FALSE(rates().List1.Visible());
    EXPECT_FALSE(rates().Label24.Visible());
}

TEST_F(RatesTest, WeekendUpdateReRatesOnlyFridayToSunday) {
    struct Case {
        int day;
        float expected;
    };
    for (const Case c : {Case{4, 10}, Case{5, 70}, Case{7, 70}}) {
        Restart();
        records::WriteDayOfWeek(app().data(), c.day);
        AddRoom(Room("101", "DD1", 10, false));
        AddRoom(Room("102", "DD1", 12, true));
        LoadWindow(rates());
        rates().Text5.UserTypeText("70");
        rates().Command2.UserClick();
        EXPECT_EQ(ReadBytes("weekend").substr(4, 4), TableBytes(0, 70, 0).substr(4, 4));
        EXPECT_EQ(RateOf(1), c.expected) << "day " << c.day;
        EXPECT_EQ(RateOf(2), 12) << "day " << c.day;
        EXPECT_FALSE(rates().List1.Visible()) << "the weekend update lists no locked rooms";
        EXPECT_EQ(rates().ActiveControl(), &rates().Command3);
        app().Dispatch([&] { app().Unload(rates()); });
        platform::DeleteFile(OnDisk("rooms"));
        platform::DeleteFile(OnDisk("weekend"));
    }
}

TEST_F(RatesTest, SetRatesRefusesTextThatIsNotARate) {
    records::WriteDayOfWeek(app().data(), 1);
    WriteBytes("weekday", TableBytes(45, 55, 90));
    AddRoom(Room("101", "NQ1", 10));
    const std::string rooms = ReadBytes("rooms");
    struct Case {
        const char* box;
        const char* typed;
        const char* message =
            "The rate you typed is not a number. Please type the rate in dollars, like 45.50.";
    };
    const Case cases[] = {{"Text1", "abc"},
                          {"Text2", "-5"},
                          {"Text3", "45x"},
                          {"Text2", "4 5"},
                          {"Text3", "."},
                          {"Text1", "45.505", records::kCentsMessage},
                          {"Text3", "59.999", records::kCentsMessage}};
    LoadWindow(rates());
    for (const Case& c : cases) {
        for (auto* box : {&rates().Text1, &rates().Text2, &rates().Text3})
            Retype(*box, "60");
        auto& bad = static_cast<platform::TextBox&>(*rates().Find(c.box));
        Retype(bad, c.typed);
        dialogs().Answer(platform::vbOK);
        rates().Command1.UserClick();
        EXPECT_EQ(LastBox().title, "WARNING") << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(LastBox().prompt, c.message) << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(ReadBytes("weekday"), TableBytes(45, 55, 90)) << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(ReadBytes("rooms"), rooms) << c.box << " \"" << c.typed << "\"";
        EXPECT_EQ(rates().ActiveControl(), &bad) << c.box;
        EXPECT_EQ(rates().Label7.Caption(), "45");
    }
    ExpectNoPendingAnswers();
}

TEST_F(RatesTest, SetRatesWithoutADayOfWeekSavesAndChangesNoRoom) {
    AddRoom(Room("101", "NQ1", 10));
    const std::string rooms = ReadBytes("rooms");
    LoadWindow(rates());
    rates().Text1.UserTypeText("40");
    dialogs().Answer(platform::vbOK);
    rates().Command1.UserClick();
    EXPECT_EQ(LastBox().title, "WARNING");
    EXPECT_EQ(ReadBytes("weekday"), TableBytes(40, 0, 0, ""));
    EXPECT_EQ(ReadBytes("rooms"), rooms);
    EXPECT_TRUE(IsLoaded("Form59"));
    EXPECT_EQ(rates().Label7.Caption(), "40");
}

TEST_F(RatesTest, EnterMovesAlongEachTable) {
    LoadWindow(rates());
    struct Step {
        platform::TextBox* from;
        platform::Control* to;
    };
    const Step steps[] = {{&rates().Text1, &rates().Text2},    {&rates().Text2, &rates().Text3},
                          {&rates().Text3, &rates().Command1}, {&rates().Text6, &rates().Text5},
                          {&rates().Text5, &rates().Text4},    {&rates().Text4, &rates().Command2}};
    for (const Step& s : steps) {
        s.from->UserType(platform::vbKeyReturn);
        EXPECT_EQ(rates().ActiveControl(), s.to) << s.from->Name();
        EXPECT_EQ(s.from->Text(), "") << "Enter is consumed";
    }
}

TEST_F(RatesTest, CancelClosesSetRates) {
    LoadWindow(rates());
    rates().Command3.UserClick();
    EXPECT_FALSE(IsLoaded("Form59"));
}

// --- Change Day of Week ---------------------------------------------------------------

TEST_F(RatesTest, ChoosingADayStoresItShowsItAndAppliesItsTable) {
    WriteBytes("weekday", TableBytes(40, 55, 90));
    WriteBytes("weekend", TableBytes(50, 65, 110));
    AddRoom(Room("101", "NQ1", 10));
    AddRoom(Room("102", "SNQ1", 10, true));
    records::WriteIntroFlag(app().data(), 1);
    StartProgram();
    Form56& days = Form<Form56>();
    LoadWindow(days);
    EXPECT_EQ(days.List1.Items(),
              (std::vector<std::string>{"1  MONDAY", "2  TUESDAY", "3  WEDNESDAY", "4  THURSDAY", "5  FRIDAY",
                                        "6  SATURDAY", "7  SUNDAY"}));
    ASSERT_TRUE(days.List1.UserPick("5  FRIDAY"));
    EXPECT_EQ(ReadBytes("dayofweek"), "5\r\n");
    EXPECT_EQ(Form<Form1>().Label37.Caption(), "FRIDAY");
    EXPECT_EQ(RateOf(1), 50);
    EXPECT_EQ(RateOf(2), 10);
    EXPECT_FALSE(IsLoaded("Form56"));

    LoadWindow(days);
    ASSERT_TRUE(days.List1.UserPick("4  THURSDAY"));
    EXPECT_EQ(ReadBytes("dayofweek"), "4\r\n");
    EXPECT_EQ(Form<Form1>().Label37.Caption(), "THURSDAY");
    EXPECT_EQ(RateOf(1), 40);
}

TEST_F(RatesTest, ChoosingADayWhoseTableWasNeverSavedKeepsEveryRate) {
    WriteBytes("weekday", TableBytes(40, 55, 90));
    AddRoom(Room("101", "NQ1", 45));
    AddRoom(Room("102", "DD1", 65));
    const std::string rooms = ReadBytes("rooms");
    Form56& days = Form<Form56>();
    LoadWindow(days);
    ASSERT_TRUE(days.List1.UserPick("6  SATURDAY"));
    EXPECT_EQ(ReadBytes("dayofweek"), "6\r\n");
    EXPECT_EQ(ReadBytes("rooms"), rooms);
}

// --- values left as loaded -------------------------------------------------------------

// Older files can hold a rate below zero. A window that shows it and is saved with the box
// left as loaded writes it back as it was, and does not take it for a rate typed.
TEST_F(RatesTest, StoredRatesLeftAsLoadedAreSavedAsTheyWere) {
    struct Case {
        const char* window;
        std::function<void()> store;
        std::function<void()> save; // loads the window, changes what the case changes, saves
        struct Kept {
            const char* file;
            size_t from, length; // the bytes of the values left as loaded
        };
        std::vector<Kept> kept;
    };
    Form18& room = Form<Form18>();
    Form69& optional = Form<Form69>();
    Form19& tax = Form<Form19>();
    const Case cases[] = {
        {"Edit Room Properties",
         [&] { AddRoom(Room("101", "NQ1", -10)); },
         [&] {
             LoadWindow(room);
             room.Combo1.UserPick("101 NQ1");
             room.Check1.UserClick();
             dialogs().Answer(platform::vbOK);
             room.Command1.UserClick();
         },
         {{"rooms", 8, 4}}},
        {"Optional Rates",
         [&] {
             WriteBytes("oprates", records::OptionalRates{-10, 45, -0.005f, 0, 0}.Encode());
         },
         [&] {
             LoadWindow(optional);
             optional.Command2.UserClick();
         },
         {{"oprates", 0, 20}}},
        {"Tax Code",
         [&] {
             records::WriteStateTax(app().data(), -0.01f);
             records::WriteCityTax(app().data(), 0.02f);
         },
         [&] {
             LoadWindow(tax);
             tax.Command1.UserClick();
         },
         {{"statetax", 0, 4}, {"citytax", 0, 4}}},
    };
    for (const Case& c : cases) {
        c.store();
        std::vector<std::string> before;
        for (const Case::Kept& k : c.kept)
            before.push_back(ReadBytes(k.file).substr(k.from, k.length));
        const size_t shown = dialogs().shown().size();
        c.save();
        for (size_t i = shown; i < dialogs().shown().size(); ++i)
            EXPECT_NE(dialogs().shown()[i].title, "WARNING")
                << c.window << ": " << dialogs().shown()[i].prompt;
        for (size_t i = 0; i < c.kept.size(); ++i)
            EXPECT_EQ(ReadBytes(c.kept[i].file).substr(c.kept[i].from, c.kept[i].length), before[i])
                << c.window << ": " << c.kept[i].file;
    }
    EXPECT_EQ(records::ReadRoom(app().data(), 1).RateLocked(), true) << "the lock, changed, was saved";
}

// --- Tax Code -------------------------------------------------------------------------

TEST_F(RatesTest, TaxCodeShowsTheStoredRates) {
    records::WriteStateTax(app().data(), 0.06f);
    records::WriteCityTax(app().data(), 0.015f);
    LoadWindow(Form<Form19>());
    EXPECT_EQ(Form<Form19>().Text1.Text(), ".06");
    EXPECT_EQ(Form<Form19>().Text2.Text(), ".015");
}

TEST_F(RatesTest, TaxCodeShowsZeroForNewFiles) {
    LoadWindow(Form<Form19>());
    EXPECT_EQ(Form<Form19>().Text1.Text(), "0");
    EXPECT_EQ(Form<Form19>().Text2.Text(), "0");
}

TEST_F(RatesTest, TaxCodeStoresTheRatesAndTheirSum) {
    WriteBytes("statetax", std::string(10, 'S'));
    WriteBytes("citytax", std::string(10, 'C'));
    Form19& tax = Form<Form19>();
    LoadWindow(tax);
    Retype(tax.Text1, "0.06");
    Retype(tax.Text2, ".02");
    tax.Command1.UserClick();

    EXPECT_EQ(ReadBytes("tax"), "0.08\r\n");
    EXPECT_DOUBLE_EQ(app().gTaxRate, 0.08);
    platform::RecordBuffer state(std::string(4, '\0'));
    state.SetSingle(0, 0.06f);
    platform::RecordBuffer city(std::string(4, '\0'));
    city.SetSingle(0, 0.02f);
    EXPECT_EQ(ReadBytes("statetax"), state.bytes() + std::string(6, 'S')) << "bytes 4 to 9 untouched";
    EXPECT_EQ(ReadBytes("citytax"), city.bytes() + std::string(6, 'C'));
    EXPECT_FALSE(IsLoaded("Form19"));
}

TEST_F(RatesTest, TaxCodeRefusesPercentagesAndTextThatIsNotARate) {
    struct Case {
        const char* state;
        const char* city;
        const char* badBox;
        const char* says;
    };
    const Case cases[] = {
        {"6", "0.02", "Text1", "type 0.06 for 6 %"}, {"0.06", "2", "Text2", "type 0.06 for 6 %"},
        {"1", "0", "Text1", "type 0.06 for 6 %"},    {"abc", "0.02", "Text1", "not a number"},
        {"0.06", "x", "Text2", "not a number"},      {"0.06", "-0.01", "Text2", "not a number"},
    };
    Form19& tax = Form<Form19>();
    LoadWindow(tax);
    for (const Case& c : cases) {
        Retype(tax.Text1, c.state);
        Retype(tax.Text2, c.city);
        dialogs().Answer(platform::vbOK);
        tax.Command1.UserClick();
        const std::string label = std::string(c.state) + " / " + c.city;
        EXPECT_EQ(LastBox().title, "WARNING") << label;
        EXPECT_NE(LastBox().prompt.find(c.says), std::string::npos) << label << ": " << LastBox().prompt;
        EXPECT_EQ(tax.ActiveControl(), tax.Find(c.badBox)) << label;
        EXPECT_TRUE(IsLoaded("Form19")) << label;
        EXPECT_EQ(app().gTaxRate, 0) << label;
    }
    for (const char* file : {"tax", "statetax", "citytax"})
        EXPECT_EQ(ReadBytes(file), "") << file;
    ExpectNoPendingAnswers();
}

TEST_F(RatesTest, TaxCodeReadsAnEmptyBoxAsNoTax) {
    struct Case {
        const char* state;
        const char* city;
        const char* total;
        float stateStored;
        float cityStored;
    };
    const Case cases[] = {
        {"0.06", "", "0.06\r\n", 0.06f, 0},
        {"", ".02", "0.02\r\n", 0, 0.02f},
        {"  ", "   ", "0\r\n", 0, 0},
    };
    for (const Case& c : cases) {
        records::WriteStateTax(app().data(), 0.05f);
        records::WriteCityTax(app().data(), 0.05f);
        Form19& tax = Form<Form19>();
        LoadWindow(tax);
        Retype(tax.Text1, c.state);
        Retype(tax.Text2, c.city);
        tax.Command1.UserClick();
        const std::string label = std::string("'") + c.state + "' / '" + c.city + "'";
        EXPECT_FALSE(IsLoaded("Form19")) << label;
        EXPECT_EQ(ReadBytes("tax"), c.total) << label;
        EXPECT_EQ(records::ReadStateTax(app().data()), c.stateStored) << label;
        EXPECT_EQ(records::ReadCityTax(app().data()), c.cityStored) << label;
    }
    ExpectNoPendingAnswers();
}

TEST_F(RatesTest, TaxCodeCancelWritesNothing) {
    Form19& tax = Form<Form19>();
    LoadWindow(tax);
    Retype(tax.Text1, "0.07");
    tax.Command2.UserClick();
    EXPECT_FALSE(IsLoaded("Form19"));
    EXPECT_FALSE(Exists("tax"));
    EXPECT_EQ(records::ReadStateTax(app().data()), 0);
}

} // namespace
} // namespace vantreth
