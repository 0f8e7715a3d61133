#pragma once

#include "reports/capacity/sizing.h"

class QComboBox;
class QSpinBox;

namespace tarrow::reports {

// The choices the Capacity tab and the Capacity window both offer.
// "Ports that take calls": 0 (shown as "from the logs") takes the answer ports
// or the server's count of lines available, whichever is larger.
[[nodiscard]] QSpinBox* portsInServiceBox(const QString& name);
// "Target blocking": 0.1 %, 0.5 %, 1 %, 2 % and 5 %, 1 % chosen.
[[nodiscard]] QComboBox* targetBlockingBox(const QString& name);
// The target chosen, as a probability.
[[nodiscard]] double chosenTarget(const QComboBox& box);
// Chooses the entry nearest to a target.
void chooseTarget(QComboBox& box, double gos);

} // namespace tarrow::reports
