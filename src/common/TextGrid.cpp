#include "common/TextGrid.h"

#include <algorithm>

namespace vantorel {

TextGrid::TextGrid(int columns, int rows)
    : m_columns(std::max(1, columns)) {
    setRowCount(rows);
}

void TextGrid::setColumnCount(int columns) {
    m_columns = std::max(1, columns);
    for (QStringList& r : m_rows)
        r.resize(m_columns);
}

void TextGrid::setRowCount(int rows) {
    rows = std::max(1, rows);
    const qsizetype old = m_rows.size();
    m_rows.resize(rows);
    for (qsizetype i = old; i < rows; ++i)
        m_rows[i].resize(m_columns);
}

QString TextGrid::cell(int column, int row) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return {};
    return m_rows[row][column];
}

void TextGrid::setCell(int column, int row, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return;
    m_rows[row][column] = text;
}

void TextGrid::clearCells() {
    for (QStringList& r : m_rows)
        for (QString& c : r)
            c.clear();
}

void TextGrid::appendRow(QStringList cells) {
    cells.resize(m_columns);
    m_rows.append(std::move(cells));
}

void TextGrid::insertRow(int at) {
    m_rows.insert(std::clamp(at, 0, rowCount()), QStringList(m_columns));
}

void TextGrid::permuteRows(int from, const QList<int>& order) {
    QList<QStringList> moved;
    moved.reserve(order.size());
    for (const int k : order)
        moved.append(std::move(m_rows[from + k]));
    for (qsizetype k = 0; k < moved.size(); ++k)
        m_rows[from + k] = std::move(moved[k]);
}

} // namespace vantorel
