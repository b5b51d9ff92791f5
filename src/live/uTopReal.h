#pragma once

#include "common/AppContext.h"
#include "live/TopTen.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace vantorel {

class StringGrid;
class TfrmMain;

// The ten strongest buy and sell balances of the main window's result.
class TfrmTopReal : public QWidget {
    Q_OBJECT
public:
    // Follows the main window's result table and result counter; opens
    // single-stock windows through it.
    TfrmTopReal(AppContext& context, TfrmMain& main, QWidget* parent = nullptr);

    void Button1Click();
    void cbCondiChange();
    void Timer1Timer();
    void sgBuySelectCell(int ACol, int ARow);
    void sgSellSelectCell(int ACol, int ARow);
    void sgBuyDblClick();
    void sgSellDblClick();
    void SpeedButton1Click();

    // What the lists show and remember.
    const TopTen& lists() const { return m_lists; }

    QLabel* Label1;
    QComboBox* cbCondi;
    QPushButton* Button1;
    QToolButton* SpeedButton1;
    QLabel* Panel1;
    QLabel* Panel2;
    StringGrid* sgBuy;
    StringGrid* sgSell;
    QLabel* Label2;
    QLineEdit* edPlus;
    QPlainTextEdit* Memo1;
    QLabel* Label3;
    QLineEdit* edMinus;
    QPlainTextEdit* Memo2;
    QTimer* Timer1;

    bool gAutoSer = false;
    qint32 pgRCnt = 0;
    qint32 gBuyRow = 0;
    qint32 gSellRow = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openStockOfRow(const TextGrid& list, int row);
    void showWidthIcon();

    AppContext& m_ctx;
    TfrmMain& m_main;
    TopTen m_lists;
};

} // namespace vantorel
