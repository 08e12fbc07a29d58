// Looking codes up in the table of posting and pay codes.
#include "records/posting_codes.h"

#include "platform/decimal.h"
#include "platform/text.h"

namespace records {

const PostingCode* FindPostingCode(std::string_view code) {
    for (const PostingCode& row : kPostingCodes)
        if (row.code == code)
            return &row;
    return nullptr;
}

const PostingCode* FindPaymentItem(std::string_view item) {
    for (const PostingCode& row : kPostingCodes)
        if (!row.paymentItem.empty() && row.paymentItem == item)
            return &row;
    return nullptr;
}

const char* TypedAmountRefusal(std::string_view text) {
    if (!platform::IsTypedAmount(text))
        return kCentsMessage;
    if (!platform::FitsAmount(text))
        return kAmountTooLargeMessage;
    return nullptr;
}

bool IsPostingCode(std::string_view code) {
    const PostingCode* row = FindPostingCode(code);
    return row != nullptr && row->IsPosting();
}

bool IsPayCode(std::string_view code) {
    const PostingCode* row = FindPostingCode(code);
    return row != nullptr && row->IsPayCode();
}

bool IsCardCode(std::string_view code) {
    const PostingCode* row = FindPostingCode(code);
    return row != nullptr && row->card;
}

std::string_view CardText(std::string_view code) {
    const PostingCode* row = FindPostingCode(code);
    return row != nullptr && row->card ? row->text : std::string_view();
}

int BalanceSign(std::string_view code) {
    const PostingCode* row = FindPostingCode(code);
    return row != nullptr ? row->BalanceSign() : 0;
}

} // namespace records
