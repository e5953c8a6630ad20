#include "app/ScanSession.h"

#include "ui/ListBoxModel.h"

namespace twinscan {

ScanSession::ScanSession(
    std::shared_ptr<const LoadedText> text, QString scannedFile, const ListBoxes &boxes)
    : text_(std::move(text)), scannedFile_(std::move(scannedFile))
{
    const int lines = lineCount();
    largeFileMode_ = lines >= largeFileLines;
    if (largeFileMode_) {
        bindEmulations(lines);
        for (ListBoxModel *box : {boxes.lstShow, boxes.List2})
            box->showPlaceholder(tr("No preview available..."));
    } else {
        bindListBoxes(boxes);
    }
    for (LineList *list :
        {lists_.lstShow, lists_.List2, lists_.List1, lists_.lstLines, lists_.lstRemove}) {
        list->Clear();
        list->setSource(text_);
    }
}

ScanSession::~ScanSession() = default;

void ScanSession::bindEmulations(int lineCount)
{
    for (auto &emulation : lists_.emulations) {
        emulation = std::make_unique<clsListEmu>();
        emulation->setUpperLimit(lineCount);
    }
    lists_.lstShow = lists_.emulations[0].get();
    lists_.List2 = lists_.emulations[1].get();
    lists_.List1 = lists_.emulations[2].get();
    lists_.lstLines = lists_.emulations[3].get();
    lists_.lstRemove = lists_.emulations[4].get();
}

void ScanSession::bindListBoxes(const ListBoxes &boxes)
{
    lists_.lstShow = boxes.lstShow;
    lists_.List2 = boxes.List2;
    lists_.List1 = boxes.hidden[0];
    lists_.lstLines = boxes.hidden[1];
    lists_.lstRemove = boxes.hidden[2];
}

int ScanSession::groupFirstLine(int line) const
{
    const int entry = entryOfLine(line);
    return entry < 0 ? -1 : int(lists_.List2->itemAt(entry).first);
}

bool ScanSession::isLineMarked(int line) const
{
    const int entry = entryOfLine(line);
    return entry >= 0 && isEntryMarked(entry);
}

} // namespace twinscan
