#include "frontend/grid.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "frontend/message_boxes.h"

using kivo::gui::EscapeRule;
using kivo::gui::TAGrid;

namespace {

/// A shown grid of the threshold grid's shape: headings in row 0 and column 0.
std::unique_ptr<TAGrid> MakeGrid(int rows, int columns, int fixedRows, int fixedColumns) {
    auto grid = std::make_unique<TAGrid>();
    grid->setRowCount(rows);
    grid->setColumnCount(columns);
    grid->setFixedRowCount(fixedRows);
    grid->setFixedColCount(fixedColumns);
    for (int column = 0; column < columns; ++column) {
        if (fixedRows > 0) grid->setCellText(0, column, QStringLiteral("head%1").arg(column));
    }
    for (int row = fixedRows; row < rows; ++row) {
        if (fixedColumns > 0) grid->setCellText(row, 0, QString::number(row));
    }
    grid->resize(300, 300);
    grid->show();
    return grid;
}

/// Every non-empty cell outside the headings as "row,column=text", row by row.
QStringList FilledCells(const TAGrid& grid) {
    QStringList cells;
    for (int row = grid.fixedRowCount(); row < grid.rowCount(); ++row) {
        for (int column = grid.fixedColCount(); column < grid.columnCount(); ++column) {
            const QString text = grid.cellText(row, column);
            if (!text.isEmpty()) cells << QStringLiteral("%1,%2=%3").arg(row).arg(column).arg(text);
        }
    }
    return cells;
}

/// Every cell of the grid: cells joined by "|", rows by ";".
QString AllCells(const TAGrid& grid) {
    QStringList rows;
    for (int row = 0; row < grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column) {
            cells << grid.cellText(row, column);
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char(';'));
}

QLineEdit* OpenEditor(TAGrid& grid) {
    grid.edit(grid.currentIndex());
    return grid.viewport()->findChild<QLineEdit*>();
}

void SelectCells(TAGrid& grid, int top, int left, int bottom, int right) {
    grid.setCurrentCell(top, left);
    grid.setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

QString WriteTempFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("table.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(bytes);
    return path;
}

}  // namespace

class GridTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { kivo::gui::SetMessageBoxHandler({}); }

    void pasteWritesFieldsEndedByTabOrCarriageReturn_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("two rows, second column outside")
            << QStringLiteral("1\t2\r\n3\t4\r\n") << QStringList{"1,1=1", "2,1=3"};
        QTest::newRow("no tab and no line end") << QStringLiteral("5") << QStringList{"1,1=old"};
        QTest::newRow("line feeds only") << QStringLiteral("a\nb\n") << QStringList{"1,1=old"};
        QTest::newRow("text after last carriage return dropped")
            << QStringLiteral("p\r\nq") << QStringList{"1,1=p"};
        QTest::newRow("empty field overwrites")
            << QStringLiteral("\r\nz\r") << QStringList{"2,1=z"};
    }
    void pasteWritesFieldsEndedByTabOrCarriageReturn() {
        QFETCH(QString, clipboard);
        QFETCH(QStringList, cells);
        auto grid = MakeGrid(51, 2, 1, 1);
        grid->setCellText(1, 1, QStringLiteral("old"));
        grid->setCurrentCell(1, 1);
        QGuiApplication::clipboard()->setText(clipboard);

        QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);

        QCOMPARE(FilledCells(*grid), cells);
        QCOMPARE(grid->rowCount(), 51);
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("head1"));
    }

    void pasteFromClipboardWithoutTextChangesNothing() {
        auto grid = MakeGrid(3, 3, 0, 0);
        grid->setCurrentCell(1, 1);
        grid->setDrawFocusSelected(true);
        QGuiApplication::clipboard()->clear();

        // Called directly: a replayed click would first press Ctrl, which switches the highlight
        // off.
        kivo::gui::HandleGridKeys(*grid, Qt::Key_V, Qt::ControlModifier, EscapeRule::None, {});

        QCOMPARE(FilledCells(*grid), QStringList{});
        QVERIFY(grid->drawFocusSelected());
    }

    void copyAndCutPutSelectedRowsOnClipboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QRect>("selection");  // x = left column, y = top row
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("cellsAfter");
        const QStringList all{"1,1=a", "1,2=b", "2,1=c", "2,2=d"};
        QTest::newRow("copy 2 x 2")
            << int(Qt::Key_C) << int(Qt::ControlModifier) << QRect(1, 1, 2, 2)
            << QStringLiteral("a\tb\r\nc\td\r\n") << all;
        QTest::newRow("copy with shift also down")
            << int(Qt::Key_C) << int(Qt::ControlModifier | Qt::ShiftModifier) << QRect(2, 1, 1, 2)
            << QStringLiteral("b\r\nd\r\n") << all;
        QTest::newRow("cut three empty cells")
            << int(Qt::Key_X) << int(Qt::ControlModifier) << QRect(3, 1, 1, 3)
            << QStringLiteral("\r\n\r\n\r\n") << all;
        QTest::newRow("cut empties the cells")
            << int(Qt::Key_X) << int(Qt::ControlModifier) << QRect(1, 1, 2, 1)
            << QStringLiteral("a\tb\r\n") << QStringList{"2,1=c", "2,2=d"};
        QTest::newRow("selection over headings copies data cells only")
            << int(Qt::Key_C) << int(Qt::ControlModifier) << QRect(0, 0, 2, 2)
            << QStringLiteral("a\r\n") << all;
    }
    void copyAndCutPutSelectedRowsOnClipboard() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QRect, selection);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, cellsAfter);
        auto grid = MakeGrid(5, 4, 1, 1);
        grid->setCellText(1, 1, QStringLiteral("a"));
        grid->setCellText(1, 2, QStringLiteral("b"));
        grid->setCellText(2, 1, QStringLiteral("c"));
        grid->setCellText(2, 2, QStringLiteral("d"));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        SelectCells(*grid, selection.top(), selection.left(), selection.bottom(),
                    selection.right());

        QTest::keyClick(grid.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(FilledCells(*grid), cellsAfter);
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("head1"));
    }

    void deleteEmptiesSelectedCells_data() {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("plain") << int(Qt::NoModifier);
        QTest::newRow("ctrl") << int(Qt::ControlModifier);
        QTest::newRow("shift") << int(Qt::ShiftModifier);
    }
    void deleteEmptiesSelectedCells() {
        QFETCH(int, modifiers);
        auto grid = MakeGrid(4, 3, 1, 1);
        for (int row = 1; row < 4; ++row) {
            grid->setCellText(row, 1, QStringLiteral("x"));
            grid->setCellText(row, 2, QStringLiteral("y"));
        }
        SelectCells(*grid, 1, 2, 2, 2);

        QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::KeyboardModifiers(modifiers));

        QCOMPARE(FilledCells(*grid), (QStringList{"1,1=x", "2,1=x", "3,1=x", "3,2=y"}));
    }

    void clipboardKeysInsideCellEditorLeaveGridAlone() {
        auto grid = MakeGrid(3, 3, 0, 0);
        grid->setEditingAllowed(true);
        grid->setCellText(0, 0, QStringLiteral("a"));
        grid->setCellText(0, 1, QStringLiteral("b"));
        SelectCells(*grid, 0, 0, 0, 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\r\n"));
        grid->setCurrentCell(1, 0);
        QLineEdit* editor = OpenEditor(*grid);
        QVERIFY(editor != nullptr);

        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);

        QCOMPARE(FilledCells(*grid), (QStringList{"0,0=a", "0,1=b"}));
    }

    void enterMovesOneRowDown_data() {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("middle row") << 2 << false << 3;
        QTest::newRow("last row stays") << 4 << false << 4;
        QTest::newRow("middle row while editing") << 2 << true << 3;
        QTest::newRow("last row while editing stays") << 4 << true << 4;
    }
    void enterMovesOneRowDown() {
        QFETCH(int, startRow);
        QFETCH(bool, editing);
        QFETCH(int, expectedRow);
        auto grid = MakeGrid(5, 3, 1, 1);
        grid->setEditingAllowed(true);
        grid->setCurrentCell(startRow, 2);
        QWidget* target = grid.get();
        if (editing) {
            QLineEdit* editor = OpenEditor(*grid);
            QVERIFY(editor != nullptr);
            editor->setText(QStringLiteral("7.5"));
            target = editor;
        }

        QTest::keyClick(target, Qt::Key_Return);

        QTRY_VERIFY(!grid->isEditing());
        QCOMPARE(grid->currentRow(), expectedRow);
        QCOMPARE(grid->currentColumn(), 2);
        QCOMPARE(grid->cellText(startRow, 2), editing ? QStringLiteral("7.5") : QString());
    }

    void escapeSetsCellToEscapeTextUnderItsRule_data() {
        QTest::addColumn<int>("rule");  // -1: the grid's own key handler
        QTest::addColumn<bool>("editingAllowed");
        QTest::addColumn<bool>("editorOpen");
        QTest::addColumn<QString>("cellAfter");
        const QString old = QStringLiteral("old");
        QTest::newRow("none, editor open") << int(EscapeRule::None) << true << true << old;
        QTest::newRow("while editing, editor open")
            << int(EscapeRule::WhileEditing) << true << true << QString();
        QTest::newRow("while editing, editor closed")
            << int(EscapeRule::WhileEditing) << true << false << old;
        QTest::newRow("own rule, editing allowed") << -1 << true << false << QString();
        QTest::newRow("own rule, editor open") << -1 << true << true << QString();
        QTest::newRow("own rule, editing not allowed") << -1 << false << false << old;
    }
    void escapeSetsCellToEscapeTextUnderItsRule() {
        QFETCH(int, rule);
        QFETCH(bool, editingAllowed);
        QFETCH(bool, editorOpen);
        QFETCH(QString, cellAfter);
        auto grid = MakeGrid(3, 2, 1, 1);
        if (rule >= 0) {
            grid->setKeyDownHandler([rule](TAGrid& g, int key, Qt::KeyboardModifiers modifiers) {
                kivo::gui::HandleGridKeys(g, key, modifiers, EscapeRule(rule), QString());
            });
        }
        grid->setEditingAllowed(editingAllowed);
        grid->setCellText(1, 1, QStringLiteral("old"));
        grid->setCurrentCell(1, 1);
        QWidget* target = grid.get();
        if (editorOpen) {
            QLineEdit* editor = OpenEditor(*grid);
            QVERIFY(editor != nullptr);
            editor->setText(QStringLiteral("typed"));
            target = editor;
        }

        QTest::keyClick(target, Qt::Key_Escape);

        QTRY_VERIFY(!grid->isEditing());
        QCOMPARE(grid->cellText(1, 1), cellAfter);
    }

    void keysSwitchFocusedCellHighlight_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("highlight");
        QTest::newRow("shift+down") << int(Qt::Key_Down) << int(Qt::ShiftModifier) << true;
        QTest::newRow("shift+page up") << int(Qt::Key_PageUp) << int(Qt::ShiftModifier) << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << true;
        QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier) << true;
        QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier) << true;
        QTest::newRow("down") << int(Qt::Key_Down) << int(Qt::NoModifier) << false;
        QTest::newRow("shift+a") << int(Qt::Key_A) << int(Qt::ShiftModifier) << false;
        QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << false;
    }
    void keysSwitchFocusedCellHighlight() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, highlight);
        auto grid = MakeGrid(4, 3, 1, 1);
        grid->setCurrentCell(2, 1);
        grid->setDrawFocusSelected(!highlight);
        QGuiApplication::clipboard()->setText(QStringLiteral("z"));

        QTest::keyClick(grid.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(grid->drawFocusSelected(), highlight);
    }

    void headingsStayOutOfReach() {
        auto grid = MakeGrid(4, 3, 1, 1);
        grid->setEditingAllowed(true);
        grid->setCurrentCell(1, 1);

        QTest::keyClick(grid.get(), Qt::Key_Up);
        QTest::keyClick(grid.get(), Qt::Key_Left);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 1);

        grid->selectAll();
        const QList<QTableWidgetSelectionRange> ranges = grid->selectedRanges();
        QVERIFY(!ranges.isEmpty());
        for (const QTableWidgetSelectionRange& range : ranges) {
            QVERIFY(range.topRow() >= 1 && range.leftColumn() >= 1);
        }
        grid->setCurrentCell(0, 1);
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        grid->edit(grid->currentIndex());
        QVERIFY(!grid->isEditing());
    }

    void rowCountNotAboveFixedRowsReducesThem() {
        auto grid = MakeGrid(5, 4, 2, 2);
        grid->setRowCount(2);
        grid->setColumnCount(1);
        QCOMPARE(grid->fixedRowCount(), 1);
        QCOMPARE(grid->fixedColCount(), 0);
        grid->setRowCount(10);
        QCOMPARE(grid->fixedRowCount(), 1);
    }

    void blankCellsCountAsEmpty_data() {
        QTest::addColumn<QStringList>("column");  // rows 1 onward
        QTest::addColumn<int>("firstEmptyRow");
        QTest::addColumn<bool>("columnEmpty");
        QTest::newRow("blanks and control characters") << QStringList{" \t", "\x01 "} << 1 << true;
        QTest::newRow("gap between entries") << QStringList{"a", "", " b "} << 2 << false;
        QTest::newRow("every row used") << QStringList{"a", "b"} << -1 << false;
        QTest::newRow("no-break space is text") << QStringList{"\u00a0", ""} << 2 << false;
    }
    void blankCellsCountAsEmpty() {
        QFETCH(QStringList, column);
        QFETCH(int, firstEmptyRow);
        QFETCH(bool, columnEmpty);
        auto grid = MakeGrid(static_cast<int>(column.size()) + 1, 2, 1, 0);
        for (int i = 0; i < column.size(); ++i) grid->setCellText(i + 1, 0, column[i]);

        QCOMPARE(kivo::gui::FirstEmptyRow(*grid, 0), firstEmptyRow);
        QCOMPARE(kivo::gui::IsColumnEmpty(*grid, 0), columnEmpty);
    }

    void clearKeepsHeadingsAndCounts() {
        auto grid = MakeGrid(4, 3, 1, 1);
        grid->setCellText(1, 1, QStringLiteral("a"));
        grid->setCellText(3, 2, QStringLiteral("b"));

        kivo::gui::ClearGridCells(*grid);

        QCOMPARE(AllCells(*grid), QStringLiteral("head0|head1|head2;1||;2||;3||"));
    }

    void loadGridFromFileMakesOneRowPerLine_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("startRows");  // 51 rows of 5 columns, or one cell
        QTest::addColumn<QString>("cells");
        QTest::newRow("two lines") << QByteArray("x\ty\n1") << 51 << QStringLiteral("x|y;1|");
        QTest::newRow("final line end adds no row")
            << QByteArray("x\ty\r\n1\r\n") << 51 << QStringLiteral("x|y;1|");
        QTest::newRow("empty fields and empty line")
            << QByteArray("a\t\tb\t\n\nc\n") << 51 << QStringLiteral("a||b|;|||;c|||");
        QTest::newRow("latin-1 bytes")
            << QByteArray("\xb5g/L\r\n") << 51 << QStringLiteral("\u00b5g/L");
        QTest::newRow("empty file") << QByteArray() << 51 << QString();
        QTest::newRow("one-cell grid with headings asked for")
            << QByteArray("x\ty\n1") << 1 << QStringLiteral("x|y;1|");
    }
    void loadGridFromFileMakesOneRowPerLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, startRows);
        QFETCH(QString, cells);
        QTemporaryDir dir;
        const QString path = WriteTempFile(dir, bytes);
        auto grid = MakeGrid(startRows, startRows == 1 ? 1 : 5, 1, 1);

        QVERIFY(kivo::gui::LoadGridFromFile(*grid, path, QLatin1Char('\t')));

        QCOMPARE(AllCells(*grid), cells);
        QCOMPARE(grid->fixedRowCount(), 0);
        QCOMPARE(grid->fixedColCount(), 0);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 0);
    }

    void loadGridFromMissingFileShowsErrorAndLeavesOneEmptyCell() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing_events.txt"));
        QStringList messages;
        kivo::gui::SetMessageBoxHandler(
            [&](kivo::gui::MessageKind kind, const QString& text, kivo::gui::MessageButtons) {
                if (kind == kivo::gui::MessageKind::Error) messages << text;
                return kivo::gui::MessageAnswer::Ok;
            });
        auto grid = MakeGrid(5, 3, 1, 1);

        QVERIFY(!kivo::gui::LoadGridFromFile(*grid, path, QLatin1Char('\t')));

        QCOMPARE(messages, QStringList{"File \"" + path + "\" not found!"});
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->columnCount(), 1);
        QCOMPARE(grid->cellText(0, 0), QString());
    }
};

QTEST_MAIN(GridTest)
#include "grid_test.moc"
