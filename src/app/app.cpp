// The program object's own work: its shared variables put back when a step is undone,
// and the check of typed amounts every window shares.
#include "app.h"

#include "platform/text.h"
#include "records/posting_codes.h"
#include "stay/checkin_commit.h"

namespace vantreth {

void App::StepBegun() {
    struct Stored {
        std::string shift, clerk;
        double taxRate;
        float sleepersDone;
        std::string monthBefore, monthAfter;
    };
    platform::WhenUndone(
        data(), [this, kept = Stored{gShift, gClerk, gTaxRate, gSleepersDone, gMonthBefore, gMonthAfter}] {
            gShift = kept.shift;
            gClerk = kept.clerk;
            gTaxRate = kept.taxRate;
            gSleepersDone = kept.sleepersDone;
            gMonthBefore = kept.monthBefore;
            gMonthAfter = kept.monthAfter;
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

stay::CheckInSession AppForm::CheckInSessionNow(const std::string& postingShift) const {
    const platform::DateTime now = app().clock().Now();
    return {.postingShift = postingShift,
            .shift = app().gShift,
            .clerk = app().gClerk,
            .taxRate = app().gTaxRate,
            .today = now.date,
            .time = now.time};
}

} // namespace vantreth
