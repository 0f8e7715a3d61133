#pragma once

#include "store/minutetables.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace tarrow::reports {

inline constexpr int kMinutesPerDay = store::kMinutesPerDay;
using MinuteTable = store::MinuteTable;

// The stored table when it holds a complete computation (1440 rows); otherwise
// the table is emptied, computed anew by compute and stored. computed tells
// which happened. Throws on database failures.
[[nodiscard]] MinuteTable ensureMinuteTable(store::WorkingDatabase& database, const QString& table,
                                            const QStringList& columns,
                                            const std::function<MinuteTable()>& compute,
                                            bool* computed = nullptr);

} // namespace tarrow::reports
