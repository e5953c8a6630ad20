#pragma once

#include "engine/LineSource.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace twinscan {

// One item of a list, held compactly: a file of millions of lines must not cost a string per
// line. The text is made when someone asks for it.
struct ListItem
{
    enum class Kind : std::uint8_t {
        Empty, // no text yet
        Line, // the text of line `line` of the source
        Entry, // a duplicate entry: "[" line + 1 "]" TAB and the text of line `first`
        Number, // `line` as decimal text
        Text // text of its own, kept in the list's pool at `line`
    };
    Kind kind = Kind::Empty;
    bool selected = false;
    std::uint32_t line = 0;
    std::uint32_t first = 0;
};

// The list operations through which every part of the program reaches the loaded file and the
// scan's results. Indexes are 0-based; callers keep them within 0 .. ListCount() - 1.
class LineList
{
public:
    virtual ~LineList() = default;

    void AddItem(const QString &text);
    void RemoveItem(int index);
    void Clear();
    QString List(int index) const { return textOf(peek(index)); }
    int ListCount() const { return count(); }
    bool Selected(int index) const { return selectedAt(index); }
    void setSelected(int index, bool state);
    // Sets every item's mark to stateOf(items, i), in order, in one pass: the marking rules set
    // millions of marks at once, and a call per mark through the list's interface was a third of
    // their time.
    template<typename StateOf> void setEachSelected(StateOf stateOf)
    {
        const std::span<ListItem> items = writableItems();
        int selected = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const bool state = stateOf(std::span<const ListItem>(items), i);
            items[i].selected = state;
            selected += state ? 1 : 0;
        }
        selectedCount_ = selected;
    }
    // How many items are selected, kept up to date as states change: a view may ask it after
    // every mark of a list of millions.
    int selectedCount() const { return selectedCount_; }

    // Compact forms of AddItem for the scan and the save.
    void addLine(int line);
    // Lines first .. first + count - 1, as addLine adds them one by one: the source list of a
    // file of millions of lines takes them in steps.
    void addLines(int first, int count) { appendLines(first, count); }
    void addEntry(int line, int firstLine);
    // Appends `count` entries as addEntry would one by one, entry i being the {line, firstLine}
    // that entryOf(i) gives, in order: a scan lists millions of entries, and a call per entry
    // through the list's interface was most of that time.
    template<typename EntryOf> void addEntries(int count, EntryOf entryOf)
    {
        const std::span<ListItem> items = appendItems(count);
        int restored = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto [line, first] = entryOf(i);
            ListItem &item = items[i];
            // A list may keep a slot's selected state for the item that takes it.
            restored += item.selected ? 1 : 0;
            item
                = {ListItem::Kind::Entry, item.selected, std::uint32_t(line), std::uint32_t(first)};
        }
        selectedCount_ += restored;
    }
    void addNumber(int value);

    const ListItem &itemAt(int index) const { return at(index); }
    QString textOf(const ListItem &item) const;

    // The file that Line and Entry items refer to.
    void setSource(std::shared_ptr<const LineSource> source) { source_ = std::move(source); }

protected:
    virtual int count() const = 0;
    virtual const ListItem &at(int index) const = 0;
    // The item as it reads, which a list may make up rather than store: a view that reads every
    // line of a large file must not make the list store them.
    virtual ListItem peek(int index) const { return at(index); }
    // The marking rules ask this millions of times: no item is made up for it.
    virtual bool selectedAt(int index) const { return at(index).selected; }
    virtual void append(const ListItem &item) = 0;
    virtual void appendLines(int first, int count);
    // Room for `count` more items at the end, each as append would find its place before writing
    // it; the caller writes them.
    virtual std::span<ListItem> appendItems(int count) = 0;
    virtual void removeAt(int index) = 0;
    virtual void clearAll() = 0;
    // Returns the state the item had.
    virtual bool setSelectedAt(int index, bool state) = 0;
    // Every item, in order, where it is stored.
    virtual std::span<ListItem> writableItems() = 0;
    // A new item came back selected (an emulation's slot keeps its state).
    void countRestoredSelection() { ++selectedCount_; }

private:
    std::shared_ptr<const LineSource> source_;
    std::vector<QString> pool_;
    int selectedCount_ = 0;
};

// The entry format of the duplicates list, for readers that only have its text.
QString formatEntry(int lineNumber, const QString &text);

} // namespace twinscan
