// The boxes of an account that the new-account and edit-account windows share: the company
// name to the cell phone (Text1 to Text11) and the current balance (Text12).
#pragma once

#include "directbill/direct_bill_accounts.h"
#include "platform/form.h"
#include "platform/text.h"

namespace vantreth {

// The texts of the boxes Text1 to Text11, as typed.
template <class Window> directbill::AccountTexts AccountBoxTexts(const Window& w) {
    return {w.Text1.Text(), w.Text2.Text(), w.Text3.Text(), w.Text4.Text(),  w.Text5.Text(), w.Text6.Text(),
            w.Text7.Text(), w.Text8.Text(), w.Text9.Text(), w.Text10.Text(), w.Text11.Text()};
}

// An account without a company name would count as deleted and never be listed, and a
// balance that is not a number would be stored as 0: both are told to the clerk, and the box
// gets the focus. A balance box still showing the stored balance as loaded
// (`balanceAsLoaded`) is that balance left as it was, judged by no check of typed text.
// True when refused.
template <class Window> bool RefusedAccountBoxes(Window& w, bool balanceAsLoaded = false) {
    if (platform::Trim(w.Text1.Text()).empty()) {
        w.MsgBox("You did not enter a company name. Enter a name or click 'Cancel' to exit this module.",
                 platform::vbOKOnly, "WARNING");
        w.Text1.SetFocus();
        return true;
    }
    if (!balanceAsLoaded && !platform::Trim(w.Text12.Text()).empty() &&
        !directbill::IsAmountText(w.Text12.Text())) {
        w.MsgBox("The current balance must be a number. Please fix or click 'Cancel' to exit this module.",
                 platform::vbOKOnly, "WARNING");
        w.Text12.SetFocus();
        return true;
    }
    return false;
}

} // namespace vantreth
