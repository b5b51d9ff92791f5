#include "live/uRealOneSel.h"

#include "common/Guard.h"
#include "common/StringGrid.h"
#include "common/WindowStyle.h"
#include "live/DayIndex.h"
#include "snapshots/DownloadPlan.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <QValueAxis>

namespace vantorel {

namespace {

constexpr int kWidth = 311;
constexpr int kHeight = 441;
constexpr int kChartWidth = 488;
// Rows in view below the heading.
constexpr int kRowsInView = 14;

QLineSeries* addSeries(QChart* chart, const QString& name, const QColor& colour) {
    auto* series = new QLineSeries(chart);
    series->setName(name);
    QPen pen(colour);
    pen.setWidth(2);
    series->setPen(pen);
    chart->addSeries(series);
    return series;
}

} // namespace

TfrmOneSel::TfrmOneSel(AppContext& context, DayIndex& index, TfrmReceive* receive, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_index(index)
    , m_receive(receive)
    , m_day(index, context.folder.dataFolder(), m_slots) {
    setWindowTitle(QStringLiteral("실시간 종목상황"));
    makeFixedWindow(this, kWidth, kHeight);

    auto* label = new QLabel(QStringLiteral("종목코드"), this);
    label->setGeometry(8, 11, 56, 17);
    edCode = new QLineEdit(QStringLiteral("000000"), this);
    edCode->setGeometry(66, 8, 80, 23);
    edCode->setMaxLength(6);
    edCode->installEventFilter(this);
    Button2 = new QPushButton(QStringLiteral("조회"), this);
    Button2->setGeometry(152, 7, 70, 25);
    btChart = new QPushButton(QStringLiteral("차트"), this);
    btChart->setGeometry(228, 7, 75, 25);
    btChart->setCheckable(true);
    lbHanName = new QLabel(this);
    lbHanName->setGeometry(8, 36, 295, 18);

    sgRealSel = new StringGrid(m_slots, {73, 64, 64, 70}, 24, this);
    sgRealSel->setObjectName(QStringLiteral("sgRealSel"));
    sgRealSel->setGeometry(8, 58, 295, 377);
    sgRealSel->setHeadingRowFixed();
    sgRealSel->setMessages(m_ctx.messages);
    sgRealSel->setColourRule([this](int, int row) { return StockDay::rowColour(m_slots, row); });

    auto* chart = new QChart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    m_buySeries = addSeries(chart, QStringLiteral("매수"), QColor(255, 0, 0));
    m_sellSeries = addSeries(chart, QStringLiteral("매도"), QColor(0, 0, 255));
    m_differenceSeries = addSeries(chart, QStringLiteral("총매수"), QColor(0, 0, 0));
    auto* time = new QDateTimeAxis(chart);
    time->setFormat(QStringLiteral("HH:mm"));
    auto* count = new QValueAxis(chart);
    count->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(count, Qt::AlignLeft);
    for (QLineSeries* series : {m_buySeries, m_sellSeries, m_differenceSeries}) {
        series->attachAxis(time);
        series->attachAxis(count);
    }
    chartView = new QChartView(chart, this);
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setGeometry(kWidth, 8, kChartWidth - 8, kHeight - 16);
    chartView->hide();

    Timer2 = new QTimer(this);
    Timer2->setInterval(100);

    Messages& messages = m_ctx.messages;
    connectGuarded(Button2, &QPushButton::clicked, this, messages, &TfrmOneSel::Button2Click);
    connectGuarded(btChart, &QPushButton::clicked, this, messages, &TfrmOneSel::btChartClick);
    connectGuarded(Timer2, &QTimer::timeout, this, messages, &TfrmOneSel::Timer2Timer);

    ClearSlotGrid();
    Timer2->start();
}

TfrmOneSel::~TfrmOneSel() {
    // Hiding the window makes its grid read the slot table one last time: do it
    // while the table still exists, not in QWidget's destructor after it is gone.
    hide();
}

bool TfrmOneSel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edCode && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return edCodeKeyPress(key->key(), key->text());
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmOneSel::edCodeKeyPress(int key, const QString& text) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        guarded(m_ctx.messages, [this] { Button2Click(); });
        return true;
    }
    // A character typed (not a key that types none, such as an arrow or
    // Delete) ends the live refresh, and a query still waiting with it.
    if (!text.isEmpty() && key != Qt::Key_Delete) {
        gOne = 0;
        ++m_query;
    }
    return false;
}

bool TfrmOneSel::bothPresent(const QString& stem) const {
    const QDir data(m_ctx.folder.dataFolder());
    return QFileInfo::exists(data.filePath(buyFileName(stem))) &&
           QFileInfo::exists(data.filePath(sellFileName(stem)));
}

void TfrmOneSel::btDateSetClick() {
    mmDate = backlogStems(m_ctx.clock.now());
    if (!m_receive)
        return;
    const QDir data(m_ctx.folder.dataFolder());
    for (const QString& stem : std::as_const(mmDate)) {
        for (const QString& name : {buyFileName(stem), sellFileName(stem)}) {
            if (QFileInfo::exists(data.filePath(name)))
                continue;
            m_receive->edFileName->setText(name);
            m_receive->btReqClick();
        }
    }
}

void TfrmOneSel::Button2Click() {
    const QString code = edCode->text();
    if (code.size() != 6)
        return;
    btDateSetClick();
    ClearSlotGrid();
    // The live refresh goes on below the last minute the query shows.
    gOne = 0;
    yTime.clear();
    const int query = ++m_query;
    const QStringList stems = mmDate;
    // The files are read on the index's pool; the window goes on meanwhile.
    m_index.whenRead(m_day.filesToRead(stems), this, [this, query, stems, code] {
        if (query != m_query)
            return;
        m_day.fill(stems, code);
        showRows();
        gOne = 1;
    });
}

void TfrmOneSel::ClearSlotGrid() {
    m_day.ClearSlotGrid();
    showRows();
}

void TfrmOneSel::Timer2Timer() {
    if (gOne != 1)
        return;
    const QDateTime now = m_ctx.clock.now();
    const QString stem = slotStem(now);
    // Earlier minutes whose files came late, after a fault, take their place
    // too; the current one is written as it comes.
    QStringList late;
    for (const QString& s : backlogStems(now)) {
        if (s != stem && !m_day.shows(s) && bothPresent(s))
            late << s;
    }
    const bool current = stem != yTime && bothPresent(stem);
    if (late.isEmpty() && !current)
        return;
    QStringList files;
    for (const QString& s : late + (current ? QStringList{stem} : QStringList{}))
        files << buyFileName(s) << sellFileName(s);
    if (!m_index.isRead(files)) {
        // Read on the pool; a later tick shows the minutes.
        m_index.whenRead(files, this, [] {});
        return;
    }
    for (const QString& s : std::as_const(late))
        m_day.insertLate(s, edCode->text());
    if (current) {
        m_day.append(stem, edCode->text());
        yTime = stem;
    }
    showRows();
}

void TfrmOneSel::showRows() {
    lbHanName->setText(m_day.name());
    sgRealSel->setUpdatesEnabled(false);
    sgRealSel->refresh();
    const int rows = m_slots.rowCount();
    if (rows > kRowsInView + 1)
        sgRealSel->scrollToTopRow(rows - kRowsInView);
    sgRealSel->setUpdatesEnabled(true);
    refreshChart();
}

void TfrmOneSel::refreshChart() {
    QList<QPointF> buy;
    QList<QPointF> sell;
    QList<QPointF> difference;
    const QDate today = m_ctx.clock.now().date();
    qint64 low = 0;
    qint64 high = 1;
    for (int r = 1; r < m_slots.rowCount(); ++r) {
        const QTime time = QTime::fromString(m_slots.cell(0, r), QStringLiteral("HH : mm"));
        if (!time.isValid())
            continue;
        const qreal x = qreal(QDateTime(today, time).toMSecsSinceEpoch());
        const qint64 b = m_slots.cell(1, r).toInt();
        const qint64 s = m_slots.cell(2, r).toInt();
        buy.append({x, qreal(b)});
        sell.append({x, qreal(s)});
        difference.append({x, qreal(b - s)});
        low = std::min({low, b, s, b - s});
        high = std::max({high, b, s, b - s});
    }
    m_buySeries->replace(buy);
    m_sellSeries->replace(sell);
    m_differenceSeries->replace(difference);
    QChart* chart = chartView->chart();
    chart->setTitle(m_day.name().isEmpty() ? edCode->text()
                                           : m_day.name() + QStringLiteral(" ") + edCode->text());
    const QList<QAbstractAxis*> axes = chart->axes();
    for (QAbstractAxis* axis : axes) {
        if (auto* time = qobject_cast<QDateTimeAxis*>(axis)) {
            const QDateTime open(today, QTime(9, 0));
            const QDateTime last =
                buy.isEmpty() ? open.addSecs(3600) : QDateTime::fromMSecsSinceEpoch(qint64(buy.last().x()));
            time->setRange(open, std::max(last, open.addSecs(600)));
        } else if (auto* count = qobject_cast<QValueAxis*>(axis)) {
            count->setRange(qreal(low), qreal(high));
        }
    }
}

void TfrmOneSel::btChartClick() {
    const bool show = btChart->isChecked();
    chartView->setVisible(show);
    setFixedSize(show ? kWidth + kChartWidth : kWidth, kHeight);
}

} // namespace vantorel
