#pragma once

#include "common/AppContext.h"
#include "common/TextGrid.h"

#include <QPointer>
#include <QStringList>
#include <QThreadPool>
#include <QWidget>

#include <memory>

class QButtonGroup;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTimer;

namespace vantorel {

class AutoRunGate;
class DayIndex;
class StringGrid;
class TfrmOneSel;
class TfrmReceive;
class TfrmTopReal;

// The window the member works in after signing in: a buy and a sell snapshot
// side by side, their comparison stock by stock, and an auto mode that follows
// each new minute. Closing it clears the data folder and ends the program.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(AppContext& context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The transfer window that Set and the single-stock windows ask for
    // missing files; the day index reads each file it stores.
    void attachReceiver(TfrmReceive* receive);
    // What the day's snapshot files say of each stock, for the live windows.
    DayIndex& dayIndex() { return *m_dayIndex; }

    void FormCreate();
    void FormClose();
    void Button17Click();
    void Button23Click();
    void Button5Click();
    void Button13Click();
    void Button19Click();
    void Button25Click();
    void Button24Click();
    void Button26Click();
    void Timer8Timer();
    void sgcp2SelectCell(int ACol, int ARow);
    void sgcpM2SelectCell(int ACol, int ARow);
    void sgTotalTargetSelectCell(int ACol, int ARow);
    void sgTotalTargetDblClick();

    // 0 "수동", 1 "자동"; 0 "매수", 1 "매도".
    int rgRealIndex() const;
    int rgBSIndex() const;
    // A new single-stock window, shown, with the code in its field (the member
    // starts the query there).
    TfrmOneSel* openStockWindow(const QString& code);
    // A new top-10 window, shown.
    TfrmTopReal* openTopTenWindow();
    // The single-stock and top-10 windows still open, oldest first. Closing one
    // frees it.
    QList<QWidget*> liveWindows() const;

    QLabel* Panel1;
    QLineEdit* edStockCode;
    QPushButton* btnSearch;
    QDateTimeEdit* DateTimePicker2;
    QPushButton* Button17;
    QLineEdit* edcp2;
    QPushButton* Button5;
    StringGrid* sgcp2;
    QLabel* Panel2;
    QDateTimeEdit* DateTimePicker4;
    QPushButton* Button23;
    QLineEdit* edcpM2;
    QPushButton* Button13;
    StringGrid* sgcpM2;
    QGroupBox* rgReal;
    QGroupBox* rgBS;
    QPushButton* Button25;
    QPushButton* Button24;
    QPushButton* Button26;
    QPushButton* Button19;
    StringGrid* sgTotalTarget;
    QStatusBar* StatusBar1;
    QTimer* Timer8;

    QStringList Memo1;
    QStringList mmFile;
    qint32 gReaultRow = -1;
    qint32 pgMCnt = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setSide(QDateTimeEdit* picker, QLineEdit* nameField, QChar side);
    void loadSide(QLineEdit* nameField, StringGrid* grid);
    void autoRun(const QDateTime& minute);
    void repaintGrids();
    void openLiveWindow(QWidget* window);

    AppContext& m_ctx;
    TfrmReceive* m_receive = nullptr;
    TextGrid m_buy{4, 1};
    TextGrid m_sell{4, 1};
    TextGrid m_total{5, 1};
    QButtonGroup* m_realGroup;
    QButtonGroup* m_bsGroup;
    std::shared_ptr<AutoRunGate> m_auto;
    std::unique_ptr<DayIndex> m_dayIndex;
    QThreadPool m_pool;
    QList<QPointer<QWidget>> m_liveWindows;
};

} // namespace vantorel
