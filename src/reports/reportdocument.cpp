#include "reports/reportdocument.h"

namespace tarrow::reports {

QByteArray resultTableCsv(const ResultTable& table) {
    QByteArray csv = table.key.toUtf8();
    for (const QString& column : table.columns)
        csv += ',' + column.toUtf8();
    csv += '\n';
    for (int r = 1; r <= table.rowCount(); ++r) {
        csv += QByteArray::number(r);
        for (int c = 0; c < table.columns.size(); ++c) {
            csv += ',' + QByteArray::number(table.at(c, r));
            // Seconds are stored as REAL: whole numbers read back as "60.0".
            if (table.isReal(c))
                csv += ".0";
        }
        csv += '\n';
    }
    return csv;
}

} // namespace tarrow::reports
