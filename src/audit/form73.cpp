// "Cash from Other".
#include "audit/form73.h"

namespace vantreth {

Form73::Form73(App& app)
    : CashInForm(app, kName, "Cash from Other", "Cash Payment From Other",
                 records::ShiftCashField::CashFromOther) {}

} // namespace vantreth
