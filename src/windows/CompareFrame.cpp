#include "windows/CompareFrame.h"

#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace twinscan {

namespace {
// The separators offered by name, and the last item, which takes the text typed beside it.
const struct
{
    const char *label;
    const char *bytes;
} separators[]
    = {{"Tab", "\t"}, {"Comma", ","}, {"Semicolon", ";"}, {"|", "|"}, {"A run of spaces", ""}};
const int otherSeparator = int(std::size(separators));
} // namespace

CompareFrame::CompareFrame(QWidget *parent) : QGroupBox(QStringLiteral("Compare"), parent)
{
    setObjectName(QStringLiteral("frmCompare"));
    buildControls();
    setSpec({});
}

QWidget *CompareFrame::row(std::initializer_list<QWidget *> widgets)
{
    auto *line = new QWidget(this);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return line;
}

void CompareFrame::buildControls()
{
    optWholeLine = named(new QRadioButton(QStringLiteral("The whole line"), this), "optWholeLine");
    optFields = named(new QRadioButton(QStringLiteral("Fields:"), this), "optFields");
    txtFields = named(new QLineEdit(this), "txtFields");
    txtFields->setPlaceholderText(QStringLiteral("2 or 1,3"));
    cboSeparator = named(new QComboBox(this), "cboSeparator");
    for (const auto &separator : separators)
        cboSeparator->addItem(QString::fromUtf8(separator.label));
    cboSeparator->addItem(QStringLiteral("Other:"));
    txtSeparator = named(new QLineEdit(this), "txtSeparator");
    chkCsv = named(new QCheckBox(QStringLiteral("CSV"), this), "chkCsv");
    chkCsv->setToolTip(QStringLiteral("Fields may be quoted, with separators and doubled quotes "
                                      "inside the quotes."));
    optRegex = named(new QRadioButton(QStringLiteral("Regular expression:"), this), "optRegex");
    txtPattern = named(new QLineEdit(this), "txtPattern");
    txtPattern->setPlaceholderText(QStringLiteral("id=(\\d+)"));
    txtPattern->setMinimumWidth(220);
    optChars = named(new QRadioButton(QStringLiteral("Characters: skip"), this), "optChars");
    spnSkip = named(new QSpinBox(this), "spnSkip");
    spnCheck = named(new QSpinBox(this), "spnCheck");
    spnSkip->setRange(0, 1000000);
    spnCheck->setRange(0, 1000000);
    spnCheck->setSpecialValueText(QStringLiteral("all"));
    lblError = named(new QLabel(this), "lblKeyError");
    lblError->setWordWrap(true);
    // A red that stays readable on a light and on a dark theme's background.
    QPalette palette = lblError->palette();
    const bool dark = palette.color(QPalette::Window).lightness() < 128;
    palette.setColor(QPalette::WindowText, dark ? QColor(255, 110, 110) : QColor(176, 0, 0));
    lblError->setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(optWholeLine);
    layout->addWidget(row({optFields, txtFields, new QLabel(QStringLiteral("separated by"), this),
        cboSeparator, txtSeparator, chkCsv}));
    layout->addWidget(row({optRegex, txtPattern}));
    layout->addWidget(
        row({optChars, spnSkip, new QLabel(QStringLiteral("then compare"), this), spnCheck}));
    layout->addWidget(lblError);

    // The options sit in rows of their own, so they are made exclusive as a group.
    auto *kinds = new QButtonGroup(this);
    for (QRadioButton *option : {optWholeLine, optFields, optRegex, optChars}) {
        kinds->addButton(option);
        connect(option, &QRadioButton::toggled, this, &CompareFrame::update);
    }
    for (QLineEdit *edit : {txtFields, txtSeparator, txtPattern})
        connect(edit, &QLineEdit::textChanged, this, &CompareFrame::update);
    connect(cboSeparator, &QComboBox::currentIndexChanged, this, &CompareFrame::update);
    connect(chkCsv, &QCheckBox::toggled, this, &CompareFrame::update);
}

void CompareFrame::setSpec(const KeySpec &keySpec)
{
    QRadioButton *const options[] = {optWholeLine, optFields, optRegex, optChars};
    options[int(keySpec.kind)]->setChecked(true);
    txtFields->setText(fieldListText(keySpec.fields));
    int index = otherSeparator;
    for (int i = 0; i < otherSeparator; ++i) {
        if (keySpec.separator == separators[i].bytes)
            index = i;
    }
    cboSeparator->setCurrentIndex(index);
    txtSeparator->setText(
        index == otherSeparator ? QString::fromStdString(keySpec.separator) : QString());
    chkCsv->setChecked(keySpec.csv);
    txtPattern->setText(keySpec.pattern);
    spnSkip->setValue(keySpec.skipChars);
    spnCheck->setValue(keySpec.checkChars);
    update();
}

std::string CompareFrame::separator() const
{
    const int index = cboSeparator->currentIndex();
    if (index >= 0 && index < otherSeparator)
        return separators[index].bytes;
    return txtSeparator->text().toStdString();
}

KeySpec CompareFrame::keySpec() const
{
    KeySpec keySpec;
    keySpec.kind = optFields->isChecked() ? KeySpec::Kind::Fields
        : optRegex->isChecked()           ? KeySpec::Kind::Regex
        : optChars->isChecked()           ? KeySpec::Kind::Characters
                                          : KeySpec::Kind::WholeLine;
    keySpec.fields = parseFieldList(txtFields->text()).value_or(std::vector<int> {});
    keySpec.separator = separator();
    keySpec.csv = chkCsv->isChecked();
    keySpec.pattern = txtPattern->text();
    keySpec.skipChars = spnSkip->value();
    keySpec.checkChars = spnCheck->value();
    return keySpec;
}

QString CompareFrame::error() const
{
    const KeySpec key = keySpec();
    if (key.kind != KeySpec::Kind::Fields)
        return keySpecError(key);
    if (!txtFields->text().trimmed().isEmpty() && key.fields.empty())
        return QStringLiteral("The fields must be numbers from 1 on, such as 2, 1,3 or 2-4.");
    if (cboSeparator->currentIndex() == otherSeparator && key.separator.empty())
        return QStringLiteral("Type the text that separates the fields.");
    return keySpecError(key);
}

void CompareFrame::update()
{
    const bool fields = optFields->isChecked();
    txtFields->setEnabled(fields);
    cboSeparator->setEnabled(fields);
    chkCsv->setEnabled(fields);
    txtSeparator->setEnabled(fields && cboSeparator->currentIndex() == otherSeparator);
    txtPattern->setEnabled(optRegex->isChecked());
    spnSkip->setEnabled(optChars->isChecked());
    spnCheck->setEnabled(optChars->isChecked());
    const QString problem = error();
    lblError->setText(problem);
    lblError->setVisible(!problem.isEmpty());
    emit validityChanged(problem.isEmpty());
}

} // namespace twinscan
