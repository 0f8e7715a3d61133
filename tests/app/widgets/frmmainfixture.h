#pragma once

// The main window over a temporary folder, as every main-window test opens it.
#include "app/widgets/frmmain.h"
#include "serverprobe/configdatabase.h"
#include "serverprobe/registryapi.h"
#include "support/reportfixture.h"
#include "support/scripteddialogs.h"
#include "support/tempfolder.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace tarrow::app {

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useTempFolder(state, dir);
        config = serverprobe::makeSystemConfigDatabase();
    }

    frmMain& window() {
        if (!main) {
            main = std::make_unique<frmMain>(state, dialogs, registry, *config);
            main->startUp();
        }
        return *main;
    }
    template <typename T> T* find(const char* name) {
        T* w = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool enabled(const char* name) { return find<QPushButton>(name)->isEnabled(); }
    bool reportsEnabled() {
        return enabled("cmdPortUsage") && enabled("cmdCallDistribution") &&
               enabled("cmdPortTimeUse") && enabled("cmdCallTraffic") && enabled("cmdCapacity");
    }
    bool reportsDisabled() {
        return !enabled("cmdPortUsage") && !enabled("cmdCallDistribution") &&
               !enabled("cmdPortTimeUse") && !enabled("cmdCallTraffic") && !enabled("cmdCapacity");
    }
    QString logs() const { return dir.file(QStringLiteral("logs")); }
    void writeLog(const char* date, const QByteArray& bytes) const {
        dir.write(QStringLiteral("logs/data_qnhcmgr_%1.csv").arg(QLatin1String(date)), bytes);
    }
    void browseTo(const QString& folder) {
        dialogs.folderAnswers << folder;
        find<QPushButton>("cmdBrowseForDiagFile")->click();
    }

    testing::TempFolder dir;
    load::AppState state;
    testing::ScriptedDialogs dialogs;
    serverprobe::MapRegistry registry;
    std::unique_ptr<serverprobe::ConfigDatabase> config;
    std::unique_ptr<frmMain> main;
};

} // namespace tarrow::app
