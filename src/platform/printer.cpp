// The printer's page model: print statements become lines at rows of pages, and EndDoc
// hands the finished document to the device.
#include "platform/printer.h"

#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The default preparation: the job waits in memory.
class JobInMemory final : public PreparedPrint {
public:
    JobInMemory(PrinterDevice& device, const PrintJob& job) : m_device(device), m_job(job) {}
    void Publish() override { m_device.Submit(m_job); }
    std::string Name() const override { return m_job.Name(); }

private:
    PrinterDevice& m_device;
    PrintJob m_job;
};

} // namespace

std::unique_ptr<PreparedPrint> PrinterDevice::Prepare(const PrintJob& job) {
    return std::make_unique<JobInMemory>(*this, job);
}

std::string PrinterDevice::PublishStep(std::vector<std::unique_ptr<PreparedPrint>> step) {
    std::vector<NotPrinted> failed;
    for (const std::unique_ptr<PreparedPrint>& prepared : step) {
        try {
            prepared->Publish();
        } catch (const std::exception& e) {
            failed.push_back({prepared->Name(), e.what(), {}});
        }
    }
    return NotPrintedMessage(failed);
}

namespace {

constexpr size_t kNamedInBox = 5;    // reports named in a box; the others are counted
constexpr size_t kReasonInBox = 160; // characters of a reason shown

std::string Shortened(std::string text, size_t most) {
    if (text.size() > most)
        text = text.substr(0, most - 3) + "...";
    return text;
}

// A reason as the box shows it, in brackets: without the full stop a command ends its words
// with ("(lp: The printer or class does not exist)"), cut to what fits.
std::string InBrackets(std::string reason) {
    while (!reason.empty() && reason.back() == '.')
        reason.pop_back();
    return "(" + Shortened(std::move(reason), kReasonInBox) + ")";
}

} // namespace

std::string NotPrintedMessage(const std::vector<NotPrinted>& reports) {
    if (reports.empty())
        return std::string();
    const auto quoted = [](const NotPrinted& r) { return "\"" + Shortened(r.name, 60) + "\""; };
    if (reports.size() == 1) {
        const NotPrinted& r = reports.front();
        return "The report could not be printed: " + quoted(r) + " " + InBrackets(r.reason) +
               (r.pdf.empty() ? "." : "; its PDF is kept as " + r.pdf.string() + ".");
    }
    const bool oneReason = std::all_of(reports.begin(), reports.end(), [&](const NotPrinted& r) {
        return r.reason == reports.front().reason;
    });
    std::string out = std::to_string(reports.size()) + " reports could not be printed";
    if (oneReason)
        out += " " + InBrackets(reports.front().reason);
    out += ":";
    for (size_t i = 0; i < reports.size() && i < kNamedInBox; ++i) {
        out += "\n" + quoted(reports[i]);
        if (!oneReason)
            out += " " + InBrackets(reports[i].reason);
    }
    if (reports.size() > kNamedInBox)
        out += "\nand " + std::to_string(reports.size() - kNamedInBox) + " more.";
    const auto kept =
        std::find_if(reports.begin(), reports.end(), [](const NotPrinted& r) { return !r.pdf.empty(); });
    if (kept != reports.end()) {
        const size_t count = static_cast<size_t>(std::count_if(
            reports.begin(), reports.end(), [](const NotPrinted& r) { return !r.pdf.empty(); }));
        out += "\n" +
               (count == reports.size() ? std::string("Their PDFs are")
                                        : std::to_string(count) + " of their PDFs are") +
               " kept in the folder " + kept->pdf.parent_path().string() + ".";
    }
    return out;
}

std::string PrintJob::Text() const {
    std::string out;
    bool first = true;
    auto add = [&](const std::string& line) {
        if (!first)
            out += '\n';
        out += line;
        first = false;
    };
    for (size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            add("\f");
        for (const PrintedLine& line : pages[p].lines)
            add(line.text);
    }
    return out;
}

std::string PrintJob::Heading() const {
    for (const PrintedPage& page : pages) {
        for (const PrintedLine& line : page.lines) {
            std::string heading;
            bool gap = false;
            for (const char c : line.text) {
                if (c == ' ' || c == '\t') {
                    gap = !heading.empty();
                    continue;
                }
                if (gap)
                    heading += ' ';
                heading += c;
                gap = false;
            }
            if (!heading.empty())
                return heading.substr(0, 60);
        }
    }
    return std::string();
}

std::vector<PrintJob> CapturePrinter::TakeJobs() {
    std::vector<PrintJob> taken;
    taken.swap(m_jobs);
    return taken;
}

PrintItems& PrintItems::Tab(int column) {
    const size_t target = static_cast<size_t>(std::max(column, 1) - 1);
    std::string& line = m_lines.back();
    if (line.size() > target)
        m_lines.emplace_back(target, ' ');
    else
        line.append(target - line.size(), ' ');
    return *this;
}

PrintItems& PrintItems::Text(std::string_view s) {
    m_lines.back().append(s);
    return *this;
}

PrintItems& PrintItems::Value(float v) {
    return Text(StoredStr(v) + " ");
}
PrintItems& PrintItems::Value(const Decimal& v) {
    return Text(AmountStr(v) + " ");
}
PrintItems& PrintItems::Value(double v) {
    return Text(Str(v) + " ");
}
PrintItems& PrintItems::Value(int v) {
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
    std::vector<PrintedLine>& lines = m_job.pages.back().lines;
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
    std::vector<PrintedLine>& lines = m_job.pages.back().lines;
    const size_t padTo = static_cast<size_t>(std::min(m_row, kLinesPerPage));
    while (lines.size() < padTo)
        lines.push_back(PrintedLine{std::string(), false, m_fontSize});
}

void Printer::Print(const PrintItems& items) {
    for (const std::string& line : items.lines())
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
    if (m_inStep && m_inStep()) {
        // A report is a change of its step: a folder that takes no change (one open only to be
        // looked at) refuses it as it refuses every change, before the device stores anything.
        MayChange(m_folder);
        const size_t before = m_held.size();
        m_held.push_back(m_device->Prepare(job));
        WhenUndone(m_folder, [this, before] {
            if (m_held.size() > before)
                m_held.resize(before);
        });
    } else {
        m_device->Submit(job);
    }
}

std::string Printer::Release() {
    std::vector<std::unique_ptr<PreparedPrint>> held;
    held.swap(m_held);
    if (held.empty())
        return std::string();
    std::vector<std::string> names;
    for (const std::unique_ptr<PreparedPrint>& prepared : held)
        names.push_back(prepared->Name());
    try {
        return m_device->PublishStep(std::move(held));
    } catch (const std::exception& e) {
        // After the commit point: the step stays saved, and its reports were not printed.
        std::vector<NotPrinted> failed;
        for (std::string& name : names)
            failed.push_back({std::move(name), e.what(), {}});
        return NotPrintedMessage(failed);
    }
}

} // namespace platform
