#include "app/db_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>

#include "app/ansi_text.h"

namespace geocalc::app {

namespace {

constexpr int kCellPadding = RecordGrid::kCellPadding;

}  // namespace

DBGrid::DBGrid(DataSource& source, QWidget* parent)
    : QTableView(parent),
      source_(source),
      editor_(new QLineEdit(viewport())),
      grid_(source.table(), *this) {
    setModel(&source_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    horizontalHeader()->setSectionsMovable(true);
    // A press on the title row applies typed text and sizes or moves columns;
    // it never moves the current record.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kCellPadding);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u25B6")) +
                                      2 * kCellPadding);
    editor_->hide();
    editor_->setFrame(false);
    // Part of the grid, never a stop of the window's tab sequence: the grid
    // gives it the focus itself.
    editor_->setFocusPolicy(Qt::ClickFocus);
    editor_->installEventFilter(this);
    // A double click anywhere on the grid picks, the corner included.
    if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
    setUpScrollBar();
    connect(editor_, &QLineEdit::textEdited, this, [this] { grid_.editorEdited(); });
    connect(&source_, &QAbstractItemModel::modelReset, this, &DBGrid::layOutColumns);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { grid_.moveColumn(from, to); });
    connect(&source_, &DataSource::currentRowChanged, this, &DBGrid::followTable);
    connect(qApp, &QApplication::focusChanged, this, &DBGrid::focusMoved);
}

// The application outlives the grid: its focus changes must not reach a grid
// that is being taken apart.
DBGrid::~DBGrid() { disconnect(qApp, &QApplication::focusChanged, this, nullptr); }

int DBGrid::columnWidthFor(int column) const {
    const DbfField& field = table().field(column);
    const QFontMetrics metrics = fontMetrics();
    // What this style's item delegate keeps around a text.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    return RecordGrid::columnWidth(field, metrics.horizontalAdvance(QLatin1Char('0')),
                                   metrics.horizontalAdvance(fromAnsi(field.name)), margins);
}

void DBGrid::layOutColumns() {
    for (int column = 0; column < source_.columnCount(); ++column)
        setColumnWidth(column, columnWidthFor(column));
}

// The grid's current row is always the table's current record.
void DBGrid::followTable() {
    const int row = table().currentRow();
    if (row < 0 || source_.columnCount() == 0) return;
    QScopedValueRollback guard(following_, true);
    setCurrentIndex(source_.index(row, std::min(currentColumn(), source_.columnCount() - 1)));
    scrollTo(currentIndex());
    syncScrollBar();
    placeEditor();
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid()) grid_.setColumn(current.column());
    if (following_ || !current.isValid()) return;
    try {
        if (current.row() != table().currentRow()) table().moveTo(current.row());
    } catch (...) {
        followTable();  // the record did not move: neither does the grid
        throw;
    }
}

// Another program may have written the table since it was last read: each
// action starts from the file as it is, and each repaint is followed by a
// look at the file (not during the paint, so that a changed table is told to
// the views outside it).
void DBGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (grid_.painted()) QTimer::singleShot(0, this, [this] { grid_.lookAtTable(); });
}

void DBGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(
        Qt::MouseFocusReason);  // a press on a row reads the table again in the grid's behaviour
    const QPoint at = event->position().toPoint();
    const bool secondOfDoubleClick =
        lastPressTime_ != 0 &&
        event->timestamp() - lastPressTime_ <= quint64(QApplication::doubleClickInterval()) &&
        (at - lastPressAt_).manhattanLength() <= QApplication::startDragDistance();
    lastPressTime_ = secondOfDoubleClick ? 0 : event->timestamp();
    lastPressAt_ = at;
    if (secondOfDoubleClick) return event->accept();
    const QModelIndex clicked = indexAt(at);
    if (!table().active() || !clicked.isValid()) return QTableView::mousePressEvent(event);
    event->accept();
    grid_.pressCell(clicked.row(), clicked.column(), event->button() == Qt::LeftButton);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first press already moved to the row clicked (unless it found the
    // table changed); the double click picks.
    event->accept();
    grid_.doubleClick();
}

bool DBGrid::eventFilter(QObject* watched, QEvent* event) {
    const bool onHeaders = watched == horizontalHeader()->viewport() ||
                           watched == verticalHeader()->viewport() ||
                           qobject_cast<QAbstractButton*>(watched) != nullptr;  // the corner
    if (event->type() == QEvent::MouseButtonDblClick && onHeaders) {
        // The first press moved to an indicator's row; on the titles and the
        // corner the record stays. Either way the double click only picks.
        grid_.doubleClick();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        // Typed text is applied before a press on the titles or the indicator
        // column acts; a refusal stops the press.
        if (watched == horizontalHeader()->viewport()) grid_.pressTitles();
        if (watched == verticalHeader()->viewport()) {
            // A press in the indicator column moves to its row and keeps the column.
            const auto* press = static_cast<QMouseEvent*>(event);
            const int row = verticalHeader()->logicalIndexAt(press->position().toPoint());
            setFocus();
            if (row >= 0 && table().active()) grid_.pressIndicator(row);
            return true;
        }
    }
    if (watched == editor_ && event->type() == QEvent::KeyPress &&
        handleKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    if (watched == editor_ && event->type() == QEvent::MouseButtonDblClick) {
        grid_.doubleClick();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (!table().active()) {
        event->ignore();  // no table yet: the grid takes no keys
        return;
    }
    grid_.readBeforeInput();
    if (!handleKey(event)) QTableView::keyPressEvent(event);
}

void DBGrid::updateGeometries() {
    QTableView::updateGeometries();
    showTopRow();
    syncScrollBar();
    placeEditor();
}

// Coming in by Tab or Shift+Tab from another control lands on the grid's
// current cell, never in the cell editor left open when the focus went.
// A press reads the table itself, after seeing what the row it hit showed.
void DBGrid::focusInEvent(QFocusEvent* event) {
    if (event->reason() != Qt::MouseFocusReason) grid_.readBeforeInput();
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        grid_.hideEditor();
    QTableView::focusInEvent(event);
}

// The cell editor, as the grid's behaviour shows and hides it.

void DBGrid::showEditor(const std::string& utf8, int maxLength) {
    editor_->setMaxLength(maxLength);
    editor_->setText(QString::fromStdString(utf8));
    placeEditor();
    editor_->show();
    editor_->setFocus();
    editor_->selectAll();
}

void DBGrid::setEditorText(const std::string& utf8) {
    editor_->setText(QString::fromStdString(utf8));
}

std::string DBGrid::editorText() const { return editor_->text().toStdString(); }

void DBGrid::hideEditor() {
    // The grid takes the focus first: hiding a focused editor would pass the
    // focus on as a Tab would, and Tab moves through the grid's cells.
    if (editor_->hasFocus()) setFocus();
    editor_->hide();
}

void DBGrid::placeEditor() {
    if (!currentIndex().isValid()) return;
    editor_->setGeometry(visualRect(currentIndex()));
}

// Leaving the grid drops an untouched new record, else applies typed text;
// a refused text brings the focus back.
void DBGrid::focusMoved(QWidget* old, QWidget* now) {
    const bool wasHere = old == this || old == editor_;
    const bool isHere = now == this || now == editor_;
    if (!wasHere || isHere || now == nullptr || now->window() != window()) return;
    try {
        grid_.focusLeft();
    } catch (...) {
        QTimer::singleShot(0, editor_, [this] { editor_->setFocus(); });
        throw;
    }
}

}  // namespace geocalc::app
