#include "app/erlangcommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

struct Answer {
    int code = 0;
    QString out;
    QString err;
};

Answer ask(const ErlangArguments& arguments) {
    Answer a;
    QTextStream out(&a.out);
    QTextStream err(&a.err);
    a.code = runErlang(arguments, out, err);
    out.flush();
    err.flush();
    return a;
}

ErlangArguments with(std::optional<QString> ports, std::optional<QString> gos,
                     std::optional<QString> erlangs = {}, std::optional<QString> carried = {},
                     std::optional<QString> retry = {}, bool json = false) {
    return {std::move(ports),   std::move(gos),   std::move(erlangs),
            std::move(carried), std::move(retry), json};
}

double figure(const Answer& a, const char* label) {
    for (const QString& line : a.out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String(label) + QLatin1String(": ")))
            return line.section(QStringLiteral(": "), 1).toDouble();
    ADD_FAILURE() << label << " not in " << a.out.toStdString();
    return -1;
}

TEST(ErlangCommand, AnswersEachQuestionWithThePublishedFigures) {
    const QString q20 = QStringLiteral("20");
    const Answer capacity = ask(with(q20, QStringLiteral("0.01")));
    EXPECT_EQ(capacity.code, 0);
    EXPECT_NEAR(figure(capacity, "capacityErlangs"), 12.031, 0.0005);
    EXPECT_EQ(capacity.out.count(QLatin1Char('\n')), 1);

    const Answer offered = ask(with(q20, {}, {}, QStringLiteral("11.9107")));
    EXPECT_NEAR(figure(offered, "offeredErlangs"), 12.031, 0.0005);

    const Answer needed =
        ask(with({}, QStringLiteral("0.03"), QStringLiteral("5.5"), {}, QStringLiteral("0.5")));
    EXPECT_EQ(figure(needed, "portsNeeded"), 11);
    EXPECT_LE(figure(needed, "blocking"), 0.03);

    const Answer ten =
        ask(with(QStringLiteral("10"), {}, QStringLiteral("5.5"), {}, QStringLiteral("0.5")));
    EXPECT_NEAR(figure(ten, "blocking"), 0.03149, 0.00001);
    EXPECT_GT(figure(ten, "totalOfferedErlangs"), 5.5);

    const Answer retrying =
        ask(with(QStringLiteral("200"), QStringLiteral("0.03"), {}, {}, QStringLiteral("0.7")));
    EXPECT_NEAR(figure(retrying, "capacityErlangs"), 186.877, 0.0005);

    // JSON: one object; a saturated pool has no offered traffic.
    const Answer full = ask(with(q20, {}, {}, QStringLiteral("20"), {}, true));
    EXPECT_EQ(full.code, 0);
    const QJsonObject json = QJsonDocument::fromJson(full.out.toUtf8()).object();
    ASSERT_TRUE(json.contains(QStringLiteral("offeredErlangs")));
    EXPECT_TRUE(json[QStringLiteral("offeredErlangs")].isNull());
}

TEST(ErlangCommand, AnythingButOneQuestionInRangeIsBadUsage) {
    const QString n = QStringLiteral("20");
    const QString p = QStringLiteral("0.01");
    const QString a = QStringLiteral("12");
    for (const ErlangArguments& bad :
         {with({}, {}), with(n, {}), with(n, p, a), with({}, {}, a, a), with(n, p, {}, a),
          with(n, {}, {}, a, QStringLiteral("0.5")), with(n, QStringLiteral("nan")),
          with(n, QStringLiteral("0.5")), with(n, QStringLiteral("inf")),
          with(QStringLiteral("-1"), p), with(QStringLiteral("32769"), p),
          with(QStringLiteral("2.5"), p), with({}, p, QStringLiteral("-3")),
          with({}, p, QStringLiteral("nan")), with(n, p, {}, {}, QStringLiteral("0.96")),
          with(n, p, {}, {}, QStringLiteral("x"))}) {
        const Answer answer = ask(bad);
        EXPECT_EQ(answer.code, 2) << answer.out.toStdString();
        EXPECT_TRUE(answer.out.isEmpty());
        EXPECT_EQ(answer.err.count(QLatin1Char('\n')), 1) << answer.err.toStdString();
    }
}

} // namespace
} // namespace tarrow::app
