#include "support/widgets/frmhelp.h"

#include "platform/widgets/twips.h"
#include "platform/widgets/windowsize.h"

#include <QDir>
#include <QFileInfo>
#include <QResizeEvent>
#include <QTextBrowser>
#include <QUrl>

namespace tarrow::support {

using platform::twips;

frmHelp::frmHelp(const QString& programFolder, QWidget* parent)
    : QWidget(parent), browserHelp_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tarrow"));
    browserHelp_->setObjectName(QStringLiteral("browserHelp"));
    browserHelp_->setOpenExternalLinks(true);
    const QString page = QDir(programFolder).filePath(QStringLiteral("Tarrow.htm"));
    if (QFileInfo::exists(page))
        browserHelp_->setSource(QUrl::fromLocalFile(page));
    else
        browserHelp_->setHtml(QStringLiteral("<h2>Page not found</h2><p>The help page <tt>%1</tt> "
                                             "is missing. Reinstall Tarrow to restore it.</p>")
                                  .arg(QDir::toNativeSeparators(page).toHtmlEscaped()));
    resize(twips(9000), twips(7000));
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    const QSize outer = platform::snapToMinimum(*this, QSize(twips(2500), twips(2400)));
    browserHelp_->setGeometry(twips(50), twips(1), outer.width() - twips(200),
                              outer.height() - twips(400));
}

} // namespace tarrow::support
