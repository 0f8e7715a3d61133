#include "support/widgets/frmabout.h"

#include "platform/userdialogs.h"
#include "support/updatecheck.h"
#include "support/widgets/modlocalize.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace tarrow::support {

namespace {

// The two logos, drawn rather than shipped as pictures.
QPixmap logo(const QString& text, const QColor& color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 8, 8);
    painter.setPen(Qt::white);
    QFont font(QStringLiteral("Arial"), size.height() / 3, QFont::Bold);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return pixmap;
}

QFont sansSerif(bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setPointSizeF(8.25);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

// A label that reads and acts as a link.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void(QPoint)> clicked)
        : QLabel(text), clicked_(std::move(clicked)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        clicked_(event->globalPosition().toPoint());
    }

private:
    std::function<void(QPoint)> clicked_;
};

} // namespace

frmAbout::frmAbout(modLocalize& languages, platform::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), languages_(languages), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Tarrow"));
    auto* grid = new QGridLayout(this);
    auto* mervox = new QLabel;
    mervox->setObjectName(QStringLiteral("picMervoxLogo"));
    mervox->setPixmap(logo(QStringLiteral("Mervox"), QColor(0x1f, 0x4e, 0x8c), QSize(160, 60)));
    auto* orvane = new QLabel;
    orvane->setObjectName(QStringLiteral("picOrvaneLogo"));
    orvane->setPixmap(logo(QStringLiteral("Orvane"), QColor(0x8c, 0x1f, 0x2e), QSize(110, 40)));
    auto* title = new QLabel(QStringLiteral("Version:"));
    title->setObjectName(QStringLiteral("lblVersionTitle"));
    title->setFont(sansSerif(true));
    lblVersion_ = new QLabel(QStringLiteral(" "));
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblChangeLanguage_ = new LinkLabel(QStringLiteral("Change Language"),
                                       [this](QPoint where) { popUpLanguages(where); });
    lblChangeLanguage_->setObjectName(QStringLiteral("lblChangeLanguage"));
    QFont link = sansSerif(false);
    link.setUnderline(true);
    lblChangeLanguage_->setFont(link);
    lblChangeLanguage_->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    grid->addWidget(mervox, 0, 0, 1, 3);
    grid->addWidget(title, 1, 0);
    grid->addWidget(lblVersion_, 1, 1);
    grid->addWidget(orvane, 1, 2, 2, 1, Qt::AlignRight);
    grid->addWidget(lblChangeLanguage_, 2, 0, 1, 2);
    // The product's own name, in the row the OK button leaves free.
    auto* product = new QLabel(QStringLiteral("Tarrow \u2014 port usage reports"));
    product->setObjectName(QStringLiteral("lblProduct"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    grid->addWidget(product, 3, 0, 1, 2);
    grid->addWidget(ok, 3, 2);
    mnuSelectLanguage_ = new QMenu(QStringLiteral("Select Language"), this);
    mnuSelectLanguage_->setObjectName(QStringLiteral("mnuSelectLanguage"));
}

void frmAbout::load() {
    lblVersion_->setText(aboutVersionText());
    buildLanguageMenu();
}

void frmAbout::buildLanguageMenu() {
    languages_.InitalizeLanguages();
    mnuSelectLanguage_->clear();
    const auto add = [this](int index, const QString& caption, int id) {
        QAction* item = mnuSelectLanguage_->addAction(caption);
        item->setObjectName(QStringLiteral("mnuLanguageList_%1").arg(index));
        item->setData(id);
        connect(item, &QAction::triggered, this, [this, id] { languages_.chooseLanguage(id); });
    };
    const QStringList& codes = languages_.LanguageCodes();
    if (codes.isEmpty()) {
        add(0, QStringLiteral("No languages loaded"), 1033);
        return;
    }
    for (int i = 0; i < codes.size(); ++i) {
        const int id = LanguageCodeToId(codes[i]);
        add(i, GetLanguageName(id), id);
    }
}

void frmAbout::popUpLanguages(const QPoint& where) {
    mnuSelectLanguage_->popup(where);
}

} // namespace tarrow::support
