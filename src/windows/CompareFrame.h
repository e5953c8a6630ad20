#pragma once

#include "engine/KeySpec.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace twinscan {

// The settings dialog's choice of what is compared: the whole line, fields, a regular expression
// or characters. It says at once why a key cannot be used, in the engine's words.
class CompareFrame final : public QGroupBox
{
    Q_OBJECT

public:
    explicit CompareFrame(QWidget *parent = nullptr);

    void setSpec(const KeySpec &keySpec);
    // The key as the controls give it; the values of the kinds not chosen are kept as well, so
    // that they are offered again.
    KeySpec keySpec() const;
    // Why the key cannot be used, or empty.
    QString error() const;

signals:
    void validityChanged(bool valid);

private:
    void buildControls();
    void update();
    QWidget *row(std::initializer_list<QWidget *> widgets);
    std::string separator() const;

    QRadioButton *optWholeLine = nullptr;
    QRadioButton *optFields = nullptr;
    QLineEdit *txtFields = nullptr;
    QComboBox *cboSeparator = nullptr;
    QLineEdit *txtSeparator = nullptr;
    QCheckBox *chkCsv = nullptr;
    QRadioButton *optRegex = nullptr;
    QLineEdit *txtPattern = nullptr;
    QRadioButton *optChars = nullptr;
    QSpinBox *spnSkip = nullptr;
    QSpinBox *spnCheck = nullptr;
    QLabel *lblError = nullptr;
};

} // namespace twinscan
