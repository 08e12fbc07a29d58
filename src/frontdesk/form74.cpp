#include "form74.h"

#include "platform/text.h"

namespace vantreth {

namespace {

std::string AboutText(const std::string& motelName) {
    return "Vantreth keeps the front desk of " + motelName +
           ": check-in and check-out, folios, rooms and rates, reservations, direct bill accounts, "
           "call accounting and the night audit.";
}

std::string SupportText(const std::string& supportMail) {
    return "Questions and suggestions are welcome at " + supportMail + ".";
}

} // namespace

Form74::Form74(App& app) : AppForm(app, kName, "About The Author", {280, 200, 480, 246}) {
    Command1.on_click = [this] { Command1_Click(); };
}

void Form74::Form_Load() {
    Show();
    Label2.SetCaption(AboutText(app().settings().motelName));
    const std::string& mail = app().settings().supportMail;
    Label3.SetCaption(SupportText(mail));
    // An installation without a support address has nothing to write to.
    Label3.SetVisible(!platform::Trim(mail).empty());
}

void Form74::Command1_Click() {
    app().Unload(*this);
}

} // namespace vantreth
