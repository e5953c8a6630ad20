#pragma once

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

namespace twinscan::test {

// Clicks `index` of `view` as a user would: on its text, or on the check box the style draws.
inline void clickRow(
    QAbstractItemView &view, const QModelIndex &index, bool onCheckBox, bool doubleClick = false)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = view.visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    const QPoint at = onCheckBox
        ? view.style()
              ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view)
              .center()
        : option.rect.center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    if (doubleClick) { // a real double click: press, release, double-click press, release
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
    }
}

} // namespace twinscan::test
