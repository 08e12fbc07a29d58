// The program object's own work: its shared variables put back when a step is undone,
// and the check of typed amounts every window shares.
#include "app.h"

#include "platform/text.h"
#include "records/posting_codes.h"

namespace vantreth {

void App::StepBegun() {
    struct Stored {
        std::string shift, clerk;
        double taxRate;
        float sleepersDone;
    };
    platform::WhenUndone([this, kept = Stored{gShift, gClerk, gTaxRate, gSleepersDone}] {
        gShift = kept.shift;
        gClerk = kept.clerk;
        gTaxRate = kept.taxRate;
        gSleepersDone = kept.sleepersDone;
    });
}

bool AppForm::RefusedCents(platform::TextBox& box) {
    if (platform::Trim(box.Text()).empty())
        return false;
    const char* refusal = records::TypedAmountRefusal(box.Text());
    if (refusal == nullptr)
        return false;
    MsgBox(refusal, platform::vbOKOnly, "WARNING");
    box.SetFocus();
    return true;
}

} // namespace vantreth
