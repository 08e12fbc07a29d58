// The printouts of the company accounts: the customer list of every live account and
// the one-page billing notice that asks an account for its balance.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/direct_bill.h"
#include "records/motel_settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace printing {

inline constexpr std::string_view kCustomerListTitle = "                        DIRECT BILL CUSTOMER LIST";
inline constexpr std::string_view kCustomerListHeading =
    "CODE   COMPANY NAME              PHONE             CONTACT NAME";
inline constexpr int kCustomerListRuleWidth = 74;

// DBNumber as stored, Tab(8) the first 25 characters of the company, Tab(34) Phone1 as
// stored, Tab(51) the contact's first and last name.
platform::PrintItems CustomerListLine(const records::DirectBillAccount& account);
// The list of every account that is not deleted, in file order, as one document.
void PrintCustomerList(platform::Printer& printer, const platform::DataFolder& folder);

// The full notice asks for payment upon receipt; the short one (from the payments
// window) leaves that request out.
enum class NoticeForm { Full, Short };

inline constexpr int kNoticeRuleWidth = 76;

// The lines of one notice: the motel's letterhead lines, the date, the account's
// code, name and address, its last payment and its balance rounded to 2 decimals.
std::vector<std::string> BillingNoticeLines(const records::MotelSettings& motel, std::string_view today,
                                            const records::DirectBillAccount& account, NoticeForm form);
// One notice as a document of its own.
void PrintBillingNotice(platform::Printer& printer, const records::MotelSettings& motel,
                        std::string_view today, const records::DirectBillAccount& account, NoticeForm form);
// A full notice for every live account whose balance is above 0, in file order;
// returns how many were printed.
int PrintBillingStatements(platform::Printer& printer, const platform::DataFolder& folder,
                           const records::MotelSettings& motel, std::string_view today);

} // namespace printing
