// A printer that fails every document: one that cannot be made, as on a full disk, or one the
// printer refuses, as one out of paper or switched off does.
#pragma once

#include "platform/printer.h"

#include <memory>
#include <string>
#include <utility>

namespace vantreth::testing {

class FailingPrinter final : public platform::PrinterDevice {
public:
    // Made: the document cannot be made (a full disk), so the step printing it fails.
    // Printed: it is made, and the printer refuses it once the step is saved.
    enum class Fails { Made, Printed };
    explicit FailingPrinter(std::string reason = "out of paper", Fails fails = Fails::Made)
        : m_reason(std::move(reason)), m_fails(fails) {}

    // How many documents were sent to it.
    int attempts() const { return m_attempts; }

    void Submit(const platform::PrintJob&) override {
        ++m_attempts;
        throw platform::PrintError(m_reason);
    }
    std::unique_ptr<platform::PreparedPrint> Prepare(const platform::PrintJob& job) override {
        if (m_fails == Fails::Printed)
            return PrinterDevice::Prepare(job);
        ++m_attempts;
        throw platform::PrintError(m_reason);
    }

private:
    std::string m_reason;
    Fails m_fails;
    int m_attempts = 0;
};

} // namespace vantreth::testing
