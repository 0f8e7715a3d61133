// A value axis reads at every scale: its lines fall on readable steps and no
// two of its labels read alike.
#include "charts/axisticks.h"

#include <QSet>
#include <QString>

#include <gtest/gtest.h>

namespace tarrow::charts {
namespace {

QStringList list(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* text : texts)
        out << QLatin1String(text);
    return out;
}

QStringList labelsOf(double lo, double hi) {
    const AxisTicks ticks = readableTicks(lo, hi);
    QStringList labels;
    for (int i = 0; i <= ticks.steps; ++i)
        labels << QString::number(lo + (hi - lo) * i / ticks.steps, 'f', ticks.decimals);
    return labels;
}

TEST(AxisTicks, SmallAndLargeScalesReadAtReadableSteps) {
    EXPECT_EQ(labelsOf(0, 2), list({"0.0", "0.5", "1.0", "1.5", "2.0"}));
    EXPECT_EQ(labelsOf(0, 1), list({"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    EXPECT_EQ(labelsOf(0, 2.5), list({"0.0", "0.5", "1.0", "1.5", "2.0", "2.5"}));
    EXPECT_EQ(labelsOf(0, 5), list({"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(labelsOf(0, 200), list({"0", "50", "100", "150", "200"}));
    for (double top :
         {1.0, 2.0, 2.5, 5.0, 10.0, 20.0, 25.0, 50.0, 100.0, 3600.0, 0.25, 7.0, 1234.5}) {
        const QStringList labels = labelsOf(0, top);
        EXPECT_EQ(QSet<QString>(labels.begin(), labels.end()).size(), labels.size()) << top;
    }
    EXPECT_EQ(readableTicks(3, 3).steps, 5) << "an empty range still has an axis";
}

} // namespace
} // namespace tarrow::charts
