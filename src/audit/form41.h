// The printout of the rooms rented on shift "A", printed when the night audit loads it.
#pragma once

#include "audit/shift_rentals_form.h"

namespace vantreth {

class Form41 final : public ShiftRentalsForm {
public:
    static constexpr const char* kName = "Form41";
    explicit Form41(App& app);
};

} // namespace vantreth
