#include "app/updatecommand.h"

#include "app/cli.h"
#include "support/updatecheck.h"

#include <QTextStream>

namespace tarrow::app {

int runCheckUpdate(QTextStream& out, QTextStream& err) {
    const support::ToolsSite site = support::defaultToolsSite();
    const support::UpdateCheck check = support::checkForUpdatedVersion(
        site, site.homePage(), QString(),
        [](const QString& address) { return support::fetchUrlText(address); });
    for (const QString& failure : check.failures)
        err << failure << '\n';
    out << check.message << '\n';
    switch (check.outcome) {
    case support::UpdateOutcome::UpToDate:
        return ExitOk;
    case support::UpdateOutcome::NewerPosted:
        return ExitNewerVersion;
    case support::UpdateOutcome::Unreachable:
        break;
    }
    return ExitNoCallData;
}

} // namespace tarrow::app
