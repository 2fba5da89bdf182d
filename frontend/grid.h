#pragma once

#include <QString>
#include <QTableWidget>
#include <functional>

namespace kivo::gui {

/// When Escape sets the current cell to a grid's escape text.
enum class EscapeRule {
    None,             ///< never (input file grid)
    WhileEditing,     ///< only while the cell editor is open and the grid allows editing
    WheneverEditable  ///< whenever the grid allows editing (TAGrid's own rule)
};

/// A string grid with heading (fixed) rows and columns and the shared keyboard and clipboard
/// behaviour. Fixed rows and columns are the first rows and columns of the table itself:
/// they are drawn as headings, cannot be edited, selected or made current, and the grid
/// operations below count from the first non-fixed row and column. The toolkit's own header
/// sections are hidden. Cells are addressed (row, column) as everywhere in Qt.
class TAGrid : public QTableWidget {
    Q_OBJECT
    Q_PROPERTY(int fixedRowCount READ fixedRowCount WRITE setFixedRowCount)
    Q_PROPERTY(int fixedColCount READ fixedColCount WRITE setFixedColCount)
    Q_PROPERTY(bool editingAllowed READ editingAllowed WRITE setEditingAllowed)
    Q_PROPERTY(bool drawFocusSelected READ drawFocusSelected WRITE setDrawFocusSelected)

  public:
    /// Runs on every key press before the grid handles the key (also while the editor is open).
    using KeyDownHandler = std::function<void(TAGrid& grid, int key, Qt::KeyboardModifiers)>;

    /// Creates an empty grid whose key handler is HandleGridKeys with WheneverEditable and the
    /// grid's escape text; editing is not allowed until setEditingAllowed(true).
    explicit TAGrid(QWidget* parent = nullptr);

    /// Number of heading rows; never more than the row count minus one.
    int fixedRowCount() const;
    /// Sets the heading rows; reducing the row count to a value not above them reduces them to
    /// one less than the new count.
    void setFixedRowCount(int count);
    /// Number of heading columns; never more than the column count minus one.
    int fixedColCount() const;
    /// Sets the heading columns, with the same reduction rule as the rows.
    void setFixedColCount(int count);
    /// True when the cell lies in a heading row or column.
    bool isFixedCell(int row, int column) const;

    /// True when the user may open the cell editor.
    bool editingAllowed() const;
    /// Allows or forbids editing (double click, F2 or typing open the editor).
    void setEditingAllowed(bool allowed);
    /// True while the in-place cell editor is open.
    bool isEditing() const;

    /// True when the focused cell is drawn like the rest of the selection.
    bool drawFocusSelected() const;
    /// Switches drawing the focused cell like the selection on or off.
    void setDrawFocusSelected(bool on);

    /// The text Escape puts into the current cell; it is empty and stays so.
    const QString& escapeText() const;

    /// Text of a cell; empty when the cell has no item.
    QString cellText(int row, int column) const;
    /// Sets the text of a cell, creating its item when needed.
    void setCellText(int row, int column, const QString& text);

    /// Replaces the key handler, e.g. with one that marks settings unsaved and then calls
    /// HandleGridKeys with another escape rule.
    void setKeyDownHandler(KeyDownHandler handler);

    using QTableWidget::edit;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    friend class GridCellDelegate;
    void runKeyDownHandler(int key, Qt::KeyboardModifiers modifiers);
    void reduceFixedToCounts();
    void deselectFixedCells();

    int fixedRows_ = 0;
    int fixedCols_ = 0;
    bool drawFocusSelected_ = false;
    QString escapeText_;
    KeyDownHandler keyDownHandler_;
};

/// The grids' keyboard and clipboard behaviour: Enter moves one row down; Escape sets the
/// current cell to the escape text under the escape rule; outside the cell editor Ctrl+C
/// copies, Ctrl+X cuts and Ctrl+V pastes tab-separated text and Delete empties the selected
/// cells; finally the focused-cell highlight is switched. Call before the grid's own handling.
void HandleGridKeys(TAGrid& grid, int key, Qt::KeyboardModifiers modifiers, EscapeRule rule,
                    const QString& escapeText);

/// Empties every non-fixed cell; counts and headings are unchanged.
void ClearGridCells(TAGrid& grid);

/// Index of the first non-fixed row whose cell in the column is blank after trimming, -1 if none.
int FirstEmptyRow(const TAGrid& grid, int column);

/// True when every non-fixed cell of the column is blank after trimming.
bool IsColumnEmpty(const TAGrid& grid, int column);

/// Fills the grid with the lines of a Latin-1 text file split at the separator, one row per
/// line and no fixed rows or columns; shows an error box and returns false when the file is
/// missing or cannot be opened.
bool LoadGridFromFile(TAGrid& grid, const QString& path, QChar separator);

}  // namespace kivo::gui
