#include "reports/summarytable.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace tarrow::reports {

int SummaryTable::column(const QString& key) const {
    for (int c = 0; c < layout.columns.size(); ++c)
        if (layout.columns[c].key.compare(key, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

QByteArray summaryCsv(const SummaryTable& table) {
    QList<int> valueColumns;
    for (const QString& key : table.layout.csvValueKeys)
        valueColumns << table.column(key);
    QByteArray out = table.layout.csvHeader.toLocal8Bit() + "\r\n";
    for (int r = 0; r < table.rows.size(); ++r) {
        out += QByteArray::number(r + 1);
        for (int c : valueColumns)
            out += ',' + (c >= 0 ? table.rows[r].value(c).trimmed().toLocal8Bit() : QByteArray());
        out += "\r\n";
    }
    return out;
}

QString dateFileName(const QString& prefix, const QDate& date, const QString& extension) {
    return QStringLiteral("%1%2_%3_%4%5")
        .arg(prefix)
        .arg(date.month())
        .arg(date.day())
        .arg(date.year())
        .arg(extension);
}

QString defaultSaveFolder() {
#ifdef _WIN32
    return QStringLiteral("c:\\");
#else
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#endif
}

QString saveFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Could not save \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

} // namespace tarrow::reports
