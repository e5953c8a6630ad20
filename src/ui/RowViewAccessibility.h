#pragma once

class QModelIndex;

namespace twinscan {

class UniformRowView;

// Makes Qt ask a row view for its rows whenever an assistive tool asks about the view: a list
// with one item a row, made only when asked for. Idempotent.
void installRowViewAccessibility();

// Tells assistive tools which row became current, so that a screen reader reads it.
void announceCurrentRow(UniformRowView *view, const QModelIndex &current);
// Tells assistive tools that a row's check box may have changed.
void announceRowCheck(UniformRowView *view, const QModelIndex &index);

} // namespace twinscan
