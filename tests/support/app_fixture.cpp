#include "app_fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace vantreth::testing {

AppFixture::AppFixture() {
    Restart();
}

AppFixture::~AppFixture() = default;

void AppFixture::Restart() {
    m_app.reset();
    m_app = m_services.MakeApp(m_data.path());
}

void AppFixture::RestartLookingOnly(std::string reason) {
    m_services.readOnlyReason = std::move(reason);
    Restart();
}

void AppFixture::StartProgram() {
    m_app->Start("Form1");
}

std::string AppFixture::ReadBytes(const std::string& relative) const {
    std::ifstream in(DataFile(relative), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void AppFixture::WriteBytes(const std::string& relative, const std::string& bytes) const {
    std::ofstream out(DataFile(relative), std::ios::binary | std::ios::trunc);
    out << bytes;
}

void AppFixture::SetNow(int month, int day, int year, int hour, int minute, int second) {
    m_services.clock.Set({{year, month, day}, {hour, minute, second}});
}

const platform::ScriptedDialogs::Shown& AppFixture::LastBox() const {
    if (m_services.dialogs.shown().empty())
        throw std::logic_error("no box was shown");
    return m_services.dialogs.shown().back();
}

} // namespace vantreth::testing
