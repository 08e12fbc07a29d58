// The company accounts and the day's direct-bill log.
#include "records/direct_bill.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/record_fields.h"

#include <array>

namespace records {

using platform::DataFolder;
using platform::RecordBuffer;
using platform::SeqLine;
using platform::SeqReader;

namespace {

struct TextField {
    size_t offset;
    size_t width;
    std::string DirectBillAccount::*member;
};

const std::array<TextField, 16> kAccountText{{
    {0, 80, &DirectBillAccount::CompanyName},
    {80, 20, &DirectBillAccount::ContactLastName},
    {100, 20, &DirectBillAccount::ContactFirstName},
    {120, 40, &DirectBillAccount::Address},
    {160, 30, &DirectBillAccount::City},
    {190, 2, &DirectBillAccount::State},
    {192, 6, &DirectBillAccount::Zip},
    {198, 15, &DirectBillAccount::Phone1},
    {213, 15, &DirectBillAccount::Phone2},
    {228, 15, &DirectBillAccount::Fax},
    {243, 15, &DirectBillAccount::Cell},
    {266, 1, &DirectBillAccount::TaxExempt},
    {267, 7, &DirectBillAccount::DBNumber},
    {274, 10, &DirectBillAccount::LastPaymentDate},
    {284, 10, &DirectBillAccount::LastPaymentAmount},
    {294, 10, &DirectBillAccount::SpareText},
}};

constexpr size_t kBalanceOffset = 258;
constexpr size_t kSpareAmountOffset = 262;

} // namespace

RecordFile<DirectBillAccount> AccountsFile(const DataFolder& folder) {
    return RecordFile<DirectBillAccount>(DbMemberFile(folder));
}

DirectBillAccount DirectBillAccount::Decode(std::string_view bytes) {
    const std::string image = fields::Padded(bytes, kLength);
    const RecordBuffer buffer(image);
    DirectBillAccount account;
    for (const TextField& f : kAccountText)
        account.*f.member = fields::Text(buffer, f.offset, f.width);
    account.Balance = buffer.Single(kBalanceOffset);
    account.SpareAmount = image.substr(kSpareAmountOffset, 4);
    return account;
}

std::string DirectBillAccount::Encode() const {
    RecordBuffer buffer(kLength);
    for (const TextField& f : kAccountText)
        buffer.SetText(f.offset, f.width, this->*f.member);
    buffer.SetSingle(kBalanceOffset, Balance);
    std::string image = buffer.bytes();
    image.replace(kSpareAmountOffset, 4, fields::Padded(SpareAmount, 4));
    return image;
}

bool DirectBillAccount::IsDeleted() const {
    return platform::RTrim(CompanyName).empty();
}

DirectBillAccount ReadAccount(const DataFolder& folder, long n) {
    return AccountsFile(folder).Read(n);
}

void WriteAccount(const DataFolder& folder, long n, const DirectBillAccount& account) {
    // A field the write does not change keeps its stored bytes (zero bytes stay zero).
    AccountsFile(folder).WriteKeepingText(n, account, kAccountText);
}

long AppendAccount(const DataFolder& folder, const DirectBillAccount& account) {
    return AccountsFile(folder).Append(account);
}

long AccountCount(const DataFolder& folder) {
    return AccountsFile(folder).Count();
}

std::vector<DirectBillAccount> ReadAllAccounts(const DataFolder& folder) {
    return AccountsFile(folder).ReadAll();
}

std::optional<long> FindAccount(const DataFolder& folder, std::string_view key) {
    return AccountsFile(folder).Find(
        [&](const DirectBillAccount& account) { return platform::RTrim(account.DBNumber) == key; });
}

std::string ChargingKey(std::string_view dbNumber) {
    return platform::CStr(static_cast<long>(platform::Round(platform::Val(dbNumber))));
}

std::optional<long> ChargeAccount(const DataFolder& folder, std::string_view key,
                                  const platform::Decimal& amount) {
    const std::optional<long> n = FindAccount(folder, key);
    if (!n)
        return std::nullopt;
    DirectBillAccount account = ReadAccount(folder, *n);
    account.Balance = platform::AddStoredAmount(
        account.Balance, amount, "The balance of direct bill account " + platform::Trim(account.DBNumber));
    WriteAccount(folder, *n, account);
    return n;
}

SeqLine DbDailyLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Room).Text(Shift).Text(PostDate).Text(Account).Number(Amount);
    return line;
}

std::string DbDailyAccountText(const DirectBillAccount& account) {
    return platform::Trim(account.DBNumber) + " " + platform::Trim(account.CompanyName);
}

void AppendDbDailyLine(const DataFolder& folder, std::string_view dateText, const DbDailyLine& line) {
    platform::AppendLine(DayFilePath(folder, DayFile::DbDaily, dateText), line.ToSeqLine());
}

std::vector<DbDailyLine> ReadDbDaily(const DataFolder& folder, std::string_view dateText) {
    SeqReader reader(DayFilePath(folder, DayFile::DbDaily, dateText));
    std::vector<DbDailyLine> lines;
    reader.ForEachLine(5, [&] {
        DbDailyLine line;
        line.Room = reader.ReadText();
        line.Shift = reader.ReadText();
        line.PostDate = reader.ReadText();
        line.Account = reader.ReadText();
        line.Amount = static_cast<float>(reader.ReadNumber());
        lines.push_back(std::move(line));
    });
    return lines;
}

} // namespace records
