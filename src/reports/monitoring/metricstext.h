#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace tarrow::reports {

using MetricLabels = QList<QPair<QString, QString>>;

// A Prometheus text file for the node exporter's textfile collector: gauges
// named "tarrow_…" in base units, each family with its HELP and TYPE lines
// and its samples together, no timestamps. A figure that is not finite is
// never written: the family's "…_available" gauge says 0 instead.
class MetricsText {
public:
    void gauge(const QString& name, const QString& help, double value,
               const MetricLabels& labels = {});
    // A figure that may be unknown: written when known, and beside it
    // "<name>_available" with 1 or 0.
    void optionalGauge(const QString& name, const QString& help, std::optional<double> value,
                       const MetricLabels& labels = {});

    [[nodiscard]] QByteArray text() const;

private:
    struct Family {
        QString name;
        QString help;
        QList<QByteArray> samples;
    };
    Family& family(const QString& name, const QString& help);
    QList<Family> families_;
};

// A number as the text format writes it: plain digits for whole numbers, else
// up to 15 significant digits, a point for the decimals whatever the locale.
[[nodiscard]] QByteArray metricNumber(double value);

} // namespace tarrow::reports
