#pragma once

#include "engine/LineSearch.h"

#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QLineEdit;
class QProgressBar;

namespace twinscan {

// The viewer's Find: a text, Match case, and the search itself. A search runs between events in
// slices of a few milliseconds, so that the window stays responsive on millions of lines; it
// shows its progress when it takes longer than one slice and stops at cancel().
class ViewerFindBar final : public QWidget
{
    Q_OBJECT

public:
    ViewerFindBar(std::shared_ptr<const LoadedText> text, QAction &findPrevious, QAction &findNext,
        QWidget *parent = nullptr);

    // Shows the bar with its text selected for typing.
    void open();
    // Looks for the text from the line after (or before) `from`; with no text, opens the bar.
    void find(int from, LineSearch::Direction direction);
    bool isSearching() const { return search_.has_value(); }
    void cancel();

Q_SIGNALS:
    void found(int line);
    void notFound(const QString &text);

protected:
    // Enter in the text finds the next match, Shift+Enter the previous one.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void runSlice();

    std::shared_ptr<const LoadedText> text_;
    std::optional<LineSearch> search_;
    QTimer slices_;
    QAction &findPrevious_;
    QAction &findNext_;

    QLineEdit *txtFind = nullptr;
    QCheckBox *chkMatchCase = nullptr;
    QProgressBar *prgFind = nullptr;
};

} // namespace twinscan
