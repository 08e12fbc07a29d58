// The rooms rented on shift "A".
#include "audit/form41.h"

namespace vantreth {

Form41::Form41(App& app) : ShiftRentalsForm(app, kName, "A", "ROOMS RENTED ON A  SHIFT ROUTINE") {}

} // namespace vantreth
