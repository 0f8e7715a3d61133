// Every file `tarrow report` and `tarrow load --raw-csv` write for a small
// fixture day, compared byte for byte with the files kept under
// tests/data/golden/. A change of any figure, header, order or line ending
// shows up here.
#include "support/tarrowprocess.h"
#include "support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tarrow::app {
namespace {

const QString kGolden = QStringLiteral(TARROW_TEST_DATA "/golden");

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

int run(const QStringList& args) {
    return testing::runTarrow(args).code;
}

// Compares every golden file of one folder with the file of the same name in out.
void expectSameFiles(const QString& goldenFolder, const QString& out) {
    const QStringList names = QDir(goldenFolder).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty()) << goldenFolder.toStdString();
    for (const QString& name : names)
        EXPECT_TRUE(bytesOf(QDir(goldenFolder).filePath(name)) == bytesOf(QDir(out).filePath(name)))
            << name.toStdString() << " differs from its golden copy";
}

class GoldenFiles : public ::testing::Test {
protected:
    QStringList day(const QString& out) const {
        return {QStringLiteral("--logs"),     kGolden + QStringLiteral("/logs"),
                QStringLiteral("--day"),      QStringLiteral("2009-03-07"),
                QStringLiteral("--data-dir"), dir.file(QStringLiteral("data")),
                QStringLiteral("--out"),      out,
                QStringLiteral("--charts"),   QStringLiteral("none")};
    }
    testing::TempFolder dir;
};

TEST_F(GoldenFiles, WholeDayReportAndRawRows) {
    const QString out = dir.file(QStringLiteral("day"));
    ASSERT_EQ(run(QStringList{QStringLiteral("report")} + day(out)), 0);
    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    QStringList golden = QDir(kGolden + QStringLiteral("/day")).entryList(QDir::Files, QDir::Name);
    golden.removeAll(QStringLiteral("RawPortData.csv"));
    EXPECT_EQ(written, golden) << "the files written are exactly the golden ones";
    ASSERT_EQ(
        run({QStringLiteral("load"), QStringLiteral("--logs"), kGolden + QStringLiteral("/logs"),
             QStringLiteral("--day"), QStringLiteral("2009-03-07"), QStringLiteral("--data-dir"),
             dir.file(QStringLiteral("data")), QStringLiteral("--raw-csv"),
             QDir(out).filePath(QStringLiteral("RawPortData.csv"))}),
        0);
    expectSameFiles(kGolden + QStringLiteral("/day"), out);
}

TEST_F(GoldenFiles, PerPortReportsOverARange) {
    const QString out = dir.file(QStringLiteral("range"));
    ASSERT_EQ(
        run(QStringList{QStringLiteral("report"), QStringLiteral("--from"), QStringLiteral("09:30"),
                        QStringLiteral("--to"), QStringLiteral("17:45:30")} +
            day(out)),
        0);
    expectSameFiles(kGolden + QStringLiteral("/range"), out);
}

} // namespace
} // namespace tarrow::app
