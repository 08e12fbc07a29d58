// "Cash from Vending": cash taken from the vending machines, added to the day's cash and
// the shift's CashFromVending.
#pragma once

#include "audit/cash_in_form.h"

namespace vantreth {

class Form72 final : public CashInForm {
public:
    static constexpr const char* kName = "Form72";
    explicit Form72(App& app);
};

} // namespace vantreth
