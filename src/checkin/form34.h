// Prints the totals report of today from the single old totals file. The window has no
// controls and is never shown: loading it prints and it closes itself again.
#pragma once

#include "app/app.h"

namespace vantreth {

class Form34 final : public AppForm {
public:
    static constexpr const char* kName = "Form34";
    explicit Form34(App& app);

private:
    void Form_Load() override;
};

} // namespace vantreth
