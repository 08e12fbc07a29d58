// "Petty Cash Out".
#include "audit/form75.h"

namespace vantreth {

Form75::Form75(App& app)
    : CashInForm(app, kName,
                 {.caption = "Petty Cash Out",
                  .heading = "Enter Petty Cash Out",
                  .amountLabel = "Amount",
                  .amountLabelWidth = 64,
                  .enterButton = "Enter Now"},
                 [program = &app](const CashEntry& entry) { RecordPettyCashOut(program->data(), entry); }) {}

} // namespace vantreth
