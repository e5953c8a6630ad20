#pragma once

#include <QUrl>

namespace twinscan {

// The desktop shell's open-document service: the help document and the maker's page. Tests script
// it, so that no browser starts while they run.
class ShellService
{
public:
    virtual ~ShellService() = default;
    // Asks the desktop to open `url` with its default application; false when it refused.
    virtual bool openDocument(const QUrl &url) = 0;
};

class QtShellService final : public ShellService
{
public:
    bool openDocument(const QUrl &url) override;
};

} // namespace twinscan
