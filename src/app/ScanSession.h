#pragma once

#include "editing/PastMemoryMarks.h"
#include "editing/RemovalList.h"
#include "engine/DuplicateScanner.h"
#include "engine/FileStamp.h"
#include "engine/KeySpec.h"
#include "engine/LoadedText.h"
#include "engine/ScanOptions.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>

namespace twinscan {

// The five list slots of one scan. The session owns the lists behind them: plain lists for a file
// the window shows, emulations for a larger one.
struct ListSlots
{
    LineList *lstShow = nullptr;
    LineList *List2 = nullptr;
    LineList *List1 = nullptr;
    LineList *lstLines = nullptr;
    LineList *lstRemove = nullptr;
    std::array<std::unique_ptr<LineList>, 5> owned;
};

// What a scan past memory leaves instead of a text and lists: the marks of its groups' lines,
// which the marking rules set, and the file as it read it, for the save's proofs.
struct PastMemoryScan
{
    PastMemoryMarks marks;
    FileStamp stamp;
    std::uint64_t contentHash = 0;
};

// What one scan produced: the text it read, the file it read it from, the lists it filled and,
// per line, the duplicates-list entry that stands for it. The main window owns the current
// session, and shows its lists through thin models; a new scan lets it go before reading. The
// save, the clipboard commands and the viewer read it.
//
// Lines and entries are 0-based. Every question below is a direct index, never a search, so a
// view may ask it for each of millions of rows without holding anything per row.
class ScanSession final : public QObject
{
    Q_OBJECT

public:
    // A file of this many lines or more is held in emulations, and listed on screen only when the
    // user chose so.
    static constexpr int largeFileLines = 32768;

    // Makes the slots for `text`, empty. A session without text stands for a scan stopped before
    // its file was read.
    ScanSession(
        std::shared_ptr<const LoadedText> text, QString scannedFile, bool listLargeFile = false);
    ~ScanSession() override;

    const std::shared_ptr<const LoadedText> &text() const { return text_; }
    // The file the text was read from, and its stamp at the time: the save reads that file again.
    const QString &scannedFile() const { return scannedFile_; }
    FileStamp stamp() const
    {
        return text_ ? text_->stamp() : pastMemory_ ? pastMemory_->stamp : FileStamp {};
    }
    std::uint64_t contentHash() const
    {
        return text_ ? text_->contentHash() : pastMemory_ ? pastMemory_->contentHash : 0;
    }
    // The results of a scan past memory, which has no text; null for any other.
    const PastMemoryScan *pastMemory() const { return pastMemory_.get(); }
    PastMemoryScan *pastMemory() { return pastMemory_.get(); }
    void setPastMemory(PastMemoryScan scan)
    {
        pastMemory_ = std::make_unique<PastMemoryScan>(std::move(scan));
    }
    int lineCount() const { return text_ ? text_->lineCount() : 0; }
    // Whether the text is still the scanned file's (LoadedText::stillScanned): one fstat.
    bool textStillScanned() const { return !text_ || text_->stillScanned(); }
    // Whether the user was told that the file changed since the scan: told once, by whoever
    // found it first (a command, or a list about to paint).
    bool changeTold() const { return changeTold_; }
    void setChangeTold() { changeTold_ = true; }

    ListSlots &lists() { return lists_; }
    const ListSlots &lists() const { return lists_; }
    bool largeFileMode() const { return largeFileMode_; }
    // Whether the window lists the lines and entries, which every file below largeFileLines is.
    bool listed() const { return listed_; }
    // The line count minus one once the source list is filled, -1 before.
    qint64 lastLineIndex() const { return lastLineIndex_; }
    void setLastLineIndex(qint64 index) { lastLineIndex_ = index; }

    // The scan hands over which entry stands for which line once List2 is filled.
    void setLineEntries(LineEntryIndex entries) { lineEntries_ = std::move(entries); }
    // The index of the line's List2 entry, or -1 when it has none.
    int entryOfLine(int line) const { return lineEntries_.entryOf(line); }
    const LineEntryIndex &lineEntries() const { return lineEntries_; }
    // What the scan compared, which the settings may have changed since: the report's key.
    void setComparison(KeySpec key, ScanRules rules)
    {
        key_ = std::move(key);
        rules_ = rules;
    }
    const KeySpec &key() const { return key_; }
    ScanRules scanRules() const { return rules_; }
    // The run of List2 entries that entry `entry` belongs to.
    EntryGroup groupOfEntry(int entry) const { return lineEntries_.groupOf(entry); }
    int entryCount() const { return lists_.List2->ListCount(); }
    // The source line that entry `entry` of List2 stands for.
    int lineOfEntry(int entry) const { return int(lists_.List2->itemAt(entry).line); }

    // Marks are the Selected states of List2's entries: marked means removed by the next save.
    bool isEntryMarked(int entry) const { return lists_.List2->Selected(entry); }
    bool isLineMarked(int line) const;
    // Sets one mark without telling anyone, so that a rule can set millions; whoever changes
    // marks calls notifyMarksChanged() once when done.
    void setEntryMarked(int entry, bool marked) { lists_.List2->setSelected(entry, marked); }
    void notifyMarksChanged(int first, int last) { Q_EMIT marksChanged(first, last); }
    void notifyMarksChanged() { notifyMarksChanged(0, entryCount() - 1); }
    // How many entries are marked, kept by the list as marks change rather than counted.
    int markedCount() const { return lists_.List2->selectedCount(); }
    // What the window says of the marks once a command changed them.
    QString markedCountText() const;

Q_SIGNALS:
    // The marks of entries first .. last changed: by a check box of List2, a marking rule, or
    // the viewer.
    void marksChanged(int first, int last);

private:
    std::shared_ptr<const LoadedText> text_;
    QString scannedFile_;
    ListSlots lists_;
    bool largeFileMode_ = false;
    bool listed_ = true;
    qint64 lastLineIndex_ = -1;
    std::unique_ptr<PastMemoryScan> pastMemory_;
    bool changeTold_ = false;
    LineEntryIndex lineEntries_;
    KeySpec key_;
    ScanRules rules_;
};

// "1 line …" for one line, else `many` with the count grouped by commas ("1,234 lines …").
QString countedLines(qint64 count, const QString &one, const QString &many);

} // namespace twinscan
