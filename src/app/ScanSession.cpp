#include "app/ScanSession.h"

#include "engine/ItemVectorList.h"
#include "engine/clsListEmu.h"

#include <QLocale>

namespace twinscan {

namespace {
std::unique_ptr<LineList> makeList(bool emulated, int lineCount)
{
    if (!emulated)
        return std::make_unique<ItemVectorList>();
    auto emulation = std::make_unique<clsListEmu>();
    emulation->setUpperLimit(lineCount);
    return emulation;
}
} // namespace

ScanSession::ScanSession(
    std::shared_ptr<const LoadedText> text, QString scannedFile, bool listLargeFile)
    : text_(std::move(text)), scannedFile_(std::move(scannedFile))
{
    const int lines = lineCount();
    largeFileMode_ = lines >= largeFileLines;
    listed_ = !largeFileMode_ || listLargeFile;
    for (auto &list : lists_.owned) {
        list = makeList(largeFileMode_, lines);
        list->setSource(text_);
    }
    lists_.lstShow = lists_.owned[0].get();
    lists_.List2 = lists_.owned[1].get();
    lists_.List1 = lists_.owned[2].get();
    lists_.lstLines = lists_.owned[3].get();
    lists_.lstRemove = lists_.owned[4].get();
}

ScanSession::~ScanSession() = default;

bool ScanSession::isLineMarked(int line) const
{
    const int entry = entryOfLine(line);
    return entry >= 0 && isEntryMarked(entry);
}

QString ScanSession::markedCountText() const
{
    return countedLines(pastMemory_ ? pastMemory_->marks.markedCount() : markedCount(),
        tr("1 line marked for removal"), tr("%1 lines marked for removal"));
}

// The count is grouped by commas whatever the system's locale, as the rest of the window's English.
QString countedLines(qint64 count, const QString &one, const QString &many)
{
    return count == 1 ? one
                      : many.arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(count));
}

} // namespace twinscan
