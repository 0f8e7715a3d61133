#pragma once

class QTextStream;

namespace tarrow::app {

// `tarrow check-update`: asks the tools web site for a newer version. Returns
// 0 when up to date, 3 when a newer version is posted, 1 when the site could
// not be asked.
[[nodiscard]] int runCheckUpdate(QTextStream& out, QTextStream& err);

} // namespace tarrow::app
