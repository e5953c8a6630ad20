#include "windows/frmSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

const char *const boxes[] = {"chkCase", "chkTrim", "chkEmpty", "chkTrimSave", "chkSaveEmpty"};

// The dialog over five options given in the order of the boxes.
struct Opened
{
    explicit Opened(const std::vector<qint16> &v) : scan {v[0], v[1], v[2]}, save {v[3], v[4]} { }

    std::vector<qint16> options() const
    {
        return {scan.caseSensitive, scan.trimLines, scan.includeEmptyLines, save.trimSaveLines,
            save.saveEmptyLines};
    }
    std::vector<int> checks() const
    {
        std::vector<int> checks;
        for (const char *name : boxes)
            checks.push_back(box(name)->isChecked() ? 1 : 0);
        return checks;
    }
    QCheckBox *box(const char *name) const
    {
        return dialog.findChild<QCheckBox *>(QLatin1String(name));
    }
    void click(const char *name) { dialog.findChild<QPushButton *>(QLatin1String(name))->click(); }

    ScanOptions scan;
    SaveOptions save;
    frmSettings dialog {scan, save};
};

// Each box shows its own option; a value the program never stores (a hand-edited file) shows
// as the scan or the save reads it: case on for anything but 0, the others on only for 1, and
// keeping empty lines off only for 0. Ok then copies a toggled box into its option, 0 or 1, and
// leaves the others as they were, odd values too.
TEST(SettingsDialog, BoxesShowTheOptionsAndOkCopiesAToggledBoxBack)
{
    const std::pair<std::vector<qint16>, std::vector<int>> cases[] = {
        {{0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}},
        {{1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}},
        {{0, 1, 0, 0, 0}, {0, 1, 0, 0, 0}},
        {{0, 0, 1, 0, 0}, {0, 0, 1, 0, 0}},
        {{0, 0, 0, 1, 0}, {0, 0, 0, 1, 0}},
        {{2, 2, -1, 3, 7}, {1, 0, 0, 0, 1}},
    };
    for (const auto &[options, checks] : cases) {
        for (std::size_t i = 0; i < std::size(boxes); ++i) {
            Opened opened(options);
            EXPECT_EQ(opened.checks(), checks) << ::testing::PrintToString(options);
            opened.box(boxes[i])->toggle();
            opened.click("cmdOk");
            std::vector<qint16> expected = options;
            expected[i] = checks[i] ? 0 : 1;
            EXPECT_EQ(opened.options(), expected) << boxes[i];
            EXPECT_EQ(opened.dialog.result(), QDialog::Accepted);
        }
    }
}

TEST(SettingsDialog, OnlyOkOrEnterKeepsTheChanges)
{
    const std::pair<const char *, std::function<void(Opened &)>> ways[] = {
        {"Cancel", [](Opened &o) { o.click("cmdCancel"); }},
        {"Escape", [](Opened &o) { QTest::keyClick(o.box("chkCase"), Qt::Key_Escape); }},
        {"window frame", [](Opened &o) { o.dialog.close(); }},
        {"Enter", [](Opened &o) { QTest::keyClick(o.box("chkEmpty"), Qt::Key_Return); }},
    };
    for (const auto &[name, dismiss] : ways) {
        SCOPED_TRACE(name);
        Opened opened({0, 0, 0, 0, 1});
        opened.dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&opened.dialog));
        for (const char *box : boxes)
            opened.box(box)->toggle();
        dismiss(opened);
        const bool accepted = name == std::string("Enter");
        EXPECT_FALSE(opened.dialog.isVisible());
        EXPECT_EQ(opened.dialog.result(), accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(opened.options(),
            (accepted ? std::vector<qint16> {1, 1, 1, 1, 0} : std::vector<qint16> {0, 0, 0, 0, 1}));
    }
}

// The doubled ampersand shows one "&"; no caption may define an accelerator.
TEST(SettingsDialog, CaptionsAreExactAndDefineNoAccelerator)
{
    const Opened opened({0, 0, 0, 0, 1});
    EXPECT_EQ(opened.dialog.windowTitle(), "Settings");
    const std::pair<const char *, QString> captions[] = {{"chkCase", "Case sensitive."},
        {"chkTrim", "Remove leading && trailing spaces."}, {"chkEmpty", "Include empty lines."},
        {"chkTrimSave", "Remove leading && trailing spaces."},
        {"chkSaveEmpty", "Save empty lines."}, {"cmdOk", "Ok"}, {"cmdCancel", "Cancel"},
        {"Frame1", "Scanning for Duplicates"}, {"Frame2", "Saving"}};
    for (const auto &[name, caption] : captions) {
        const QObject *widget = opened.dialog.findChild<QObject *>(QLatin1String(name));
        const auto *button = qobject_cast<const QAbstractButton *>(widget);
        const auto *frame = qobject_cast<const QGroupBox *>(widget);
        const QString text = button ? button->text() : frame ? frame->title() : QString();
        EXPECT_EQ(text, caption) << name;
        EXPECT_TRUE(QKeySequence::mnemonic(text).isEmpty()) << name;
    }
}

} // namespace
} // namespace twinscan
