// The made-up motel: a day-by-day walk over its years. Every room is either taken by a
// stay or free; each day the stays due out leave (a history entry and their ledger), the
// stays in house are charged the night, and most free rooms are let again.
#include "bench/motel_folder.h"

#include "platform/decimal.h"
#include "platform/engine.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/guest_record.h"
#include "records/history.h"
#include "records/reservation_files.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_record.h"
#include "records/stay_ledger.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>

namespace vantreth::bench {

using platform::Date;
using platform::DateText;
using platform::Fixed;
using platform::SeqLine;
using records::GuestRecord;
using records::StayLedgerLine;

namespace {

// A small, fast generator (splitmix64): the same seed gives the same motel.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }
    template <class T, size_t N> const T& Pick(const std::array<T, N>& items) { return items[Below(N)]; }

private:
    uint64_t m_state;
};

// The most frequent last names, with a weight each (about their share per 100,000 people);
// a guest not drawn from them gets a made-up name.
struct WeightedName {
    const char* name;
    int weight;
};
constexpr std::array<WeightedName, 40> kCommonLastNames{{
    {"SMITH", 828},     {"JOHNSON", 655}, {"WILLIAMS", 550}, {"BROWN", 487},     {"JONES", 483},
    {"GARCIA", 395},    {"MILLER", 394},  {"DAVIS", 377},    {"RODRIGUEZ", 371}, {"MARTINEZ", 353},
    {"HERNANDEZ", 344}, {"LOPEZ", 290},   {"GONZALEZ", 283}, {"WILSON", 269},    {"ANDERSON", 264},
    {"THOMAS", 258},    {"TAYLOR", 255},  {"MOORE", 243},    {"JACKSON", 241},   {"MARTIN", 238},
    {"LEE", 230},       {"PEREZ", 227},   {"THOMPSON", 226}, {"WHITE", 224},     {"HARRIS", 211},
    {"SANCHEZ", 210},   {"CLARK", 188},   {"RAMIREZ", 186},  {"LEWIS", 181},     {"ROBINSON", 178},
    {"WALKER", 173},    {"YOUNG", 163},   {"ALLEN", 160},    {"KING", 159},      {"WRIGHT", 158},
    {"SCOTT", 154},     {"TORRES", 154},  {"NGUYEN", 151},   {"HILL", 149},      {"FLORES", 148},
}};
constexpr std::array<const char*, 24> kNameStarts{{"BAR", "CAR", "DAL", "FEN", "GAR", "HAL", "KEL", "LAN",
                                                   "MAR", "NOR", "PAR", "RAN", "SAL", "STE", "TAL", "WAL",
                                                   "BEL", "COR", "DUN", "HOL", "MCK", "OST", "SCH", "VAN"}};
constexpr std::array<const char*, 16> kNameEnds{{"TON", "SEN", "LEY", "MAN", "FORD", "WELL", "ER", "INS",
                                                 "BERG", "OWSKI", "DEN", "RICK", "WOOD", "BY", "STROM",
                                                 "ES"}};
constexpr std::array<const char*, 32> kFirstNames{
    {"JAMES",   "MARY",   "ROBERT",  "PATRICIA", "JOHN",    "JENNIFER", "MICHAEL", "LINDA",
     "DAVID",   "SUSAN",  "WILLIAM", "JESSICA",  "RICHARD", "SARAH",    "JOSEPH",  "KAREN",
     "THOMAS",  "NANCY",  "CHARLES", "LISA",     "DANIEL",  "BETTY",    "MATTHEW", "SANDRA",
     "ANTHONY", "ASHLEY", "MARK",    "DONNA",    "PAUL",    "EMILY",    "STEVEN",  "CAROL"}};
constexpr std::array<const char*, 16> kStreets{
    {"MAIN ST", "OAK AVENUE", "ELM ST", "PARK AVE", "CEDAR LN", "MAPLE DR", "PINE ST", "LAKE RD", "HILL ST",
     "RIVER RD", "2ND ST", "WASHINGTON", "CHURCH ST", "MILL RD", "SUNSET BLVD", "HIGHLAND AVE"}};
struct Town {
    const char* city;
    const char* state;
    const char* zip;
};
constexpr std::array<Town, 16> kTowns{{{"DALLAS", "TX", "75001"},
                                       {"TULSA", "OK", "74103"},
                                       {"WICHITA", "KS", "67202"},
                                       {"OMAHA", "NE", "68102"},
                                       {"DENVER", "CO", "80202"},
                                       {"MEMPHIS", "TN", "38103"},
                                       {"LITTLE ROCK", "AR", "72201"},
                                       {"SPRINGFIELD", "IL", "62701"},
                                       {"AMARILLO", "TX", "79101"},
                                       {"JOPLIN", "MO", "64801"},
                                       {"FORT SMITH", "AR", "72901"},
                                       {"LUBBOCK", "TX", "79401"},
                                       {"SALINA", "KS", "67401"},
                                       {"ST LOUIS", "MO", "63101"},
                                       {"NORMAN", "OK", "73069"},
                                       {"ABILENE", "TX", "79601"}}};
constexpr std::array<const char*, 8> kCompanies{{"ACME TRUCKING", "PRAIRIE PIPELINE", "STATE DOT",
                                                 "BLUE SKY ROOFING", "MIDWEST RAIL", "WINDFARM SVC",
                                                 "US POSTAL", "CROP INSURANCE CO"}};
constexpr std::array<const char*, 6> kComments{{"QUIET ROOM, PLEASE", "LATE ARRIVAL", "EXTRA TOWELS",
                                                "PET - SMALL DOG", "GROUND FLOOR", "RETURNING GUEST"}};
constexpr std::array<const char*, 4> kClerks{{"JD", "AB", "MK", "NB"}};

struct RoomKind {
    const char* type;
    float rate;
    int count;
};
constexpr std::array<RoomKind, 8> kRoomKinds{{{"NK1", 59.95f, 12},
                                              {"K11", 54.95f, 6},
                                              {"NQ1", 49.95f, 14},
                                              {"NDD1", 64.95f, 12},
                                              {"Q11", 47.95f, 6},
                                              {"DD1", 59.95f, 6},
                                              {"SNQ1", 89.95f, 2},
                                              {"SQ3", 94.95f, 2}}};

constexpr double kTaxRate = 0.1;

// Pay codes and how often guests pay so.
char DrawPayCode(Random& random) {
    const int n = random.Below(100);
    if (n < 30)
        return 'L';
    if (n < 75)
        return 'N';
    if (n < 85)
        return 'M';
    if (n < 90)
        return 'P';
    if (n < 92)
        return 'O';
    return 'Q';
}

int DrawNights(Random& random) {
    const int n = random.Below(100);
    if (n < 48)
        return 1;
    if (n < 73)
        return 2;
    if (n < 85)
        return 3;
    if (n < 92)
        return 4;
    if (n < 97)
        return 5 + random.Below(3);
    return 8 + random.Below(7);
}

class LastNames {
public:
    LastNames() {
        for (const WeightedName& n : kCommonLastNames)
            m_total += n.weight;
    }
    // A fifth of the guests carry one of the common names.
    std::string Draw(Random& random) const {
        if (random.Chance(0.2)) {
            int at = random.Below(m_total);
            for (const WeightedName& n : kCommonLastNames) {
                if (at < n.weight)
                    return n.name;
                at -= n.weight;
            }
        }
        return std::string(random.Pick(kNameStarts)) + random.Pick(kNameEnds);
    }

private:
    int m_total = 0;
};

std::string Digits(Random& random, int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += static_cast<char>('0' + random.Below(10));
    return s;
}

std::string CardText(char payCode) {
    switch (payCode) {
    case 'N':
        return "VISA/MASTER";
    case 'M':
        return "AMERICAN EXPRESS";
    case 'P':
        return "DISCOVER";
    case 'O':
        return "DINERS";
    default:
        return "CASH REC.";
    }
}

std::optional<records::DayTotalsField> TotalsFieldOf(char code) {
    return records::DayTotalsFieldForCode(std::string(1, code));
}

// The day log's account item: the code and the company's name.
std::string AccountText(const std::string& dbNumber) {
    const std::string code = platform::Trim(dbNumber);
    const long index = static_cast<long>(platform::Val(code)) - 1001;
    return code + " " + (index >= 0 && index < static_cast<long>(kCompanies.size()) ? kCompanies[index] : "");
}

// A night's room rent as the program charges it: the gross to the cent, the tax derived.
records::RoomRentCharge NightCharge(float rate, bool taxExempt) {
    return records::ChargeRoomRent(platform::Decimal::Of(rate), taxExempt ? 0.0 : kTaxRate);
}

float TaxValueOf(float rate) {
    return records::ChargeRoomRent(platform::Decimal::Of(rate), kTaxRate).tax.Rounded(2).ToSingle();
}

// One day's files, kept until the day is over and then written in one go each.
struct DayFiles {
    std::vector<SeqLine> detail;
    std::vector<SeqLine> sleepers;
    std::vector<SeqLine> dbDaily;
    std::map<std::string, std::vector<SeqLine>> shiftRentals; // by shift letter
    records::DayTotals totals;
    int roomsRented = 0;

    void Add(records::DayTotalsField field, float amount) {
        float& f = totals.Amount(field);
        f = platform::AddAmount(f, platform::Decimal::Of(amount));
    }
};

struct Stay {
    GuestRecord guest;
    // When the guest came in: the record's text of it may be cut to its 10 characters
    // ("10:45:58 P"), which no longer reads as a time.
    platform::TimeOfDay checkIn;
    long departure = 0; // day number
    std::vector<StayLedgerLine> ledger;
};

class MotelWriter {
public:
    MotelWriter(platform::DataFolder folder, const MotelFolderPlan& plan)
        : m_folder(std::move(folder)), m_plan(plan), m_random(plan.seed) {}

    MotelFolderFacts Write();

private:
    void WriteRooms();
    void WriteAccounts();
    Stay NewStay(int room, long day, int nights);
    void Post(Stay& stay, DayFiles& day, const std::string& dateText, char code,
              const std::string& description, double amount, double taxValue, const std::string& shift,
              const std::string& clerk);
    void CheckOut(Stay& stay, long day, DayFiles& files);
    // A day of business: the stays due out leave, the others are charged last night's
    // audit, the free rooms are let again, and the day's files are written.
    void WriteBusinessDay(long day);
    void LetRoom(size_t room, long day, int nights, const std::string& dateText, DayFiles& files);
    void WriteDay(const std::string& dateText, DayFiles& files);
    void WriteInHouse();
    void FlushHistory();
    void WriteReservations();
    void WriteSettings();

    platform::DataFolder m_folder;
    MotelFolderPlan m_plan;
    Random m_random;
    LastNames m_lastNames;
    std::vector<records::RoomRecord> m_rooms;
    std::vector<std::optional<Stay>> m_inHouse; // by room index
    std::vector<SeqLine> m_history;             // entries not written yet
    MotelFolderFacts m_facts;
    long m_folio = 0;
    long m_regCard = 100000;
    long m_today = 0;
    std::map<std::string, long> m_lastNameCount;
};

std::string RoomNumber(int index) {
    return std::to_string(index < 30 ? 101 + index : 201 + index - 30);
}

void MotelWriter::WriteRooms() {
    size_t kind = 0;
    int leftOfKind = kRoomKinds[0].count;
    for (int i = 0; i < m_plan.rooms; ++i) {
        while (leftOfKind == 0) {
            kind = (kind + 1) % kRoomKinds.size();
            leftOfKind = kRoomKinds[kind].count;
        }
        --leftOfKind;
        records::RoomRecord room;
        room.Room = Fixed(RoomNumber(i), 3);
        room.RoomType = Fixed(kRoomKinds[kind].type, 5);
        room.Rate = kRoomKinds[kind].rate;
        room.Clean = "Y";
        room.Vacant = "Y";
        room.Service = "A";
        m_rooms.push_back(room);
    }
}

void MotelWriter::WriteAccounts() {
    for (size_t i = 0; i < kCompanies.size(); ++i) {
        records::DirectBillAccount account;
        account.CompanyName = kCompanies[i];
        account.ContactLastName = "ACCOUNTS";
        account.ContactFirstName = "PAYABLE";
        account.Address = "1 COMMERCE WAY";
        account.City = kTowns[i].city;
        account.State = kTowns[i].state;
        account.Zip = kTowns[i].zip;
        account.Phone1 = "(555) 555-01" + std::to_string(10 + i);
        account.TaxExempt = i % 3 == 0 ? "Y" : "N";
        account.DBNumber = std::to_string(1001 + i);
        account.LastPaymentDate = "--/--/--";
        account.LastPaymentAmount = "0";
        records::AppendAccount(m_folder, account);
    }
}

Stay MotelWriter::NewStay(int room, long day, int nights) {
    const Date arrival = platform::CivilFromDays(day);
    GuestRecord g;
    const std::string last = m_lastNames.Draw(m_random);
    ++m_lastNameCount[last];
    g.LastName = last;
    g.FirstName = m_random.Pick(kFirstNames);
    if (m_random.Chance(0.2))
        g.Company = m_random.Pick(kCompanies);
    g.Street = std::to_string(1 + m_random.Below(9900)) + " " + m_random.Pick(kStreets);
    const Town& town = m_random.Pick(kTowns);
    g.City = town.city;
    g.State = town.state;
    g.Zip = town.zip;
    g.Phone = "(" + Digits(m_random, 3) + ") 555-" + Digits(m_random, 4);
    g.RegCard = std::to_string(++m_regCard % 1000000);
    g.Clerk = m_random.Pick(kClerks);
    g.Room = Fixed(m_rooms[room].Room, 3);
    g.Adults = static_cast<float>(1 + m_random.Below(2));
    g.Children = static_cast<float>(m_random.Chance(0.2) ? 1 + m_random.Below(3) : 0);
    g.Nights = static_cast<float>(nights);
    g.TaxExempt = m_random.Chance(0.03) ? 1.0f : 0.0f;
    const char payCode = DrawPayCode(m_random);
    g.PayCode = std::string(1, payCode);
    const platform::TimeOfDay in{12 + m_random.Below(11), m_random.Below(60), m_random.Below(60)};
    g.CheckInTime = platform::TimeText(in);
    g.ArrivalDate = DateText(arrival);
    g.DepartureDate = DateText(platform::CivilFromDays(day + nights));
    g.Rate = m_rooms[room].Rate;
    g.CardNumber = payCode == 'L' || payCode == 'Q' ? "none" : "XXXX-XXXX-XXXX-" + Digits(m_random, 4);
    g.CardExpiry = payCode == 'L' || payCode == 'Q' ? "none"
                                                    : std::to_string(1 + m_random.Below(12)) + "/" +
                                                          std::to_string(27 + m_random.Below(4));
    if (payCode == 'Q')
        g.DBNumber = std::to_string(1001 + m_random.Below(static_cast<int>(kCompanies.size())));
    g.FolioNumber = platform::CStr(static_cast<long>(++m_folio));
    if (m_random.Chance(0.1))
        g.Comment = m_random.Pick(kComments);
    Stay stay;
    stay.guest = GuestRecord::Decode(g.Encode()); // every field at its stored width
    stay.departure = day + nights;
    stay.checkIn = in;
    return stay;
}

void MotelWriter::Post(Stay& stay, DayFiles& day, const std::string& dateText, char code,
                       const std::string& description, double amount, double taxValue,
                       const std::string& shift, const std::string& clerk) {
    stay.ledger.push_back(StayLedgerLine{.Room = stay.guest.Room,
                                         .Shift = shift,
                                         .PostDate = dateText,
                                         .Code = std::string(1, code),
                                         .Description = description,
                                         .Amount = static_cast<float>(amount),
                                         .TaxValue = static_cast<float>(taxValue)});
    day.detail.push_back(records::DayDetailLine{.Room = stay.guest.Room,
                                                .Shift = shift,
                                                .PostDate = dateText,
                                                .Code = std::string(1, code),
                                                .Description = description,
                                                .Amount = static_cast<float>(amount),
                                                .Clerk = clerk}
                             .ToSeqLine());
    if (code == 'E')
        records::AddRoomRent(day.totals, NightCharge(static_cast<float>(amount), stay.guest.IsTaxExempt()));
    else if (const auto field = TotalsFieldOf(code))
        day.Add(*field, static_cast<float>(amount));
}

void MotelWriter::CheckOut(Stay& stay, long day, DayFiles& files) {
    const Date date = platform::CivilFromDays(day);
    const platform::TimeOfDay out{7 + m_random.Below(5), m_random.Below(60), m_random.Below(60)};
    const std::string timeText = platform::TimeText(out);
    files.sleepers.push_back(SeqLine().Text(records::SleeperLineText(stay.guest)));
    const bool billed = platform::RTrim(stay.guest.PayCode) == "Q";
    records::HistoryEntry entry = billed ? records::HistoryForDirectBillCheckOut(stay.guest, timeText)
                                         : records::HistoryForCheckOut(stay.guest, timeText, date);
    for (SeqLine& line : entry.ToSeqLines())
        m_history.push_back(std::move(line));
    if (billed) {
        const platform::Decimal balance =
            records::StayBalance(stay.ledger, kTaxRate, stay.guest.IsTaxExempt());
        files.dbDaily.push_back(records::DbDailyLine{.Room = stay.guest.Room,
                                                     .Shift = "A",
                                                     .PostDate = DateText(date),
                                                     .Account = AccountText(stay.guest.DBNumber),
                                                     .Amount = balance.ToSingle()}
                                    .ToSeqLine());
    }
    std::vector<SeqLine> ledger;
    for (const StayLedgerLine& line : stay.ledger)
        ledger.push_back(line.ToSeqLine());
    platform::AppendLines(records::StayLedgerPath(m_folder, stay.guest), ledger);
    ++m_facts.ledgers;
    ++m_facts.checkedOut;
    // The thousandth stay's, or the first one's in a folder of fewer.
    if (m_facts.checkedOut == 1000 || m_facts.someRegCard.empty()) {
        m_facts.someRegCard = platform::RTrim(stay.guest.RegCard);
        m_facts.someArrivalDate = platform::RTrim(stay.guest.ArrivalDate);
    }
    if (m_history.size() >= 3000)
        FlushHistory();
}

void MotelWriter::FlushHistory() {
    if (m_history.empty())
        return;
    platform::AppendLines(records::HistoryFile(m_folder), m_history);
    m_history.clear();
}

void MotelWriter::WriteDay(const std::string& dateText, DayFiles& files) {
    using records::DayFile;
    if (!files.detail.empty())
        platform::AppendLines(records::DayFilePath(m_folder, DayFile::Detail, dateText), files.detail);
    if (!files.sleepers.empty())
        platform::AppendLines(records::DayFilePath(m_folder, DayFile::Sleepers, dateText), files.sleepers);
    if (!files.dbDaily.empty())
        platform::AppendLines(records::DayFilePath(m_folder, DayFile::DbDaily, dateText), files.dbDaily);
    for (const auto& [shift, lines] : files.shiftRentals)
        platform::AppendLines(
            records::ShiftFilePath(m_folder, records::ShiftFile::ShiftRentals, shift, dateText), lines);
    records::WriteDayTotals(m_folder, dateText, files.totals);
    if (files.roomsRented > 0)
        records::WriteRoomsRented(
            m_folder, dateText,
            records::RoomsRentedRecord{.RoomsRented = static_cast<float>(files.roomsRented)});
}

void MotelWriter::WriteReservations() {
    // The file keeps every slot it ever had: most are cancelled or arrived (names blanked,
    // the rest left), a few hundred wait for their day.
    std::string image;
    image.reserve(static_cast<size_t>(m_plan.reservationSlots) * GuestRecord::kLength);
    long live = 0;
    for (int slot = 0; slot < m_plan.reservationSlots; ++slot) {
        const bool waiting = slot % 8 == 3;
        const bool arrivesToday = slot % 500 == 3;
        const long arrival = arrivesToday ? m_today
                             : waiting    ? m_today + 1 + m_random.Below(200)
                                          : m_today - 1 - m_random.Below(700);
        const int room = m_random.Below(m_plan.rooms);
        Stay r = NewStay(room, arrival, DrawNights(m_random));
        --m_folio; // a reservation has no folio yet
        r.guest.FolioNumber = Fixed("", 5);
        r.guest.CheckInTime = Fixed("", 10);
        r.guest.ReservedOn = Fixed(DateText(platform::CivilFromDays(arrival - 1 - m_random.Below(60))), 10);
        r.guest.ConfirmationNumber = Fixed(std::to_string(5000 + slot), 10);
        if (!waiting)
            r.guest.ClearReservation();
        else
            ++live;
        image += r.guest.Encode();
    }
    platform::RandomFile(m_folder.File(records::kReservationsFile), GuestRecord::kLength).Put(1, image);
    m_facts.reservations = live;
    m_facts.slots = m_plan.reservationSlots;
    records::WriteConfirmationCounter(m_folder, 5000 + m_plan.reservationSlots);
}

void MotelWriter::WriteSettings() {
    records::WriteTaxRate(m_folder, kTaxRate);
    records::WriteShift(m_folder, records::ShiftRecord{.Shift = "A", .Clerk = "JD"});
    records::WriteIntroFlag(m_folder, 1.0f);
    records::WriteDayOfWeek(m_folder, platform::IsoWeekday(m_plan.today));
    records::WriteFolioCounter(m_folder, records::FolioCounter{.LastFolio = static_cast<float>(m_folio)});
    records::WriteNumberFile(m_folder, records::kCashDropYesFile, 0);
    records::WriteDateStatus(m_folder, records::DateStatusRecord{});
}

MotelFolderFacts MotelWriter::Write() {
    m_folder.EnsureLayout(records::DataSubFolders());
    if (platform::FileExists(m_folder.File(records::kRoomsFile)) ||
        platform::FileExists(records::HistoryFile(m_folder)))
        throw std::runtime_error(m_folder.root().string() + " already holds a motel");
    WriteRooms();
    WriteAccounts();
    m_today = platform::DaysFromCivil(m_plan.today);
    const long first = m_today - static_cast<long>(std::lround(m_plan.years * 365.25));
    m_inHouse.assign(m_rooms.size(), std::nullopt);
    for (long day = first; day <= m_today; ++day)
        WriteBusinessDay(day);
    FlushHistory();
    // The index of the history's keys, as the motel's first search leaves it.
    records::CatchUpHistoryIndex(m_folder);
    WriteInHouse();
    WriteReservations();
    WriteSettings();

    long most = 0;
    for (const auto& [name, count] : m_lastNameCount)
        if (count > most) {
            most = count;
            m_facts.commonLastName = name;
        }
    std::error_code ec;
    m_facts.historyBytes =
        static_cast<long long>(std::filesystem::file_size(records::HistoryFile(m_folder).path(), ec));
    return m_facts;
}

void MotelWriter::WriteBusinessDay(long day) {
    const std::string dateText = DateText(platform::CivilFromDays(day));
    DayFiles files;
    for (auto& stay : m_inHouse) {
        if (stay && stay->departure == day) {
            CheckOut(*stay, day, files);
            stay.reset();
        }
    }
    // Last night's audit charged every stay that stayed on.
    for (auto& stay : m_inHouse) {
        if (stay && day < m_today)
            Post(*stay, files, dateText, 'E', "ROOM RENT", stay->guest.Rate, TaxValueOf(stay->guest.Rate),
                 "C", "NB");
    }
    // Most free rooms are let again; on the last day every one of them, for a week or
    // more, so that the motel ends full and nobody is due out the next day.
    for (size_t room = 0; room < m_inHouse.size(); ++room) {
        if (m_inHouse[room])
            continue;
        const bool last = day == m_today;
        if (!last && !m_random.Chance(0.95))
            continue;
        int nights = last ? 7 + m_random.Below(7) : DrawNights(m_random);
        if (day + nights == m_today + 1)
            ++nights;
        LetRoom(room, day, nights, dateText, files);
    }
    WriteDay(dateText, files);
    ++m_facts.days;
}

void MotelWriter::LetRoom(size_t room, long day, int nights, const std::string& dateText, DayFiles& files) {
    Stay stay = NewStay(static_cast<int>(room), day, nights);
    const std::string clerk = platform::RTrim(stay.guest.Clerk);
    const platform::TimeOfDay in = stay.checkIn;
    const std::string shift = in.hour < 15 ? "A" : "B";
    const float rate = stay.guest.Rate;
    Post(stay, files, dateText, 'E', "ROOM RENT", rate, TaxValueOf(rate), shift, clerk);
    const char payCode = stay.guest.PayCode[0];
    const double total =
        (NightCharge(rate, stay.guest.IsTaxExempt()).gross * platform::Decimal::Of(nights)).ToDouble();
    if (payCode == 'L')
        Post(stay, files, dateText, 'L', "CASH REC.", total, 0, shift, clerk);
    else if (payCode != 'Q')
        Post(stay, files, dateText, payCode, CardText(payCode), total, 0, shift, clerk);
    if (m_random.Chance(0.05))
        Post(stay, files, dateText, 'G', "PHONE CHARGE", 0.25 * (1 + m_random.Below(20)), 0, shift, clerk);
    files.shiftRentals[shift].push_back(
        records::ShiftRentalLine{.Room = stay.guest.Room, .Shift = shift, .Clerk = clerk, .TimeRented = in}
            .ToSeqLine());
    ++files.roomsRented;
    m_inHouse[room] = std::move(stay);
}

// The stays in house: the guest file, their ledgers so far, their rooms taken.
void MotelWriter::WriteInHouse() {
    std::string guests;
    for (size_t room = 0; room < m_inHouse.size(); ++room) {
        Stay& stay = *m_inHouse[room];
        guests += stay.guest.Encode();
        std::vector<SeqLine> ledger;
        for (const StayLedgerLine& line : stay.ledger)
            ledger.push_back(line.ToSeqLine());
        platform::AppendLines(records::StayLedgerPath(m_folder, stay.guest), ledger);
        ++m_facts.ledgers;
        ++m_facts.inHouse;
        m_rooms[room].Service = "O";
        m_rooms[room].Vacant = "N";
        m_rooms[room].Clean = m_random.Chance(0.7) ? "Y" : "N";
    }
    platform::RandomFile(m_folder.File(records::kGuestFile), GuestRecord::kLength).Put(1, guests);
    std::string rooms;
    for (const records::RoomRecord& room : m_rooms)
        rooms += room.Encode();
    platform::RandomFile(m_folder.File(records::kRoomsFile), records::RoomRecord::kLength).Put(1, rooms);
}

} // namespace

MotelFolderFacts WriteMotelFolder(const std::filesystem::path& root, const MotelFolderPlan& plan) {
    // The folder is not open (no engine): its files are written on the disk as they stand. The
    // file system is flushed once before the steps.
    return MotelWriter(platform::DataFolder(root, nullptr), plan).Write();
}

} // namespace vantreth::bench
