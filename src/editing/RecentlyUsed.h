#pragma once

#include <QString>
#include <utility>

namespace twinscan {

// The desktop's list of recently used files, which file dialogs and file managers offer.
class RecentlyUsed
{
public:
    virtual ~RecentlyUsed() = default;
    // Records that the user opened or saved `file`, an absolute name. Returns why it could not, or
    // empty.
    virtual QString record(const QString &file) = 0;
};

// The list that GTK and KDE programs share: an XBEL file, replaced whole at each use. A file that
// cannot be read or is no XBEL document is left as it is and nothing is recorded.
class XbelRecentlyUsed final : public RecentlyUsed
{
public:
    // $XDG_DATA_HOME/recently-used.xbel
    XbelRecentlyUsed();
    explicit XbelRecentlyUsed(QString xbelFile) : xbelFile_(std::move(xbelFile)) { }
    QString record(const QString &file) override;
    const QString &fileName() const { return xbelFile_; }

private:
    QString xbelFile_;
};

} // namespace twinscan
