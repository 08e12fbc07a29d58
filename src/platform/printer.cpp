// The printer's page model: print statements become lines at rows of pages, and EndDoc
// hands the finished document to the device.
#include "platform/printer.h"

#include "platform/text.h"

#include <algorithm>
#include <utility>

namespace platform {

std::string PrintJob::Text() const {
    std::string out;
    bool first = true;
    auto add = [&](const std::string &line) {
        if (!first)
            out += '\n';
        out += line;
        first = false;
    };
    for (size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            add("\f");
        for (const PrintedLine &line : pages[p].lines)
            add(line.text);
    }
    return out;
}

std::vector<PrintJob> CapturePrinter::TakeJobs() {
    std::vector<PrintJob> taken;
    taken.swap(m_jobs);
    return taken;
}

PrintItems &PrintItems::Tab(int column) {
    const size_t target = static_cast<size_t>(std::max(column, 1) - 1);
    std::string &line = m_lines.back();
    if (line.size() > target)
        m_lines.emplace_back(target, ' ');
    else
        line.append(target - line.size(), ' ');
    return *this;
}

PrintItems &PrintItems::Text(std::string_view s) {
    m_lines.back().append(s);
    return *this;
}

PrintItems &PrintItems::Value(float v) {
    return Text(Str(v) + " ");
}
PrintItems &PrintItems::Value(double v) {
    return Text(Str(v) + " ");
}
PrintItems &PrintItems::Value(int v) {
    return Text(Str(v) + " ");
}

void Printer::EnsureOpen() {
    if (m_open)
        return;
    m_job = PrintJob{};
    m_job.pages.emplace_back();
    m_row = 0;
    m_open = true;
}

void Printer::AddLine(std::string text) {
    EnsureOpen();
    if (m_row >= kLinesPerPage) {
        m_job.pages.emplace_back();
        m_row = 0;
    }
    std::vector<PrintedLine> &lines = m_job.pages.back().lines;
    while (lines.size() < static_cast<size_t>(m_row))
        lines.push_back(PrintedLine{std::string(), false, m_fontSize});
    PrintedLine line{std::move(text), m_bold, m_fontSize};
    if (static_cast<size_t>(m_row) < lines.size())
        lines[m_row] = std::move(line);
    else
        lines.push_back(std::move(line));
    ++m_row;
}

void Printer::CurrentY(int twips) {
    EnsureOpen();
    m_row = std::max(twips, 0) / kTwipsPerLine;
    // A position below the page leaves the next line to start a new page.
    std::vector<PrintedLine> &lines = m_job.pages.back().lines;
    const size_t padTo = static_cast<size_t>(std::min(m_row, kLinesPerPage));
    while (lines.size() < padTo)
        lines.push_back(PrintedLine{std::string(), false, m_fontSize});
}

void Printer::Print(const PrintItems &items) {
    for (const std::string &line : items.lines())
        AddLine(line);
}

void Printer::Print(std::string_view text) {
    AddLine(std::string(text));
}

void Printer::Print() {
    AddLine(std::string());
}

void Printer::NewPage() {
    EnsureOpen();
    m_job.pages.emplace_back();
    m_row = 0;
}

void Printer::EndDoc() {
    if (!m_open)
        return;
    // Closed before submitting: a document the device refuses is dropped, and the next
    // Print starts a fresh one.
    m_open = false;
    PrintJob job = std::move(m_job);
    m_job = PrintJob{};
    m_row = 0;
    m_device->Submit(job);
}

} // namespace platform
