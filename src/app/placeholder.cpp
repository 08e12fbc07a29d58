#include "placeholder.h"

namespace vantreth {

PlaceholderForm::PlaceholderForm(App& app, std::string name, std::string caption)
    : AppForm(app, std::move(name), std::move(caption), {200, 160, 400, 130}) {
    SetKeyPreview(true);
    Command1.on_click = [this] { Command1_Click(); };
}

void PlaceholderForm::Form_Load() { Show(); }

void PlaceholderForm::Form_Unload() {
    Form& frontDesk = app().Get("Form1");
    if (!frontDesk.Loaded())
        app().Load(frontDesk);
    else if (frontDesk.windowState() == platform::WindowState::Minimized)
        frontDesk.SetWindowState(platform::WindowState::Maximized);
}

void PlaceholderForm::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void PlaceholderForm::Command1_Click() { app().Unload(*this); }

} // namespace vantreth
