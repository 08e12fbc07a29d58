// The printer as the reports use it: items placed at 1-based columns, numbers printed
// as values, a font size and a bold switch, a settable vertical position, and one
// document per report. Finished documents go to a PrinterDevice: a capture for tests,
// a PDF file and the default printer in the real program (its PDF files are saved by
// pdf_file.h, handed to the system's printing by print_command.h, away from the window by
// print_queue.h).
#pragma once

#include "platform/decimal.h"
#include "platform/files.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

struct PrintedLine {
    std::string text; // the line as placed, trailing blanks kept
    bool bold = false;
    int fontSize = 10;
};

struct PrintedPage {
    std::vector<PrintedLine> lines;
};

struct PrintJob {
    std::vector<PrintedPage> pages;
    // What the report is, as the code that printed it named it (see Printer::Title).
    std::string title;
    // The whole document as text: lines joined by "\n", pages separated by a form feed line.
    std::string Text() const;
    // What the clerk knows the document by: its first line that is not blank, without the
    // blanks around and between its words (at most 60 characters); empty for a blank document.
    std::string Heading() const;
    // The name of the report in the printer's queue and in a box: its title, else its heading.
    std::string Name() const { return title.empty() ? Heading() : title; }
};

// A document made ready by its device but not yet out. Thrown away unless published.
class PreparedPrint {
public:
    virtual ~PreparedPrint() = default;
    // Puts the document out: its file under its own name, the job to the printer. Throws
    // PrintError when that fails.
    virtual void Publish() = 0;
    // The report's name (see PrintJob::Name).
    virtual std::string Name() const = 0;
};

// A report that did not reach the printer: its name, why not, and its PDF file when one is kept.
struct NotPrinted {
    std::string name;
    std::string reason;
    std::filesystem::path pdf;
};

// The one box that tells the clerk about the reports of a step that were not printed, small
// enough for the screen however many they are: the first few by name, how many in all, the
// reason, and where their PDFs are kept. Empty for none.
std::string NotPrintedMessage(const std::vector<NotPrinted>& reports);

// Where finished documents go. Submit throws PrintError when the document cannot be printed.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    virtual void Submit(const PrintJob& job) = 0;
    // Submit in two halves, for a document that belongs to a step: Prepare does, inside the
    // step, what a full disk can make fail (the document made and stored out of sight) and
    // throws PrintError as Submit does; Publish of what it returns does the rest once the step
    // is saved. By default the job waits in memory and Publish submits it.
    virtual std::unique_ptr<PreparedPrint> Prepare(const PrintJob& job);
    // Publishes the documents of one saved step, in order (by default one Publish after the
    // other). One that fails does not keep back the others; what went wrong now is returned
    // as the text of one box (see NotPrintedMessage), empty when nothing did.
    virtual std::string PublishStep(std::vector<std::unique_ptr<PreparedPrint>> step);
    // True while documents of saved steps are still being handed to the printer away from the
    // window, or what became of them is still to be told.
    virtual bool HandingOver() const { return false; }
    // The boxes about hand-overs that ended since the last call, one per step.
    virtual std::vector<std::string> TakeNotPrinted() { return {}; }
    // Asked once at the start, when the files hold every saved step: the box about the reports
    // of saved steps that an earlier run did not hand to the printer, empty when none.
    virtual std::string LeftBehind() { return std::string(); }
    // The boxes given so far (TakeNotPrinted, LeftBehind) were shown to the clerk: what they
    // tell is not told again. Until then it stays to be told, at the next start when the
    // program is stopped with a box up.
    virtual void NotPrintedShown() {}
    // The program opened `folder`: a device that keeps files in it reads and changes them from
    // now on through the folder's engine.
    virtual void OpenIn(const DataFolder& folder) { (void)folder; }
};

class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's printing did not answer in time: the next job would wait as long.
class PrintNoAnswer : public PrintError {
public:
    using PrintError::PrintError;
};

// Keeps every document in memory, in order.
class CapturePrinter final : public PrinterDevice {
public:
    void Submit(const PrintJob& job) override { m_jobs.push_back(job); }
    const std::vector<PrintJob>& jobs() const { return m_jobs; }
    // The documents submitted since the last call, and forgets them.
    std::vector<PrintJob> TakeJobs();
    void Clear() { m_jobs.clear(); }

private:
    std::vector<PrintJob> m_jobs;
};

// One printed line under construction. Items follow each other directly; Tab(n) puts the
// next item at column n, or at column n of a new line when the line is already past n.
class PrintItems {
public:
    PrintItems& Tab(int column);
    PrintItems& Text(std::string_view s);
    // A number printed as a value: Str form (blank before a non-negative value) and one blank after.
    // A Single is an amount a record keeps: printed as the decimal it stands for, every cent.
    PrintItems& Value(float v);
    PrintItems& Value(const Decimal& v);
    PrintItems& Value(double v);
    PrintItems& Value(int v);

    // The physical lines this print statement makes (usually one).
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines{std::string()};
};

// The program's printer. A document starts with the first Print after EndDoc and is
// finished by EndDoc. A document finished while a step of the clerk runs (`inStep` says
// so) belongs to that step: the device prepares it at once (one that cannot be made fails
// the step), and it waits in the printer until the step is saved (Release) or undone (Drop),
// so that a step that fails prints nothing. A document finished outside any step goes to the
// device at once. A document finished inside a part of the step that is undone (see
// WhenUndone) goes with that part. A failure to print inside EndDoc reaches the caller as
// PrintError.
class Printer {
public:
    // `folder`: the data folder whose steps the documents belong to.
    explicit Printer(PrinterDevice& device, std::function<bool()> inStep = {},
                     FilePath folder = FilePath::Outside({}))
        : m_device(&device), m_inStep(std::move(inStep)), m_folder(std::move(folder)) {}

    void SetDevice(PrinterDevice& device) { m_device = &device; }
    void FontSize(int points) { m_fontSize = points; }
    void FontBold(bool bold) { m_bold = bold; }
    // Moves the next line to this vertical position on the page, in twips (1440 per inch).
    void CurrentY(int twips);
    // Prints one statement: its items, then a line end.
    void Print(const PrintItems& items);
    void Print(std::string_view text);
    // An empty line.
    void Print();
    void NewPage();
    // Ends the document and sends it to the device, or has the device prepare it and holds
    // it for the step that runs (nothing when no document is open).
    void EndDoc();
    // Names the open document, or the one the next Print opens (see PrintJob::title).
    void Title(std::string name) {
        EnsureOpen();
        m_job.title = std::move(name);
    }
    // Throws away the open document without printing it.
    void KillDoc() {
        m_job = PrintJob();
        m_open = false;
    }
    bool DocumentOpen() const { return m_open; }
    // The step was saved: the documents it finished are published, in order (see
    // PrinterDevice::PublishStep); returns the box about those that failed at once, or "".
    // Never throws: the step is saved whatever befalls its reports, and a failure to hand
    // them over is told as their box.
    std::string Release();
    // See PrinterDevice::HandingOver and TakeNotPrinted.
    bool HandingOver() const { return m_device->HandingOver(); }
    std::vector<std::string> TakeNotPrinted() { return m_device->TakeNotPrinted(); }
    // The step was undone: the documents it finished and the open one are thrown away.
    void Drop() {
        m_held.clear();
        KillDoc();
    }
    // See PrinterDevice::LeftBehind and NotPrintedShown.
    std::string LeftBehind() { return m_device->LeftBehind(); }
    void NotPrintedShown() { m_device->NotPrintedShown(); }
    // The documents waiting for their step to be saved.
    size_t HeldCount() const { return m_held.size(); }

    static constexpr int kTwipsPerLine = 240; // 10 point text at 6 lines per inch
    static constexpr int kLinesPerPage = 60;

private:
    void EnsureOpen();
    void AddLine(std::string text);

    PrinterDevice* m_device;
    std::function<bool()> m_inStep;
    FilePath m_folder;
    std::vector<std::unique_ptr<PreparedPrint>> m_held;
    PrintJob m_job;
    bool m_open = false;
    int m_row = 0; // row of the next line on the last page
    int m_fontSize = 10;
    bool m_bold = false;
};

} // namespace platform
