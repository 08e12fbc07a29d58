// The account number counter, the day's payments on account and the payment flag.
#include "records/direct_bill_files.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/settings_files.h"

#include <algorithm>
#include <set>

namespace records {

using platform::DataFolder;

namespace {

// The reserved text at the end of an account record.
constexpr size_t kSpareTextOffset = 294;
constexpr size_t kSpareTextWidth = 10;

} // namespace

std::optional<long> ReadAccountNumberCounter(const DataFolder& folder) {
    const platform::FilePath file = DbNumberFile(folder);
    if (!platform::FileExists(file))
        return std::nullopt;
    platform::SeqReader reader(file);
    if (reader.Eof())
        return std::nullopt;
    return static_cast<long>(platform::Round(reader.ReadNumber()));
}

void WriteAccountNumberCounter(const DataFolder& folder, long value) {
    platform::SeqLine line;
    line.Number(static_cast<int>(value));
    platform::WriteLines(DbNumberFile(folder), {line});
}

std::optional<long> IssueAccountNumber(const DataFolder& folder) {
    std::set<std::string> codes;
    for (const DirectBillAccount& account : ReadAllAccounts(folder))
        codes.insert(platform::RTrim(account.DBNumber));

    long next = std::max(ReadAccountNumberCounter(folder).value_or(0) + 1, kFirstAccountNumber);
    while (next <= kLastAccountNumber && codes.count(std::to_string(next)) != 0)
        ++next;
    if (next > kLastAccountNumber)
        return std::nullopt;
    WriteAccountNumberCounter(folder, next);
    return next;
}

void ReturnAccountNumber(const DataFolder& folder) {
    const std::optional<long> counter = ReadAccountNumberCounter(folder);
    WriteAccountNumberCounter(folder, counter.value_or(kFirstAccountNumber) - 1);
}

long AppendNewAccount(const DataFolder& folder, const DirectBillAccount& account) {
    std::string image = account.Encode();
    image.replace(kSpareTextOffset, kSpareTextWidth, std::string(kSpareTextWidth, '\0'));
    const RecordFile<DirectBillAccount> file = AccountsFile(folder);
    const long n = file.Count() + 1;
    file.file().Put(n, image);
    return n;
}

void RewriteAccount(const DataFolder& folder, long n, const DirectBillAccount& account) {
    // As the check-out's write: a field the rewrite leaves as it was keeps the file's bytes
    // (zero bytes stay zero bytes); the reserved text is the file's whatever the record says.
    DirectBillAccount keeping = account;
    const RecordFile<DirectBillAccount> file = AccountsFile(folder);
    if (n >= 1 && n <= file.Count())
        keeping.SpareText = file.Read(n).SpareText;
    WriteAccount(folder, n, keeping);
}

std::optional<DirectBillAccount> FindLiveAccount(const DataFolder& folder, std::string_view code,
                                                 const std::function<bool(const DirectBillAccount&)>& also) {
    for (const DirectBillAccount& account : ReadAllAccounts(folder)) {
        if (account.IsDeleted() || platform::RTrim(account.DBNumber) != code)
            continue;
        if (!also || also(account))
            return account;
    }
    return std::nullopt;
}

platform::SeqLine DbPaymentLine::ToSeqLine() const {
    platform::SeqLine line;
    line.Text(Account).Text(Payment).Text(NewBalance);
    return line;
}

void AppendDbPaymentLine(const DataFolder& folder, std::string_view dateText, const DbPaymentLine& line) {
    platform::AppendLine(DayFilePath(folder, DayFile::DbPayments, dateText), line.ToSeqLine());
}

std::vector<DbPaymentLine> ReadDbPayments(const DataFolder& folder, std::string_view dateText) {
    platform::SeqReader reader(DayFilePath(folder, DayFile::DbPayments, dateText));
    std::vector<DbPaymentLine> lines;
    reader.ForEachLine(3, [&] {
        DbPaymentLine line;
        line.Account = reader.ReadText();
        line.Payment = reader.ReadText();
        line.NewBalance = reader.ReadText();
        lines.push_back(std::move(line));
    });
    return lines;
}

std::optional<double> ReadDbPaymentFlag(const DataFolder& folder) {
    return ReadNumberFile(folder, kDbPaymentYesNoFile);
}

void WriteDbPaymentFlag(const DataFolder& folder, int value) {
    WriteNumberFile(folder, kDbPaymentYesNoFile, value);
}

} // namespace records
