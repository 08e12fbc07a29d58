// The program object: window registry, load and unload, the event dispatcher and timers.
#include "program.h"

#include <algorithm>
#include <stdexcept>

namespace platform {

namespace {

// Counts nesting for as long as it lives, also when an exception passes through.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

} // namespace

Program::Program(Services services)
    : m_services(std::move(services)), m_data(m_services.dataRoot), m_printer(*m_services.printer) {
    if (!m_services.clock || !m_services.dialogs || !m_services.printer || !m_services.shell)
        throw std::invalid_argument("Program needs a clock, dialogs, a printer and a shell");
}

Program::~Program() = default;

void Program::Register(const std::string& name, Factory factory) { m_factories[name] = std::move(factory); }

bool Program::IsRegistered(std::string_view name) const { return m_factories.find(name) != m_factories.end(); }

std::vector<std::string> Program::RegisteredNames() const {
    std::vector<std::string> names;
    for (const auto& [name, factory] : m_factories) names.push_back(name);
    return names;
}

Form& Program::Get(std::string_view name) {
    auto found = m_forms.find(name);
    if (found != m_forms.end()) return *found->second;
    auto factory = m_factories.find(name);
    if (factory == m_factories.end()) throw std::logic_error("no window named " + std::string(name));
    auto form = factory->second(*this);
    Form& ref = *form;
    m_forms.emplace(std::string(name), std::move(form));
    return ref;
}

void Program::Load(Form& form) {
    if (form.m_loaded) return;
    form.ResetForLoad();
    form.m_loaded = true;
    m_loadOrder.push_back(&form);
    if (on_loaded) on_loaded(form);
    form.Form_Load();
    if (form.m_loaded) form.FocusFirst();
}

void Program::Unload(Form& form) {
    if (!form.m_loaded) return;
    form.Form_Unload();
    if (!form.m_loaded) return; // the unload step unloaded it already
    form.m_loaded = false;
    form.m_visible = false;
    form.m_active = nullptr;
    m_loadOrder.erase(std::remove(m_loadOrder.begin(), m_loadOrder.end(), &form), m_loadOrder.end());
    if (on_unloaded) on_unloaded(form);
}

void Program::Unload(std::string_view name) {
    if (IsRegistered(name)) Unload(Get(name));
}

bool Program::IsLoaded(std::string_view name) const {
    auto found = m_forms.find(name);
    return found != m_forms.end() && found->second->m_loaded;
}

std::vector<Form*> Program::LoadedForms() const { return m_loadOrder; }

void Program::Start(std::string_view firstWindow) {
    m_started = true;
    Form& first = Get(firstWindow);
    Dispatch([this, &first] { Load(first); });
}

void Program::Dispatch(const std::function<void()>& handler) {
    {
        DepthGuard guard(m_depth);
        try {
            handler();
        } catch (const UnexpectedDialog&) {
            throw;
        } catch (const IoError& e) {
            m_printer.KillDoc();
            MsgBox("The file " + e.file().string() + " could not be used: " + e.reason() +
                       ".\nThe last step was not finished.",
                   vbOKOnly | vbCritical, "File Error");
        } catch (const PrintError& e) {
            m_printer.KillDoc();
            MsgBox(std::string("The report could not be printed: ") + e.what(), vbOKOnly | vbCritical,
                   "Printer Error");
        } catch (const SerialError& e) {
            MsgBox(std::string("The call box port could not be used: ") + e.what(), vbOKOnly | vbCritical,
                   "Call Accounting");
        } catch (const std::exception& e) {
            m_printer.KillDoc();
            MsgBox(std::string("Something went wrong: ") + e.what() + ".\nThe last step was not finished.",
                   vbOKOnly | vbCritical, "Error");
        }
    }
    if (m_depth > 0) return;
    if (on_event_done) on_event_done();
    if (Ended() && !m_endedReported) {
        m_endedReported = true;
        if (on_ended) on_ended();
    }
}

MsgBoxResult Program::MsgBox(const std::string& prompt, int style, const std::string& title) {
    DepthGuard modal(m_modal);
    if (on_modal) on_modal();
    return dialogs().MsgBox(prompt, style, title);
}

std::string Program::InputBox(const std::string& prompt, const std::string& title) {
    DepthGuard modal(m_modal);
    if (on_modal) on_modal();
    return dialogs().InputBox(prompt, title);
}

void Program::TimePassed(int ms) {
    if (m_depth > 0 && m_modal == 0) return;
    for (Form* form : LoadedForms()) {
        if (!form->Loaded()) continue;
        for (Control* control : form->Controls()) {
            if (control->Kind() == ControlKind::Timer) static_cast<Timer*>(control)->Advance(ms);
            if (!form->Loaded()) break;
        }
    }
}

} // namespace platform
