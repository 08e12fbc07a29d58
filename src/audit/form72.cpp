// "Cash from Vending".
#include "audit/form72.h"

namespace vantreth {

Form72::Form72(App& app)
    : CashInForm(app, kName, "Cash from Vending", "Cash Payment From Vending",
                 records::ShiftCashField::CashFromVending) {}

} // namespace vantreth
