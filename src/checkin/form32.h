// "Select Direct Bill Account": the account list of "Select Payment Type"; the chosen
// account goes into the check-in window's account list.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form32 final : public AppForm {
public:
    static constexpr const char* kName = "Form32";
    explicit Form32(App& app);

    platform::ListBox List1{*this, "List1", {.at = {16, 16, 408, 204}}};

private:
    void Form_Load() override;
    void List1_KeyPress(int& KeyAscii);
};

} // namespace vantreth
