#pragma once

#include "app/reportrun.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/standalonehost.h"
#include "support/reportfixture.h"
#include "support/scripteddialogs.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace tarrow::testing {

// Report windows over a working database in a temporary folder, hosted
// without a main window; their messages are recorded.
class ReportWindowFixture : public WorkingDatabaseFixture {
protected:
    ReportWindowFixture() : context(dialogs, status) { context.folder = dir.path(); }
    // The report run for the loaded day with the fixture's choices.
    reports::ReportDocument document(reports::ReportId report) {
        const auto range = ranges.find(report);
        app::ReportRun run = app::runReport(
            state, reports::reportEntry(report),
            {range == ranges.end() ? reports::TimeRange{} : range->second, sizing}, &status);
        EXPECT_TRUE(run.document.has_value()) << run.error.toStdString();
        return run.document ? *run.document : reports::ReportDocument{};
    }
    // A window of type W showing its report's figures.
    template <typename W> std::unique_ptr<W> open() {
        auto window = std::make_unique<W>(context);
        window->showDocument(document(window->report()));
        return window;
    }
    template <typename T> static T* find(QWidget& w, const char* name) {
        T* child = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    ScriptedDialogs dialogs;
    RecordingStatus status;
    reports::StandaloneHost context;
    std::map<reports::ReportId, reports::TimeRange> ranges; // the whole day when not set
    reports::SizingChoice sizing;                           // of the Capacity report
};

} // namespace tarrow::testing
