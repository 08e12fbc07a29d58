// The history file, the company accounts and the day's direct-bill log.
#include "platform/text.h"
#include "records/filenames.h"
#include "records/history.h"
#include "records_fixture.h"

#include <string>
#include <vector>

namespace records {
namespace {

using testing::Bytes;
using testing::RecordsTest;
using testing::Show;

std::string Pad(const std::string &s, size_t width) {
    return s + std::string(width - s.size(), ' ');
}
std::string Q(const std::string &s) {
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

std::string Line3(const std::string &account) {
    return Q(Pad("none", 40)) + "," + Q(Pad("none", 10)) + "," + Q(account) + "," + Q(Pad("17", 5)) + "," +
           Q(Pad("", 160)) + "," + Q(Pad("", 10)) + "," + Q(Pad("", 10)) + "," + Q(Pad("", 10)) + "," +
           Q(Pad("", 10)) + "," + Q(Pad("", 10)) + "\r\n";
}

using HistoryTest = RecordsTest;

TEST_F(HistoryTest, OrdinaryCheckOutWritesADateLiteralAndNone) {
    AppendHistoryEntry(folder(), HistoryForCheckOut(Stay(), "10:05:00 AM", platform::Date{2026, 12, 9}));
    const std::string line2 = "3,0," + Q("Q") + "," + Q("3:45:12 PM") + "," + Q(Pad("12/6/26", 10)) + "," +
                              Q("10:05:00 A") + ",#2026-12-09#,45.5,0\r\n";
    const std::string raw = ReadRaw(folder().root() / "history/history");
    EXPECT_EQ(raw, Line1() + line2 + Line3("none")) << raw;
}

TEST_F(HistoryTest, DirectBillCheckOutWritesTheDepartureTextAndTheAccountCode) {
    AppendHistoryEntry(folder(), HistoryForDirectBillCheckOut(Stay(), "3:05:00 PM"));
    const std::string line2 = "3,0," + Q("Q") + "," + Q("3:45:12 PM") + "," + Q(Pad("12/6/26", 10)) + "," +
                              Q("3:05:00 PM") + "," + Q(Pad("12/9/26", 10)) + ",45.5,0\r\n";
    const std::string raw = ReadRaw(folder().root() / "history/history");
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
    EXPECT_FALSE(platform::FileExists(folder().root() / "history/history")) << "reading creates nothing";
}

TEST_F(HistoryTest, ADamagedEntryIsSkippedAndTheEntriesAfterItStillRead) {
    // The three lines of the entries of guests A, B and C as written.
    auto linesOf = [](const char *name) {
        GuestRecord g = Stay();
        g.LastName = Pad(name, 15);
        std::vector<std::string> lines;
        for (const platform::SeqLine &line : HistoryForCheckOut(g, "10:05:00 AM", {2026, 12, 9}).ToSeqLines())
            lines.push_back(line.str() + "\r\n");
        return lines;
    };
    const std::vector<std::string> a = linesOf("A"), b = linesOf("B"), c = linesOf("C");
    const std::string sound = a[0] + a[1] + a[2] + b[0] + b[1] + b[2] + c[0] + c[1] + c[2];
    const std::string head = a[0] + a[1] + a[2];
    const std::string tail = c[0] + c[1] + c[2];
    struct Case {
        const char *damage;
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
        {"a date where the nights belong", head + b[0] + "#2026-12-06#" + b[1].substr(1) + b[2] + tail,
         {"A", "C"}},
    };
    for (const Case &c : cases) {
        WriteRaw(folder().root() / "history/history", c.text);
        platform::TakeDamageReports();
        std::vector<std::string> names;
        for (const HistoryEntry &entry : ReadHistory(folder()))
            names.push_back(platform::RTrim(entry.LastName));
        EXPECT_EQ(names, c.names) << c.damage;
        EXPECT_EQ(platform::TakeDamageReports().size(), c.names.size() == 3 ? 0u : 1u) << c.damage;
    }
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
        const char *dbNumber;
        const char *key;
    };
    const Case cases[] = {
        {"1001    ", "1001"}, {"0012    ", "12"}, {" 7      ", "7"}, {"        ", "0"}, {"12AB", "12"}};
    for (const Case &c : cases)
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
    EXPECT_EQ(ChargeAccount(folder(), "1001", 12.35), 1);
    const std::string raw = ReadRaw(folder().root() / "directbill/dbmember");
    std::string expected = AcmeBytes();
    expected.replace(258, 4, Bytes({0x33, 0xb3, 0xe1, 0x42})); // 112.85
    EXPECT_EQ(raw, expected) << Show(raw);
}

TEST_F(AccountsFileTest, ChargingAnUnknownAccountWritesNothing) {
    AppendAccount(folder(), Acme());
    EXPECT_EQ(ChargeAccount(folder(), "9999", 12.35), std::nullopt);
    EXPECT_EQ(ReadRaw(folder().root() / "directbill/dbmember"), AcmeBytes());
}

TEST_F(AccountsFileTest, DbDailyLinesAppendAndReadBack) {
    const DbDailyLine first{"12 ", "A", "12/6/26", DbDailyAccountText(Acme()), 12.35f};
    const DbDailyLine second{"101", "B", "12/6/26", "1002 OTHER CO", 7.0f};
    AppendDbDailyLine(folder(), "12/6/26", first);
    AppendDbDailyLine(folder(), "12/6/26", second);
    const std::string raw = ReadRaw(folder().root() / "dbdaily/12626");
    EXPECT_EQ(raw.substr(0, raw.find('\n') + 1),
              "\"12 \",\"A\",\"12/6/26\",\"1001 ACME TRUCKING\",12.35\r\n");
    EXPECT_EQ(ReadDbDaily(folder(), "12/6/26"), (std::vector<DbDailyLine>{first, second}));
}

} // namespace
} // namespace records
