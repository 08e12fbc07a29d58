// Documents drawn in a fixed-pitch font, 10 point at six lines to the inch, on Letter
// pages; see qt_printer.h.
#include "qt_printer.h"

#include "platform/text.h"

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <string_view>

namespace vantreth::gui {

namespace {

QPageLayout Layout() {
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0.5, 0.5, 0.5, 0.5),
                       QPageLayout::Inch);
}

QFont LineFont(const platform::PrintedLine &line) {
    QFont font(QStringLiteral("Courier"), line.fontSize > 0 ? line.fontSize : 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(line.bold);
    return font;
}

// Draws the document on the device; `where` names the device in an error.
void Draw(QPagedPaintDevice &device, const platform::PrintJob &job, const std::string &where) {
    QPainter painter;
    if (!painter.begin(&device))
        throw platform::PrintError("cannot start a document on " + where);
    const double lineHeight = device.logicalDpiY() / 6.0;
    bool firstPage = true;
    for (const platform::PrintedPage &page : job.pages) {
        if (!firstPage && !device.newPage())
            throw platform::PrintError("cannot start a new page on " + where);
        firstPage = false;
        double top = 0;
        for (const platform::PrintedLine &line : page.lines) {
            const QFont font = LineFont(line);
            const QFontMetricsF metrics(font, &device);
            painter.setFont(font);
            painter.drawText(QPointF(0, top + metrics.ascent()),
                             QString::fromStdString(platform::Cp1252ToUtf8(line.text)));
            top += std::max(lineHeight, metrics.lineSpacing());
        }
    }
    if (!painter.end())
        throw platform::PrintError("cannot finish the document on " + where);
}

} // namespace

QtPrinter::QtPrinter(std::filesystem::path folder, bool toPrinter)
    : m_folder(std::move(folder)), m_toPrinter(toPrinter) {}

std::filesystem::path QtPrinter::NewFileName() const {
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    for (int n = 1;; ++n) {
        std::filesystem::path file = m_folder / ("report-" + stamp + "-" + std::to_string(n) + ".pdf");
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return file;
    }
}

void QtPrinter::Submit(const platform::PrintJob &job) {
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec)
        throw platform::PrintError("the folder " + m_folder.string() + " cannot be made: " + ec.message());

    // The PDF is made in memory and saved in one piece (see platform::SavePdfFile), so a
    // full disk never leaves a document cut short under its name.
    const std::filesystem::path file = NewFileName();
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
    platform::SavePdfFile(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    m_lastFile = file;

    if (!m_toPrinter)
        return;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(file.filename().string()));
    printer.setPageLayout(Layout());
    Draw(printer, job,
         "the printer " + info.printerName().toStdString() + " (the document is kept as " + file.string() +
             ")");
}

} // namespace vantreth::gui
