// The company accounts that stays are billed to, and the day's log of stays charged to an
// account.
//
// DirectBillAccount ("directbill/dbmember"), 304 bytes:
//   offset width field                offset width field
//        0    80 CompanyName (blank = deleted)  243 15 Cell
//       80    20 ContactLastName          258     4 Balance (Single)
//      100    20 ContactFirstName         262     4 SpareAmount (raw bytes, kept)
//      120    40 Address                  266     1 TaxExempt "Y"/"N"
//      160    30 City                     267     7 DBNumber
//      190     2 State                    274    10 LastPaymentDate
//      192     6 Zip                      284    10 LastPaymentAmount (decimal text)
//      198    15 Phone1                   294    10 SpareText
//      213    15 Phone2
//      228    15 Fax
// Text fields hold their stored fixed-width text.
//
// DbDailyLine ("dbdaily/" + DateDigits): Room, Shift, PostDate, Account (texts), Amount.
#pragma once

#include "platform/decimal.h"
#include "platform/files.h"
#include "records/record_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

struct DirectBillAccount {
    static constexpr int kLength = 304;

    std::string CompanyName = std::string(80, ' ');
    std::string ContactLastName = std::string(20, ' ');
    std::string ContactFirstName = std::string(20, ' ');
    std::string Address = std::string(40, ' ');
    std::string City = std::string(30, ' ');
    std::string State = std::string(2, ' ');
    std::string Zip = std::string(6, ' ');
    std::string Phone1 = std::string(15, ' ');
    std::string Phone2 = std::string(15, ' ');
    std::string Fax = std::string(15, ' ');
    std::string Cell = std::string(15, ' ');
    float Balance = 0;
    std::string SpareAmount = std::string(4, '\0'); // never given a value; written back as read
    std::string TaxExempt = std::string(1, ' ');
    std::string DBNumber = std::string(7, ' ');
    std::string LastPaymentDate = std::string(10, ' ');
    std::string LastPaymentAmount = std::string(10, ' ');
    std::string SpareText = std::string(10, ' ');

    static DirectBillAccount Decode(std::string_view bytes);
    std::string Encode() const; // all 304 bytes

    bool IsDeleted() const; // CompanyName blank

    friend bool operator==(const DirectBillAccount&, const DirectBillAccount&) = default;
};

// The accounts file "directbill/dbmember".
RecordFile<DirectBillAccount> AccountsFile(const platform::DataFolder& folder);
DirectBillAccount ReadAccount(const platform::DataFolder& folder, long n);
void WriteAccount(const platform::DataFolder& folder, long n, const DirectBillAccount& account);
// Writes the account at record count + 1 and returns that record number.
long AppendAccount(const platform::DataFolder& folder, const DirectBillAccount& account);
long AccountCount(const platform::DataFolder& folder);
std::vector<DirectBillAccount> ReadAllAccounts(const platform::DataFolder& folder);
// The first record whose DBNumber without trailing blanks equals the key; deleted
// accounts are not skipped.
std::optional<long> FindAccount(const platform::DataFolder& folder, std::string_view key);
// The key check-out charges with: the stay's DBNumber read as a whole number, as decimal
// text without blanks or leading zeros ("0012    " gives "12").
std::string ChargingKey(std::string_view dbNumber);
// Adds the amount to the Balance of the account found by the key, rounded to 2
// decimals, and writes the record back; returns its record number, or nullopt (nothing
// written) when no account has the key.
std::optional<long> ChargeAccount(const platform::DataFolder& folder, std::string_view key,
                                  const platform::Decimal& amount);

struct DbDailyLine {
    std::string Room;
    std::string Shift;
    std::string PostDate;
    std::string Account; // Trim(DBNumber) + " " + Trim(CompanyName)
    float Amount = 0;

    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const DbDailyLine&, const DbDailyLine&) = default;
};

// The Account item of an account.
std::string DbDailyAccountText(const DirectBillAccount& account);
void AppendDbDailyLine(const platform::DataFolder& folder, std::string_view dateText,
                       const DbDailyLine& line);
std::vector<DbDailyLine> ReadDbDaily(const platform::DataFolder& folder, std::string_view dateText);

} // namespace records
