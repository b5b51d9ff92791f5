#include "common/StringGrid.h"

#include "common/GridText.h"

#include <QAbstractTableModel>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace vantorel {

// Tells the view what changed in the grid since it last looked: rows and
// columns added or removed at the end, and the cells' new texts. No reset, so
// the view keeps its current cell, its pressed cell and its scroll position.
class TextGridModel final : public QAbstractTableModel {
public:
    explicit TextGridModel(TextGrid& grid, QObject* parent)
        : QAbstractTableModel(parent)
        , m_grid(grid)
        , m_rows(grid.rowCount())
        , m_columns(grid.columnCount()) {}
    // The sizes the view was last told of: the grid may have changed since.
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_columns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return m_grid.cell(index.column(), index.row());
    }
    // Row 0's texts, for a grid that shows them as its fixed heading.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return m_grid.cell(section, 0);
    }
    void reload() {
        resize(m_rows, m_grid.rowCount(), Qt::Vertical);
        resize(m_columns, m_grid.columnCount(), Qt::Horizontal);
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1), {Qt::DisplayRole});
        emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
    }

private:
    void resize(int& shown, int wanted, Qt::Orientation orientation) {
        const bool rows = orientation == Qt::Vertical;
        if (wanted > shown) {
            rows ? beginInsertRows({}, shown, wanted - 1) : beginInsertColumns({}, shown, wanted - 1);
            shown = wanted;
            rows ? endInsertRows() : endInsertColumns();
        } else if (wanted < shown) {
            rows ? beginRemoveRows({}, wanted, shown - 1) : beginRemoveColumns({}, wanted, shown - 1);
            shown = wanted;
            rows ? endRemoveRows() : endRemoveColumns();
        }
    }

    TextGrid& m_grid;
    int m_rows;
    int m_columns;
};

namespace {

class CellPainter final : public QStyledItemDelegate {
public:
    explicit CellPainter(StringGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const CellLook look = m_grid->lookOf(index.column(), index.row());
        const Rgb c = look.background;
        painter->save();
        painter->fillRect(option.rect, QColor(c.red, c.green, c.blue));
        painter->setClipRect(option.rect);
        QFont font = option.font;
        font.setBold(look.bold);
        painter->setFont(font);
        painter->setPen(look.hasText ? QColor(look.text.red, look.text.green, look.text.blue)
                                     : option.palette.color(QPalette::Text));
        const QFontMetrics metrics(font);
        painter->drawText(option.rect.topLeft() + QPoint(2, 2 + metrics.ascent()), index.data().toString());
        painter->restore();
    }

private:
    StringGrid* m_grid;
};

} // namespace

StringGrid::StringGrid(TextGrid& grid, QList<int> columnWidths, int rowHeight, QWidget* parent)
    : QTableView(parent)
    , m_grid(grid)
    , m_model(new TextGridModel(grid, this))
    , m_widths(std::move(columnWidths)) {
    setModel(m_model);
    setItemDelegate(new CellPainter(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(64 + 1);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    // Heights and widths are given without the 1 px grid line, which Qt counts
    // inside the section.
    verticalHeader()->setDefaultSectionSize(rowHeight + 1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A block of cells for Ctrl+C: shift or a drag extends the selection.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setShowGrid(true);
    setWordWrap(false);
    // Tab leaves the grid for the next control; arrows move between cells.
    setTabKeyNavigation(false);
    // After the selection handlers, which run once the press is over.
    connect(this, &QTableView::doubleClicked, this, [this] {
        QMetaObject::invokeMethod(this, &StringGrid::cellDoubleClicked, Qt::QueuedConnection);
    });
    refresh();
}

StringGrid::~StringGrid() = default;

CellLook StringGrid::lookOf(int column, int row) const {
    return m_rule ? m_rule(column, row) : CellLook{};
}

void StringGrid::refresh() {
    // Widths of columns that survive stay; a column gained anew is 64 px wide.
    const int columns = m_grid.columnCount();
    if (m_widths.size() > columns)
        m_widths.resize(columns);
    while (m_widths.size() < columns)
        m_widths.append(64);
    m_model->reload();
    for (int c = 0; c < columns; ++c)
        setColumnWidth(c, m_widths[c] + 1);
    // Rows taken away may have moved the current cell: the member's comes back
    // as soon as the grid has it again.
    const QModelIndex chosen = m_model->index(m_memberCell.y(), m_memberCell.x());
    if (chosen.isValid() && chosen != currentIndex())
        selectionModel()->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    const QModelIndex pressed = indexAt(event->position().toPoint());
    // A press selects its cell again even when it is current already.
    if (event->button() == Qt::LeftButton && pressed.isValid() && pressed == currentIndex())
        selectedByMember(pressed);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QModelIndex before = currentIndex();
    QTableView::mouseMoveEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        selectedByMember(currentIndex());
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        QGuiApplication::clipboard()->setText(copiedText());
        return;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        selectedByMember(currentIndex());
}

void StringGrid::selectedByMember(const QModelIndex& cell) {
    m_memberCell = QPoint(cell.column(), cell.row());
    // Handlers may sort or rebuild the grid: they run once the event that
    // selected the cell is over, before the next one.
    const int column = cell.column();
    const int row = cell.row();
    QMetaObject::invokeMethod(
        this, [this, column, row] { emit cellSelected(column, row); }, Qt::QueuedConnection);
}

void StringGrid::scrollToTopRow(int row) {
    // The scroll range follows the rows only once the view has laid them out.
    updateGeometries();
    // The scroll bar counts the rows in view: a fixed heading is not one of them.
    verticalScrollBar()->setValue(m_headingFixed ? row - 1 : row);
}

int StringGrid::topRow() const {
    return verticalScrollBar()->value() + (m_headingFixed ? 1 : 0);
}

void StringGrid::setHeadingRowFixed() {
    m_headingFixed = true;
    QHeaderView* heading = horizontalHeader();
    heading->show();
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->setFixedHeight(verticalHeader()->defaultSectionSize());
    QFont bold = font();
    bold.setBold(true);
    heading->setFont(bold);
    setRowHidden(0, true);
}

QString StringGrid::copiedText() const {
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return gridAsTabText(m_grid, CellBlock::whole(m_grid));
    CellBlock block{cells.first().column(), cells.first().column(), cells.first().row(), cells.first().row()};
    for (const QModelIndex& cell : cells) {
        block.firstColumn = std::min(block.firstColumn, cell.column());
        block.lastColumn = std::max(block.lastColumn, cell.column());
        block.firstRow = std::min(block.firstRow, cell.row());
        block.lastRow = std::max(block.lastRow, cell.row());
    }
    return gridAsTabText(m_grid, block);
}

QString StringGrid::saveCsv(const QString& path) const {
    QSaveFile file(path);
    const QByteArray bytes = gridAsCsv(m_grid);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_messages)
        return;
    QMenu menu(this);
    QAction* save = menu.addAction(QStringLiteral("CSV로 저장…"));
    if (menu.exec(event->globalPos()) != save)
        return;
    const QString name =
        (objectName().isEmpty() ? QStringLiteral("grid") : objectName()) + QStringLiteral(".csv");
    const QString path = m_messages->saveFileName(name);
    if (path.isEmpty())
        return;
    if (const QString error = saveCsv(path); !error.isEmpty())
        m_messages->show(QStringLiteral("CSV 파일을 저장하지 못했습니다: ") + path + QStringLiteral("\n") +
                         error);
}

} // namespace vantorel
