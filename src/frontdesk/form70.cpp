#include "form70.h"

namespace vantreth {

Form70::Form70(App& app) : AppForm(app, kName, "ATTENTION", {360, 260, 372, 176}) {
    Command1.on_click = [this] { Command1_Click(); };
}

void Form70::Form_Load() {
    app().gAttentionOpen = 1;
    Show();
}

void Form70::Form_Unload() {
    app().gAttentionOpen = 0;
}

void Form70::Command1_Click() {
    app().gAttentionOpen = 0;
    app().Unload(*this);
}

} // namespace vantreth
