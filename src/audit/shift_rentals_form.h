// The never-shown window behind each rooms-rented-per-shift printout: loading it prints the
// rooms rented on its shift of the business day. It unloads itself once it has printed, so
// every load prints again and no hidden window keeps the program from ending.
#pragma once

#include "app/app.h"

#include <string>

namespace vantreth {

class ShiftRentalsForm : public AppForm {
public:
    platform::Label Label1;

    const std::string& ShiftLetter() const { return m_shift; }

protected:
    ShiftRentalsForm(App& app, const char* name, const char* shift, const char* label);

private:
    void Form_Load() override;

    std::string m_shift;
};

} // namespace vantreth
