#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace tarrow::charts {
class Chart2D;
}
namespace tarrow::platform {
class UserDialogs;
} // namespace tarrow::platform

namespace tarrow::support {

// Prints a chart on the printer the user picks, reduced to fit the page. The
// chart is staged as "temp.bmp" in workFolder. Every failing step is reported.
// `heading`, when given, is printed above the chart (a report's verdict).
void PrintChart(charts::Chart2D& chart, platform::UserDialogs& dialogs, const QString& workFolder,
                const QStringList& heading = {});

// Saves a chart as a Windows bitmap where the user chooses; the default name is
// the prefix and the data date, for example CallTrafficGraph_3_7_2009.BMP.
void SaveChartToBitmap(charts::Chart2D& chart, platform::UserDialogs& dialogs,
                       const QString& prefix, const QDate& dataDate);

// Saves a chart as a scalable SVG drawing (lines and text, no bitmap) under
// the same default name with ".svg".
void SaveChartToSvg(charts::Chart2D& chart, platform::UserDialogs& dialogs, const QString& prefix,
                    const QDate& dataDate);

} // namespace tarrow::support
