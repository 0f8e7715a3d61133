// The monitoring check's verdicts, its status line and the metrics file.
#include "reports/monitoring/capacitymetrics.h"
#include "reports/monitoring/checkstatus.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarrow::reports {
namespace {

// A day sized at 20 ports and 1 %: capacity 12 E, demand as given.
Sizing sized(std::optional<double> demand, Verdict verdict = Verdict::Enough) {
    Sizing s;
    s.ports = 20;
    s.gos = 0.01;
    s.capacityErlangs = 12;
    s.carriedErlangs = demand.value_or(20);
    s.offeredErlangs = demand;
    s.demandErlangs = demand;
    s.portsNeeded = demand ? std::optional<int>(demand > 12 ? 22 : 15) : std::nullopt;
    s.verdict = verdict;
    return s;
}

CapacityFigures aDay() {
    CapacityFigures f;
    f.day = QDate(2026, 11, 30);
    f.atbTotalSeconds = 42;
    return f;
}

// Every perfdata item as the Monitoring Plugins write it:
// 'label'=value[UOM];[warn];[crit];[min];[max], the trailing fields optional.
void expectPerfdataGrammar(const QString& line) {
    const qsizetype bar = line.indexOf(QLatin1Char('|'));
    ASSERT_GT(bar, 0) << line.toStdString();
    const QString perfdata = line.mid(bar + 1).trimmed();
    static const QRegularExpression item(
        QStringLiteral("^'[a-z_]+'=-?[0-9]+(\\.[0-9]+)?(%|s|)(;(-?[0-9.]*)){0,4}$"));
    const QStringList items = perfdata.split(QLatin1Char(' '));
    EXPECT_GE(items.size(), 5) << line.toStdString();
    for (const QString& one : items)
        EXPECT_TRUE(item.match(one).hasMatch()) << one.toStdString();
}

TEST(Check, ThresholdsOutsideTheirRangeAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        CheckThresholds t;
        bool ok;
    } cases[] = {{{80, 95}, true},  {{0, 0}, true},       {{100, 100}, true}, {{95, 95}, true},
                 {{-1, 95}, false}, {{80, 100.5}, false}, {{96, 95}, false},  {{nan, 95}, false}};
    for (const auto& c : cases)
        EXPECT_EQ(thresholdProblem(c.t).isEmpty(), c.ok) << c.t.warning << '/' << c.t.critical;
}

TEST(Check, ADayIsJudgedByItsUtilisationAndVerdict) {
    const CheckThresholds t{80, 95};
    const struct {
        std::optional<double> demand;
        Verdict verdict;
        CheckCode code;
        const char* says;
    } cases[] = {
        {6.0, Verdict::Enough, CheckOk, "OK - 50 % of what 20 ports carry at 1 % on 2026-11-30"},
        {9.599, Verdict::Enough, CheckOk, "OK - 80 %"}, // 79.99 % shows rounded
        {9.6, Verdict::Near, CheckWarning, "WARNING - 80 %"},
        {11.4, Verdict::Near, CheckCritical, "CRITICAL - 95 %"},
        // Evidence first: the verdict from the server's own counts decides.
        {6.0, Verdict::NotEnough, CheckCritical, "but callers met all ports busy"},
        {13.0, Verdict::NotEnough, CheckCritical, "not enough ports: 22 needed"},
        {std::nullopt, Verdict::NotEnough, CheckCritical, "saturated on 2026-11-30"},
    };
    for (const auto& c : cases) {
        const CheckResult r = checkDay(aDay(), sized(c.demand, c.verdict), t);
        EXPECT_EQ(r.code, c.code) << r.line.toStdString();
        EXPECT_TRUE(r.line.contains(QLatin1String(c.says))) << r.line.toStdString();
        EXPECT_TRUE(r.line.startsWith(QStringLiteral("TARROW CAPACITY ")));
        EXPECT_FALSE(r.line.contains(QLatin1Char('\n')));
        if (c.demand)
            expectPerfdataGrammar(r.line);
    }
    // The demand's thresholds are in Erlangs: 80 % and 95 % of 12 E.
    EXPECT_TRUE(
        checkDay(aDay(), sized(6.0), t).line.contains(QStringLiteral("'demand'=6;9.6;11.4;0;20")));
}

TEST(Check, DaysWarnOfARunOutWithinNinetyDays) {
    const CheckThresholds t{80, 95};
    HistorySummary s;
    s.days = 30;
    s.from = QDate(2026, 11, 1);
    s.to = QDate(2026, 11, 30);
    s.ports = 20;
    s.capacityErlangs = 12;
    s.demandErlangs = 6;
    s.portsNeeded = 15;
    EXPECT_EQ(checkDays(s, t).code, CheckOk) << "no trend, no run-out";
    s.runOut = RunOut{QDate(2027, 2, 28), QDate(2027, 2, 28), QDate(2027, 3, 30)};
    s.status = HistoryStatus::RunsOut;
    const CheckResult in90 = checkDays(s, t);
    EXPECT_EQ(in90.code, CheckWarning) << in90.line.toStdString();
    EXPECT_TRUE(in90.line.contains(QStringLiteral("in 90 days")));
    EXPECT_TRUE(in90.line.contains(QStringLiteral("'days_to_run_out'=90")));
    expectPerfdataGrammar(in90.line);
    s.runOut->likely = QDate(2027, 3, 1);
    EXPECT_EQ(checkDays(s, t).code, CheckOk) << "91 days away";
    s.status = HistoryStatus::Exhausted;
    s.runOut->likely = QDate(2026, 11, 20);
    EXPECT_EQ(checkDays(s, t).code, CheckCritical);
    s.status = HistoryStatus::Ok;
    s.runOut.reset();
    s.portsNeeded = 21;
    EXPECT_EQ(checkDays(s, t).code, CheckCritical) << "more ports needed than in service";
}

TEST(Metrics, UnknownFiguresAreLeftOutAndSaidSo) {
    MetricsText m;
    m.gauge(QStringLiteral("tarrow_a_ratio"), QStringLiteral("A."),
            std::numeric_limits<double>::infinity());
    m.optionalGauge(QStringLiteral("tarrow_b_erlangs"), QStringLiteral("B."),
                    std::numeric_limits<double>::quiet_NaN(),
                    {{QStringLiteral("day"), QStringLiteral("a\"b\\c")}});
    m.optionalGauge(QStringLiteral("tarrow_c_erlangs"), QStringLiteral("C."), 0.25);
    const QByteArray text = m.text();
    EXPECT_FALSE(text.contains("tarrow_a_ratio")) << "a family without samples is left out";
    EXPECT_FALSE(text.contains("tarrow_b_erlangs{")) << text.constData();
    EXPECT_TRUE(text.contains("tarrow_b_erlangs_available{day=\"a\\\"b\\\\c\"} 0\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("tarrow_c_erlangs 0.25\ntarrow_c_erlangs_available") ||
                text.contains("tarrow_c_erlangs 0.25\n# HELP tarrow_c_erlangs_available"))
        << text.constData();
    EXPECT_FALSE(text.toLower().contains("nan"));
    EXPECT_FALSE(text.toLower().contains("inf"));
}

// The whole file as Prometheus' own checker reads it.
TEST(Metrics, PromtoolAcceptsTheFile) {
    const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
    if (promtool.isEmpty())
        GTEST_SKIP() << "promtool is missing (Debian's prometheus package has it)";
    MetricsText m;
    CapacityFigures f = aDay();
    f.answerPorts = 20;
    addCapacityMetrics(m, f, sized(std::nullopt, Verdict::NotEnough));
    addCapacityMetrics(m, f, sized(9.0));
    HistorySummary s;
    s.to = QDate(2026, 11, 30);
    s.capacityErlangs = 12;
    s.runOut = RunOut{QDate(2027, 1, 1), QDate(2027, 1, 5), std::nullopt};
    addHistoryMetrics(m, {}, s);
    addSuccessTime(m, QDateTime(QDate(2026, 12, 1), QTime(0, 15), Qt::UTC));
    const QByteArray text = m.text();
    EXPECT_TRUE(text.contains("tarrow_run_out_seconds{gos=\"0.01\"} 3110400\n"));
    EXPECT_TRUE(text.contains("tarrow_last_success_timestamp_seconds 1796084100\n"));
    QProcess check;
    check.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
    check.write(text);
    check.closeWriteChannel();
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().constData()
                                   << check.readAllStandardOutput().constData() << text.constData();
}

} // namespace
} // namespace tarrow::reports
