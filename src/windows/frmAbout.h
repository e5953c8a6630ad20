#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;
class QSvgWidget;

namespace twinscan {

class MessageBoxService;
class ShellService;

// The modal About window: the program's name, logo and version, the usage statistics and a link.
// A left click anywhere but on the link closes it, and so do Enter and Escape, through a Close
// button that sits outside the visible area.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    frmAbout(const QString &appTitle, const QString &appVersion, const QString &statistics,
        ShellService &shell, MessageBoxService &messages, QWidget *parent = nullptr);

    // What the link opens: the address the build was given, or the help document without one.
    static QUrl makerPage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls(const QString &appTitle);
    void lblWeb_Click();
    void closeOnLeftClick(const QMouseEvent &click);

    ShellService &shell_;
    MessageBoxService &messages_;
    QString appTitle_;

    QLabel *Label5 = nullptr;
    QSvgWidget *imgLogo = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblStats = nullptr;
    QLabel *lblWeb = nullptr;
    QLabel *lblNotice = nullptr;
    QWidget *clickShape = nullptr;
    QPushButton *cmdExit = nullptr;
};

} // namespace twinscan
