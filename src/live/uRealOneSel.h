#pragma once

#include "common/AppContext.h"
#include "live/StockDay.h"

#include <QStringList>
#include <QWidget>

class QChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QTimer;

namespace vantorel {

class DayIndex;
class StringGrid;
class TfrmReceive;

// Follows one stock through the trading day: a row for each minute whose two
// snapshots are in, with the stock's buy and sell counts and their difference,
// and a new row as each minute arrives. A chart beside the grid shows the same.
class TfrmOneSel : public QWidget {
    Q_OBJECT
public:
    // Files missing from the data folder are asked for through `receive`.
    TfrmOneSel(AppContext& context, DayIndex& index, TfrmReceive* receive, QWidget* parent = nullptr);
    ~TfrmOneSel() override;

    void Button2Click();
    void btDateSetClick();
    void ClearSlotGrid();
    void Timer2Timer();
    void btChartClick();

    QLineEdit* edCode;
    QPushButton* Button2;
    QPushButton* btChart;
    QLabel* lbHanName;
    StringGrid* sgRealSel;
    QChartView* chartView;
    QTimer* Timer2;

    QStringList mmDate;
    // 1 while the live refresh is on.
    int gOne = 0;
    // The minute the live refresh appended last.
    QString yTime;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool edCodeKeyPress(int key, const QString& text);
    void showRows();
    void refreshChart();
    bool bothPresent(const QString& stem) const;

    AppContext& m_ctx;
    DayIndex& m_index;
    TfrmReceive* m_receive;
    TextGrid m_slots{4, 2};
    StockDay m_day;
    // Counts the queries, so that one still waiting for the index is dropped
    // when another starts or the member types.
    int m_query = 0;
    QLineSeries* m_buySeries;
    QLineSeries* m_sellSeries;
    QLineSeries* m_differenceSeries;
};

} // namespace vantorel
