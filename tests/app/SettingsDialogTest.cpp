#include "app/Module.h"
#include "app/frmSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The option behind each check box, by the box's name.
struct Binding
{
    const char *box;
    std::function<qint16 &(Module &)> option;
};

const Binding bindings[] = {
    {"chkCase", [](Module &m) -> qint16 & { return m.scanOptions.caseSensitive; }},
    {"chkTrim", [](Module &m) -> qint16 & { return m.scanOptions.trimLines; }},
    {"chkEmpty", [](Module &m) -> qint16 & { return m.scanOptions.includeEmptyLines; }},
    {"chkTrimSave", [](Module &m) -> qint16 & { return m.saveOptions.trimSaveLines; }},
    {"chkSaveEmpty", [](Module &m) -> qint16 & { return m.saveOptions.saveEmptyLines; }},
};

template<typename Widget> Widget *child(const QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QCheckBox *box(const QWidget &dialog, const char *name)
{
    return child<QCheckBox>(dialog, name);
}

std::vector<qint16> optionsOf(Module &module)
{
    std::vector<qint16> values;
    for (const Binding &binding : bindings)
        values.push_back(binding.option(module));
    return values;
}

std::vector<bool> checksOf(const QWidget &dialog)
{
    std::vector<bool> checks;
    for (const Binding &binding : bindings)
        checks.push_back(box(dialog, binding.box)->isChecked());
    return checks;
}

TEST(SettingsDialog, FreshOptionsShowOnlySaveEmptyLinesChecked)
{
    Module module;
    frmSettings dialog(module.scanOptions, module.saveOptions);
    EXPECT_EQ(dialog.windowTitle(), "Settings");
    EXPECT_EQ(checksOf(dialog), (std::vector<bool> {false, false, false, false, true}));
}

// Each option alone, set to 1 or to a value the program never stores, checks its own box only.
// Each box shows its own option; 0 and 1 are the check-box states.
TEST(SettingsDialog, EachOptionChecksItsOwnBox)
{
    for (std::size_t i = 0; i < std::size(bindings); ++i) {
        Module module;
        for (const Binding &binding : bindings)
            binding.option(module) = 0;
        bindings[i].option(module) = 1;
        frmSettings dialog(module.scanOptions, module.saveOptions);
        std::vector<bool> expected(std::size(bindings), false);
        expected[i] = true;
        EXPECT_EQ(checksOf(dialog), expected) << bindings[i].box;
    }
}

// Toggling one box and pressing Ok changes that option alone, to 0 or 1.
TEST(SettingsDialog, OkCopiesEachBoxIntoItsOption)
{
    for (std::size_t i = 0; i < std::size(bindings); ++i) {
        Module module;
        const std::vector<qint16> before = optionsOf(module);
        frmSettings dialog(module.scanOptions, module.saveOptions);
        box(dialog, bindings[i].box)->toggle();
        child<QPushButton>(dialog, "cmdOk")->click();

        std::vector<qint16> expected = before;
        expected[i] = before[i] == 0 ? 1 : 0;
        EXPECT_EQ(optionsOf(module), expected) << bindings[i].box;
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

// A hand-edited value the scan reads as off (trim 2) must not turn on by a mere Ok, nor one it
// reads as on (case 2) turn off: each box shows what the value means, and an untouched box keeps
// the value.
TEST(SettingsDialog, OddStoredValuesShowTheirMeaningAndSurviveOk)
{
    Module module;
    module.scanOptions = {2, 2, -1};
    module.saveOptions = {3, 7};
    frmSettings dialog(module.scanOptions, module.saveOptions);
    EXPECT_EQ(checksOf(dialog), (std::vector<bool> {true, false, false, false, true}));
    box(dialog, "chkTrim")->toggle();
    child<QPushButton>(dialog, "cmdOk")->click();
    EXPECT_EQ(optionsOf(module), (std::vector<qint16> {2, 1, -1, 3, 7}));
}

struct Dismissal
{
    const char *name;
    std::function<void(frmSettings &)> dismiss;
};

class DismissWithoutOk : public testing::TestWithParam<Dismissal>
{
};

TEST_P(DismissWithoutOk, LeavesEveryOptionAsItWas)
{
    Module module;
    frmSettings dialog(module.scanOptions, module.saveOptions);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const Binding &binding : bindings)
        box(dialog, binding.box)->toggle();

    GetParam().dismiss(dialog);

    EXPECT_EQ(optionsOf(module), (std::vector<qint16> {0, 0, 0, 0, 1}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

INSTANTIATE_TEST_SUITE_P(Ways, DismissWithoutOk,
    testing::Values(Dismissal {"CancelButton",
                        [](frmSettings &d) { child<QPushButton>(d, "cmdCancel")->click(); }},
        Dismissal {"EscapeKey",
            [](frmSettings &d) { QTest::keyClick(box(d, "chkCase"), Qt::Key_Escape); }},
        Dismissal {"WindowFrame", [](frmSettings &d) { d.close(); }}),
    [](const testing::TestParamInfo<Dismissal> &info) { return info.param.name; });

TEST(SettingsDialog, EnterOnACheckBoxPressesOk)
{
    Module module;
    frmSettings dialog(module.scanOptions, module.saveOptions);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    box(dialog, "chkCase")->toggle();
    QTest::keyClick(box(dialog, "chkEmpty"), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(module.scanOptions.caseSensitive, 1);
}

// The doubled ampersand is the escape for one shown "&"; no caption may define an accelerator.
TEST(SettingsDialog, CaptionsAreExactAndDefineNoAccelerator)
{
    Module module;
    frmSettings dialog(module.scanOptions, module.saveOptions);
    const std::pair<const char *, QString> captions[] = {
        {"chkCase", "Case sensitive."},
        {"chkTrim", "Remove leading && trailing spaces."},
        {"chkEmpty", "Include empty lines."},
        {"chkTrimSave", "Remove leading && trailing spaces."},
        {"chkSaveEmpty", "Save empty lines."},
        {"cmdOk", "Ok"},
        {"cmdCancel", "Cancel"},
        {"Frame1", "Scanning for Duplicates"},
        {"Frame2", "Saving"},
    };
    for (const auto &[name, caption] : captions) {
        const QWidget *widget = child<QWidget>(dialog, name);
        const auto *button = qobject_cast<const QAbstractButton *>(widget);
        const auto *frame = qobject_cast<const QGroupBox *>(widget);
        const QString text = button ? button->text() : frame ? frame->title() : QString();
        EXPECT_EQ(text, caption) << name;
        EXPECT_TRUE(QKeySequence::mnemonic(text).isEmpty()) << name;
    }
}

TEST(SettingsDialog, LayoutRunsFromTheScanOptionsDownToTheButtons)
{
    Module module;
    frmSettings dialog(module.scanOptions, module.saveOptions);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const auto top = [&](const char *name) {
        const QWidget *widget = child<QWidget>(dialog, name);
        return widget->mapTo(&dialog, QPoint(0, 0)).y();
    };
    const char *downwards[]
        = {"Frame1", "chkCase", "chkTrim", "chkEmpty", "Frame2", "chkTrimSave", "chkSaveEmpty"};
    for (std::size_t i = 1; i < std::size(downwards); ++i)
        EXPECT_LT(top(downwards[i - 1]), top(downwards[i])) << downwards[i];
    const QWidget *ok = child<QWidget>(dialog, "cmdOk");
    const QWidget *cancel = child<QWidget>(dialog, "cmdCancel");
    EXPECT_GT(top("cmdOk"), top("chkSaveEmpty"));
    EXPECT_EQ(top("cmdOk"), top("cmdCancel"));
    EXPECT_LT(ok->geometry().right(), cancel->geometry().left());
}

TEST(SettingsDialog, TabGoesFromOkThroughTheBoxesWithTheSaveOptionsReversed)
{
    Module module;
    frmSettings dialog(module.scanOptions, module.saveOptions);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(dialog, "cmdOk"));

    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(' '),
        "cmdOk cmdCancel chkCase chkTrim chkEmpty chkSaveEmpty chkTrimSave cmdOk");
}

// Ok or the frame's close, pressed on the dialog that edit() runs modally.
TEST(SettingsDialog, EditRunsModallyOnTheModuleOptions)
{
    for (const bool pressOk : {true, false}) {
        Module module;
        QTimer::singleShot(0, [pressOk] {
            auto *dialog = qobject_cast<frmSettings *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            box(*dialog, "chkTrimSave")->toggle();
            if (pressOk)
                child<QPushButton>(*dialog, "cmdOk")->click();
            else
                dialog->close();
        });
        EXPECT_EQ(frmSettings::edit(nullptr, module), pressOk);
        EXPECT_EQ(module.saveOptions.trimSaveLines, pressOk ? 1 : 0);
    }
}

} // namespace
} // namespace twinscan
