// The real printer: every document is kept as a PDF file in the data folder's "print"
// sub-folder and, when the settings ask for it, also printed on the default printer. A PDF
// that cannot be saved whole (a full disk) is not kept at all, and Submit throws PrintError.
#pragma once

#include "platform/printer.h"

#include <filesystem>

namespace vantreth::gui {

class QtPrinter final : public platform::PrinterDevice {
public:
    // `folder` receives the PDF files; `toPrinter` also sends them to the default printer.
    QtPrinter(std::filesystem::path folder, bool toPrinter);

    void Submit(const platform::PrintJob& job) override;
    // The PDF file of the last document, empty before the first.
    const std::filesystem::path& lastFile() const { return m_lastFile; }

private:
    std::filesystem::path NewFileName() const;

    std::filesystem::path m_folder;
    bool m_toPrinter;
    std::filesystem::path m_lastFile;
};

} // namespace vantreth::gui
