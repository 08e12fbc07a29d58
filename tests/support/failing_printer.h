// A printer that fails every document, as one out of paper or switched off does.
#pragma once

#include "platform/printer.h"

#include <string>
#include <utility>

namespace vantreth::testing {

class FailingPrinter final : public platform::PrinterDevice {
public:
    explicit FailingPrinter(std::string reason = "out of paper") : m_reason(std::move(reason)) {}

    // How many documents were sent to it.
    int attempts() const { return m_attempts; }

    void Submit(const platform::PrintJob&) override {
        ++m_attempts;
        throw platform::PrintError(m_reason);
    }

private:
    std::string m_reason;
    int m_attempts = 0;
};

} // namespace vantreth::testing
