// The history file, the company accounts and the day's direct-bill log.
#include "platform/engine.h"
#include "platform/text.h"
#include "records/direct_bill.h"
#include "records/filenames.h"
#include "records/history.h"
#include "records_fixture.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

std::string Pad(const std::string& s, size_t width) {
    return s + std::string(width - s.size(), ' ');
}
std::string Q(const std::string& s) {
    return "\"" + s + "\"";
}

GuestRecord Stay() {
    GuestRecord g;
    g.LastName = "SMITH";
    g.FirstName = "JOHN";
    g.Room = "12";
    g.Clerk = "AB";
    g.Adults = 2;
    g.Children = 0;
    g.Nights = 3;
    g.PayCode = "Q";
    g.CheckInTime = "3:45:12 PM";
    g.ArrivalDate = "12/6/26";
    g.DepartureDate = "12/9/26";
    g.Rate = 45.5f;
    g.CardNumber = "none";
    g.CardExpiry = "none";
    g.DBNumber = "1001";
    g.FolioNumber = "17";
    return GuestRecord::Decode(g.Encode()); // as stored: every field at its full width
}

std::string Line1() {
    return Q(Pad("SMITH", 15)) + "," + Q(Pad("JOHN", 15)) + "," + Q(Pad("", 20)) + "," + Q(Pad("", 25)) +
           "," + Q(Pad("", 20)) + "," + Q("  ") + "," + Q(Pad("", 6)) + "," + Q(Pad("", 15)) + "," +
           Q(Pad("", 6)) + "," + Q("AB") + "," + Q("12 ") + ",2,0\r\n";
}

std::string Line3(const std::string& account) {
    return Q(Pad("none", 40)) + "," + Q(Pad("none", 10)) + "," + Q(account) + "," + Q(Pad("17", 5)) + "," +
           Q(Pad("", 160)) + "," + Q(Pad("", 10)) + "," + Q(Pad("", 10)) + "," + Q(Pad("", 10)) + "," +
           Q(Pad("", 10)) + "," + Q(Pad("", 10)) + "\r\n";
}

using HistoryTest = RecordsTest;

TEST_F(HistoryTest, OrdinaryCheckOutWritesADateLiteralAndNone) {
    AppendHistoryEntry(folder(), HistoryForCheckOut(Stay(), "10:05:00 AM", platform::Date{2026, 12, 9}));
    const std::string line2 = "3,0," + Q("Q") + "," + Q("3:45:12 PM") + "," + Q(Pad("12/6/26", 10)) + "," +
                              Q("10:05:00 A") + ",#2026-12-09#,45.5,0\r\n";
    const std::string raw = ReadRaw(At("history/history"));
    EXPECT_EQ(raw, Line1() + line2 + Line3("none")) << raw;
}

TEST_F(HistoryTest, DirectBillCheckOutWritesTheDepartureTextAndTheAccountCode) {
    AppendHistoryEntry(folder(), HistoryForDirectBillCheckOut(Stay(), "3:05:00 PM"));
    const std::string line2 = "3,0," + Q("Q") + "," + Q("3:45:12 PM") + "," + Q(Pad("12/6/26", 10)) + "," +
                              Q("3:05:00 PM") + "," + Q(Pad("12/9/26", 10)) + ",45.5,0\r\n";
    const std::string raw = ReadRaw(At("history/history"));
    EXPECT_EQ(raw, Line1() + line2 + Line3("1001    ")) << raw;
}

TEST_F(HistoryTest, ATaxExemptStayWritesOne) {
    GuestRecord g = Stay();
    g.TaxExempt = 1;
    EXPECT_EQ(HistoryForCheckOut(g, "", platform::Date{2026, 12, 9}).TaxExempt, 1.0f);
    g.TaxExempt = 5;
    EXPECT_EQ(HistoryForCheckOut(g, "", platform::Date{2026, 12, 9}).TaxExempt, 0.0f);
}

TEST_F(HistoryTest, EntriesReadBackInOrderWithTheirKindOfCheckOutDate) {
    const HistoryEntry ordinary = HistoryForCheckOut(Stay(), "10:05:00 AM", platform::Date{2026, 12, 9});
    GuestRecord other = Stay();
    other.LastName = Pad("JONES", 15);
    other.Comment = Pad("QUIET ROOM, PLEASE", 160);
    const HistoryEntry billed = HistoryForDirectBillCheckOut(other, "3:05:00 PM");
    AppendHistoryEntry(folder(), ordinary);
    AppendHistoryEntry(folder(), billed);

    const std::vector<HistoryEntry> back = ReadHistory(folder());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], ordinary);
    EXPECT_EQ(back[0].CheckOutDate, "12/9/26");
    EXPECT_EQ(back[0].CheckOutDateLiteral, (platform::Date{2026, 12, 9}));
    EXPECT_EQ(back[1], billed);
    EXPECT_EQ(back[1].CheckOutDate, "12/9/26   ");
    EXPECT_FALSE(back[1].CheckOutDateLiteral.has_value());
    EXPECT_EQ(back[1].Comment, Pad("QUIET ROOM, PLEASE", 160));
}

TEST_F(HistoryTest, NoHistoryFileMeansNoCheckedOutStays) {
    EXPECT_TRUE(ReadHistory(folder()).empty());
    EXPECT_FALSE(platform::FileExists(At("history/history"))) << "reading creates nothing";
}

TEST_F(HistoryTest, ADamagedEntryIsSkippedAndTheEntriesAfterItStillRead) {
    // The three lines of the entries of guests A, B and C as written.
    auto linesOf = [](const char* name) {
        GuestRecord g = Stay();
        g.LastName = Pad(name, 15);
        std::vector<std::string> lines;
        for (const platform::SeqLine& line : HistoryForCheckOut(g, "10:05:00 AM", {2026, 12, 9}).ToSeqLines())
            lines.push_back(line.str() + "\r\n");
        return lines;
    };
    const std::vector<std::string> a = linesOf("A"), b = linesOf("B"), c = linesOf("C");
    const std::string sound = a[0] + a[1] + a[2] + b[0] + b[1] + b[2] + c[0] + c[1] + c[2];
    const std::string head = a[0] + a[1] + a[2];
    const std::string tail = c[0] + c[1] + c[2];
    struct Case {
        const char* damage;
        std::string text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"none", sound, {"A", "B", "C"}},
        {"last entry cut inside its third line", sound.substr(0, sound.size() - 20), {"A", "B"}},
        {"last entry cut after its second line", head + c[0] + c[1], {"A"}},
        {"only a first line", a[0], {}},
        {"a short second line", head + b[0] + "3,0\r\n" + b[2] + tail, {"A", "C"}},
        {"an unterminated quote", head + "\"B    \r\n" + b[1] + b[2] + tail, {"A", "C"}},
        {"a third line missing", head + b[0] + b[1] + tail, {"A", "C"}},
        {"a date where the nights belong",
         head + b[0] + "#2026-12-06#" + b[1].substr(1) + b[2] + tail,
         {"A", "C"}},
    };
    for (const Case& c : cases) {
        WriteRaw(At("history/history"), c.text);
        TakeDamageReports();
        std::vector<std::string> names;
        for (const HistoryEntry& entry : ReadHistory(folder()))
            names.push_back(platform::RTrim(entry.LastName));
        EXPECT_EQ(names, c.names) << c.damage;
        EXPECT_EQ(TakeDamageReports().size(), c.names.size() == 3 ? 0u : 1u) << c.damage;
    }
}

// ---- the streaming reader against a whole-file reading ----

// The entries as a SeqReader over the whole file groups them: three lines of 13, 9 and 10
// items, a line that does not fit dropping the entry begun before it. The history reader
// goes through the file piece by piece and must give exactly these entries and this damage.
std::vector<HistoryEntry> WholeFileEntries(const platform::FilePath& file) {
    platform::SeqReader reader(file);
    std::vector<HistoryEntry> entries;
    static const size_t kItems[3] = {13, 9, 10};
    HistoryEntry e;
    size_t line = 0, firstLine = 0, lastLine = 0;
    auto drop = [&](size_t last) {
        if (line != 0)
            reader.NoteDamage("lines " + std::to_string(firstLine) + " to " + std::to_string(last) +
                              ": an entry cut short, skipped");
        line = 0;
        e = HistoryEntry{};
    };
    auto text = [&] { return reader.ReadText(); };
    auto number = [&] { return static_cast<float>(reader.ReadNumber()); };
    while (reader.NextLine()) {
        if (reader.LineSize() != kItems[line]) {
            drop(lastLine);
            if (reader.LineSize() != kItems[0]) {
                reader.SkipLine(std::to_string(reader.LineSize()) + " items, out of place in an entry");
                lastLine = reader.LineNumber();
                continue;
            }
        }
        if (line == 0)
            firstLine = reader.LineNumber();
        lastLine = reader.LineNumber();
        try {
            if (line == 0) {
                for (std::string* f : {&e.LastName, &e.FirstName, &e.Company, &e.Street, &e.City, &e.State,
                                       &e.Zip, &e.Phone, &e.RegCard, &e.Clerk, &e.Room})
                    *f = text();
                e.Adults = number();
                e.Children = number();
            } else if (line == 1) {
                e.Nights = number();
                e.TaxExempt = number();
                for (std::string* f : {&e.PayCode, &e.CheckInTime, &e.ArrivalDate, &e.CheckOutTime})
                    *f = text();
                if (reader.LineItem(6).kind == platform::SeqItem::Kind::Date)
                    e.CheckOutDateLiteral = reader.LineItem(6).date;
                e.CheckOutDate = text();
                e.Rate = number();
                e.SpareAmount = number();
            } else {
                for (std::string* f :
                     {&e.CardNumber, &e.CardExpiry, &e.DBNumber, &e.FolioNumber, &e.Comment, &e.ReservedOn,
                      &e.SpareText, &e.CardDeposit, &e.ConfirmationNumber, &e.CashDeposit})
                    *f = text();
            }
        } catch (const platform::IoError& error) {
            if (line == 0)
                reader.SkipLine(error.reason());
            drop(lastLine);
            continue;
        }
        if (++line == 3) {
            entries.push_back(std::move(e));
            e = HistoryEntry{};
            line = 0;
        }
    }
    drop(lastLine);
    return entries;
}

// The damage reports with the file's name taken out, so that two files compare.
std::vector<std::string> ReportsWithout(const std::filesystem::path& file, std::vector<std::string> reports) {
    for (std::string& report : reports)
        for (size_t at; (at = report.find(file.string())) != std::string::npos;)
            report.erase(at, file.string().size());
    return reports;
}

// A varied history: names, a direct-bill stay, a comment with commas.
std::string SoundHistory(int entries) {
    std::string text;
    for (int i = 0; i < entries; ++i) {
        GuestRecord g = Stay();
        g.LastName = Pad(i % 3 == 0 ? "SMITH" : i % 3 == 1 ? "SMITHERS" : "JONES", 15);
        g.RegCard = Pad(std::to_string(1000 + i % 7), 6);
        g.FolioNumber = Pad(std::to_string(17 + i), 5);
        g.ArrivalDate = Pad("12/" + std::to_string(1 + i % 5) + "/26", 10);
        if (i % 4 == 1)
            g.Comment = Pad("LATE, QUIET, TWO BEDS", 160);
        const HistoryEntry e = i % 5 == 2 ? HistoryForDirectBillCheckOut(g, "3:05:00 PM")
                                          : HistoryForCheckOut(g, "10:05:00 AM", {2026, 12, 6 + i % 3});
        for (const platform::SeqLine& line : e.ToSeqLines())
            text += line.str() + "\r\n";
    }
    return text;
}

class HistoryStreamTest : public RecordsTest {
protected:
    // The same file read both ways gives the same entries and the same message for the clerk.
    void ExpectReadAsWholeFile(const std::string& text, const std::string& what) {
        const platform::FilePath history = At("history/history");
        const platform::FilePath copy = At("history/whole");
        WriteRaw(history, text);
        WriteRaw(copy, text);
        TakeDamageReports();
        const std::vector<HistoryEntry> expected = WholeFileEntries(copy);
        const std::vector<std::string> expectedReports = ReportsWithout(copy.path(), TakeDamageReports());
        EXPECT_EQ(ReadHistory(folder()), expected) << what;
        EXPECT_EQ(ReportsWithout(history.path(), TakeDamageReports()), expectedReports) << what;
    }
};

TEST_F(HistoryStreamTest, DamagedFilesReadExactlyAsAWholeFileReaderReadsThem) {
    const std::string sound = SoundHistory(6);
    const std::string a = sound.substr(0, sound.find("\r\n") + 2);
    struct Case {
        const char* damage;
        std::string text;
    };
    const Case cases[] = {
        {"sound", sound},
        {"lines ending in LF only",
         [&] {
             std::string t = sound;
             for (size_t at; (at = t.find("\r\n")) != std::string::npos;)
                 t.erase(at, 1);
             return t;
         }()},
        {"lines ending in CR only",
         [&] {
             std::string t = sound;
             for (size_t at; (at = t.find("\r\n")) != std::string::npos;)
                 t.erase(at + 1, 1);
             return t;
         }()},
        {"CR CR LF and LF CR", "\r\r\n" + sound.substr(0, 300) + "\n\r" + sound.substr(300)},
        {"an empty line between entries", a + "\r\n" + sound},
        {"blanks around the items",
         [&] {
             std::string t = sound;
             for (size_t at = 0; (at = t.find("\",\"", at)) != std::string::npos; at += 5)
                 t.replace(at, 3, "\" ,\t \"");
             return t;
         }()},
        {"text after a closing quote", sound.substr(0, 40) + "x" + sound.substr(40)},
        {"a quote inside a bare item",
         sound.substr(0, sound.find(",2,0")) + ",2\"\",0" + sound.substr(sound.find(",2,0") + 4)},
        {"a quoted comma inside a bare item",
         sound.substr(0, sound.find(",2,0")) + ",2\"x,y\",0" + sound.substr(sound.find(",2,0") + 4)},
        {"a NUL byte", sound.substr(0, 700) + std::string(1, '\0') + sound.substr(700)},
        {"a date where a number belongs",
         sound.substr(0, sound.find(",2,0")) + ",#2026-12-06#,0" + sound.substr(sound.find(",2,0") + 4)},
        {"a time where the rate belongs",
         [&] {
             std::string t = sound;
             t.replace(t.find(",45.5,"), 6, ",#10:05:00#,");
             return t;
         }()},
        {"a time where the check-out date belongs",
         [&] {
             std::string t = sound;
             t.replace(t.find("#2026-12-06#"), 12, "#10:05:00#");
             return t;
         }()},
        {"not a literal between # signs",
         [&] {
             std::string t = sound;
             t.replace(t.find("#2026-12-06#"), 12, "#2026-13-06#");
             t.replace(t.find(",45.5,"), 6, ",#45#,");
             return t;
         }()},
        {"a last line cut short", sound.substr(0, sound.size() - 9)},
        {"more lines of many items", "1,2\r\n" + sound + std::string(20, ',') + "\r\n" + a + a},
    };
    for (const Case& c : cases)
        ExpectReadAsWholeFile(c.text, c.damage);
}

TEST_F(HistoryStreamTest, RandomlyDamagedFilesReadExactlyAsAWholeFileReaderReadsThem) {
    const std::string sound = SoundHistory(8);
    const std::string pieces[] = {
        "\r",           "\n",        "\r\n",   "\"", ",", "#", " ", std::string(1, '\0'),
        "#2026-12-06#", "#1:05:00#", "\"X\",", "12", "e5"};
    uint64_t seed = 12345;
    auto next = [&](uint64_t below) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % below;
    };
    for (int round = 0; round < 400; ++round) {
        std::string text = sound;
        const int faults = 1 + static_cast<int>(next(3));
        for (int f = 0; f < faults; ++f) {
            const size_t at = next(text.size());
            switch (next(3)) {
            case 0:
                text.erase(at, 1 + next(30));
                break;
            case 1:
                text.insert(at, pieces[next(std::size(pieces))]);
                break;
            default:
                text[at] = pieces[next(std::size(pieces))][0];
                break;
            }
        }
        ExpectReadAsWholeFile(text, "round " + std::to_string(round) + ": " + Show(text));
        if (HasFailure())
            break;
    }
}

TEST_F(HistoryStreamTest, AHistoryLongerThanOnePieceReadsWholeWithItsDamage) {
    // Well past the piece the reader reads at a time, with damage, and a line longer than a
    // piece; an unreadable first line of a few lengths moves every entry across the edges
    // of the pieces.
    std::string body = SoundHistory(1500);
    body.insert(body.find("\r\n", body.size() / 3) + 2, "\"cut\r\n"); // an unreadable line
    const size_t lost = body.find("\r\n", body.size() / 2) + 2;       // a line lost: an entry
    body.erase(lost, body.find("\r\n", lost) + 2 - lost);             // cut short
    GuestRecord g = Stay();
    g.Comment = std::string(600 * 1024, 'Q');
    for (const platform::SeqLine& line : HistoryForCheckOut(g, "10:05:00 AM", {2026, 12, 9}).ToSeqLines())
        body += line.str() + "\r\n";
    body += SoundHistory(10);
    for (size_t shift : {0, 90, 180, 270, 360, 450}) {
        const std::string text = std::string(shift, 'x') + "\"\r\n" + body;
        ExpectReadAsWholeFile(text, "shifted by " + std::to_string(shift));
        EXPECT_EQ(ReadHistory(folder()).size(), 1500u - 1 + 1 + 10);
        EXPECT_EQ(ReadHistory(folder()).back().FolioNumber, Pad("26", 5));
    }
}

TEST_F(HistoryStreamTest, SearchesFindTheEntriesWhoseKeyIsWantedInFileOrder) {
    std::string text = SoundHistory(30);
    text.insert(text.size() / 2, "\"torn\r\n"); // damage is skipped the same way
    WriteRaw(At("history/history"), text);
    const std::vector<HistoryEntry> all = ReadHistory(folder());
    ASSERT_EQ(TakeDamageReports().size(), 1u);
    struct Case {
        HistoryKey key;
        std::string HistoryEntry::*item;
        std::string wanted;
    };
    const Case cases[] = {
        {HistoryKey::LastName, &HistoryEntry::LastName, Pad("SMITH", 15)},
        {HistoryKey::RegCard, &HistoryEntry::RegCard, Pad("1003", 6)},
        {HistoryKey::ArrivalDate, &HistoryEntry::ArrivalDate, Pad("12/2/26", 10)},
        {HistoryKey::CheckOutDate, &HistoryEntry::CheckOutDate, "12/7/26"},
        {HistoryKey::CheckOutDate, &HistoryEntry::CheckOutDate, Pad("12/9/26", 10)},
        {HistoryKey::FolioNumber, &HistoryEntry::FolioNumber, Pad("40", 5)},
    };
    for (const Case& c : cases) {
        std::vector<HistoryEntry> expected;
        for (const HistoryEntry& e : all)
            if (e.*c.item == c.wanted)
                expected.push_back(e);
        ASSERT_FALSE(expected.empty()) << c.wanted;
        std::vector<std::string> seen;
        const std::vector<HistoryEntry> found = FindInHistory(folder(), c.key, [&](std::string_view key) {
            seen.emplace_back(key);
            return key == c.wanted;
        });
        EXPECT_EQ(found, expected) << c.wanted;
        EXPECT_EQ(seen.size(), all.size()) << "every sound entry's key is looked at once";
    }
    EXPECT_TRUE(TakeDamageReports().empty()) << "the damage is reported once, not at every search";
}

DirectBillAccount Acme() {
    DirectBillAccount a;
    a.CompanyName = "ACME TRUCKING";
    a.ContactLastName = "ROAD";
    a.ContactFirstName = "RUNNER";
    a.Address = "1 DESERT WAY";
    a.City = "MESA";
    a.State = "AZ";
    a.Zip = "85201";
    a.Phone1 = "555-0101";
    a.Phone2 = "555-0102";
    a.Fax = "555-0103";
    a.Cell = "555-0104";
    a.Balance = 100.5f;
    a.TaxExempt = "N";
    a.DBNumber = "1001";
    a.LastPaymentDate = "--/--/--";
    a.LastPaymentAmount = "0";
    return a;
}

std::string AcmeBytes() {
    return Pad("ACME TRUCKING", 80) + Pad("ROAD", 20) + Pad("RUNNER", 20) + Pad("1 DESERT WAY", 40) +
           Pad("MESA", 30) + "AZ" + Pad("85201", 6) + Pad("555-0101", 15) + Pad("555-0102", 15) +
           Pad("555-0103", 15) + Pad("555-0104", 15) + Bytes({0x00, 0x00, 0xc9, 0x42}) + Bytes({0, 0, 0, 0}) +
           "N" + Pad("1001", 7) + Pad("--/--/--", 10) + Pad("0", 10) + Pad("", 10);
}

TEST(DirectBillAccountTest, EncodesAll304BytesInFieldOrder) {
    ASSERT_EQ(AcmeBytes().size(), 304u);
    EXPECT_EQ(Acme().Encode(), AcmeBytes()) << Show(Acme().Encode());
    EXPECT_EQ(DirectBillAccount::Decode(AcmeBytes()), DirectBillAccount::Decode(Acme().Encode()));
    EXPECT_EQ(DirectBillAccount::Decode(AcmeBytes()).Balance, 100.5f);
}

TEST(DirectBillAccountTest, TheSpareAmountIsWrittenBackAsRead) {
    std::string bytes = AcmeBytes();
    bytes.replace(262, 4, Bytes({0x01, 0x00, 0x20, 0xff}));
    EXPECT_EQ(DirectBillAccount::Decode(bytes).Encode(), bytes);
}

TEST(DirectBillAccountTest, ChargingKeyIsTheCodeAsAWholeNumber) {
    struct Case {
        const char* dbNumber;
        const char* key;
    };
    const Case cases[] = {
        {"1001    ", "1001"}, {"0012    ", "12"}, {" 7      ", "7"}, {"        ", "0"}, {"12AB", "12"}};
    for (const Case& c : cases)
        EXPECT_EQ(ChargingKey(c.dbNumber), c.key) << "DBNumber \"" << c.dbNumber << "\"";
}

using AccountsFileTest = RecordsTest;

TEST_F(AccountsFileTest, FindAccountMatchesTheTrimmedCodeAndDoesNotSkipDeletedAccounts) {
    DirectBillAccount deleted = Acme();
    deleted.CompanyName = "";
    deleted.DBNumber = "1002";
    EXPECT_EQ(AppendAccount(folder(), Acme()), 1);
    EXPECT_EQ(AppendAccount(folder(), deleted), 2);
    EXPECT_EQ(AppendAccount(folder(), Acme()), 3);
    EXPECT_TRUE(ReadAccount(folder(), 2).IsDeleted());
    EXPECT_EQ(FindAccount(folder(), "1001"), 1);
    EXPECT_EQ(FindAccount(folder(), "1002"), 2);
    EXPECT_EQ(FindAccount(folder(), "100"), std::nullopt);
    EXPECT_EQ(FindAccount(folder(), "1001 "), std::nullopt) << "the key is compared as given";
    EXPECT_EQ(AccountCount(folder()), 3);
    EXPECT_EQ(ReadAllAccounts(folder()).size(), 3u);
}

TEST_F(AccountsFileTest, ChargingAStayAddsTheRoundedBalanceInPlace) {
    AppendAccount(folder(), Acme());
    EXPECT_EQ(ChargeAccount(folder(), "1001", platform::Decimal::Of(12.35)), 1);
    const std::string raw = ReadRaw(At("directbill/dbmember"));
    std::string expected = AcmeBytes();
    expected.replace(258, 4, Bytes({0x33, 0xb3, 0xe1, 0x42})); // 112.85
    EXPECT_EQ(raw, expected) << Show(raw);
}

// The check-out changes only the balance: zero bytes of the other fields (the reserved text
// at the end, a field never filled in) stay zero.
TEST_F(AccountsFileTest, ChargingKeepsTheBytesOfEveryOtherField) {
    AppendAccount(folder(), Acme());
    std::string stored = ReadRaw(At("directbill/dbmember"));
    stored.replace(294, 10, std::string(10, '\0'));
    stored.replace(228, 15, std::string(15, '\0'));
    platform::RandomFile(At("directbill/dbmember"), 304).Put(1, stored);
    ASSERT_EQ(ChargeAccount(folder(), "1001", platform::Decimal::Of(12.35)), 1);
    std::string expected = stored;
    expected.replace(258, 4, Bytes({0x33, 0xb3, 0xe1, 0x42})); // 112.85
    const std::string raw = ReadRaw(At("directbill/dbmember"));
    EXPECT_EQ(raw, expected) << Show(raw);
}

TEST_F(AccountsFileTest, ChargingAnUnknownAccountWritesNothing) {
    AppendAccount(folder(), Acme());
    EXPECT_EQ(ChargeAccount(folder(), "9999", platform::Decimal::Of(12.35)), std::nullopt);
    EXPECT_EQ(ReadRaw(At("directbill/dbmember")), AcmeBytes());
}

TEST_F(AccountsFileTest, DbDailyLinesAppendAndReadBack) {
    const DbDailyLine first{"12 ", "A", "12/6/26", DbDailyAccountText(Acme()), 12.35f};
    const DbDailyLine second{"101", "B", "12/6/26", "1002 OTHER CO", 7.0f};
    AppendDbDailyLine(folder(), "12/6/26", first);
    AppendDbDailyLine(folder(), "12/6/26", second);
    const std::string raw = ReadRaw(At("dbdaily/12626"));
    EXPECT_EQ(raw.substr(0, raw.find('\n') + 1),
              "\"12 \",\"A\",\"12/6/26\",\"1001 ACME TRUCKING\",12.35\r\n");
    EXPECT_EQ(ReadDbDaily(folder(), "12/6/26"), (std::vector<DbDailyLine>{first, second}));
}

// A search run inside a step sees the entry the step appended, whichever piece of the file
// it lands in; once the step is dropped it is gone again.
TEST_F(HistoryStreamTest, ASearchInsideAStepSeesTheStepsOwnEntries) {
    for (const int before : {0, 3, 3000}) { // none, one piece, more than one piece
        WriteRaw(At("history/history"), SoundHistory(before));
        HistoryEntry added = HistoryForCheckOut(Stay(), "9:00:00 AM", {2026, 12, 9});
        added.LastName = Pad("ZEBULON", 15);
        const auto zebulons = [&] {
            return FindInHistory(folder(), HistoryKey::LastName,
                                 [](std::string_view key) { return key == Pad("ZEBULON", 15); })
                .size();
        };
        platform::Engine& journal = engine();
        journal.Recover();
        {
            platform::Transaction step(journal, "checking out");
            AppendHistoryEntry(folder(), added);
            EXPECT_EQ(zebulons(), 1u) << before << " entries before";
            step.Rollback();
        }
        EXPECT_EQ(zebulons(), 0u) << before << " entries before";
    }
}

// ---- the index of the history's keys ----

// The entries of the whole file whose key `member` holds a text `wanted` accepts, with their
// places, as a search must give them.
using Placed = std::vector<std::pair<size_t, HistoryEntry>>;

class HistoryIndexTest : public HistoryStreamTest {
protected:
    platform::FilePath History() { return At("history/history"); }
    platform::FilePath Keys() { return At("history/history.keys"); }

    // Every entry whose key text is among `wanted`, placed: through the index.
    Placed Search(HistoryKey key, const std::vector<std::string>& wanted) {
        Placed found;
        ScanHistoryPlaced(
            folder(), key,
            [&](std::string_view text) {
                return std::find(wanted.begin(), wanted.end(), text) != wanted.end();
            },
            [&](const HistoryEntry& e, size_t place) { found.emplace_back(place, e); });
        return found;
    }
    // What every key's search must give, from the whole file read by the file layer's reader.
    void ExpectSearchesAsWholeFile(const std::string& what) {
        WriteRaw(At("history/whole"), ReadRaw(History()));
        const std::vector<HistoryEntry> all = WholeFileEntries(At("history/whole"));
        const std::pair<HistoryKey, std::string HistoryEntry::*> keys[] = {
            {HistoryKey::LastName, &HistoryEntry::LastName},
            {HistoryKey::RegCard, &HistoryEntry::RegCard},
            {HistoryKey::ArrivalDate, &HistoryEntry::ArrivalDate},
            {HistoryKey::CheckOutDate, &HistoryEntry::CheckOutDate},
            {HistoryKey::FolioNumber, &HistoryEntry::FolioNumber},
            {HistoryKey::DBNumber, &HistoryEntry::DBNumber}};
        for (const auto& [key, member] : keys) {
            std::vector<std::string> wanted; // the first text the key holds, then every other one
            for (size_t i = 0; i < all.size(); i += 2)
                wanted.push_back(all[i].*member);
            for (const std::vector<std::string>& texts :
                 {std::vector<std::string>(wanted.begin(),
                                           wanted.begin() + std::min<size_t>(1, wanted.size())),
                  wanted}) {
                Placed expected;
                for (size_t i = 0; i < all.size(); ++i)
                    if (std::find(texts.begin(), texts.end(), all[i].*member) != texts.end())
                        expected.emplace_back(i, all[i]);
                EXPECT_EQ(Search(key, texts), expected) << what << ", key " << static_cast<int>(key);
            }
        }
    }
};

// The searches give what a pass over the whole file gives, when the index is made, when it
// is read, and after entries are appended to it: over damaged histories, keys too long for
// the index, and keys written as literals.
TEST_F(HistoryIndexTest, SearchesThroughTheIndexGiveWhatAWholePassGives) {
    std::string sound = SoundHistory(9);
    sound.replace(sound.find(Q(Pad("SMITHERS", 15))), 17, Q("SMITHERSON-WALLACE-JONES")); // too long
    sound.replace(sound.find(Q(Pad("12/2/26", 10))), 12, "#2026-12-02#"); // an arrival literal
    const std::string pieces[] = {"\r",           "\n",    "\r\n", "\"", ",", "#", std::string(1, '\0'),
                                  "#2026-12-06#", "\"X\","};
    uint64_t seed = 777;
    auto next = [&](uint64_t below) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % below;
    };
    for (int round = 0; round < 60 && !HasFailure(); ++round) {
        std::string text = sound;
        for (int f = 0; f < round % 3; ++f) // sound, then one or two faults
            text.insert(next(text.size()), pieces[next(std::size(pieces))]);
        WriteRaw(History(), text);
        const std::string what = "round " + std::to_string(round) + ": " + Show(text);
        ExpectSearchesAsWholeFile(what + " (made)");
        ExpectSearchesAsWholeFile(what + " (read)");
        GuestRecord g = Stay();
        g.LastName = Pad("APPENDED", 15);
        AppendHistoryEntry(folder(), HistoryForCheckOut(g, "9:00:00 AM", {2026, 12, 10}));
        ExpectSearchesAsWholeFile(what + " (appended)");
    }
}

// An index behind the history is caught up; one ahead of it, of another history, damaged,
// missing, or naming wrong bytes is made anew: the answers are the same, and the index is
// left as a new one would be.
TEST_F(HistoryIndexTest, AnIndexBehindAheadReplacedDamagedOrMissingIsMadeGoodAgain) {
    const std::string base = SoundHistory(12);
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const std::string more = SoundHistory(14).substr(base.size());
    const Case cases[] = {
        {"behind", [&] { WriteRaw(History(), base + more); }},
        {"ahead", [&] { WriteRaw(History(), base.substr(0, base.find("\"JONES"))); }},
        {"of another history",
         [&] {
             std::string other = base;
             other.replace(other.find("JONES"), 5, "SMITH"); // found under another name now
             WriteRaw(History(), other);
         }},
        {"damaged", [&] { WriteRaw(Keys(), std::string(200, 'x')); }},
        {"missing", [&] { platform::DeleteFile(Keys()); }},
        {"naming wrong bytes",
         [&] {
             std::string keys = ReadRaw(Keys());
             keys[2 * 80 + 4] = static_cast<char>(keys[2 * 80 + 4] + 1); // the second entry's place
             WriteRaw(Keys(), keys);
         }},
    };
    for (const Case& c : cases) {
        WriteRaw(History(), base);
        platform::DeleteFile(Keys());
        ExpectSearchesAsWholeFile(c.what);
        ASSERT_TRUE(platform::FileExists(Keys())) << c.what;
        c.change();
        ExpectSearchesAsWholeFile(c.what);
        const std::string repaired = ReadRaw(Keys());
        platform::DeleteFile(Keys());
        ReadHistory(folder());
        EXPECT_EQ(repaired, ReadRaw(Keys())) << c.what;
    }
}

// A folder only looked at answers from the history all the same, and writes no index.
TEST_F(HistoryIndexTest, ALookOnlyFolderAnswersRightAndWritesNothing) {
    WriteRaw(History(), SoundHistory(10));
    platform::Engine looking(folder().root());
    looking.SetReadOnly("no lock");
    const platform::DataFolder lookOnly(folder().root(), &looking);
    const std::vector<HistoryEntry> all = ReadHistory(lookOnly);
    EXPECT_EQ(all.size(), 10u);
    EXPECT_FALSE(platform::FileExists(Keys())) << "nothing written";
    ReadHistory(folder());                 // made by the open folder
    WriteRaw(History(), SoundHistory(12)); // behind
    const std::string keys = ReadRaw(Keys());
    EXPECT_EQ(ReadHistory(lookOnly).size(), 12u);
    EXPECT_EQ(ReadRaw(Keys()), keys) << "caught up in memory only";
}

// A check-out writes its entry and the entry's index record in one step: a step that fails or
// is dropped leaves neither, one that is kept leaves the index covering the whole history.
TEST_F(HistoryIndexTest, ACheckOutWritesTheEntryAndItsIndexRecordTogether) {
    struct KeysFail final : platform::FileFaults {
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            return change.file.filename() == "history.keys" ? Fault{Kind::Fail, ENOSPC} : Fault{};
        }
    };
    WriteRaw(History(), SoundHistory(5));
    ReadHistory(folder());
    const std::string history = ReadRaw(History()), keys = ReadRaw(Keys());
    const HistoryEntry entry = HistoryForCheckOut(Stay(), "9:00:00 AM", {2026, 12, 9});
    {
        KeysFail faults;
        engine().SetFaults(&faults);
        EXPECT_THROW(AppendHistoryEntry(folder(), entry), platform::IoError);
        engine().SetFaults(nullptr);
    }
    {
        platform::Transaction step(engine(), "checking out");
        AppendHistoryEntry(folder(), entry);
        step.Rollback();
    }
    EXPECT_EQ(ReadRaw(History()), history);
    EXPECT_EQ(ReadRaw(Keys()), keys);
    AppendHistoryEntry(folder(), entry);
    EXPECT_EQ(ReadRaw(Keys()).size(), keys.size() + 80) << "one record more";
    const std::string written = ReadRaw(Keys());
    EXPECT_EQ(ReadHistory(folder()).size(), 6u);
    EXPECT_EQ(ReadRaw(Keys()), written) << "current: the search has nothing to write";
}

} // namespace
} // namespace records
