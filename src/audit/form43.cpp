// The rooms rented on shift "C".
#include "audit/form43.h"

namespace vantreth {

Form43::Form43(App& app) : ShiftRentalsForm(app, kName, "C", "ROOMS RENTED ON C SHIFT ROUTINE") {}

} // namespace vantreth
