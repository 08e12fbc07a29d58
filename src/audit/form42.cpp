// The rooms rented on shift "B".
#include "audit/form42.h"

namespace vantreth {

Form42::Form42(App& app) : ShiftRentalsForm(app, kName, "B", "ROOMS RENTED ON B  SHIFT ROUTINE") {}

} // namespace vantreth
