#include "form71.h"

#include "app/open_with_shell.h"

namespace vantreth {

std::string SupportMailLink(const std::string& address) {
    return "mailto:" + address + "?subject=VANTRETH QUESTION";
}

Form71::Form71(App& app) : AppForm(app, kName, "Call Accounting", {260, 150, 512, 276}) {
    Label46.on_click = [this] { Label46_Click(); };
    Command1.on_click = [this] { Command1_Click(); };
}

void Form71::Form_Load() {
    Label46.SetCaption(app().settings().supportMail);
    Show();
}

void Form71::Label46_Click() {
    OpenWithShell(app(), SupportMailLink(Label46.Caption()));
}

void Form71::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
