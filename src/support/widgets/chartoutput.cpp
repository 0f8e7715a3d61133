#include "support/widgets/chartoutput.h"

#include "charts/widgets/chart2d.h"
#include "platform/fileoutput.h"
#include "platform/userdialogs.h"
#include "support/printzoom.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace tarrow::support {

void PrintChart(charts::Chart2D& chart, platform::UserDialogs& dialogs, const QString& workFolder,
                const QStringList& heading) {
    // The printer keeps the orientation last chosen for as long as the
    // program runs, so the dialog offers it again.
    static QPageLayout::Orientation lastOrientation = QPageLayout::Portrait;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(lastOrientation);
    if (!dialogs.choosePrinter(printer))
        return;
    lastOrientation = printer.pageLayout().orientation();
    QStringList errors;
    const QString staging = QDir(workFolder).filePath(QStringLiteral("temp.bmp"));
    if (const platform::Result drawn = chart.DrawToFile(staging, 1); !drawn.ok())
        errors << drawn.error();
    QImage picture;
    if (!picture.load(staging, "BMP"))
        errors << QStringLiteral("The chart picture \"%1\" could not be read.")
                      .arg(QDir::toNativeSeparators(staging));
    // The staging picture served once it is read: it is not left behind.
    QFile::remove(staging);

    // Page and picture are compared in printer dots; each print fits its own
    // chart, whatever an earlier print did.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double dots = printer.resolution() / static_cast<double>(chart.logicalDpiX());
    const double width = chart.width() * dots;
    const double height = chart.height() * dots;

    QPainter painter;
    if (!painter.begin(&printer)) {
        errors << QStringLiteral("The printer could not be started.");
    } else {
        // The heading's lines first, the chart fitted to the room below them.
        QFont font(QStringLiteral("DejaVu Sans"), 10);
        painter.setFont(font);
        const QRectF textRoom(0, 0, page.width(), page.height() / 2.0);
        const QRectF used =
            heading.isEmpty()
                ? QRectF()
                : painter.boundingRect(textRoom, Qt::TextWordWrap, heading.join(QLatin1Char('\n')));
        if (!heading.isEmpty())
            painter.drawText(used, Qt::TextWordWrap, heading.join(QLatin1Char('\n')));
        const double top = used.isEmpty() ? 0 : used.bottom() + used.height() / heading.size();
        const double zoom =
            printZoomPercent(page.width(), static_cast<int>(page.height() - top), width, height)
                .value_or(100);
        if (!picture.isNull())
            painter.drawImage(QRectF(0, top, width * zoom / 100, height * zoom / 100), picture);
        if (!painter.end())
            errors << QStringLiteral("The page could not be sent to the printer.");
    }
    for (const QString& error : errors)
        dialogs.message(QStringLiteral("Error in PrintChart routine: ") + error);
}

namespace {

// Asks where to save a chart picture and draws it there; cancel stays silent.
void saveChartAs(charts::Chart2D& chart, platform::UserDialogs& dialogs, const QString& prefix,
                 const QDate& dataDate, const QString& suffix, const QString& filter, int format) {
    const QString initial =
        QDir(platform::defaultSaveFolder())
            .filePath(platform::dateFileName(prefix, dataDate, QLatin1Char('.') + suffix));
    QString path = dialogs.saveFile(QString(), initial, filter, suffix);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    if (const platform::Result saved = chart.DrawToFile(path, format); !saved.ok())
        dialogs.message(QStringLiteral("The chart could not be saved: ") + saved.error(), {},
                        platform::MessageIcon::Warning);
}

} // namespace

void SaveChartToBitmap(charts::Chart2D& chart, platform::UserDialogs& dialogs,
                       const QString& prefix, const QDate& dataDate) {
    saveChartAs(chart, dialogs, prefix, dataDate, QStringLiteral("BMP"),
                QStringLiteral("BMP Files (*.BMP)"), charts::Chart2D::kBitmap);
}

void SaveChartToSvg(charts::Chart2D& chart, platform::UserDialogs& dialogs, const QString& prefix,
                    const QDate& dataDate) {
    saveChartAs(chart, dialogs, prefix, dataDate, QStringLiteral("svg"),
                QStringLiteral("SVG Drawings (*.svg)"), charts::Chart2D::kSvg);
}

} // namespace tarrow::support
