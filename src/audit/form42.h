// The printout of the rooms rented on shift "B", printed when the night audit loads it.
#pragma once

#include "audit/shift_rentals_form.h"

namespace vantreth {

class Form42 final : public ShiftRentalsForm {
public:
    static constexpr const char* kName = "Form42";
    explicit Form42(App& app);
};

} // namespace vantreth
