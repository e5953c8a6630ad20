#pragma once

#include <QUrl>

class QWidget;

namespace twinscan {

// The desktop shell's services: opening a document (the help document, the maker's page) and
// asking for the user's attention. Tests script them, so that no browser starts while they run.
class ShellService
{
public:
    virtual ~ShellService() = default;
    // Asks the desktop to open `url` with its default application; false when it refused.
    virtual bool openDocument(const QUrl &url) = 0;
    // Asks the desktop to mark `window` as wanting attention (the task bar's urgency hint).
    virtual void alert(QWidget *window) = 0;
};

class QtShellService final : public ShellService
{
public:
    bool openDocument(const QUrl &url) override;
    void alert(QWidget *window) override;
};

} // namespace twinscan
