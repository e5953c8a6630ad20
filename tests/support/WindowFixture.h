#pragma once

#include "app/Module.h"
#include "app/frmMain.h"
#include "support/FakeServices.h"
#include "ui/UniformRowView.h"

// Besides the fixture, what the window tests use throughout.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace twinscan::test {

// `text`, whole lines, followed by lines without duplicates up to the count from which a file is
// large.
std::string largeFile(std::string text);

// A main window on the offscreen platform with scripted dialogs, message boxes and clock, fresh
// shared state, and a temporary folder for the files it works on. Long jobs let events run at
// every chance, so that a test can act "while" they run.
class WindowFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString writeFile(const QString &name, const std::string &bytes);
    std::string readFile(const QString &path) const;
    QString path(const QString &name) const { return dir.filePath(name); }

    // Scans `file` as if it had been picked in the open dialog.
    void scan(const QString &file);

    // Runs `action` once, at the first moment events run while `when` holds.
    void duringRun(std::function<bool()> when, std::function<void()> action);

    QString status() const { return window->statusText(); }
    const MainWindowUi &ui() const { return window->ui(); }

    QTemporaryDir dir;
    FakeServices fakes;
    std::unique_ptr<frmMain> window;

private:
    std::unique_ptr<QTimer> watcher_;
};

} // namespace twinscan::test
