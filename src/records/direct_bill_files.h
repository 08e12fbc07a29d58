// The files that go with the company accounts: the account number counter
// ("directbill/dbnumber"), the day's payments on account ("dbpayments/" + DateDigits)
// and the flag telling the night audit that a payment was taken today ("dbpaymentyesno").
//
// AccountNumberCounter: one number on one line, the last account number issued,
// rewritten whole on every change.
// DbPaymentLine: three quoted texts per payment: Account (the code padded to 7 and the
// company name), Payment (as typed), NewBalance (the shown balance less the payment).
// "dbpaymentyesno": one number, 1 once a payment was taken today, 0 after the audit.
//
// The account records themselves are records::DirectBillAccount (records/direct_bill.h).
#pragma once

#include "platform/files.h"
#include "records/direct_bill.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// Account codes have four digits: every lookup takes a code as the first four
// characters of a list line.
inline constexpr long kFirstAccountNumber = 1000;
inline constexpr long kLastAccountNumber = 9999;

// The counter as stored; nullopt when the file does not exist or holds no number.
std::optional<long> ReadAccountNumberCounter(const platform::DataFolder& folder);
void WriteAccountNumberCounter(const platform::DataFolder& folder, long value);

// Issues the next account number and writes it to the counter at once. The number is
// never below kFirstAccountNumber (a missing or reset counter starts there) and never one
// that an account in the file already carries, deleted accounts included. nullopt, and
// the counter left alone, when no four-digit number is left.
std::optional<long> IssueAccountNumber(const platform::DataFolder& folder);
// Gives the last issued number back: the counter less one.
void ReturnAccountNumber(const platform::DataFolder& folder);

// A new account at record count + 1. Its reserved amount and reserved text are zero
// bytes, as a new record has always been written; returns its record number.
long AppendNewAccount(const platform::DataFolder& folder, const DirectBillAccount& account);
// Writes an account back in place, every field but the reserved text at its end, which
// keeps whatever the file holds there; a field whose text is as the file has it keeps the
// file's bytes (zero-byte padding stays), as WriteAccount does.
void RewriteAccount(const platform::DataFolder& folder, long n, const DirectBillAccount& account);

// The first account that is not deleted, carries the code (DBNumber without trailing
// blanks) and passes the extra test when one is given.
std::optional<DirectBillAccount>
FindLiveAccount(const platform::DataFolder& folder, std::string_view code,
                const std::function<bool(const DirectBillAccount&)>& also = nullptr);

struct DbPaymentLine {
    std::string Account;
    std::string Payment;
    std::string NewBalance;

    platform::SeqLine ToSeqLine() const;
    friend bool operator==(const DbPaymentLine&, const DbPaymentLine&) = default;
};

void AppendDbPaymentLine(const platform::DataFolder& folder, std::string_view dateText,
                         const DbPaymentLine& line);
// The day's payments in the order taken; throws IoError when the day has no file.
std::vector<DbPaymentLine> ReadDbPayments(const platform::DataFolder& folder, std::string_view dateText);

// The payment flag; nullopt when the file does not exist.
std::optional<double> ReadDbPaymentFlag(const platform::DataFolder& folder);
void WriteDbPaymentFlag(const platform::DataFolder& folder, int value);

} // namespace records
