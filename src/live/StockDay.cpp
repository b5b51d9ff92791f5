#include "live/StockDay.h"

#include "live/DayIndex.h"
#include "snapshots/SnapshotFiles.h"

#include <QDir>
#include <QFileInfo>

namespace vantorel {

namespace {

// A cell as a number; text that is not an integer counts as 0.
qint64 number(const QString& text) {
    return text.toInt();
}

// "13 : 37" for the file of 13:37.
QString slotTime(const QString& fileName) {
    return fileName.mid(10, 2) + QStringLiteral(" : ") + fileName.mid(12, 2);
}

} // namespace

StockDay::StockDay(const DayIndex& index, QString dataFolder, TextGrid& grid)
    : m_index(index)
    , m_folder(std::move(dataFolder))
    , m_grid(grid) {
    ClearSlotGrid();
}

bool StockDay::present(const QString& fileName) const {
    return QFileInfo::exists(QDir(m_folder).filePath(fileName));
}

void StockDay::ClearSlotGrid() {
    m_name.clear();
    m_shown.clear();
    m_grid.clearCells();
    m_grid.setColumnCount(4);
    m_grid.setRowCount(2);
    m_grid.setCell(0, 0, QStringLiteral("시간"));
    m_grid.setCell(1, 0, QStringLiteral("매수"));
    m_grid.setCell(2, 0, QStringLiteral("매도"));
    m_grid.setCell(3, 0, QStringLiteral("총매수"));
}

QStringList StockDay::filesToRead(const QStringList& stems) const {
    QStringList files;
    for (const QString& stem : stems) {
        if (present(buyFileName(stem)) && present(sellFileName(stem)))
            files << buyFileName(stem) << sellFileName(stem);
    }
    return files;
}

void StockDay::fill(const QStringList& stems, const QString& code) {
    for (qsizetype i = 0; i < stems.size(); ++i) {
        const QString& stem = stems[i];
        if (!present(buyFileName(stem)) || !present(sellFileName(stem)))
            continue;
        const int row = m_grid.rowCount() - 1;
        LoadSlotRow(buyFileName(stem), code, row, 1);
        LoadSlotRow(sellFileName(stem), code, row, 2);
        m_shown.insert(stem);
        if (i != stems.size() - 1)
            m_grid.setRowCount(m_grid.rowCount() + 1);
    }
}

void StockDay::append(const QString& stem, const QString& code) {
    // The last row waits for a minute, or is the minute the query ended with,
    // which is written again. Another minute's row is never written over: a
    // minute that passed before the first refresh keeps its row.
    const QString time = m_grid.cell(0, m_grid.rowCount() - 1);
    if (!time.isEmpty() && time != slotTime(buyFileName(stem)))
        m_grid.setRowCount(m_grid.rowCount() + 1);
    const int row = m_grid.rowCount() - 1;
    LoadSlotRow(buyFileName(stem), code, row, 1);
    LoadSlotRow(sellFileName(stem), code, row, 2);
    m_shown.insert(stem);
    m_grid.setRowCount(m_grid.rowCount() + 1);
}

void StockDay::insertLate(const QString& stem, const QString& code) {
    const QString time = slotTime(buyFileName(stem));
    int row = 1;
    while (row < m_grid.rowCount() && !m_grid.cell(0, row).isEmpty() && m_grid.cell(0, row) < time)
        ++row;
    // Later than every row: as the live refresh writes it.
    if (row == m_grid.rowCount() || m_grid.cell(0, row).isEmpty()) {
        append(stem, code);
        return;
    }
    if (m_grid.cell(0, row) != time)
        m_grid.insertRow(row);
    LoadSlotRow(buyFileName(stem), code, row, 1);
    LoadSlotRow(sellFileName(stem), code, row, 2);
    m_shown.insert(stem);
}

void StockDay::LoadSlotRow(const QString& fileName, const QString& code, int row, int side) {
    if (!present(fileName))
        return;
    const DayIndex::State state = m_index.state(fileName);
    if (state == DayIndex::State::Absent || state == DayIndex::State::Unread)
        return;
    m_grid.setCell(0, row, slotTime(fileName));
    if (state != DayIndex::State::Loaded)
        return;
    const std::optional<DayIndex::SideCount> found = m_index.find(fileName, code);
    if (!found)
        return;
    m_name = found->name;
    FillSideCount(found->count, row, side);
}

void StockDay::FillSideCount(const QString& count, int row, int side) {
    m_grid.setCell(side, row, count);
    for (const int column : {1, 2}) {
        bool ok = false;
        const int value = m_grid.cell(column, row).trimmed().toInt(&ok);
        if (!ok || value == 0)
            m_grid.setCell(column, row, QStringLiteral("0"));
    }
    m_grid.setCell(3, row, QString::number(number(m_grid.cell(1, row)) - number(m_grid.cell(2, row))));
}

Rgb StockDay::rowColour(const TextGrid& grid, int row) {
    if (row < 3)
        return kWhite;
    const qint64 buy = number(grid.cell(1, row));
    const qint64 sell = number(grid.cell(2, row));
    const qint64 buyBefore = number(grid.cell(1, row - 1));
    const qint64 sellBefore = number(grid.cell(2, row - 1));
    if (buy > buyBefore && sell == sellBefore)
        return kBuyPink;
    if (sell > sellBefore && buy == buyBefore)
        return kSellBlue;
    if (sell > sellBefore && buy > buyBefore)
        return kGrey;
    return kWhite;
}

} // namespace vantorel
