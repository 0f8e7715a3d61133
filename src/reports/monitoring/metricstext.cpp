#include "reports/monitoring/metricstext.h"

#include <cmath>

namespace tarrow::reports {

namespace {

// A label value with backslash, quote and line feed escaped.
QByteArray escaped(const QString& value) {
    QByteArray out;
    for (const char c : value.toUtf8()) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c == '\n' ? QByteArray("\\n") : QByteArray(1, c);
    }
    return out;
}

QByteArray sample(const QString& name, const MetricLabels& labels, double value) {
    QByteArray line = name.toUtf8();
    if (!labels.isEmpty()) {
        line += '{';
        for (qsizetype i = 0; i < labels.size(); ++i)
            line +=
                (i ? "," : "") + labels[i].first.toUtf8() + "=\"" + escaped(labels[i].second) + '"';
        line += '}';
    }
    return line + ' ' + metricNumber(value) + '\n';
}

} // namespace

QByteArray metricNumber(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QByteArray::number(static_cast<qint64>(value));
    return QByteArray::number(value, 'g', 15);
}

MetricsText::Family& MetricsText::family(const QString& name, const QString& help) {
    for (Family& f : families_)
        if (f.name == name)
            return f;
    families_.append({name, help, {}});
    return families_.last();
}

void MetricsText::gauge(const QString& name, const QString& help, double value,
                        const MetricLabels& labels) {
    Family& f = family(name, help);
    if (std::isfinite(value))
        f.samples.append(sample(name, labels, value));
}

void MetricsText::optionalGauge(const QString& name, const QString& help,
                                std::optional<double> value, const MetricLabels& labels) {
    const bool known = value.has_value() && std::isfinite(*value);
    if (known)
        gauge(name, help, *value, labels);
    gauge(name + QStringLiteral("_available"),
          QStringLiteral("1 when %1 could be computed, else 0.").arg(name), known ? 1 : 0, labels);
}

QByteArray MetricsText::text() const {
    QByteArray text;
    for (const Family& f : families_) {
        if (f.samples.isEmpty())
            continue;
        text += "# HELP " + f.name.toUtf8() + ' ' + f.help.toUtf8() + '\n';
        text += "# TYPE " + f.name.toUtf8() + " gauge\n";
        for (const QByteArray& line : f.samples)
            text += line;
    }
    return text;
}

} // namespace tarrow::reports
