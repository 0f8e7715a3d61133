#pragma once

#include "reports/capacity/sizing.h"
#include "reports/timeofday/widgets/timeofdaywindow.h"
#include "reports/widgets/summarywindow.h"

#include <memory>

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QSpinBox;

namespace tarrow::reports {

// "Do I have enough ports?": the pool's carried traffic by clock quarter with
// the busy hour shaded, and beside it the verdict, which the what-if controls
// (ports that take calls, target blocking, traffic growth, retry share) size
// anew at once.
class frmCapacity : public TimeOfDayWindow {
    Q_OBJECT
public:
    explicit frmCapacity(ReportHost& host, QWidget* parent = nullptr);

    [[nodiscard]] const Sizing& sizing() const { return sizing_; }
    [[nodiscard]] QString headline() const;
    // The verdict's figures as shown: label and value per line.
    [[nodiscard]] QList<QPair<QString, QString>> verdictShown() const;

protected:
    void draw(const ReportDocument& document) override;
    void layoutChart(QSize outer, QSize inner) override;
    bool runOwnMenuItem(MenuAction action, int index) override;
    // A print leads with the verdict and its figures.
    [[nodiscard]] QStringList printHeading() const override;

private:
    QWidget* buildPanel();
    void applySizing();
    void showVerdict();
    void saveTable();
    void saveJson();

    std::shared_ptr<const CapacityFigures> figures_;
    Sizing sizing_;
    QWidget* panel_ = nullptr;
    QLabel* lblVerdict = nullptr;
    QFormLayout* verdictForm_ = nullptr;
    QSpinBox* spnPortsInService = nullptr;
    QComboBox* cmbTargetBlocking = nullptr;
    QSpinBox* spnGrowth = nullptr;
    QDoubleSpinBox* spnRetryShare = nullptr;
};

// The Capacity figures per quarter-hour.
class frmCapacitySummary : public SummaryWindow {
    Q_OBJECT
public:
    frmCapacitySummary(ReportHost& host, const SummaryTable& figures, const QDate& day,
                       QWidget* parent = nullptr);
};

} // namespace tarrow::reports
