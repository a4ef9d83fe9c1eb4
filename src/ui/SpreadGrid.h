#pragma once

#include <QString>
#include <QTableWidget>

namespace quarn::subsysmgr {

/// The suite's grid control in its two-column form: column 1 a check box (value 1 checked, 0
/// not), column 2 a text. A keyed text in column 2 shows only its display part; the grid keeps
/// the whole text. Rows and columns count from 1. Rows are as tall as the grid's font needs, and
/// the grid shows whole rows only: the height left below the last whole row stays blank. The
/// selection shows while the grid has the focus.
///
/// From the keyboard the grid is one stop: Tab and Ctrl+Tab leave it (with Shift, backwards), the
/// arrows move inside it and Space ticks or clears the current row, whichever cell of it is
/// current. Screen readers are shown a list of checkable rows (SpreadGridAccessible), told of the
/// current row when the grid gets the focus or the row changes, and of each tick.
class SpreadGrid : public QTableWidget {
    Q_OBJECT

  public:
    static constexpr int kCheckColumn = 1;
    static constexpr int kTextColumn = 2;
    /// What a column-2 cell holds until its maximum edit length is set.
    static constexpr int kDefaultMaxEditLength = 60;

    explicit SpreadGrid(QWidget* parent = nullptr);

    /// The row count; setting it drops or appends rows.
    int MaxRows() const { return rowCount(); }
    void MaxRows(int rows);
    /// Appends a row and returns its number.
    int AddRow();

    /// The current cell (0 when there is none).
    int Row() const { return currentRow() + 1; }
    void Row(int row);
    int Col() const { return currentColumn() + 1; }
    void Col(int col);

    /// Column 1 of a row: 1 checked, 0 not. Rows outside 1..MaxRows read 0 and are not written.
    int CheckValue(int row) const;
    void CheckValue(int row, int value);

    /// Column 2 of a row, whole; a text longer than the column's maximum edit length is cut.
    QString CellText(int row) const;
    void CellText(int row, const QString& vNewValue);

    /// Maximum edit length of a column in characters.
    int MaxEditLength(int col) const;
    void MaxEditLength(int col, int length);

    struct Block {
        int row = 0, col = 0, row2 = 0, col2 = 0;
    };
    /// Selects the cells from (row, col) to (row2, col2).
    void SetBlock(int row, int col, int row2, int col2);
    /// The selected block; all 0 without a selection.
    Block SelectedBlock() const;

  protected:
    void changeEvent(QEvent* event) override;
    void updateGeometries() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The table's own announcements name cells of a table; these name the rows of the list.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

  private:
    QTableWidgetItem* CellItem(int row, int col) const;
    void FitRowHeight();
    void FitWholeRows();
    /// Tells screen readers that the row (from 0) has the focus, after the grid's own focus.
    void AnnounceFocus(int row);
    void AnnounceCheck(int row);

    int maxEditLength_[2] = {kDefaultMaxEditLength, kDefaultMaxEditLength};
};

}  // namespace quarn::subsysmgr
