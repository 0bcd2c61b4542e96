// The record grid's scrolling. The rows shown always include the current
// record and start with a whole row. The vertical scroll bar stands for the
// records, numbered from 1, its thumb at the current one: its arrows, page
// areas and ends move the current record, and a dragged thumb goes to the
// record where it is released.
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "app/db_grid.h"

namespace geocalc::app {

namespace {

constexpr int kWheelStep = 120;  // one notch, in eighths of a degree

}  // namespace

void DBGrid::setUpScrollBar() {
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QScrollBar* bar = verticalScrollBar();
    bar->setTracking(false);  // the record moves when the thumb is released
    connect(bar, &QScrollBar::actionTriggered, this, &DBGrid::scrollBarAction);
    connect(bar, &QScrollBar::sliderPressed, this, [this] { setFocus(); });
    connect(bar, &QScrollBar::sliderReleased, this, &DBGrid::scrollBarReleased);
}

void DBGrid::scrollBarAction(int action) {
    if (!table().active() || table().rowCount() == 0) return;
    setFocus();
    try {
        switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                grid_.moveToRecord(topRow_ - 1);
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                grid_.moveToRecord(topRow_ + visibleRows());
                break;
            case QAbstractSlider::SliderPageStepSub:
                grid_.moveRecord(-visibleRows());
                break;
            case QAbstractSlider::SliderPageStepAdd:
                grid_.moveRecord(visibleRows());
                break;
            case QAbstractSlider::SliderToMinimum:
                grid_.moveToRecord(0);
                break;
            case QAbstractSlider::SliderToMaximum:
                grid_.moveToRecord(table().rowCount() - 1);
                break;
            default:
                return;  // a dragged thumb acts when released
        }
    } catch (...) {
        syncScrollBar();
        throw;
    }
    // The bar would otherwise apply its own step to the thumb.
    verticalScrollBar()->setSliderPosition(table().currentRow() + 1);
}

void DBGrid::scrollBarReleased() {
    if (!table().active() || table().rowCount() == 0) return;
    try {
        grid_.moveToRecord(std::clamp(verticalScrollBar()->sliderPosition(), 1, table().rowCount()) - 1);
    } catch (...) {
        syncScrollBar();
        throw;
    }
    syncScrollBar();
}

// The bar runs from 1 to the record count, a page being the visible rows, so
// that it spans the record count plus the visible rows less 1.
void DBGrid::syncScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    const int count = table().active() ? table().rowCount() : 0;
    bar->setRange(std::min(count, 1), count);
    bar->setPageStep(visibleRows());
    bar->setSingleStep(1);
    if (!bar->isSliderDown()) bar->setValue(table().currentRow() + 1);
}

void DBGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);  // the columns; the rows are ours
    if (!index.isValid()) return;
    const int rows = visibleRows();
    if (index.row() < topRow_) topRow_ = index.row();
    if (index.row() >= topRow_ + rows) topRow_ = index.row() - rows + 1;
    showTopRow();
}

void DBGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, 0);
    if (dy != 0) showTopRow();
}

void DBGrid::showTopRow() {
    const int last = std::max(source_.rowCount() - visibleRows(), 0);
    topRow_ = std::clamp(topRow_, 0, last);
    if (verticalHeader()->offset() != verticalHeader()->sectionPosition(topRow_)) {
        verticalHeader()->setOffsetToSectionPosition(topRow_);
        viewport()->update();
    }
}

// Each notch of the wheel moves the current record by one.
void DBGrid::wheelEvent(QWheelEvent* event) {
    if (!table().active() || event->angleDelta().y() == 0) return QTableView::wheelEvent(event);
    event->accept();
    wheelTurn_ += event->angleDelta().y();
    const int notches = wheelTurn_ / kWheelStep;
    wheelTurn_ -= notches * kWheelStep;
    if (notches != 0) grid_.moveRecord(-notches);
}

}  // namespace geocalc::app
