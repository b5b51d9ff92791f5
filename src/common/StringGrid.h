#pragma once

#include "common/Colours.h"
#include "common/Messages.h"
#include "common/TextGrid.h"

#include <QTableView>

#include <functional>

namespace vantorel {

class TextGridModel;

// A grid of strings over a TextGrid: no headers (row 0 is an ordinary row),
// grid lines, cells not editable. Each cell's background (and, where the rule
// says, its text colour and weight) comes from a colour rule; its text is
// written 2 px right of and below the cell's corner. Ctrl+C copies, and the
// context menu saves the grid as CSV.
class StringGrid : public QTableView {
    Q_OBJECT
public:
    using ColourRule = std::function<CellLook(int column, int row)>;

    StringGrid(TextGrid& grid, QList<int> columnWidths, int rowHeight, QWidget* parent = nullptr);
    ~StringGrid() override;

    TextGrid& grid() { return m_grid; }
    void setColourRule(ColourRule rule) { m_rule = std::move(rule); }
    CellLook lookOf(int column, int row) const;
    Rgb colourOf(int column, int row) const { return lookOf(column, row).background; }

    // Shows the grid's content after it changed; columns it gained get 64 px.
    // The cell the member selected last stays current where the grid still has it.
    void refresh();
    // Scrolls so that the row is the first one in view (below a fixed heading).
    void scrollToTopRow(int row);
    int topRow() const;

    // Row 0 stays above the other rows as a heading when they scroll, in bold
    // on the button face.
    void setHeadingRowFixed();
    // Where "CSV로 저장…" asks for a file and says that saving failed.
    void setMessages(Messages& messages) { m_messages = &messages; }
    // What Ctrl+C puts on the clipboard: the selected block with its headings,
    // or the whole grid when nothing is selected.
    QString copiedText() const;
    // Writes the whole grid as CSV; the error's text when it fails.
    QString saveCsv(const QString& path) const;

signals:
    // The member selected the cell, by mouse or keyboard; nothing else (focus,
    // a reload, the program) emits it.
    void cellSelected(int column, int row);
    void cellDoubleClicked();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void selectedByMember(const QModelIndex& cell);

    TextGrid& m_grid;
    TextGridModel* m_model;
    QList<int> m_widths;
    ColourRule m_rule;
    QPoint m_memberCell{-1, -1};
    bool m_headingFixed = false;
    Messages* m_messages = nullptr;
};

} // namespace vantorel
