// "Select Payment Type": an earlier way to choose the check-in's payment type from a
// short list; it sets the payment panels of the check-in window.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form31 final : public AppForm {
public:
    static constexpr const char* kName = "Form31";
    explicit Form31(App& app);

    platform::ListBox List1{*this, "List1", {.at = {16, 16, 248, 84}}};

private:
    void Form_Load() override;
    void List1_KeyPress(int& KeyAscii);
};

} // namespace vantreth
