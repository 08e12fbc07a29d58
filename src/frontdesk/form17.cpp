#include "form17.h"

namespace vantreth {

Form17::Form17(App& app) : AppForm(app, kName, "Administration", {360, 140, 320, 452}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Command7.on_click = [this] { Command7_Click(); };
    Command8.on_click = [this] { Command8_Click(); };
    Command9.on_click = [this] { Command9_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form17::Form_Load() {
    Show();
}

void Form17::CloseAndOpen(const char* window) {
    app().Unload(*this);
    app().Load(window);
}

void Form17::Command1_Click() {
    CloseAndOpen("Form18");
}

void Form17::Command2_Click() {
    app().Load("Form19");
}

void Form17::Command4_Click() {
    CloseAndOpen("Form55");
}

void Form17::Command5_Click() {
    CloseAndOpen("Form56");
}

void Form17::Command6_Click() {
    CloseAndOpen("Form59");
}

// No other window offers the one rate for every room of a type, so the set-up menu does.
void Form17::Command7_Click() {
    CloseAndOpen("Form24");
}

void Form17::Command8_Click() {
    app().Load("Form69");
}

// The repair of a day's totals sits behind its access code; no other window offers it.
void Form17::Command9_Click() {
    CloseAndOpen("Form58");
}

void Form17::Command3_Click() {
    app().Unload(*this);
}

} // namespace vantreth
