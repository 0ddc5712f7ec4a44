#include "mainwindow/ProgramListing.h"

#include "mainwindow/ProgramFiles.h"
#include "platform/LineStore.h"

#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

std::string ListingPageHeader(const std::string& pictureName, const QDate& date, int page) {
    return "Fraxilon    Name: " + pictureName + "      Datum: " +
           date.toString(QStringLiteral("dd.MM.yyyy")).toStdString() + "      Seite: " + std::to_string(page);
}

bool PrintListing(QPrinter& printer, const TStrings& lines, const std::string& pictureName,
                  const QDate& date, const std::function<void(int)>& progress) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(painter.font(), &printer);
    const int h = metrics.height();
    const int left = 8 * metrics.horizontalAdvance(QLatin1Char(' '));
    const int pageHeight = printer.height();
    const std::vector<PrintPlacement> placements = PaginateListing(lines.Count(), h, pageHeight);
    int page = 1;
    for (std::size_t i = 0; i < placements.size(); ++i) {
        const PrintPlacement& p = placements[i];
        if (p.page != page) {
            printer.newPage();
            page = p.page;
        }
        // Text is drawn with its top at y, as the listing's positions count.
        if (p.pageHeader) {
            painter.drawText(left, metrics.ascent(),
                             QString::fromStdString(ListingPageHeader(pictureName, date, page)));
        }
        const std::string_view line = lines.Line(i).substr(0, 255);
        painter.drawText(left, p.y + metrics.ascent(),
                         QString::fromUtf8(line.data(), qsizetype(line.size())));
        const int percent = ListingProgress(i, placements.size() - 1);
        if (progress && percent % 10 == 0) progress(percent);
    }
    painter.end();
    return true;
}
