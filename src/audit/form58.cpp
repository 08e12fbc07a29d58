// "Authorization".
#include "audit/form58.h"

#include "audit/form35.h"
#include "audit/totals_windows.h"

namespace vantreth {

using namespace platform;

Form58::Form58(App& app) : AppForm(app, kName, "Authorization", {420, 300, 302, 84}) {
    SetKeyPreview(true);
    Text1.on_key_press = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form58::Form_Load() {
    Show();
    Text1.SetFocus();
}

// Escape leaves without the code; the window has no other way out but its close box.
void Form58::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyEscape) {
        KeyAscii = 0;
        app().Unload(*this);
    }
}

void Form58::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        Command1.SetFocus();
    }
}

// A wrong code leaves the window open with the typed text, without a word.
void Form58::Command1_Click() {
    if (!audit::IsAccessCode(Text1.Text()))
        return;
    app().Unload(*this);
    app().Load(app().Get<Form35>());
}

} // namespace vantreth
