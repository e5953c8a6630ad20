#pragma once

#include <QString>

class QWidget;

namespace twinscan {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { Information, Exclamation, Stop, Question };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Modal message boxes. Tests answer them from a script instead of waiting for a person.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual MessageAnswer show(QWidget *owner, const QString &title, const QString &text,
        MessageButtons buttons, MessageIcon icon)
        = 0;
};

class QtMessageBoxService final : public MessageBoxService
{
public:
    MessageAnswer show(QWidget *owner, const QString &title, const QString &text,
        MessageButtons buttons, MessageIcon icon) override;
};

} // namespace twinscan
