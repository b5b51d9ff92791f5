#include "common/GridText.h"

#include "common/TextGrid.h"

#include <QStringList>

namespace vantorel {

namespace {

QString quoted(const QString& cell, QChar separator) {
    if (!cell.contains(separator) && !cell.contains(u'"') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    QString escaped = cell;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString lineOf(const TextGrid& grid, int row, const CellBlock& block, QChar separator) {
    QStringList cells;
    for (int c = block.firstColumn; c <= block.lastColumn; ++c)
        cells << quoted(grid.cell(c, row), separator);
    return cells.join(separator);
}

QStringList linesOf(const TextGrid& grid, const CellBlock& block, QChar separator) {
    QStringList lines;
    if (block.firstRow > 0)
        lines << lineOf(grid, 0, block, separator);
    for (int r = block.firstRow; r <= block.lastRow; ++r)
        lines << lineOf(grid, r, block, separator);
    return lines;
}

} // namespace

CellBlock CellBlock::whole(const TextGrid& grid) {
    return {0, grid.columnCount() - 1, 0, grid.rowCount() - 1};
}

QString gridAsTabText(const TextGrid& grid, const CellBlock& block) {
    return linesOf(grid, block, u'\t').join(u'\n') + u'\n';
}

QByteArray gridAsCsv(const TextGrid& grid) {
    return "\xEF\xBB\xBF" + linesOf(grid, CellBlock::whole(grid), u',').join(QLatin1String("\r\n")).toUtf8() +
           "\r\n";
}

} // namespace vantorel
