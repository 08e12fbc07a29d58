// Every data file name the program uses.
#include "records/filenames.h"

#include "platform/text.h"
#include "records/counters.h"
#include "records/date_digits.h"
#include "records/day_totals.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"
#include "records/shift_record.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace records {

using platform::DataFolder;

namespace {

// The sub-folders of the files named by a fixed name, or by room and guest.
constexpr std::string_view kHistoryFolder = "history";
constexpr std::string_view kDirectBillFolder = "directbill";
constexpr std::string_view kPostedNotesFolder = "postednotes";
constexpr std::string_view kDailyChargeFolder = "dailycharge";

} // namespace

platform::FilePath HistoryFile(const DataFolder& folder) {
    return folder.File(kHistoryFolder, "history");
}
platform::FilePath HistoryKeysFile(const DataFolder& folder) {
    return folder.File(kHistoryFolder, "history.keys");
}
platform::FilePath DbMemberFile(const DataFolder& folder) {
    return folder.File(kDirectBillFolder, "dbmember");
}
platform::FilePath DbNumberFile(const DataFolder& folder) {
    return folder.File(kDirectBillFolder, "dbnumber");
}

namespace {

struct DayName {
    std::string_view subfolder;
    std::string_view prefix;
};

DayName NameOf(DayFile file) {
    switch (file) {
    case DayFile::Sleepers:
        return {"sleepers", ""};
    case DayFile::Detail:
        return {"detail", ""};
    case DayFile::Totals:
        return {"totals", "totals"};
    case DayFile::RoomsRented:
        return {"roomsrented", ""};
    case DayFile::DbDaily:
        return {"dbdaily", ""};
    case DayFile::DbPayments:
        return {"dbpayments", ""};
    case DayFile::PettyCash:
        return {kDirectBillFolder, ""};
    case DayFile::Dates:
        return {"dates", ""};
    case DayFile::Move:
        return {"move", ""};
    case DayFile::Notes:
        return {"notes", ""};
    case DayFile::ReservationsToday:
        return {"reservationstoday", ""};
    case DayFile::PhoneLog:
        return {"phonelog", ""};
    }
    return {"", ""};
}

constexpr DayFile kDayFiles[] = {
    DayFile::Sleepers,          DayFile::Detail,    DayFile::Totals, DayFile::RoomsRented, DayFile::DbDaily,
    DayFile::DbPayments,        DayFile::PettyCash, DayFile::Dates,  DayFile::Move,        DayFile::Notes,
    DayFile::ReservationsToday, DayFile::PhoneLog,
};
static_assert(std::size(kDayFiles) == static_cast<size_t>(DayFile::PhoneLog) + 1, "every DayFile is listed");

std::string_view SubFolderOf(ShiftFile file) {
    return file == ShiftFile::ShiftCash ? "shiftcash" : "shiftrentals";
}

std::vector<std::string> MakeSubFolders() {
    std::vector<std::string> folders;
    auto add = [&](std::string_view folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.emplace_back(folder);
    };
    for (DayFile file : kDayFiles)
        add(NameOf(file).subfolder);
    add(SubFolderOf(ShiftFile::ShiftCash));
    add(SubFolderOf(ShiftFile::ShiftRentals));
    add(kHistoryFolder);
    add(kDirectBillFolder);
    add(kDailyChargeFolder);
    add(kPostedNotesFolder);
    add(kPrintFolder);
    return folders;
}

} // namespace

const std::vector<std::string>& DataSubFolders() {
    static const std::vector<std::string> folders = MakeSubFolders();
    return folders;
}

platform::FilePath DayFilePath(const DataFolder& folder, DayFile file, std::string_view dateText) {
    const DayName name = NameOf(file);
    return folder.File(name.subfolder, std::string(name.prefix) + DateDigits(dateText));
}

platform::FilePath ShiftFilePath(const DataFolder& folder, ShiftFile file, std::string_view shift,
                                 std::string_view dateText) {
    return folder.File(SubFolderOf(file), std::string(shift) + DateDigits(dateText));
}

platform::FilePath CancelYearFile(const DataFolder& folder, std::string_view dateText) {
    return folder.File(platform::Right(platform::RTrim(dateText), 2));
}

platform::FilePath PostedNotesFile(const DataFolder& folder, std::string_view dateText) {
    return folder.File(kPostedNotesFolder, DateDigits(dateText));
}

std::string StoredText(std::string_view typed) {
    std::string text(typed);
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"')
            c = '\'';
        else if (u < 0x20 || u == 0x7F)
            c = ' ';
    }
    return text;
}

std::string StoredName(std::string_view typed, size_t width) {
    return platform::Fixed(platform::UCase(StoredText(typed)), width);
}

platform::FilePath StayLedgerFile(const DataFolder& folder, std::string_view room3, std::string_view lastName,
                                  std::string_view firstName, std::string_view arrivalDate) {
    const std::string name = "dailycharge" + platform::Fixed(room3, 3) +
                             platform::RTrim(StoredText(lastName)) + platform::RTrim(StoredText(firstName)) +
                             DateDigits(platform::RTrim(arrivalDate));
    return folder.File(kDailyChargeFolder, name);
}

std::optional<long long> OneRecordFileLength(std::string_view relative) {
    struct Kind {
        std::string_view name; // a file's name, or a sub-folder's ending in "/"
        int length;
    };
    static constexpr Kind kinds[] = {
        {kFolioFile, FolioCounter::kLength},          {kShiftFile, ShiftRecord::kLength},
        {kWeekdayFile, RateTable::kLength},           {kWeekendFile, RateTable::kLength},
        {kOptionalRatesFile, OptionalRates::kLength}, {kIntroFile, kSingleSettingLength},
        {kStateTaxFile, kSingleSettingLength},        {kCityTaxFile, kSingleSettingLength},
        {kMovedYesFile, kSingleSettingLength},        {kDateStatusFile, DateStatusRecord::kLength},
        {"roomsrented/", RoomsRentedRecord::kLength}, {"totals/", DayTotals::kLength},
        {"shiftcash/", ShiftCash::kLength},
    };
    for (const Kind& kind : kinds) {
        const bool folder = kind.name.ends_with('/');
        if (folder ? relative.starts_with(kind.name) &&
                         relative.find('/', kind.name.size()) == std::string_view::npos
                   : relative == kind.name)
            return kind.length;
    }
    return std::nullopt;
}

} // namespace records
