#include "ui/RowViewAccessibility.h"

#include "ui/UniformRowView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace twinscan {

namespace {

QModelIndex rowIndex(const UniformRowView &view, int row)
{
    const QAbstractItemModel *model = view.model();
    return model ? model->index(row, 0, view.rootIndex()) : QModelIndex();
}

// One row of the list, read from the model whenever asked: it holds nothing but its number. A
// row whose check box the user may change offers to toggle it, so that the marks can be set
// without a mouse from an assistive tool too.
class RowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    RowAccessible(UniformRowView *view, int row) : view_(view), row_(row) { }

    const UniformRowView *view() const { return view_; }
    int row() const { return row_; }

    bool isValid() const override { return view_ && index().isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(view_);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString &) override { }

    // A model may say a row otherwise than it shows it.
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        const QString spoken = index().data(Qt::AccessibleTextRole).toString();
        return spoken.isEmpty() ? index().data().toString() : spoken;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect shown = view_->visualRect(index());
        return {view_->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        const QModelIndex at = index();
        const QVariant check = at.data(Qt::CheckStateRole);
        state.checkable = check.isValid();
        state.checked = check.isValid() && check.toInt() == Qt::Checked;
        state.selectable = state.focusable = true;
        state.selected = view_->selectionModel()->isSelected(at);
        state.focused = view_->currentIndex() == at;
        state.offscreen = !view_->viewport()->rect().intersects(view_->visualRect(at));
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
            ? static_cast<QAccessibleActionInterface *>(this)
            : nullptr;
    }
    QStringList actionNames() const override
    {
        return canToggle() ? QStringList {toggleAction()} : QStringList();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    // As the space key toggles a check box: through the model, which a locked list refuses.
    void doAction(const QString &name) override
    {
        if (name != toggleAction() || !canToggle())
            return;
        const QModelIndex at = index();
        const bool checked = at.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        view_->model()->setData(at, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

private:
    QModelIndex index() const { return rowIndex(*view_, row_); }

    bool canToggle() const
    {
        constexpr Qt::ItemFlags needed = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
        return isValid() && view_->isEnabled() && (index().flags() & needed) == needed;
    }

    QPointer<UniformRowView> view_;
    int row_;
};

// The view as a list of its rows. A row's interface is made when first asked for and kept until
// the rows change, so that ten million rows cost nothing until a screen reader walks them.
class RowViewAccessible final : public QAccessibleWidget
{
public:
    explicit RowViewAccessible(UniformRowView *view)
        : QAccessibleWidget(view, QAccessible::List) { }
    ~RowViewAccessible() override { forgetRows(); }

    int childCount() const override
    {
        const QAbstractItemModel *model = view()->model();
        return model ? model->rowCount(view()->rootIndex()) : 0;
    }

    QAccessibleInterface *child(int row) const override
    {
        watchModel();
        if (row < 0 || row >= childCount())
            return nullptr;
        auto id = rows_.constFind(row);
        if (id == rows_.cend())
            id = rows_.insert(
                row, QAccessible::registerAccessibleInterface(new RowAccessible(view(), row)));
        return QAccessible::accessibleInterface(*id);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *row = dynamic_cast<const RowAccessible *>(child);
        return row && row->view() == view() && row->isValid() ? row->row() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        return child(view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y))).row());
    }

    QAccessibleInterface *focusChild() const override
    {
        return child(view()->currentIndex().row());
    }

private:
    UniformRowView *view() const { return static_cast<UniformRowView *>(widget()); }

    // Row numbers name other rows once rows come or go, and nothing of a replaced model holds.
    void watchModel() const
    {
        QAbstractItemModel *model = view()->model();
        if (model == model_)
            return;
        forgetRows();
        if (model_)
            model_->disconnect(&watching_);
        model_ = model;
        if (!model)
            return;
        const auto forget = [this] { forgetRows(); };
        QObject::connect(model, &QAbstractItemModel::modelReset, &watching_, forget);
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &watching_, forget);
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, &watching_, forget);
        QObject::connect(model, &QAbstractItemModel::rowsMoved, &watching_, forget);
        QObject::connect(model, &QAbstractItemModel::layoutChanged, &watching_, forget);
    }

    void forgetRows() const
    {
        for (const QAccessible::Id id : std::as_const(rows_))
            QAccessible::deleteAccessibleInterface(id);
        rows_.clear();
    }

    mutable QHash<int, QAccessible::Id> rows_;
    mutable QPointer<QAbstractItemModel> model_;
    mutable QObject watching_;
};

QAccessibleInterface *rowViewFactory(const QString &className, QObject *object)
{
    auto *view = qobject_cast<UniformRowView *>(object);
    if (view && className == QLatin1String(UniformRowView::staticMetaObject.className()))
        return new RowViewAccessible(view);
    return nullptr;
}

} // namespace

void installRowViewAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(rowViewFactory);
        return true;
    }();
    (void)installed;
}

void announceCurrentRow(UniformRowView *view, const QModelIndex &current)
{
    // A list that does not have the focus must not pull the screen reader away from where it is.
    if (!QAccessible::isActive() || !current.isValid() || !view->hasFocus())
        return;
    QAccessibleEvent event(view, QAccessible::Focus);
    event.setChild(current.row());
    QAccessible::updateAccessibility(&event);
}

void announceRowCheck(UniformRowView *view, const QModelIndex &index)
{
    if (!QAccessible::isActive() || !index.isValid() || !index.data(Qt::CheckStateRole).isValid())
        return;
    QAccessible::State checked;
    checked.checked = true;
    QAccessibleStateChangeEvent event(view, checked);
    event.setChild(index.row());
    QAccessible::updateAccessibility(&event);
}

} // namespace twinscan
