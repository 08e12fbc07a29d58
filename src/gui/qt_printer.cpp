// Documents drawn in a fixed-pitch font, 10 point at six lines to the inch, on Letter
// pages; see qt_printer.h.
#include "qt_printer.h"

#include "platform/engine.h"
#include "platform/pdf_file.h"
#include "platform/text.h"

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace vantreth::gui {

QFont FixedPitchFont(double points) {
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(points);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

namespace {

QPageLayout Layout() {
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0.5, 0.5, 0.5, 0.5),
                       QPageLayout::Inch);
}

QFont LineFont(const platform::PrintedLine& line) {
    QFont font = FixedPitchFont(line.fontSize > 0 ? line.fontSize : 10);
    font.setBold(line.bold);
    return font;
}

// The font of the line and the height of its baseline in its row. The plain font of the
// line's size sets both, for bold lines too, so that every line of a size sits on the same
// grid: its ascent above the baseline and its descent below fill at most one row, the font
// made smaller where they would not fit.
std::pair<QFont, double> RowFont(const platform::PrintedLine& line, QPaintDevice& device, double row) {
    QFont font = LineFont(line);
    QFont plain = font;
    plain.setBold(false);
    QFontMetricsF metrics(plain, &device);
    if (metrics.ascent() + metrics.descent() <= row)
        return {font, metrics.ascent()};
    // Sized in whole device pixels, as the device draws it.
    int pixels = static_cast<int>(font.pointSizeF() * device.logicalDpiY() / 72.0 * row /
                                  (metrics.ascent() + metrics.descent()));
    for (; pixels > 1; --pixels) {
        plain.setPixelSize(pixels);
        metrics = QFontMetricsF(plain, &device);
        if (metrics.ascent() + metrics.descent() <= row)
            break;
    }
    font.setPixelSize(pixels);
    return {font, metrics.ascent()};
}

// Draws the document on the device; `where` names the device in an error. Each line takes
// one row of exactly 1/6 inch below the top margin, whatever the font's own line spacing,
// and lies whole inside its row and inside the margins: a line wider than the page is
// drawn narrower, and a page holding more rows than fit goes on over a new sheet.
void Draw(QPagedPaintDevice& device, const platform::PrintJob& job, const std::string& where) {
    QPainter painter;
    if (!painter.begin(&device))
        throw platform::PrintError("cannot start a document on " + where);
    const double row = device.logicalDpiY() / 6.0;
    const double width = device.width();
    const int rowsPerSheet = std::max(1, static_cast<int>((device.height() + 0.5) / row));
    bool firstSheet = true;
    auto newSheet = [&] {
        if (!firstSheet && !device.newPage())
            throw platform::PrintError("cannot start a new page on " + where);
        firstSheet = false;
    };
    for (const platform::PrintedPage& page : job.pages) {
        newSheet();
        int rowOnSheet = 0;
        for (const platform::PrintedLine& line : page.lines) {
            if (rowOnSheet == rowsPerSheet) {
                newSheet();
                rowOnSheet = 0;
            }
            const auto [font, ascent] = RowFont(line, device, row);
            const QFontMetricsF metrics(font, &device);
            const QString text = QString::fromStdString(platform::Cp1252ToUtf8(line.text));
            const double baseline = rowOnSheet * row + ascent;
            painter.setFont(font);
            QString ink = text;
            while (ink.endsWith(QLatin1Char(' ')))
                ink.chop(1);
            const double textWidth = metrics.horizontalAdvance(ink);
            if (textWidth > width) {
                painter.save();
                painter.scale(width / textWidth, 1.0);
                painter.drawText(QPointF(0, baseline), ink);
                painter.restore();
            } else {
                painter.drawText(QPointF(0, baseline), text);
            }
            ++rowOnSheet;
        }
    }
    if (!painter.end())
        throw platform::PrintError("cannot finish the document on " + where);
}

} // namespace

QtPrinter::QtPrinter(std::filesystem::path folder, bool toPrinter, platform::PrintSpooler* spooler,
                     platform::PrintQueue::ThreadStarter start)
    : m_folder(platform::FilePath::Outside(std::move(folder))), m_toPrinter(toPrinter),
      m_spooler(spooler ? spooler : &m_systemSpooler),
      m_queue(m_folder.path(), *m_spooler, std::move(start)) {}

std::string QtPrinter::LeftBehind() {
    // Once the box is shown (or when there is none), the start clears the list and its notes.
    m_leftBehindGiven = true;
    return platform::PrintQueue::LeftBehind(m_folder);
}

void QtPrinter::NotPrintedShown() {
    if (std::exchange(m_leftBehindGiven, false))
        platform::PrintQueue::LeftBehindShown(m_folder);
    m_queue.Shown();
}

// Names of documents prepared in the same second are told apart by their number, also
// before their files exist.
platform::FilePath QtPrinter::NewFileName() {
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    for (int n = stamp == m_lastStamp ? m_lastNumber + 1 : 1;; ++n) {
        platform::FilePath file = m_folder.Child("report-" + stamp + "-" + std::to_string(n) + ".pdf");
        std::error_code ec;
        if (!std::filesystem::exists(file.path(), ec)) {
            m_lastStamp = stamp;
            m_lastNumber = n;
            return file;
        }
    }
}

// A document of a running step has its PDF, and its place in the list of reports not yet
// printed, written as changes of the step: they are saved with it, or not at all. Outside a
// step its PDF is stored out of sight until published.
class QtPrinter::Prepared final : public platform::PreparedPrint {
public:
    Prepared(QtPrinter& printer, platform::FilePath file, std::string name)
        : m_printer(printer), m_file(std::move(file)), m_name(std::move(name)), m_inStep(true) {}
    Prepared(QtPrinter& printer, const platform::FilePath& file, std::string_view bytes, std::string name)
        : m_printer(printer), m_file(file), m_name(std::move(name)),
          m_staged(std::in_place, file.path(), bytes) {}

    void Publish() override {
        if (m_staged)
            m_staged->Publish();
        m_printer.m_lastFile = m_file.path();
        if (!m_printer.m_toPrinter)
            return;
        if (!m_inStep) {
            try {
                platform::PrintQueue::List(m_printer.m_folder, {{m_file.path(), m_name}});
            } catch (const std::exception&) {
                // Printed all the same; only a start after a crash would not know of it.
            }
        }
        m_printer.m_queue.Add({{m_file.path(), m_name}});
    }
    std::string Name() const override { return m_name; }

    // Gives the stored PDF its name without flushing the folder; true when it did.
    bool Rename() {
        if (!m_staged)
            return false;
        m_staged->Rename();
        return true;
    }
    const platform::FilePath& file() const { return m_file; }

private:
    QtPrinter& m_printer;
    platform::FilePath m_file;
    std::string m_name;
    bool m_inStep = false;
    std::optional<platform::StagedPdf> m_staged;
};

void QtPrinter::Submit(const platform::PrintJob& job) {
    Prepare(job)->Publish();
}

std::string QtPrinter::PublishStep(std::vector<std::unique_ptr<platform::PreparedPrint>> step) {
    std::vector<platform::NotPrinted> failed;
    std::vector<platform::PrintQueue::Report> toPrint;
    bool renamed = false;
    for (const std::unique_ptr<platform::PreparedPrint>& held : step) {
        auto* prepared = dynamic_cast<Prepared*>(held.get());
        try {
            if (prepared == nullptr) { // not one of ours: published on its own
                held->Publish();
                continue;
            }
            renamed = prepared->Rename() || renamed;
            m_lastFile = prepared->file().path();
            if (m_toPrinter)
                toPrint.push_back({prepared->file().path(), prepared->Name()});
        } catch (const std::exception& e) {
            failed.push_back({held->Name(), e.what(), {}});
        }
    }
    if (renamed)
        platform::FlushFolder(m_folder.path());
    m_queue.Add(std::move(toPrint));
    return platform::NotPrintedMessage(failed);
}

std::unique_ptr<platform::PreparedPrint> QtPrinter::Prepare(const platform::PrintJob& job) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder.path(), ec);
    if (ec)
        throw platform::PrintError("the folder " + m_folder.string() + " cannot be made: " + ec.message());

    // The PDF is made in memory and stored in one piece (see platform::StagedPdf), so a
    // full disk never leaves a document cut short under its name.
    const platform::FilePath file = NewFileName();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly))
            throw platform::PrintError("cannot make the document " + file.string() + " in memory");
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Vantreth"));
        pdf.setResolution(1200);
        pdf.setPageLayout(Layout());
        Draw(pdf, job, file.string());
    }
    const std::string_view pdf(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (file.engine() != nullptr && file.engine()->RunningStep() != nullptr) {
        // A folder open only to be looked at refuses the PDF as it refuses every change
        // (FolderReadOnly): nothing is stored, and the step tells the clerk the folder's message.
        if (!platform::IsCompletePdf(pdf))
            throw platform::PrintError("the PDF file " + file.string() +
                                       " could not be saved: the document was not finished");
        platform::ReplaceFileContent(file, pdf);
        if (m_toPrinter)
            platform::PrintQueue::List(m_folder, {{file.path(), job.Name()}});
        return std::make_unique<Prepared>(*this, file, job.Name());
    }
    return std::make_unique<Prepared>(*this, file, pdf, job.Name());
}

} // namespace vantreth::gui
