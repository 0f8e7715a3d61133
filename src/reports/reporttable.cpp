#include "reports/reporttable.h"

#include "reports/capacity/capacityreport.h"
#include "reports/perport/perportreport.h"
#include "reports/timeofday/calltraffic.h"
#include "reports/timeofday/portavailability.h"

#include <QLocale>

namespace tarrow::reports {

namespace {

ReportEntry portAvailability() {
    return ReportEntry{
        .id = ReportId::PortAvailability,
        .windowName = QStringLiteral("frmPortAvailability"),
        .buttonName = QStringLiteral("cmdPortUsage"),
        .tabCaption = QStringLiteral("Port Availability"),
        .description = QStringLiteral(
            "Shows how many ports are available to take calls over the course of the "
            "day.  Useful for finding out if you're running low on ports configured to "
            "answer calls at any point in the day.  This report is always run over the "
            "entire day, however you can zoom  or out from 1 hour to a full 24 hour scope "
            "on the resulting graph so you should be able to det the detail you need."),
        .axisText = QStringLiteral(
            "The  X axis shows the time of day, the Y axis shows the minimum number of "
            "ports available to take calls and/or the maximim number of ports busy for "
            "each minute of the day.  Remember, some ports may be dedicated to do only "
            "dialout operations so the number of ports busy does not reflect how many "
            "ports are available to take calls directly in all cases."),
        .resultTable = QStringLiteral("PortAvailability"),
        .chartPrefix = QStringLiteral("PortAvailabilityGraph_"),
        .errorPrefix = QStringLiteral("Error in frmPortAvailability form Load routine: "),
        .reusedColumns = portAvailabilityColumns(),
        .compute = portAvailabilityReport,
        .fromStored = portAvailabilityDocument};
}

ReportEntry callDistribution() {
    return ReportEntry{
        .id = ReportId::CallDistribution,
        .windowName = QStringLiteral("frmCallDistribution"),
        .buttonName = QStringLiteral("cmdCallDistribution"),
        .tabCaption = QStringLiteral("Call Distribution"),
        .description = QStringLiteral(
            "Shows the counts for which types of calls hit each port totaled up over the "
            "time period specified.  Inbound calls, MWI dialouts, AMIS dialouts, "
            "Notification dialouts and TRAP dialouts are totaled for each port."),
        .axisText = QStringLiteral(
            "The X axis shows the port numbers, the Y axis shows the number of each type "
            "of call that came into or originated from that port over the time period "
            "specified.  You can select which types of calls are shows on the graph "
            "dynamically."),
        .takesRange = true,
        .rangeStartName = QStringLiteral("CallDistributionStartTime"),
        .rangeEndName = QStringLiteral("CallDistributionEndTime"),
        .resultTable = QStringLiteral("CallDistribution"),
        .chartPrefix = QStringLiteral("CallDistributionGraph_"),
        .errorPrefix =
            QStringLiteral("Error in form Load procedure for frmCallDistribution form: "),
        .compute = [](const load::LoadedDay& day, const ReportParams& params) {
            return perPortReport(PerPortReport::CallDistribution, day, params);
        }};
}

ReportEntry portTimeUse() {
    return ReportEntry{
        .id = ReportId::PortTimeUse,
        .windowName = QStringLiteral("frmPortTimeUse"),
        .buttonName = QStringLiteral("cmdPortTimeUse"),
        .tabCaption = QStringLiteral("Port Time Use"),
        .description = QStringLiteral(
            "Similiar to call distribution but rather than totally the number of calls, "
            "this report totals up the number of seconds each port spent servicing the "
            "different types of calls.  Call types can include inbound calls, AMIS "
            "dialouts, notification dialouts, MWI dialouts or TRAP dialouts."),
        .axisText = QStringLiteral(
            "The X axis shows the port numbers and the Y axis shows the number of seconds "
            "used for each of the call types for that port over the time period "
            "specified.  You can select which call types are shown in the graph "
            "dynamically."),
        .takesRange = true,
        .rangeStartName = QStringLiteral("PortTimeUseStartTime"),
        .rangeEndName = QStringLiteral("PortTimeUseEndTime"),
        .resultTable = QStringLiteral("PortTimeUsage"),
        .chartPrefix = QStringLiteral("PortTimeUseGraph_"),
        .errorPrefix = QStringLiteral("Error in form Load procedure for frmPortTimeUse form: "),
        .compute = [](const load::LoadedDay& day, const ReportParams& params) {
            return perPortReport(PerPortReport::PortTimeUse, day, params);
        }};
}

ReportEntry callTraffic() {
    return ReportEntry{
        .id = ReportId::CallTraffic,
        .windowName = QStringLiteral("frmCallTraffic"),
        .buttonName = QStringLiteral("cmdCallTraffic"),
        .tabCaption = QStringLiteral("Call Traffic"),
        .description = QStringLiteral(
            "Shows how many calls of each type came in or went out for each minute of the "
            "day over the time specified.  Gives a graphical view of what kinds of calls "
            "are hitting the system or being generated by the system over the course of "
            "the day.  This report is always run over the full day's worth of data, "
            "however you can choose to zoom to show as little as 1 hour of data at a "
            "time on the chart so you should be able to see what you need to."),
        .axisText = QStringLiteral(
            "The X axis shows the time, the Y axis shows the total number of calls of "
            "each type that came into or originated from the entire system across all "
            "ports for each minute of the day.  You can select which types of calls are "
            "shown in the graph dynamically."),
        .resultTable = QStringLiteral("CallTraffic"),
        .chartPrefix = QStringLiteral("CallTrafficGraph_"),
        .errorPrefix = QStringLiteral("Error in form Load procedure for frmCallTraffic form: "),
        .reusedColumns = callTrafficColumns(),
        .compute = callTrafficReport,
        .fromStored = callTrafficDocument};
}

ReportEntry capacity() {
    return ReportEntry{
        .id = ReportId::Capacity,
        .windowName = QStringLiteral("frmCapacity"),
        .buttonName = QStringLiteral("cmdCapacity"),
        .tabCaption = QStringLiteral("Capacity"),
        .description = QStringLiteral(
            "Answers the question \"do I have enough ports?\" the way telephony engineers "
            "do.  The report finds the busy hour of the ports callers can reach (the answer "
            "ports), works out from the traffic they carried how much callers offered, lost "
            "calls included, and with the Erlang B formula how many ports that needs so that no "
            "more than the target share of calls finds every port busy.  The server's own "
            "counts of lines available show how long all ports really were busy, and the "
            "verdict never says \"enough\" while that was more often than the target."),
        .axisText = QStringLiteral(
            "The X axis shows the time of day in quarter hours, the Y axis the traffic the "
            "answer ports carried in Erlangs, stacked by call type.  The busy hour is shaded, "
            "and two dashed lines show the ports that take calls and the traffic they carry at "
            "the target blocking.  Leave the ports at 0 to take them from the logs; you can try "
            "other port counts, targets, traffic growth and retrying callers in the report "
            "window."),
        .takesSizing = true,
        .chartPrefix = QStringLiteral("CapacityGraph_"),
        .errorPrefix = QStringLiteral("Error in form Load procedure for frmCapacity form: "),
        .compute = capacityReport};
}

std::vector<ReportEntry> makeTable() {
    return {portAvailability(), callDistribution(), portTimeUse(), callTraffic(), capacity()};
}

} // namespace

const std::vector<ReportEntry>& reportTable() {
    static const std::vector<ReportEntry> table = makeTable();
    return table;
}

const ReportEntry& reportEntry(ReportId id) {
    for (const ReportEntry& entry : reportTable())
        if (entry.id == id)
            return entry;
    return reportTable().front();
}

QString rangeProblem(const TimeRange& range) {
    if (range.startMinute() < range.endMinute())
        return {};
    if (range.startMinute() == range.endMinute() && range.from < range.to)
        return QStringLiteral("The end time must be in a later minute than the start time: "
                              "reports count whole minutes and do not use the seconds.");
    return QStringLiteral(
        "The end time must be greater than the start time for a report to be generated!");
}

QString longDate(const QDate& date) {
    return QLocale().toString(date, QLocale::LongFormat);
}

} // namespace tarrow::reports
