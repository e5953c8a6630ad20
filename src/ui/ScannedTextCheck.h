#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace twinscan {

// The lists, the viewer and the copy commands read the scanned lines through the file's mapping,
// so once another program rewrote or cut the file they would show or copy what was never
// scanned. Each command asks LoadedText::stillScanned() first, and says one of these when not.
enum class ChangedTextUse { Shown, Copied, Viewed };
QString changedSinceScanText(ChangedTextUse use);

// Runs `check` before `widget` paints, so that what the paint is about to read is vetted first:
// one fstat per paint, never one per row.
class PaintCheck final : public QObject
{
public:
    PaintCheck(QWidget *widget, std::function<void()> check);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> check_;
};

} // namespace twinscan
