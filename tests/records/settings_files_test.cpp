// The settings and flag files: partial record writes, number files, the sleepers list.
#include "platform/engine.h"
#include "records/counters.h"
#include "records/direct_bill_files.h"
#include "records/filenames.h"
#include "records/move_log.h"
#include "records/rerate_rooms.h"
#include "records/reservation_files.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records_fixture.h"

#include <functional>
#include <string>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

TEST(RateTableTest, EncodesThreeSinglesInGroupOrder) {
    const RateTable table{55.0f, 65.0f, 75.0f};
    EXPECT_EQ(table.Encode(),
              Bytes({0x00, 0x00, 0x5c, 0x42, 0x00, 0x00, 0x82, 0x42, 0x00, 0x00, 0x96, 0x42}));
    EXPECT_EQ(RateTable::Decode(table.Encode()), table);
}

TEST(RateTableTest, RateForTypeFollowsTheRateGroups) {
    const RateTable table{55.0f, 65.0f, 75.0f};
    struct Case {
        const char* type;
        std::optional<float> rate;
    };
    const Case cases[] = {
        {"NK1  ", 55.0f},        {"K11", 55.0f},          {"NQ1  ", 55.0f},        {"Q11  ", 55.0f},
        {"PNQ1 ", 55.0f},        {"PQ1  ", 55.0f},        {"NDD1 ", 65.0f},        {"DD1  ", 65.0f},
        {"SNQ1 ", 75.0f},        {"SQ3  ", 75.0f},        {"SXYZ ", 75.0f},        {"XYZ  ", std::nullopt},
        {"nq1  ", std::nullopt}, {" NQ1 ", std::nullopt}, {"     ", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.RateForType(c.type), c.rate) << "type \"" << c.type << "\"";
}

TEST(DateStatusRecordTest, EncodesRolledBackThenSpare) {
    const DateStatusRecord status{1.0f, 0.5f};
    EXPECT_EQ(status.Encode(), Bytes({0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x00, 0x3f}));
}

using SettingsFilesTest = RecordsTest;

TEST_F(SettingsFilesTest, NewSettingsFilesReadAsZeros) {
    EXPECT_EQ(ReadRateTable(folder(), kWeekdayFile), (RateTable{0, 0, 0}));
    EXPECT_EQ(ReadOptionalRates(folder()), OptionalRates{});
    EXPECT_EQ(ReadIntroFlag(folder()), 0.0f);
    EXPECT_EQ(ReadStateTax(folder()), 0.0f);
    EXPECT_EQ(ReadDateStatus(folder()), (DateStatusRecord{0, 0}));
}

TEST_F(SettingsFilesTest, RateTableWriteLeavesBytesTwelveToFourteen) {
    const auto file = folder().File("weekend");
    WriteRaw(file, std::string(12, '\x7f') + "XYZ");
    WriteRateTable(folder(), kWeekendFile, RateTable{55.0f, 65.0f, 75.0f});
    EXPECT_EQ(ReadRaw(file), (RateTable{55.0f, 65.0f, 75.0f}.Encode() + "XYZ")) << Show(ReadRaw(file));
    EXPECT_EQ(ReadRateTable(folder(), kWeekendFile).JqzRate, 75.0f);
    EXPECT_EQ(ReadRateTable(folder(), kWeekdayFile).JqzRate, 0.0f) << "weekday is another file";
}

TEST_F(SettingsFilesTest, RateTableWriteToANewFileWritesTwelveBytes) {
    WriteRateTable(folder(), kWeekdayFile, RateTable{1, 2, 3});
    EXPECT_EQ(ReadRaw(folder().File("weekday")).size(), 12u);
}

TEST_F(SettingsFilesTest, OptionalRatesWriteLeavesBytesTwentyToFortyNine) {
    const auto file = folder().File("oprates");
    const std::string tail(30, 'T');
    WriteRaw(file, std::string(20, '\0') + tail);
    const OptionalRates rates{55.0f, 0.0f, 65.0f, 0.0f, 75.0f};
    WriteOptionalRates(folder(), rates);
    const std::string raw = ReadRaw(file);
    EXPECT_EQ(raw.substr(0, 20), Bytes({0x00, 0x00, 0x5c, 0x42, 0, 0, 0,    0,    0x00, 0x00,
                                        0x82, 0x42, 0,    0,    0, 0, 0x00, 0x00, 0x96, 0x42}));
    EXPECT_EQ(raw.substr(20), tail);
    EXPECT_EQ(ReadOptionalRates(folder()), rates);
}

TEST_F(SettingsFilesTest, SingleSettingsWriteFourBytesOfTheirTenByteRecord) {
    struct Case {
        const char* file;
        void (*write)(const platform::DataFolder&, float);
        float (*read)(const platform::DataFolder&);
    };
    const Case cases[] = {
        {"intro", WriteIntroFlag, ReadIntroFlag},
        {"statetax", WriteStateTax, ReadStateTax},
        {"citytax", WriteCityTax, ReadCityTax},
    };
    for (const Case& c : cases) {
        const auto file = folder().File(c.file);
        WriteRaw(file, "ABCDEFGHIJ");
        c.write(folder(), 1.0f);
        EXPECT_EQ(ReadRaw(file), Bytes({0x00, 0x00, 0x80, 0x3f}) + "EFGHIJ") << c.file;
        EXPECT_EQ(c.read(folder()), 1.0f) << c.file;
    }
}

TEST_F(SettingsFilesTest, StateAndCityTaxAreSeparateFiles) {
    WriteStateTax(folder(), 0.06f);
    WriteCityTax(folder(), 0.02f);
    EXPECT_EQ(ReadRaw(folder().File("statetax")), Bytes({0x8f, 0xc2, 0x75, 0x3d}));
    EXPECT_EQ(ReadStateTax(folder()), 0.06f);
    EXPECT_EQ(ReadCityTax(folder()), 0.02f);
}

TEST_F(SettingsFilesTest, DateStatusWriteLeavesBytesEightAndNine) {
    const auto file = folder().File("datestatus");
    WriteRaw(file, std::string(8, '\0') + "ZZ");
    WriteDateStatus(folder(), DateStatusRecord{1.0f, 0.0f});
    EXPECT_EQ(ReadRaw(file), Bytes({0x00, 0x00, 0x80, 0x3f, 0, 0, 0, 0}) + "ZZ");
    EXPECT_EQ(ReadDateStatus(folder()).RolledBack, 1.0f);
}

TEST_F(SettingsFilesTest, DateStatusKeepsTheSpareItRead) {
    WriteRaw(folder().File("datestatus"), Bytes({0, 0, 0, 0, 0x00, 0x00, 0x48, 0x41}));
    DateStatusRecord status = ReadDateStatus(folder());
    EXPECT_EQ(status.Spare, 12.5f);
    status.RolledBack = 1.0f;
    WriteDateStatus(folder(), status);
    EXPECT_EQ(ReadRaw(folder().File("datestatus")), Bytes({0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x48, 0x41}));
}

TEST_F(SettingsFilesTest, MissingNumberFilesReadAsNothing) {
    EXPECT_EQ(ReadDayOfWeek(folder()), std::nullopt);
    EXPECT_EQ(ReadTaxRate(folder()), std::nullopt);
    EXPECT_EQ(ReadSleepersToday(folder()), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(folder().File("tax").path())) << "reading must not create the file";
}

TEST_F(SettingsFilesTest, NumberFileHoldsOneBareNumberLine) {
    WriteDayOfWeek(folder(), 3);
    WriteDayOfWeek(folder(), 5);
    EXPECT_EQ(ReadRaw(folder().File("dayofweek")), "5\r\n") << "a write replaces the file";
    EXPECT_EQ(ReadDayOfWeek(folder()), 5.0);
}

TEST_F(SettingsFilesTest, TaxRateReadsBackAsTheSameDouble) {
    const double total = 0.06 + 0.02;
    WriteTaxRate(folder(), total);
    EXPECT_EQ(ReadTaxRate(folder()), total);
    WriteSleepersToday(folder(), 1);
    EXPECT_EQ(ReadSleepersToday(folder()), 1.0);
    WriteSleepersToday(folder(), 0);
    EXPECT_EQ(ReadSleepersToday(folder()), 0.0);
}

TEST_F(SettingsFilesTest, AnEmptySettingsFileReadsAsAMissingOne) {
    auto number = [](std::optional<double> v) { return v ? std::to_string(*v) : std::string("none"); };
    const platform::DataFolder& data = folder();
    struct Case {
        platform::FilePath file;
        std::function<std::string()> read; // what the program takes from the file
    };
    const Case cases[] = {
        {data.File("dayofweek"), [&] { return number(ReadDayOfWeek(data)); }},
        {data.File("tax"), [&] { return number(ReadTaxRate(data)); }},
        {data.File("sleeperstoday"), [&] { return number(ReadSleepersToday(data)); }},
        {data.File("cnumber"), [&] { return number(ReadConfirmationCounter(data)); }},
        {data.File("restodayyes"), [&] { return number(ReadReservationsTodayFlag(data)); }},
        {data.File("dbpaymentyesno"), [&] { return number(ReadDbPaymentFlag(data)); }},
        {data.File("cdropyes"), [&] { return number(ReadNumberFile(data, kCashDropYesFile)); }},
        {DbNumberFile(data), [&] { return number(ReadAccountNumberCounter(data)); }},
        {data.File("statetax"), [&] { return std::to_string(ReadStateTax(data)); }},
        {data.File("citytax"), [&] { return std::to_string(ReadCityTax(data)); }},
        {data.File("intro"), [&] { return std::to_string(ReadIntroFlag(data)); }},
        {data.File("movedyes"), [&] { return std::to_string(ReadMovedYes(data)); }},
        {data.File("datestatus"), [&] { return Show(ReadDateStatus(data).Encode()); }},
        {data.File("weekday"), [&] { return Show(ReadRateTable(data, kWeekdayFile).Encode()); }},
        {data.File("weekend"),
         [&] {
             const std::optional<RateTable> saved = ReadSavedRateTable(data, kWeekendFile);
             return saved ? Show(saved->Encode()) : "none";
         }},
        {data.File("oprates"), [&] { return Show(ReadOptionalRates(data).Encode()); }},
        {data.File("shift"), [&] { return Show(ReadShift(data).Encode()); }},
        {data.File("folio"), [&] { return Show(ReadFolioCounter(data).Encode()); }},
    };
    for (const Case& c : cases) {
        const std::string name = c.file.filename().string();
        platform::DeleteFile(c.file);
        const std::string missing = c.read();
        EXPECT_FALSE(std::filesystem::exists(c.file.path())) << name << ": reading made the file";
        WriteRaw(c.file, "");
        std::string empty;
        EXPECT_NO_THROW(empty = c.read()) << name;
        EXPECT_EQ(empty, missing) << name;
    }
}

TEST_F(SettingsFilesTest, SleeperLineIsRoomTwoBlanksAndTrimmedNames) {
    GuestRecord g;
    g.Room = "12 ";
    g.LastName = "SMITH          ";
    g.FirstName = "JOHN           ";
    EXPECT_EQ(SleeperLineText(g), "12   SMITH, JOHN");
    g.Room = "101";
    g.LastName = " O NEIL        ";
    EXPECT_EQ(SleeperLineText(g), "101  O NEIL, JOHN");
}

TEST_F(SettingsFilesTest, SleeperLinesAreAppendedToTheDaysFile) {
    GuestRecord g;
    g.Room = "12 ";
    g.LastName = "SMITH";
    g.FirstName = "JOHN";
    AppendSleeperLine(folder(), "12/6/26", g);
    g.Room = "7";
    AppendSleeperLine(folder(), "12/6/26", g);
    EXPECT_EQ(ReadRaw(At("sleepers/12626")), "\"12   SMITH, JOHN\"\r\n\"7    SMITH, JOHN\"\r\n");
    EXPECT_EQ(ReadSleeperLines(folder(), "12/6/26"),
              (std::vector<std::string>{"12   SMITH, JOHN", "7    SMITH, JOHN"}));
}

TEST_F(SettingsFilesTest, ReadingAMissingSleepersFileIsAnError) {
    EXPECT_THROW(ReadSleeperLines(folder(), "12/6/26"), platform::IoError);
}

// A rate table saved by a step is found saved by the same step's re-rating, also the first
// time it is saved (no file on the disk yet); once the step is dropped it is not.
TEST_F(SettingsFilesTest, ARateTableIsFoundSavedInTheStepThatSavesIt) {
    const platform::DataFolder& data = folder();
    RateTable table;
    table.SingleRate = 45;
    platform::Engine& journal = engine();
    journal.Recover();
    {
        platform::Transaction step(journal, "saving the rates");
        WriteRateTable(data, kWeekdayFile, table);
        const std::optional<RateTable> saved = ReadSavedRateTable(data, kWeekdayFile);
        ASSERT_TRUE(saved.has_value()) << "the step's own save not seen";
        EXPECT_EQ(*saved, table);
        step.Rollback();
    }
    EXPECT_FALSE(ReadSavedRateTable(data, kWeekdayFile).has_value());
}

} // namespace
} // namespace records
