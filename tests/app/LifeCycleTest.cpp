#include "support/WindowFixture.h"

#include <QAccessible>

namespace twinscan::test {
namespace {

class LifeCycle : public WindowFixture
{
protected:
    // A window made with these command-line arguments, shown and given time to start up.
    void startWith(const QStringList &arguments)
    {
        window = std::make_unique<frmMain>(fakes.services(), arguments);
        window->setPumpInterval(0);
        window->show();
        QApplication::processEvents();
    }
};

TEST_F(LifeCycle, FirstActivationRunsOnce)
{
    startWith({});
    window->setStatusText("changed");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    QApplication::processEvents();
    EXPECT_EQ(status(), "changed");
}

// A screen reader finds the main window as a window of its own, named by its title.
TEST_F(LifeCycle, ScreenReadersFindTheMainWindowAsAWindow)
{
    startWith({});
    QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(window.get());
    EXPECT_EQ(shown->role(), QAccessible::Window);
    EXPECT_TRUE(shown->text(QAccessible::Name).startsWith("Twinscan "));
}

// A file named at start is scanned at once; one that is missing gets Open's message.
TEST_F(LifeCycle, AFileNamedAtStartIsScanned)
{
    startWith({writeFile("dups.txt", "z\ny\nz\n")});
    EXPECT_EQ(window->List2Box().rowCount(), 2);
    startWith({"/i", path("missing.txt")});
    EXPECT_EQ(status(), "Error: Can't Open File");
    EXPECT_TRUE(window->isVisible());
}

// While a scan runs the window is busy: no second scan starts inside it, and a close is refused
// with a reason; the close that follows stores the settings.
TEST_F(LifeCycle, TheWindowIsBusyWhileAScanRunsAndClosesLater)
{
    startWith({});
    bool sawBusy = false, closed = true;
    ScanEnding nested = ScanEnding::Failed;
    QString refusal;
    duringRun([] { return module().isBusy; },
        [&] {
            sawBusy = ui().cmdScan->isHidden() && !ui().cmdStop->isHidden()
                && !ui().cmdSave->isEnabled() && !ui().cmdSettings->isEnabled()
                && !ui().cmdAbout->isEnabled();
            closed = window->close();
            refusal = status();
            fakes.dialogs.openAnswers.push_back(path("dups.txt"));
            nested = window->scan();
        });
    scan(writeFile("dups.txt", "z\nz\n"));

    EXPECT_TRUE(sawBusy);
    EXPECT_EQ(nested, ScanEnding::NotStarted);
    EXPECT_FALSE(closed);
    EXPECT_EQ(refusal, "Please stop the scan, the save or the copy before closing Twinscan.");
    EXPECT_TRUE(fakes.settings.values.isEmpty());
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(fakes.settings.values.isEmpty());
}

TEST_F(LifeCycle, AStoppedUnattendedRunStaysOpenAndStoresTheOverridesLater)
{
    duringRun([this] { return status().startsWith("Processing File"); },
        [this] { window->cmdStop_Click(); });
    fakes.messages.answers = {MessageAnswer::Yes};
    startWith({"/i", writeFile("in.txt", "w\nw\n"), "/o", path("out.txt"), "/s", "1", "/r", "on"});

    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(module().batchMode);
    EXPECT_FALSE(QFile::exists(path("out.txt")));
    EXPECT_TRUE(status().contains("(Interuppted By User)"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fakes.settings.values.value("trimLines"), "1");
}

} // namespace
} // namespace twinscan::test
