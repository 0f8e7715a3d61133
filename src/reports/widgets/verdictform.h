#pragma once

#include "reports/capacity/capacityoutput.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>

class QFormLayout;
class QLabel;

namespace tarrow::reports {

// The colour of a figure that says the ports fall short.
inline const QColor kWarningColour(0xb0, 0x00, 0x00);

// A verdict's headline: large bold text that wraps.
[[nodiscard]] QLabel* headlineLabel(const QString& name, int pointSize);

// Gives a label's text a colour.
void paintLabel(QLabel& label, const QColor& colour);

// Shows verdict lines as "label:" and value rows, the warnings in red,
// replacing what the form showed.
void showVerdictLines(QFormLayout& form, const QList<VerdictLine>& lines);

// The rows as shown: label and value per line.
[[nodiscard]] QList<QPair<QString, QString>> verdictLinesShown(const QFormLayout& form);

} // namespace tarrow::reports
