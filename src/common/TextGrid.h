#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vantorel {

// A grid of text cells, addressed (column, row) like the windows' string grids.
// Row 0 is an ordinary row that holds headings. A grid keeps at least one row
// and one column; cells outside it read as empty.
class TextGrid {
public:
    explicit TextGrid(int columns = 1, int rows = 1);

    int columnCount() const { return m_columns; }
    int rowCount() const { return int(m_rows.size()); }
    void setColumnCount(int columns);
    void setRowCount(int rows);

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    const QStringList& row(int row) const { return m_rows[row]; }

    // Every cell becomes empty; the size stays.
    void clearCells();
    void appendRow(QStringList cells);
    // An empty row before row `at`.
    void insertRow(int at);
    void reserveRows(int rows) { m_rows.reserve(rows); }
    // Reorders rows from..end: new row from + k is old row from + order[k].
    void permuteRows(int from, const QList<int>& order);

private:
    int m_columns;
    QList<QStringList> m_rows;
};

} // namespace vantorel
