// The manual page, the shell completion and the usage text name exactly the
// sub-commands and options the command line takes.
#include "app/commandtable.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

QString packaging(const char* name) {
    QFile file(QStringLiteral(TARROW_TEST_DATA "/../../packaging/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

QSet<QString> setOf(const QStringList& list) {
    return QSet<QString>(list.begin(), list.end());
}

TEST(CommandTable, TheCompletionOffersEachCommandsOwnOptions) {
    const QString completion = packaging("tarrow.bash-completion");
    QStringList names;
    for (const CommandOptions& command : commandTable()) {
        names << command.name;
        const QRegularExpression line(QStringLiteral("\\n\\s*%1\\) options\\+=\"([^\"]*)\"")
                                          .arg(QRegularExpression::escape(command.name)));
        const QRegularExpressionMatch match = line.match(completion);
        QStringList offered;
        if (match.hasMatch())
            for (const QString& option :
                 match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                offered << option.mid(2);
        EXPECT_EQ(setOf(offered), setOf(command.options)) << command.name.toStdString();
    }
    const QRegularExpressionMatch commands =
        QRegularExpression(QStringLiteral("local commands=\"([^\"]*)\"")).match(completion);
    ASSERT_TRUE(commands.hasMatch());
    EXPECT_EQ(commands.captured(1).split(QLatin1Char(' ')), names);
    EXPECT_TRUE(completion.contains(QStringLiteral("local options=\"--help --data-dir\"")));
}

TEST(CommandTable, TheManualPageAndTheUsageNameEveryOptionAndNoOther) {
    QString manual = packaging("tarrow.1");
    // Without the font changes and the escapes of troff.
    manual.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
    manual.remove(QLatin1Char('\\'));
    QSet<QString> named;
    const QRegularExpression option(QStringLiteral("--([a-z][a-z-]*)"));
    for (auto it = option.globalMatch(manual); it.hasNext();)
        named << it.next().captured(1);
    QSet<QString> taken = setOf(commonOptions()) + QSet<QString>{QStringLiteral("version")};
    for (const CommandOptions& command : commandTable()) {
        taken += setOf(command.options);
        EXPECT_TRUE(manual.contains(QStringLiteral("tarrow ") + command.name))
            << command.name.toStdString();
        for (const QString& name : command.options)
            EXPECT_TRUE(usageText().contains(QStringLiteral("--") + name))
                << command.name.toStdString() << " --" << name.toStdString();
    }
    EXPECT_EQ(QStringList((named - taken).values()), QStringList()) << "in the manual only";
    EXPECT_EQ(QStringList((taken - named).values()), QStringList()) << "missing from the manual";
}

// The usage is made from the table: every form of every command, each option
// with its value, within 80 columns.
TEST(CommandTable, TheUsageShowsEveryFormWithinEightyColumns) {
    const QString usage = usageText();
    for (const QString& line : usage.split(QLatin1Char('\n')))
        EXPECT_LE(line.size(), 80) << line.toStdString();
    EXPECT_TRUE(
        usage.contains(QStringLiteral("tarrow load --logs DIR --day YYYY-MM-DD [--raw-csv FILE]")));
    EXPECT_TRUE(usage.contains(QStringLiteral("tarrow history --logs DIR [--from YYYY-MM-DD]")));
    EXPECT_EQ(usage.count(QStringLiteral("tarrow erlang ")), 4);
    for (const CommandOptions& command : commandTable())
        EXPECT_TRUE(usage.contains(QStringLiteral("  tarrow ") + command.name))
            << command.name.toStdString();
}

} // namespace
} // namespace tarrow::app
