// The real printer: every document is kept as a PDF file in the data folder's "print"
// sub-folder and, when the settings ask for it, that file is also handed to the system's
// printing for the default printer, away from the window (platform::PrintQueue). A PDF that
// cannot be saved whole (a full disk) is not kept at all: Submit throws PrintError, and the
// PDF of a step is saved with the step or not at all. A job the system does not take is told
// later, naming the report and its file, which stays.
#pragma once

#include "platform/print_command.h"
#include "platform/print_queue.h"
#include "platform/printer.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QFont;

namespace vantreth::gui {

// The fixed-pitch font of the printed reports, at `points`; lists whose lines are columns
// padded with blanks show in it too, so that their columns line up as on paper.
QFont FixedPitchFont(double points);

class QtPrinter final : public platform::PrinterDevice {
public:
    // `folder` receives the PDF files; `toPrinter` also hands them to `spooler` (null: the
    // system's print command), from a thread started by `start` (empty: std::thread).
    QtPrinter(std::filesystem::path folder, bool toPrinter, platform::PrintSpooler* spooler = nullptr,
              platform::PrintQueue::ThreadStarter start = {});

    void Submit(const platform::PrintJob& job) override;
    // The PDF made; inside a step it is written, and listed as not yet printed, as changes of
    // the step, saved with it. Outside one it is stored under a temporary name in the folder
    // and takes its name when published. Published, it goes to the printer.
    std::unique_ptr<platform::PreparedPrint> Prepare(const platform::PrintJob& job) override;
    // The step's PDFs take their names, the folder is flushed once, and they are queued for
    // the printer.
    std::string PublishStep(std::vector<std::unique_ptr<platform::PreparedPrint>> step) override;
    bool HandingOver() const override { return m_queue.Busy(); }
    std::vector<std::string> TakeNotPrinted() override { return m_queue.TakeNotPrinted(); }
    std::string LeftBehind() override;
    void NotPrintedShown() override;
    // The PDF files lie in the data folder: from now on they go through its engine.
    void OpenIn(const platform::DataFolder& folder) override { m_folder = folder.FileAt(m_folder.path()); }
    // The PDF file of the last document published, empty before the first.
    const std::filesystem::path& lastFile() const { return m_lastFile; }

private:
    class Prepared;
    platform::FilePath NewFileName();

    platform::FilePath m_folder;
    bool m_toPrinter;
    platform::CommandSpooler m_systemSpooler;
    platform::PrintSpooler* m_spooler;
    platform::PrintQueue m_queue; // after the spoolers: it hands to them until it is gone
    std::filesystem::path m_lastFile;
    std::string m_lastStamp; // the time stamp of the last name given, and its number
    int m_lastNumber = 0;
    bool m_leftBehindGiven = false; // LeftBehind was asked, and NotPrintedShown not yet
};

} // namespace vantreth::gui
