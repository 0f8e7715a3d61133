#pragma once

#include "reports/widgets/standalonehost.h"
#include "support/reportfixture.h"
#include "support/scripteddialogs.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tarrow::testing {

// Report windows over a working database in a temporary folder, hosted
// without a main window; their messages are recorded.
class ReportWindowFixture : public WorkingDatabaseFixture {
protected:
    ReportWindowFixture() : context(state.database, state.day, dialogs, status) {
        context.folder = dir.path();
    }
    // A window of type W, loaded.
    template <typename W> std::unique_ptr<W> open() {
        auto window = std::make_unique<W>(context);
        window->load();
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
};

} // namespace tarrow::testing
