// "Reports Menu".
#include "audit/form47.h"

#include "audit/form30.h"
#include "audit/form48.h"

namespace vantreth {

Form47::Form47(App& app) : AppForm(app, kName, "Reports Menu", {340, 150, 320, 296}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
}

void Form47::Form_Load() {
    Show();
}

// The menu stays open behind the totals windows.
void Form47::Command1_Click() {
    app().Load(app().Get<Form48>());
}

void Form47::Command2_Click() {
    app().Load(app().Get<Form30>());
}

void Form47::Command3_Click() {
    app().Unload(*this);
    app().Load("Form60");
}

void Form47::Command4_Click() {
    app().Load("Form68");
}

void Form47::Command5_Click() {
    app().Unload(*this);
}

} // namespace vantreth
