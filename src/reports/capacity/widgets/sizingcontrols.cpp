#include "reports/capacity/widgets/sizingcontrols.h"

#include "reports/capacity/capacityoutput.h"

#include <QComboBox>
#include <QSpinBox>

#include <cmath>

namespace tarrow::reports {

namespace {

constexpr double kTargets[] = {0.001, 0.005, 0.01, 0.02, 0.05};

} // namespace

QSpinBox* portsInServiceBox(const QString& name) {
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(0, 32768);
    box->setSpecialValueText(QStringLiteral("from the logs"));
    box->setAccelerated(true);
    return box;
}

QComboBox* targetBlockingBox(const QString& name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (double target : kTargets)
        box->addItem(percentText(target), target);
    chooseTarget(*box, kDefaultGos);
    return box;
}

double chosenTarget(const QComboBox& box) {
    const QVariant data = box.currentData();
    return data.isValid() ? data.toDouble() : kDefaultGos;
}

void chooseTarget(QComboBox& box, double gos) {
    int best = 0;
    for (int i = 1; i < box.count(); ++i)
        if (std::abs(std::log(box.itemData(i).toDouble() / gos)) <
            std::abs(std::log(box.itemData(best).toDouble() / gos)))
            best = i;
    box.setCurrentIndex(best);
}

} // namespace tarrow::reports
