// "Petty Cash Out": money paid out of the drawer, logged in the day's petty cash file and
// taken off the day's cash. The cash entry window with its own words and a "$" beside the
// amount box.
#pragma once

#include "audit/cash_in_form.h"

namespace vantreth {

class Form75 final : public CashInForm {
public:
    static constexpr const char* kName = "Form75";
    explicit Form75(App& app);

    platform::Label Label3{*this, "Label3", {.caption = "$", .at = {118, 62, 14, 22}}};
};

} // namespace vantreth
