#pragma once

#include "logparse/logfiles.h"
#include "reports/reporttable.h"

#include <QDate>
#include <QTabWidget>

#include <map>
#include <utility>

class QComboBox;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace tarrow::app {

// What the History tab asks for.
struct HistoryChoice {
    QDate from;
    QDate to;
    QString fromText; // as the day lists show them
    QString toText;
    int ports = 0;
    double gos = 0.01;
};

// The main window's tabs: one per report of the report table, with its texts,
// its range or sizing choices and its "Run Report" button, then History.
class ReportTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit ReportTabs(QWidget* parent = nullptr);

    // The range on the report's tab; the whole day for reports without one.
    [[nodiscard]] reports::TimeRange range(reports::ReportId report) const;
    // The same as minutes of the day.
    [[nodiscard]] std::pair<int, int> reportRange(reports::ReportId report) const;
    // The ports in service and target blocking chosen on the Capacity tab.
    [[nodiscard]] reports::SizingChoice sizing() const;
    [[nodiscard]] HistoryChoice historyChoice() const;

    void setReportsEnabled(bool enabled);
    // The History tab's From and To choices, from the day list.
    void fillHistoryDays(const QList<logparse::DayEntry>& entries);

signals:
    void reportAsked(reports::ReportId report);
    void historyAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTab(const reports::ReportEntry& report);
    QWidget* buildHistoryTab();

    std::map<reports::ReportId, QPushButton*> reportButtons_;
    std::map<reports::ReportId, std::pair<QTimeEdit*, QTimeEdit*>> rangePickers_;
    QSpinBox* spnPortsInService = nullptr;
    QComboBox* cmbTargetBlocking = nullptr;
    QComboBox* cmbHistoryFrom = nullptr;
    QComboBox* cmbHistoryTo = nullptr;
    QSpinBox* spnHistoryPorts = nullptr;
    QComboBox* cmbHistoryBlocking = nullptr;
    QPushButton* cmdRunHistory = nullptr;
};

} // namespace tarrow::app
