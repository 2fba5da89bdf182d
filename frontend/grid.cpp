#include "frontend/grid.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "frontend/message_boxes.h"

namespace kivo::gui {

/// Draws headings and the focused cell, and lets the grid see keys typed into the cell editor.
class GridCellDelegate : public QStyledItemDelegate {
  public:
    explicit GridCellDelegate(TAGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell(option);
        if (grid_.isFixedCell(index.row(), index.column())) {
            painter->fillRect(cell.rect, cell.palette.button());
            cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
            cell.palette.setColor(QPalette::Text, cell.palette.color(QPalette::ButtonText));
        } else if (!grid_.drawFocusSelected() && grid_.hasFocus() &&
                   index == grid_.currentIndex()) {
            cell.state &= ~QStyle::State_Selected;
        }
        QStyledItemDelegate::paint(painter, cell, index);
    }

  protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            grid_.runKeyDownHandler(key->key(), key->modifiers());
            // Enter may have moved the current cell, which already committed and closed the editor.
            if (!grid_.isEditing()) return true;
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }

  private:
    TAGrid& grid_;
};

namespace {

struct CellRect {
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;
};

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsClipboardKey(int key, Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ControlModifier) &&
           (key == Qt::Key_C || key == Qt::Key_X || key == Qt::Key_V);
}

bool IsNavigationKey(int key) {
    switch (key) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_End:
        case Qt::Key_Home:
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            return true;
        default:
            return false;
    }
}

/// Blanks and control characters are everything up to the space character.
bool IsBlank(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0x20; });
}

/// The selected rectangle without heading cells; the current cell when nothing is selected.
CellRect SelectedRect(const TAGrid& grid) {
    CellRect rect;
    const QList<QTableWidgetSelectionRange> ranges = grid.selectedRanges();
    if (ranges.isEmpty()) {
        if (grid.currentRow() < 0 || grid.currentColumn() < 0) return rect;
        rect = {grid.currentRow(), grid.currentColumn(), grid.currentRow(), grid.currentColumn()};
    } else {
        rect = {ranges.front().topRow(), ranges.front().leftColumn(), ranges.front().bottomRow(),
                ranges.front().rightColumn()};
        for (const QTableWidgetSelectionRange& range : ranges) {
            rect.top = std::min(rect.top, range.topRow());
            rect.left = std::min(rect.left, range.leftColumn());
            rect.bottom = std::max(rect.bottom, range.bottomRow());
            rect.right = std::max(rect.right, range.rightColumn());
        }
    }
    rect.top = std::max(rect.top, grid.fixedRowCount());
    rect.left = std::max(rect.left, grid.fixedColCount());
    return rect;
}

/// Rows of the rectangle, each with its cells joined by TAB and followed by CR LF.
QString SelectionText(const TAGrid& grid, const CellRect& rect) {
    QString text;
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int column = rect.left; column <= rect.right; ++column) {
            if (column > rect.left) text += QLatin1Char('\t');
            text += grid.cellText(row, column);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

void ClearRect(TAGrid& grid, const CellRect& rect) {
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int column = rect.left; column <= rect.right; ++column) {
            grid.setCellText(row, column, QString());
        }
    }
}

/// Writes tab-separated text from the current cell on: TAB and CR end a field, LF is skipped,
/// fields outside the grid and text after the last TAB or CR are dropped.
void PasteText(TAGrid& grid, const QString& text) {
    const int startColumn = grid.currentColumn();
    int column = startColumn;
    int row = grid.currentRow();
    qsizetype fieldStart = 0;
    const auto storeField = [&](qsizetype end) {
        if (row >= 0 && column >= 0 && row < grid.rowCount() && column < grid.columnCount()) {
            grid.setCellText(row, column, text.mid(fieldStart, end - fieldStart));
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\t')) {
            storeField(i);
            ++column;
            fieldStart = i + 1;
        } else if (c == QLatin1Char('\r')) {
            storeField(i);
            ++row;
            column = startColumn;
            fieldStart = i + 1;
        } else if (c == QLatin1Char('\n')) {
            fieldStart = i + 1;
        }
    }
}

bool EscapeApplies(const TAGrid& grid, EscapeRule rule) {
    switch (rule) {
        case EscapeRule::None:
            return false;
        case EscapeRule::WhileEditing:
            return grid.isEditing() && grid.editingAllowed();
        case EscapeRule::WheneverEditable:
            return grid.editingAllowed();
    }
    return false;
}

/// Handles the clipboard and Delete keys; false when Ctrl+V found no text on the clipboard.
bool HandleClipboardKeys(TAGrid& grid, int key, bool ctrl) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (ctrl && key == Qt::Key_C) {
        clipboard->setText(SelectionText(grid, SelectedRect(grid)));
    } else if (ctrl && key == Qt::Key_X) {
        const CellRect rect = SelectedRect(grid);
        const QString text = SelectionText(grid, rect);
        ClearRect(grid, rect);
        clipboard->setText(text);
    } else if (ctrl && key == Qt::Key_V) {
        const QMimeData* data = clipboard->mimeData();
        if (data == nullptr || !data->hasText()) return false;
        PasteText(grid, clipboard->text());
    } else if (key == Qt::Key_Delete) {
        ClearRect(grid, SelectedRect(grid));
    }
    return true;
}

/// Splits Latin-1 text into lines ending with LF or CR LF; nothing follows a final line end.
QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.back().isEmpty()) lines.pop_back();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    }
    return lines;
}

}  // namespace

TAGrid::TAGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new GridCellDelegate(*this));
    keyDownHandler_ = [](TAGrid& grid, int key, Qt::KeyboardModifiers modifiers) {
        HandleGridKeys(grid, key, modifiers, EscapeRule::WheneverEditable, grid.escapeText());
    };
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TAGrid::reduceFixedToCounts);
    connect(model(), &QAbstractItemModel::columnsRemoved, this, &TAGrid::reduceFixedToCounts);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TAGrid::deselectFixedCells);
}

int TAGrid::fixedRowCount() const {
    return std::clamp(fixedRows_, 0, std::max(rowCount() - 1, 0));
}

void TAGrid::setFixedRowCount(int count) {
    fixedRows_ = std::max(count, 0);
    deselectFixedCells();
    viewport()->update();
}

int TAGrid::fixedColCount() const {
    return std::clamp(fixedCols_, 0, std::max(columnCount() - 1, 0));
}

void TAGrid::setFixedColCount(int count) {
    fixedCols_ = std::max(count, 0);
    deselectFixedCells();
    viewport()->update();
}

bool TAGrid::isFixedCell(int row, int column) const {
    return row < fixedRowCount() || column < fixedColCount();
}

bool TAGrid::editingAllowed() const {
    return editTriggers() != QAbstractItemView::NoEditTriggers;
}

void TAGrid::setEditingAllowed(bool allowed) {
    setEditTriggers(allowed ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed
                            : QAbstractItemView::NoEditTriggers);
}

bool TAGrid::isEditing() const {
    return state() == QAbstractItemView::EditingState;
}

bool TAGrid::drawFocusSelected() const {
    return drawFocusSelected_;
}

void TAGrid::setDrawFocusSelected(bool on) {
    if (drawFocusSelected_ == on) return;
    drawFocusSelected_ = on;
    viewport()->update();
}

const QString& TAGrid::escapeText() const {
    return escapeText_;
}

QString TAGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void TAGrid::setCellText(int row, int column, const QString& text) {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return;
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setText(text);
    } else if (!text.isEmpty()) {
        setItem(row, column, new QTableWidgetItem(text));
    }
}

void TAGrid::setKeyDownHandler(KeyDownHandler handler) {
    keyDownHandler_ = std::move(handler);
}

void TAGrid::keyPressEvent(QKeyEvent* event) {
    // While the editor is open its keys were already handled on the way into the editor.
    if (!isEditing()) runKeyDownHandler(event->key(), event->modifiers());
    // The view's own Ctrl+C would replace the copied selection by the current cell alone.
    if (IsClipboardKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
    if (IsEnterKey(event->key())) event->accept();
}

void TAGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && isFixedCell(index.row(), index.column())) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

bool TAGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && isFixedCell(index.row(), index.column())) return false;
    return QTableWidget::edit(index, trigger, event);
}

QModelIndex TAGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    if (!next.isValid()) return next;
    const int row = std::max(next.row(), fixedRowCount());
    const int column = std::max(next.column(), fixedColCount());
    if (row >= rowCount() || column >= columnCount()) return currentIndex();
    return model()->index(row, column);
}

void TAGrid::runKeyDownHandler(int key, Qt::KeyboardModifiers modifiers) {
    if (keyDownHandler_) keyDownHandler_(*this, key, modifiers);
}

void TAGrid::reduceFixedToCounts() {
    fixedRows_ = std::min(fixedRows_, std::max(rowCount() - 1, 0));
    fixedCols_ = std::min(fixedCols_, std::max(columnCount() - 1, 0));
}

void TAGrid::deselectFixedCells() {
    const int rows = fixedRowCount();
    const int columns = fixedColCount();
    if (rows == 0 && columns == 0) return;
    const QItemSelection selected = selectionModel()->selection();
    const bool touchesFixed =
        std::any_of(selected.begin(), selected.end(), [&](const QItemSelectionRange& range) {
            return range.top() < rows || range.left() < columns;
        });
    if (!touchesFixed) return;
    QItemSelection fixed;
    if (rows > 0) fixed.select(model()->index(0, 0), model()->index(rows - 1, columnCount() - 1));
    if (columns > 0) {
        fixed.select(model()->index(0, 0), model()->index(rowCount() - 1, columns - 1));
    }
    selectionModel()->select(fixed, QItemSelectionModel::Deselect);
}

void HandleGridKeys(TAGrid& grid, int key, Qt::KeyboardModifiers modifiers, EscapeRule rule,
                    const QString& escapeText) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    if (IsEnterKey(key) && grid.currentRow() >= 0 && grid.currentRow() < grid.rowCount() - 1) {
        grid.setCurrentCell(grid.currentRow() + 1, grid.currentColumn());
    }
    if (key == Qt::Key_Escape && EscapeApplies(grid, rule)) {
        grid.setCellText(grid.currentRow(), grid.currentColumn(), escapeText);
    }
    if (!grid.isEditing() && !HandleClipboardKeys(grid, key, ctrl)) return;
    if (shift && IsNavigationKey(key)) {
        grid.setDrawFocusSelected(true);
        return;
    }
    grid.setDrawFocusSelected(key == Qt::Key_Delete ||
                              (ctrl && (key == Qt::Key_C || key == Qt::Key_X)));
}

void ClearGridCells(TAGrid& grid) {
    for (int row = grid.fixedRowCount(); row < grid.rowCount(); ++row) {
        for (int column = grid.fixedColCount(); column < grid.columnCount(); ++column) {
            if (QTableWidgetItem* cell = grid.item(row, column)) cell->setText(QString());
        }
    }
}

int FirstEmptyRow(const TAGrid& grid, int column) {
    for (int row = grid.fixedRowCount(); row < grid.rowCount(); ++row) {
        if (IsBlank(grid.cellText(row, column))) return row;
    }
    return -1;
}

bool IsColumnEmpty(const TAGrid& grid, int column) {
    for (int row = grid.fixedRowCount(); row < grid.rowCount(); ++row) {
        if (!IsBlank(grid.cellText(row, column))) return false;
    }
    return true;
}

bool LoadGridFromFile(TAGrid& grid, const QString& path, QChar separator) {
    ClearGridCells(grid);
    grid.setRowCount(1);
    grid.setColumnCount(1);
    // One row and one column leave no room for headings, also when the grid had no rows yet.
    grid.setFixedRowCount(0);
    grid.setFixedColCount(0);
    grid.setCellText(0, 0, QString());
    grid.setCurrentCell(0, 0);
    if (!QFileInfo(path).isFile()) {
        ShowError(&grid, QStringLiteral("File \"") + path + QStringLiteral("\" not found!"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(&grid,
                  QStringLiteral("File \"") + path + QStringLiteral("\" could not be read!"));
        return false;
    }
    const QStringList lines = SplitLines(QString::fromLatin1(file.readAll()));
    QList<QStringList> rows;
    rows.reserve(lines.size());
    qsizetype columns = 1;
    for (const QString& line : lines) {
        rows.append(line.split(separator));
        columns = std::max(columns, rows.back().size());
    }
    grid.setRowCount(std::max<int>(static_cast<int>(rows.size()), 1));
    grid.setColumnCount(static_cast<int>(columns));
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            grid.setCellText(row, column, rows[row][column]);
        }
    }
    return true;
}

}  // namespace kivo::gui
