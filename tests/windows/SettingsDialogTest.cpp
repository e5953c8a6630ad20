#include "windows/CompareFrame.h"
#include "windows/frmSettings.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

using namespace Qt::StringLiterals;

const char *const boxes[]
    = {"chkCase", "chkTrim", "chkEmpty", "chkTrimSave", "chkSaveEmpty", "chkLargeLists"};

// The dialog over six options given in the order of the boxes.
struct Opened
{
    explicit Opened(const std::vector<qint16> &v, KeySpec k = {})
        : scan {v[0], v[1], v[2]}, save {v[3], v[4]}, largeLists(v[5]), key(std::move(k))
    {
    }

    std::vector<qint16> options() const
    {
        return {scan.caseSensitive, scan.trimLines, scan.includeEmptyLines, save.trimSaveLines,
            save.saveEmptyLines, largeLists};
    }
    QCheckBox *box(const char *name) const
    {
        return dialog.findChild<QCheckBox *>(QLatin1String(name));
    }

    ScanOptions scan;
    SaveOptions save;
    qint16 largeLists;
    KeySpec key;
    frmSettings dialog {scan, save, largeLists, key};
};

// Each box shows its own option (the first two rows tell every pair of boxes apart); a value the
// program never stores (a hand-edited file) shows as the scan or the save reads it: case on for
// anything but 0, the others on only for 1, keeping empty lines off only for 0, and the large-file
// lists as the window reads them: on for anything but 0. Ok then copies a toggled box into its
// option, 0 or 1, and leaves the others as they were, odd values too; Cancel changes nothing.
TEST(SettingsDialog, BoxesShowTheOptionsAndOkCopiesAToggledBoxBack)
{
    const std::pair<std::vector<qint16>, std::vector<bool>> cases[] = {
        {{0, 1, 0, 1, 0, 1}, {0, 1, 0, 1, 0, 1}},
        {{0, 0, 1, 1, 1, 0}, {0, 0, 1, 1, 1, 0}},
        {{2, 2, -1, 3, 7, 5}, {1, 0, 0, 0, 1, 1}},
    };
    for (const auto &[options, checks] : cases) {
        for (std::size_t i = 0; i < std::size(boxes); ++i) {
            for (const bool ok : {true, false}) {
                Opened opened(options);
                EXPECT_EQ(opened.box(boxes[i])->isChecked(), checks[i]) << boxes[i];
                opened.box(boxes[i])->toggle();
                opened.dialog.findChild<QPushButton *>(ok ? "cmdOk" : "cmdCancel")->click();
                std::vector<qint16> expected = options;
                expected[i] = ok ? !checks[i] : options[i];
                EXPECT_EQ(opened.options(), expected) << boxes[i] << ok;
                EXPECT_EQ(opened.dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
            }
        }
    }
}

// The two trim boxes share a caption; a screen reader hears which frame each belongs to, while the
// caption on screen stays as it is.
TEST(SettingsDialog, TheTrimBoxesAreNamedByTheirFrames)
{
    const Opened opened({0, 0, 0, 0, 0, 0});
    const std::pair<const char *, QString> names[] = {
        {"chkTrim", u"Scanning for Duplicates: Remove leading & trailing spaces."_s},
        {"chkTrimSave", u"Saving: Remove leading & trailing spaces."_s},
    };
    for (const auto &[box, name] : names) {
        QCheckBox *shown = opened.box(box);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name), name);
        EXPECT_EQ(shown->text(), u"Remove leading && trailing spaces."_s) << box;
    }
}

// The Compare frame: each row sets its controls as a user would, then presses Ok. A key that
// cannot be used keeps Ok disabled and says why, in the engine's words for an expression.
TEST(SettingsDialog, CompareFrameGivesTheKeyOrSaysWhyNot)
{
    using Kind = KeySpec::Kind;
    const auto on = [](const char *name) {
        return [name](frmSettings &d) { d.findChild<QRadioButton *>(name)->setChecked(true); };
    };
    const auto type = [](const char *name, const char *text) {
        return [name, text](frmSettings &d) {
            d.findChild<QLineEdit *>(name)->setText(QString::fromUtf8(text));
        };
    };
    const auto pick = [](int separator) {
        return [separator](frmSettings &d) {
            d.findChild<QComboBox *>("cboSeparator")->setCurrentIndex(separator);
        };
    };
    const auto spin = [](const char *name, int value) {
        return [name, value](frmSettings &d) { d.findChild<QSpinBox *>(name)->setValue(value); };
    };
    const auto csv = [](frmSettings &d) { d.findChild<QCheckBox *>("chkCsv")->setChecked(true); };
    using Step = std::function<void(frmSettings &)>;
    const struct
    {
        std::vector<Step> steps;
        std::optional<KeySpec> expected; // none: Ok stays disabled
        QString error;
    } rows[] = {
        {{}, KeySpec {}, {}},
        {{on("optFields"), type("txtFields", "1,3"), pick(1)},
            KeySpec {Kind::Fields, {1, 3}, ",", false, {}, 0, 0}, {}},
        {{on("optFields"), type("txtFields", "2"), pick(0), csv},
            KeySpec {Kind::Fields, {2}, "\t", true, {}, 0, 0}, {}},
        {{on("optFields"), type("txtFields", "2"), pick(4)},
            KeySpec {Kind::Fields, {2}, "", false, {}, 0, 0}, {}},
        {{on("optFields"), type("txtFields", "2"), pick(5), type("txtSeparator", "::")},
            KeySpec {Kind::Fields, {2}, "::", false, {}, 0, 0}, {}},
        {{on("optFields"), type("txtFields", "2"), pick(5)}, std::nullopt,
            u"Type the text that separates the fields."_s},
        {{on("optFields"), type("txtFields", "two")}, std::nullopt,
            u"The fields must be numbers from 1 on, such as 2, 1,3 or 2-4."_s},
        {{on("optFields")}, std::nullopt, u"Give the fields to compare, such as 2 or 1,3."_s},
        {{on("optRegex"), type("txtPattern", "id=(\\d+)")},
            KeySpec {Kind::Regex, {}, "", false, u"id=(\\d+)"_s, 0, 0}, {}},
        {{on("optRegex"), type("txtPattern", "a(b")}, std::nullopt,
            u"The regular expression is not valid: missing closing parenthesis (at character 4)."_s},
        {{on("optChars"), spin("spnSkip", 2), spin("spnCheck", 3)},
            KeySpec {Kind::Characters, {}, "", false, {}, 2, 3}, {}},
        // Back to the whole line, the typed expression is kept but no longer used.
        {{on("optRegex"), type("txtPattern", "a(b"), on("optWholeLine")},
            KeySpec {Kind::WholeLine, {}, "", false, u"a(b"_s, 0, 0}, {}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        Opened opened({0, 0, 0, 0, 1, 0});
        for (const Step &step : rows[i].steps)
            step(opened.dialog);
        auto *ok = opened.dialog.findChild<QPushButton *>("cmdOk");
        const auto *error = opened.dialog.findChild<QLabel *>("lblKeyError");
        EXPECT_EQ(ok->isEnabled(), rows[i].expected.has_value());
        EXPECT_EQ(error->text(), rows[i].error);
        ok->click();
        EXPECT_TRUE(opened.key == rows[i].expected.value_or(KeySpec {}));
        // What was given shows again at the next opening, and Cancel leaves it.
        Opened again({0, 0, 0, 0, 1, 0}, opened.key);
        EXPECT_TRUE(again.dialog.findChild<CompareFrame *>()->keySpec() == opened.key);
        again.dialog.findChild<QRadioButton *>("optChars")->setChecked(true);
        again.dialog.findChild<QPushButton *>("cmdCancel")->click();
        EXPECT_TRUE(again.key == opened.key);
    }
}

} // namespace
} // namespace twinscan
