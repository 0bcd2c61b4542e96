// The record grid's scrolling, as the grid's behaviour decides it (see
// RecordGrid): the rows shown start at its top row, and the vertical scroll
// bar and the wheel move the current record.
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "app/db_grid.h"

#include <QApplication>

namespace geocalc::app {

namespace {

std::optional<RecordGrid::ScrollAction> scrollActionOf(int action) {
    using Action = RecordGrid::ScrollAction;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return Action::LineUp;
        case QAbstractSlider::SliderSingleStepAdd:
            return Action::LineDown;
        case QAbstractSlider::SliderPageStepSub:
            return Action::PageUp;
        case QAbstractSlider::SliderPageStepAdd:
            return Action::PageDown;
        case QAbstractSlider::SliderToMinimum:
            return Action::ToFirst;
        case QAbstractSlider::SliderToMaximum:
            return Action::ToLast;
        default:
            return std::nullopt;  // a dragged thumb: sliderMoved
    }
}

}  // namespace

void DBGrid::setUpScrollBar() {
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::actionTriggered, this, &DBGrid::scrollBarAction);
    connect(bar, &QScrollBar::sliderPressed, this, [this] { setFocus(); });
    connect(bar, &QScrollBar::sliderMoved, this, &DBGrid::thumbMoved);
    connect(bar, &QScrollBar::sliderReleased, this, &DBGrid::syncScrollBar);
}

void DBGrid::scrollBarAction(int action) {
    const std::optional<RecordGrid::ScrollAction> scroll = scrollActionOf(action);
    if (!scroll || !table().active() || table().rowCount() == 0) return;
    setFocus();
    try {
        grid_.scroll(*scroll);
    } catch (...) {
        syncScrollBar();
        throw;
    }
    // The bar would otherwise apply its own step to the thumb.
    verticalScrollBar()->setSliderPosition(grid_.scrollBar().value);
}

void DBGrid::thumbMoved(int position) {
    try {
        grid_.thumbMoved(position);
    } catch (...) {
        syncScrollBar();
        throw;
    }
    syncScrollBar();
}

void DBGrid::syncScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    const RecordGrid::ScrollBar shown = grid_.scrollBar();
    bar->setRange(shown.minimum, shown.maximum);
    bar->setPageStep(shown.page);
    bar->setSingleStep(1);
    if (!bar->isSliderDown()) bar->setValue(shown.value);
}

void DBGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);  // the columns; the rows are the grid's
    if (index.isValid()) showTopRow();
}

void DBGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, 0);
    if (dy != 0) showTopRow();
}

void DBGrid::showTopRow() {
    grid_.follow();
    const int top = std::min(grid_.topRow(), std::max(source_.rowCount() - 1, 0));
    if (verticalHeader()->offset() != verticalHeader()->sectionPosition(top)) {
        verticalHeader()->setOffsetToSectionPosition(top);
        viewport()->update();
    }
}

void DBGrid::wheelEvent(QWheelEvent* event) {
    if (!table().active() || event->angleDelta().y() == 0) return QTableView::wheelEvent(event);
    event->accept();
    grid_.wheel(event->angleDelta().y(), QApplication::wheelScrollLines());
}

}  // namespace geocalc::app
