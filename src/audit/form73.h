// "Cash from Other": other cash taken in, added to the day's cash and the shift's
// CashFromOther.
#pragma once

#include "audit/cash_in_form.h"

namespace vantreth {

class Form73 final : public CashInForm {
public:
    static constexpr const char* kName = "Form73";
    explicit Form73(App& app);
};

} // namespace vantreth
