// The hidden call report window: loading it prints today's call accounting report.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form51 final : public AppForm {
public:
    static constexpr const char* kName = "Form51";
    explicit Form51(App& app);

    platform::Label Label1{
        *this, "Label1", {.caption = "call accounting report printout", .at = {16, 16, 280, 20}}};

private:
    void Form_Load() override;
};

} // namespace vantreth
