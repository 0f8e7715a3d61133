#include "reports/widgets/verdictform.h"

#include <QFormLayout>
#include <QLabel>

namespace tarrow::reports {

QLabel* headlineLabel(const QString& name, int pointSize) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    QFont large = label->font();
    large.setPointSize(pointSize);
    large.setBold(true);
    label->setFont(large);
    return label;
}

void paintLabel(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

void showVerdictLines(QFormLayout& form, const QList<VerdictLine>& lines) {
    while (form.rowCount() > 0)
        form.removeRow(0);
    for (const VerdictLine& line : lines) {
        // Labels stay on one line: a wrapped label in a form row can be
        // given less height than it needs and be cut off.
        auto* label = new QLabel(line.label + QLatin1Char(':'));
        auto* value = new QLabel(line.value);
        value->setWordWrap(true);
        if (line.warning)
            paintLabel(*value, kWarningColour);
        form.addRow(label, value);
    }
}

QList<QPair<QString, QString>> verdictLinesShown(const QFormLayout& form) {
    QList<QPair<QString, QString>> shown;
    for (int row = 0; row < form.rowCount(); ++row) {
        const QLayoutItem* labelItem = form.itemAt(row, QFormLayout::LabelRole);
        const QLayoutItem* valueItem = form.itemAt(row, QFormLayout::FieldRole);
        const auto* label = labelItem ? qobject_cast<QLabel*>(labelItem->widget()) : nullptr;
        const auto* value = valueItem ? qobject_cast<QLabel*>(valueItem->widget()) : nullptr;
        if (label && value)
            shown.append({label->text(), value->text()});
    }
    return shown;
}

} // namespace tarrow::reports
