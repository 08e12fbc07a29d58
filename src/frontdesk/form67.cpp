#include "form67.h"

#include "records/settings_files.h"

namespace vantreth {

Form67::Form67(App& app) : AppForm(app, kName, "Greetings", {380, 96, 600, 372}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Check1.on_click = [this] { Check1_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form67::Form_Load() {
    Show();
}

// The guide stays open; a window that is already open is not opened again.
void Form67::Command1_Click() {
    app().Load("Form19");
}

void Form67::Command2_Click() {
    app().Load("Form18");
}

void Form67::Command4_Click() {
    app().Load("Form59");
}

void Form67::Command5_Click() {
    app().Load("Form56");
}

void Form67::Command6_Click() {
    app().Load("Form5");
}

void Form67::Check1_Click() {
    if (Check1.Value() == 1)
        records::WriteIntroFlag(app().data(), 1.0f);
    else if (Check1.Value() == 0)
        records::WriteIntroFlag(app().data(), 0.0f);
}

void Form67::Command3_Click() {
    app().Unload(*this);
}

} // namespace vantreth
