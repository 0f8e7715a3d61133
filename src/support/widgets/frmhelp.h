#pragma once

#include <QWidget>

class QTextBrowser;

namespace tarrow::support {

// The help page "Tarrow.htm" of the program folder.
class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(const QString& programFolder, QWidget* parent = nullptr);
    [[nodiscard]] QTextBrowser& browser() const { return *browserHelp_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTextBrowser* browserHelp_;
};

} // namespace tarrow::support
