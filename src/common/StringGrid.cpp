#include "common/StringGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace vantorel {

class TextGridModel final : public QAbstractTableModel {
public:
    explicit TextGridModel(TextGrid& grid, QObject* parent)
        : QAbstractTableModel(parent)
        , m_grid(grid) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_grid.rowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_grid.columnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return m_grid.cell(index.column(), index.row());
    }
    void reload() {
        beginResetModel();
        endResetModel();
    }

private:
    TextGrid& m_grid;
};

namespace {

class CellPainter final : public QStyledItemDelegate {
public:
    explicit CellPainter(StringGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const Rgb c = m_grid->colourOf(index.column(), index.row());
        painter->save();
        painter->fillRect(option.rect, QColor(c.red, c.green, c.blue));
        painter->setClipRect(option.rect);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        const QFontMetrics metrics(option.font);
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
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setShowGrid(true);
    setWordWrap(false);
    connect(this, &QTableView::doubleClicked, this, [this] { emit cellDoubleClicked(); });
    // Handlers may sort and so reset the model: let them run after the
    // selection change has finished, before the next input event.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid())
            return;
        const int column = current.column();
        const int row = current.row();
        QMetaObject::invokeMethod(
            this, [this, column, row] { emit cellSelected(column, row); }, Qt::QueuedConnection);
    });
    refresh();
}

StringGrid::~StringGrid() = default;

Rgb StringGrid::colourOf(int column, int row) const {
    return m_rule ? m_rule(column, row) : Rgb{255, 255, 255};
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
    viewport()->update();
}

void StringGrid::scrollToTopRow(int row) {
    // The scroll range follows the rows only once the view has laid them out.
    updateGeometries();
    verticalScrollBar()->setValue(row);
}

int StringGrid::topRow() const {
    return verticalScrollBar()->value();
}

} // namespace vantorel
