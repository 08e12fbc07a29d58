// The printer as the reports use it: items placed at 1-based columns, numbers printed
// as values, a font size and a bold switch, a settable vertical position, and one
// document per report. Finished documents go to a PrinterDevice: a capture for tests,
// a PDF file and the default printer in the real program.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
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
    // The whole document as text: lines joined by "\n", pages separated by a form feed line.
    std::string Text() const;
};

// Where finished documents go. Submit throws PrintError when the document cannot be printed.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    virtual void Submit(const PrintJob& job) = 0;
};

class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when `bytes` is a whole PDF file: it starts with the "%PDF-" header and ends with the
// "%%EOF" trailer marker, which may be followed by blanks and line ends. A file cut short
// while it was written (a full disk) has no trailer.
bool IsCompletePdf(std::string_view bytes);

// Saves a finished PDF document as `file`. The bytes go to a temporary file beside it
// ("<name>.XXXXXX", owner-only), which is read back and checked complete, flushed to the
// disk and only then renamed into place. Any failure removes the temporary file and throws
// PrintError naming the file and the reason: a document is saved whole or not at all.
void SavePdfFile(const std::filesystem::path& file, std::string_view bytes);

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
    PrintItems& Value(float v);
    PrintItems& Value(double v);
    PrintItems& Value(int v);

    // The physical lines this print statement makes (usually one).
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines{std::string()};
};

// The program's printer. A document starts with the first Print after EndDoc and is
// handed to the device by EndDoc. A failure to print reaches the caller as PrintError.
class Printer {
public:
    explicit Printer(PrinterDevice& device) : m_device(&device) {}

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
    // Ends the document and sends it to the device (nothing when no document is open).
    void EndDoc();
    // Throws away the open document without printing it (an event that failed half-way).
    void KillDoc() {
        m_job = PrintJob();
        m_open = false;
    }
    bool DocumentOpen() const { return m_open; }

    static constexpr int kTwipsPerLine = 240; // 10 point text at 6 lines per inch
    static constexpr int kLinesPerPage = 60;

private:
    void EnsureOpen();
    void AddLine(std::string text);

    PrinterDevice* m_device;
    PrintJob m_job;
    bool m_open = false;
    int m_row = 0; // row of the next line on the last page
    int m_fontSize = 10;
    bool m_bold = false;
};

} // namespace platform
