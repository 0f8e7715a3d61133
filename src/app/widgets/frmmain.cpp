#include "app/widgets/frmmain.h"

#include "app/startup.h"
#include "logparse/logfiles.h"
#include "platform/userdialogs.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "serverprobe/mervoxversion.h"
#include "support/widgets/supportwindows.h"
#include "support/updatecheck.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tarrow::app {

namespace {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(const QString& name, const QString& caption) {
    return named(new QPushButton(caption), name);
}

QTimeEdit* timePicker(const QString& name, QTime initial) {
    auto* picker = named(new QTimeEdit(initial), name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

QLabel* wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// Shows the wait pointer for as long as it lives.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

int minuteOf(const QTimeEdit* picker) {
    const QTime t = picker->time();
    return t.hour() * 60 + t.minute();
}

} // namespace

frmMain::frmMain(AppState& state, platform::UserDialogs& dialogs,
                 const serverprobe::RegistryApi& registry, serverprobe::ConfigDatabase& config,
                 QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs), registry_(registry), config_(config),
      context_(state.database, state.dataDate, state.totals, dialogs, *this),
      support_(std::make_unique<support::SupportWindows>(state.programFolder, dialogs)) {
    context_.mainWindow = this;
    context_.showHelp = [this] { support_->showHelp(); };
    context_.showAbout = [this] { support_->showAbout(); };
    // Report order of the Report enum and the window names is the same.
    for (std::size_t i = 0; i < openers_.size(); ++i) {
        const QString name = reports::kReportWindowNames[i];
        openers_[i] = [this, name] {
            context_.openOnce(name,
                              [this, name] { return reports::createReportWindow(name, context_); });
        };
    }
    context_.pickers = [this](const QString& window) {
        return window == QLatin1String("frmPortTimeUse")
                   ? std::make_pair(PortTimeUseStartTime->time(), PortTimeUseEndTime->time())
                   : std::make_pair(CallDistributionStartTime->time(),
                                    CallDistributionEndTime->time());
    };
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarrow"));
    buildMenus();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildSourceFrame());
    layout->addWidget(buildStatusFrame());
    layout->addWidget(buildTabs(), 1);
    setCentralWidget(central);
    resize(640, 520);
}

frmMain::~frmMain() = default;

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    // Saving the working database under another name has no defined action yet.
    file->addAction(QStringLiteral("Save Database"))
        ->setObjectName(QStringLiteral("mnuSaveDatabase"));
    mnuExit = file->addAction(QStringLiteral("Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &frmMain::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* helpFile = help->addAction(QStringLiteral("Help"));
    helpFile->setObjectName(QStringLiteral("mnuHelpFile"));
    connect(helpFile, &QAction::triggered, this, [this] { support_->showHelp(); });
    help->addSeparator()->setObjectName(QStringLiteral("seperator2"));
    QAction* about = help->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, [this] { support_->showAbout(); });
    QAction* update = help->addAction(QStringLiteral("Check for updated version"));
    update->setObjectName(QStringLiteral("mnuCheckforUpdatedVersion"));
    connect(update, &QAction::triggered, this, &frmMain::checkForUpdate);
}

QWidget* frmMain::buildSourceFrame() {
    frmStoreDatabaseAt = named(new QGroupBox(QStringLiteral("Generate Report From:")),
                               QStringLiteral("frmStoreDatabaseAt"));
    auto* grid = new QGridLayout(frmStoreDatabaseAt);
    txtDiagFilePath = named(new QLineEdit, QStringLiteral("txtDiagFilePath"));
    cmdBrowseForDiagFile =
        button(QStringLiteral("cmdBrowseForDiagFile"), QStringLiteral("Browse..."));
    cmbReportDate = named(new QComboBox, QStringLiteral("cmbReportDate"));
    cmdParseLogs = button(QStringLiteral("cmdParseLogs"), QStringLiteral("Load Data"));
    cmdParseLogs->setEnabled(false);
    grid->addWidget(new QLabel(QStringLiteral("Data logs folder:")), 0, 0);
    grid->addWidget(txtDiagFilePath, 0, 1);
    grid->addWidget(cmdBrowseForDiagFile, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Select day:")), 1, 0);
    grid->addWidget(cmbReportDate, 1, 1);
    grid->addWidget(cmdParseLogs, 1, 2);
    grid->setColumnStretch(1, 1);

    // The saved-database row exists but lies outside the frame's visible area.
    auto* savedRow = named(new QWidget, QStringLiteral("savedDatabaseRow"));
    auto* row = new QHBoxLayout(savedRow);
    optLoadFromDatabase = named(new QRadioButton(QStringLiteral("Saved Database")),
                                QStringLiteral("optLoadFromDatabase"));
    txtDatabasePath = named(new QLineEdit, QStringLiteral("txtDatabasePath"));
    cmdBrowseForDatabase = button(QStringLiteral("cmdBrowseForDatabase"), QStringLiteral("Browse"));
    cmdBrowseForDatabase->setEnabled(false);
    row->addWidget(optLoadFromDatabase);
    row->addWidget(txtDatabasePath);
    row->addWidget(cmdBrowseForDatabase);
    grid->addWidget(savedRow, 2, 0, 1, 3);
    savedRow->hide();

    connect(cmdBrowseForDiagFile, &QPushButton::clicked, this, &frmMain::browseForLogs);
    connect(cmdParseLogs, &QPushButton::clicked, this, &frmMain::loadData);
    connect(optLoadFromDatabase, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        cmdBrowseForDiagFile->setEnabled(false);
        cmdBrowseForDatabase->setEnabled(true);
    });
    return frmStoreDatabaseAt;
}

QWidget* frmMain::buildStatusFrame() {
    frmTitle = named(new QGroupBox, QStringLiteral("frmTitle"));
    auto* layout = new QVBoxLayout(frmTitle);
    ProgressBar = named(new QProgressBar, QStringLiteral("ProgressBar"));
    layout->addWidget(ProgressBar);
    frmTitle->hide();
    return frmTitle;
}

QWidget* frmMain::buildTabs() {
    SSTab1 = named(new QTabWidget, QStringLiteral("SSTab1"));
    CallDistributionStartTime =
        timePicker(QStringLiteral("CallDistributionStartTime"), QTime(0, 0));
    CallDistributionEndTime =
        timePicker(QStringLiteral("CallDistributionEndTime"), QTime(23, 59, 59));
    PortTimeUseStartTime = timePicker(QStringLiteral("PortTimeUseStartTime"), QTime(0, 0));
    PortTimeUseEndTime = timePicker(QStringLiteral("PortTimeUseEndTime"), QTime(23, 59, 59));

    SSTab1->addTab(
        buildTab(Report::PortAvailability,
                 QStringLiteral(
                     "Shows how many ports are available to take calls over the course of the "
                     "day.  Useful for finding out if you're running low on ports configured to "
                     "answer calls at any point in the day.  This report is always run over the "
                     "entire day, however you can zoom  or out from 1 hour to a full 24 hour scope "
                     "on the resulting graph so you should be able to det the detail you need."),
                 QStringLiteral(
                     "The  X axis shows the time of day, the Y axis shows the minimum number of "
                     "ports available to take calls and/or the maximim number of ports busy for "
                     "each minute of the day.  Remember, some ports may be dedicated to do only "
                     "dialout operations so the number of ports busy does not reflect how many "
                     "ports are available to take calls directly in all cases."),
                 nullptr, nullptr),
        QStringLiteral("Port Availability"));
    SSTab1->addTab(
        buildTab(Report::CallDistribution,
                 QStringLiteral(
                     "Shows the counts for which types of calls hit each port totaled up over the "
                     "time period specified.  Inbound calls, MWI dialouts, AMIS dialouts, "
                     "Notification dialouts and TRAP dialouts are totaled for each port."),
                 QStringLiteral(
                     "The X axis shows the port numbers, the Y axis shows the number of each type "
                     "of call that came into or originated from that port over the time period "
                     "specified.  You can select which types of calls are shows on the graph "
                     "dynamically."),
                 CallDistributionStartTime, CallDistributionEndTime),
        QStringLiteral("Call Distribution"));
    SSTab1->addTab(
        buildTab(Report::PortTimeUse,
                 QStringLiteral(
                     "Similiar to call distribution but rather than totally the number of calls, "
                     "this report totals up the number of seconds each port spent servicing the "
                     "different types of calls.  Call types can include inbound calls, AMIS "
                     "dialouts, notification dialouts, MWI dialouts or TRAP dialouts."),
                 QStringLiteral(
                     "The X axis shows the port numbers and the Y axis shows the number of seconds "
                     "used for each of the call types for that port over the time period "
                     "specified.  You can select which call types are shown in the graph "
                     "dynamically."),
                 PortTimeUseStartTime, PortTimeUseEndTime),
        QStringLiteral("Port Time Use"));
    SSTab1->addTab(
        buildTab(Report::CallTraffic,
                 QStringLiteral(
                     "Shows how many calls of each type came in or went out for each minute of the "
                     "day over the time specified.  Gives a graphical view of what kinds of calls "
                     "are hitting the system or being generated by the system over the course of "
                     "the day.  This report is always run over the full day's worth of data, "
                     "however you can choose to zoom to show as little as 1 hour of data at a "
                     "time on the chart so you should be able to see what you need to."),
                 QStringLiteral(
                     "The X axis shows the time, the Y axis shows the total number of calls of "
                     "each type that came into or originated from the entire system across all "
                     "ports for each minute of the day.  You can select which types of calls are "
                     "shown in the graph dynamically."),
                 nullptr, nullptr),
        QStringLiteral("Call Traffic"));
    return SSTab1;
}

QWidget* frmMain::buildTab(Report report, const QString& description, const QString& axis,
                           QTimeEdit* start, QTimeEdit* end) {
    static const QString kButtonNames[] = {
        QStringLiteral("cmdPortUsage"), QStringLiteral("cmdCallDistribution"),
        QStringLiteral("cmdPortTimeUse"), QStringLiteral("cmdCallTraffic")};
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wrapped(description));
    layout->addWidget(wrapped(axis));
    if (start && end) {
        auto* range =
            new QGroupBox(QStringLiteral("Run report for calls that started between these times:"));
        auto* row = new QHBoxLayout(range);
        row->addWidget(new QLabel(QStringLiteral("From")));
        row->addWidget(start);
        row->addWidget(new QLabel(QStringLiteral("through")));
        row->addWidget(end);
        row->addStretch();
        layout->addWidget(range);
    }
    layout->addStretch();
    const auto index = static_cast<std::size_t>(report);
    QPushButton* run = button(kButtonNames[index], QStringLiteral("Run Report"));
    run->setEnabled(false);
    reportButtons_[index] = run;
    connect(run, &QPushButton::clicked, this, [this, report] { runReport(report); });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(run);
    layout->addLayout(buttonRow);
    return page;
}

void frmMain::startUp() {
    const QStringList messages = app::startUp(state_, registry_);
    context_.workFolder = state_.dataFolder;
    txtDatabasePath->setText(
        QDir::toNativeSeparators(store::databasePathOf(state_.database.connectionString())));
    for (const QString& message : messages)
        dialogs_.message(message);
    const support::ToolsSite site = support::defaultToolsSite();
    (void)support::checkForUpdatedVersion_Background(state_.programFolder, site.homePage(),
                                                     QString());
}

void frmMain::checkForUpdate() {
    const support::ToolsSite site = support::defaultToolsSite();
    support::UpdateCheck check;
    {
        BusyPointer busy;
        setBusy(true); // the download lets events through while it waits
        check = support::checkForUpdatedVersion(
            site, site.homePage(), QString(),
            [](const QString& address) { return support::GetUrlText(address); });
        setBusy(false);
    }
    for (const QString& failure : check.failures)
        dialogs_.message(failure);
    if (check.outcome != support::UpdateOutcome::NewerPosted) {
        dialogs_.message(check.message);
        return;
    }
    if (dialogs_.question(check.message, support::updateAvailableCaption()))
        dialogs_.openUrl(site.homePage());
}

void frmMain::setReportOpener(Report report, std::function<void()> open) {
    openers_[static_cast<std::size_t>(report)] = std::move(open);
}

std::pair<int, int> frmMain::reportRange(Report report) const {
    if (report == Report::PortTimeUse)
        return {minuteOf(PortTimeUseStartTime), minuteOf(PortTimeUseEndTime)};
    if (report == Report::CallDistribution)
        return {minuteOf(CallDistributionStartTime), minuteOf(CallDistributionEndTime)};
    return {0, 1439};
}

void frmMain::runReport(Report report) {
    if (report == Report::CallDistribution || report == Report::PortTimeUse) {
        const auto [start, end] = reportRange(report);
        if (start >= end) {
            dialogs_.message(QStringLiteral(
                "The end time must be greater than the start time for a report to be generated!"));
            return;
        }
    }
    if (const auto& open = openers_[static_cast<std::size_t>(report)])
        open();
}

void frmMain::setReportButtonsEnabled(bool enabled) {
    for (QPushButton* run : reportButtons_)
        run->setEnabled(enabled);
}

void frmMain::browseForLogs() {
    QStringList messages;
    const QString defaultFolder =
        serverprobe::strGetLogPath(state_.server, registry_, config_, messages);
    for (const QString& message : messages)
        dialogs_.message(message);
#ifdef _WIN32
    const QString driveRoot = QStringLiteral("c:\\");
#else
    const QString driveRoot = QDir::homePath();
#endif
    const QString current = txtDiagFilePath->text();
    const QString start = current.size() > 3         ? current
                          : !defaultFolder.isEmpty() ? defaultFolder
                                                     : driveRoot;
    const QString picked = dialogs_.pickFolder(
        start, QStringLiteral("Pre-selecting folder using the folder's string."));
    openLogFolder(picked.isEmpty() ? start : QDir::toNativeSeparators(picked));
}

void frmMain::openLogFolder(const QString& folder) {
    txtDiagFilePath->setText(folder);
    if (buildDayList()) {
        cmdParseLogs->setEnabled(true);
        cmbReportDate->setCurrentIndex(0);
        return;
    }
    cmdParseLogs->setEnabled(false);
    txtDiagFilePath->clear();
    dialogs_.message(QStringLiteral(
        "No valid diagnostic files found in that directory... The Tarrow only works with data "
        "files produced by Mervox 3.1(4) or later."));
}

bool frmMain::buildDayList() {
    BusyPointer busy;
    cmbReportDate->clear();
    const auto listing = logparse::listLogFiles(QDir::fromNativeSeparators(txtDiagFilePath->text()),
                                                logparse::logFilePrefix(state_.server.newerGeneration));
    for (const auto& day : logparse::buildDayList(listing.files, state_.locale))
        cmbReportDate->addItem(day.text, day.date);
    return cmbReportDate->count() > 0;
}

void frmMain::showStatus(const QString& caption, qint64 maximum) {
    frmTitle->setTitle(caption);
    ProgressBar->setRange(0, static_cast<int>(maximum));
    ProgressBar->setValue(0);
    frmTitle->show();
    QApplication::processEvents();
}

void frmMain::setStatusValue(qint64 value) {
    ProgressBar->setValue(static_cast<int>(value));
    QApplication::processEvents();
}

void frmMain::hideStatus() {
    frmTitle->hide();
}

void frmMain::setBusy(bool busy) {
    // While long work runs only the status frame lives: nothing clicked
    // meanwhile can start a second load, or compute and store a report (from a
    // summary window) on half-loaded data.
    frmStoreDatabaseAt->setEnabled(!busy);
    SSTab1->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this)
            window->setEnabled(!busy);
}

void frmMain::loadData() {
    const int index = cmbReportDate->currentIndex();
    if (index < 0)
        return;
    logparse::LoadProgress progress;
    progress.fileStarted = [this](const QString& path, qint64 steps) {
        showStatus(QStringLiteral("Parsing diagnostic file: ") + QDir::toNativeSeparators(path),
                   steps);
    };
    progress.advanced = [this](qint64 done) { setStatusValue(done); };
    progress.fileFinished = [this] {
        setStatusValue(ProgressBar->maximum());
        hideStatus();
    };
    logparse::LoadOutcome outcome;
    {
        BusyPointer busy;
        setBusy(true);
        outcome = app::loadDay(state_, QDir::fromNativeSeparators(txtDiagFilePath->text()),
                               cmbReportDate->itemData(index).toDate(),
                               cmbReportDate->itemText(index), progress);
        hideStatus();
        setBusy(false);
    }
    if (!outcome.folderError.isEmpty()) {
        dialogs_.message(outcome.folderError, {}, platform::MessageIcon::Warning);
        return;
    }
    for (const QString& error : outcome.errors)
        dialogs_.message(error);
    for (int i = 0; i < outcome.oversizedFiles.size(); ++i)
        dialogs_.message(logparse::tooManyLinesMessage(), logparse::tooManyLinesTitle(),
                         platform::MessageIcon::Warning);
    if (!outcome.problems.isEmpty())
        dialogs_.message(outcome.problems.summary(), {}, platform::MessageIcon::Warning);
    setReportButtonsEnabled(outcome.foundCalls());
    dialogs_.message(outcome.message);
}

void frmMain::shutdown() {
    state_.database.close();
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    shutdown();
}

} // namespace tarrow::app
