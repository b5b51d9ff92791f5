#include "live/uTopReal.h"

#include "common/Guard.h"
#include "common/StringGrid.h"
#include "common/WindowStyle.h"
#include "comparison/Comparison.h"
#include "comparison/Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace vantorel {

namespace {

constexpr int kWideWidth = 884;
// The designed window is 900 px wide with its 8 px borders; the narrow one 600.
constexpr int kNarrowWidth = 584;
constexpr int kHeight = 384;

QLabel* makePanel(const QString& caption, const QColor& colour, const QRect& place, QWidget* parent) {
    auto* panel = new QLabel(caption, parent);
    panel->setGeometry(place);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAlignment(Qt::AlignCenter);
    QFont font = parent->font();
    font.setBold(true);
    panel->setFont(font);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, colour);
    panel->setPalette(palette);
    return panel;
}

QLabel* makeLabel(const QString& caption, const QRect& place, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(place);
    return label;
}

QPlainTextEdit* makeMemo(const QRect& place, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(place);
    memo->setReadOnly(true);
    return memo;
}

// A small window with an arrow beside it: pointing out to widen, back in to narrow.
QIcon widthSwitchIcon(bool widen) {
    constexpr int kSide = 20;
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(50, 50, 50);
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(1.5, 3.5, 9, 13));
    painter.fillRect(QRectF(1.5, 3.5, 9, 3), ink);
    const qreal tip = widen ? 19 : 12;
    const qreal base = widen ? 13 : 18;
    QPainterPath arrow;
    arrow.moveTo(tip, 10);
    arrow.lineTo(base, 5);
    arrow.lineTo(base, 15);
    arrow.closeSubpath();
    painter.fillPath(arrow, QColor(220, 0, 0));
    painter.end();
    return QIcon(picture);
}

} // namespace

TfrmTopReal::TfrmTopReal(AppContext& context, TfrmMain& main, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_main(main) {
    setWindowTitle(QStringLiteral("Top Real 10"));
    makeFixedWindow(this, kWideWidth, kHeight);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(12);
    setFont(font);

    Label1 = makeLabel(QStringLiteral("추출자료 TOP 10"), {8, 10, 116, 21}, this);
    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPixelSize(14);
    Label1->setFont(titleFont);
    cbCondi = new QComboBox(this);
    cbCondi->setGeometry(128, 8, 150, 23);
    cbCondi->addItems({QStringLiteral("매수 0 or 매도 0"), QStringLiteral("매수 매도 상위")});
    cbCondi->setCurrentIndex(0);
    Button1 = new QPushButton(QStringLiteral("조회"), this);
    Button1->setGeometry(286, 7, 75, 25);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setGeometry(367, 7, 25, 25);
    SpeedButton1->setIconSize({20, 20});
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setToolTip(QStringLiteral("창 너비 전환"));

    Panel1 = makePanel(QStringLiteral("매수"), QColor(255, 0, 0), {8, 40, 280, 25}, this);
    Panel2 = makePanel(QStringLiteral("매도"), QColor(0, 0, 255), {296, 40, 280, 25}, this);
    const QList<int> widths{56, 60, 54, 53, 47};
    sgBuy = new StringGrid(m_lists.buy(), widths, 24, this);
    sgBuy->setGeometry(8, 68, 280, 280);
    sgSell = new StringGrid(m_lists.sell(), widths, 24, this);
    sgSell->setGeometry(296, 68, 280, 280);
    sgBuy->setColourRule([this](int c, int r) { return m_lists.buyCellLook(c, r); });
    sgSell->setColourRule([this](int c, int r) { return m_lists.sellCellLook(c, r); });
    sgBuy->setObjectName(QStringLiteral("sgBuy"));
    sgSell->setObjectName(QStringLiteral("sgSell"));
    sgBuy->setMessages(m_ctx.messages);
    sgSell->setMessages(m_ctx.messages);

    Label2 = makeLabel(QStringLiteral("매수순간증감"), {600, 41, 90, 21}, this);
    edPlus = new QLineEdit(QStringLiteral("2"), this);
    edPlus->setGeometry(694, 40, 50, 23);
    Memo1 = makeMemo({600, 68, 276, 140}, this);
    Label3 = makeLabel(QStringLiteral("매도순간증감"), {600, 217, 90, 21}, this);
    edMinus = new QLineEdit(QStringLiteral("2"), this);
    edMinus->setGeometry(694, 216, 50, 23);
    Memo2 = makeMemo({600, 244, 276, 104}, this);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);

    Messages& messages = m_ctx.messages;
    connectGuarded(Button1, &QPushButton::clicked, this, messages, &TfrmTopReal::Button1Click);
    connectGuarded(SpeedButton1, &QToolButton::clicked, this, messages, &TfrmTopReal::SpeedButton1Click);
    connectGuarded(cbCondi, &QComboBox::currentIndexChanged, this, messages, &TfrmTopReal::cbCondiChange);
    connectGuarded(Timer1, &QTimer::timeout, this, messages, &TfrmTopReal::Timer1Timer);
    connectGuarded(sgBuy, &StringGrid::cellDoubleClicked, this, messages, &TfrmTopReal::sgBuyDblClick);
    connectGuarded(sgSell, &StringGrid::cellDoubleClicked, this, messages, &TfrmTopReal::sgSellDblClick);
    connectGuarded(sgBuy, &StringGrid::cellSelected, this, messages, &TfrmTopReal::sgBuySelectCell);
    connectGuarded(sgSell, &StringGrid::cellSelected, this, messages, &TfrmTopReal::sgSellSelectCell);

    showWidthIcon();
    move(10, 10);
    Timer1->start();
}

void TfrmTopReal::Button1Click() {
    gAutoSer = true;
    pgRCnt = 0;
}

void TfrmTopReal::cbCondiChange() {
    m_lists.clearLists();
    sgBuy->refresh();
    sgSell->refresh();
}

void TfrmTopReal::Timer1Timer() {
    if (!gAutoSer || m_main.pgMCnt == pgRCnt)
        return;
    // A table without stock rows is tried again at the next tick.
    if (!m_lists.refresh(m_main.sgTotalTarget->grid(), cbCondi->currentIndex(), readCount(edPlus->text()),
                         readCount(edMinus->text())))
        return;
    Memo1->setPlainText(m_lists.buyLines().join(QLatin1Char('\n')));
    Memo2->setPlainText(m_lists.sellLines().join(QLatin1Char('\n')));
    sgBuy->refresh();
    sgSell->refresh();
    pgRCnt = m_main.pgMCnt;
    if (!m_lists.buyLines().isEmpty() || !m_lists.sellLines().isEmpty())
        QApplication::alert(this);
}

void TfrmTopReal::sgBuySelectCell(int, int ARow) {
    gBuyRow = ARow;
}

void TfrmTopReal::sgSellSelectCell(int, int ARow) {
    gSellRow = ARow;
}

void TfrmTopReal::openStockOfRow(const TextGrid& list, int row) {
    const QString code = list.cell(0, row);
    if (row < 1 || code.isEmpty())
        return;
    m_main.openStockWindow(code);
}

void TfrmTopReal::sgBuyDblClick() {
    openStockOfRow(m_lists.buy(), gBuyRow);
}

void TfrmTopReal::sgSellDblClick() {
    openStockOfRow(m_lists.sell(), gSellRow);
}

void TfrmTopReal::SpeedButton1Click() {
    setFixedSize(width() == kNarrowWidth ? kWideWidth : kNarrowWidth, kHeight);
    showWidthIcon();
}

void TfrmTopReal::showWidthIcon() {
    SpeedButton1->setIcon(widthSwitchIcon(width() == kNarrowWidth));
}

void TfrmTopReal::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    event->accept();
}

} // namespace vantorel
