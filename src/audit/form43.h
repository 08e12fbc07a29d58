// The printout of the rooms rented on shift "C", printed when the night audit loads it.
#pragma once

#include "audit/shift_rentals_form.h"

namespace vantreth {

class Form43 final : public ShiftRentalsForm {
public:
    static constexpr const char* kName = "Form43";
    explicit Form43(App& app);
};

} // namespace vantreth
