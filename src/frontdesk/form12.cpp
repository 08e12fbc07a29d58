#include "form12.h"

#include "printing/housekeeping_report.h"
#include "printing/out_of_order_list.h"

namespace vantreth {

using namespace platform;

Form12::Form12(App& app) : AppForm(app, kName, "Main Menu", {232, 120, 560, 388}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command10.on_click = [this] { Command10_Click(); };
    Command11.on_click = [this] { Command11_Click(); };
    Command12.on_click = [this] { Command12_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command5.on_click = [this] { Command5_Click(); };
    Command7.on_click = [this] { Command7_Click(); };
    Command8.on_click = [this] { Command8_Click(); };
    Command9.on_click = [this] { Command9_Click(); };
    Command6.on_click = [this] { Command6_Click(); };
    Command13.on_click = [this] { Command13_Click(); };
}

void Form12::Form_Load() {
    Show();
}

void Form12::CloseAndOpen(const char* window) {
    app().Unload(*this);
    app().Load(window);
}

void Form12::Command1_Click() {
    CloseAndOpen("Form13");
}

void Form12::Command10_Click() {
    app().Load("Form72");
}

void Form12::Command11_Click() {
    app().Load("Form73");
}

void Form12::Command12_Click() {
    app().Load("Form75");
}

void Form12::Command2_Click() {
    CloseAndOpen("Form17");
}

// The search window covers the whole screen; the front desk waits minimised until it closes.
void Form12::Command3_Click() {
    app().Unload(*this);
    app().Get("Form1").SetWindowState(WindowState::Minimized);
    app().Load("Form52");
}

void Form12::Command4_Click() {
    CloseAndOpen("Form21");
}

void Form12::Command5_Click() {
    const bool afternoon = printing::IsAfternoon(app().clock().TimeText());
    printing::PrintHousekeepingReport(app().printer(), app().data(), app().settings().motelName,
                                      app().clock().DateText(), afternoon);
    app().Unload(*this);
}

void Form12::Command7_Click() {
    printing::PrintOutOfOrderList(app().printer(), app().data(), app().clock().DateText(), false);
    app().Unload(*this);
}

// The do-not-rent list brings the front desk back itself when it closes.
void Form12::Command8_Click() {
    app().Unload(*this);
    app().Unload("Form1");
    app().Load("Form46");
}

void Form12::Command9_Click() {
    CloseAndOpen("Form47");
}

void Form12::Command6_Click() {
    app().Unload(*this);
}

void Form12::Command13_Click() {
    app().Unload(*this);
}

} // namespace vantreth
