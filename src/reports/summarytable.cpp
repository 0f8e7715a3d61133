#include "reports/summarytable.h"

#include "store/calltypes.h"

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

QStringList callTypeKeys() {
    QStringList keys;
    for (store::CallType type : store::kReadingOrder)
        keys << QLatin1String(store::info(type).countColumn);
    return keys;
}

} // namespace tarrow::reports
