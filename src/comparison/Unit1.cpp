#include "comparison/Unit1.h"

#include "common/Guard.h"
#include "common/StringGrid.h"
#include "common/WindowStyle.h"
#include "comparison/AutoRunGate.h"
#include "comparison/Comparison.h"
#include "comparison/GridLoader.h"
#include "comparison/GridRoutines.h"
#include "live/DayIndex.h"
#include "live/uRealOneSel.h"
#include "live/uTopReal.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

namespace vantorel {

namespace {

const QString kPickerFormat = QStringLiteral("yyyy-MM-dd HH:mm");

QLabel* makePanel(const QString& caption, const QColor& colour, QWidget* parent) {
    auto* panel = new QLabel(caption, parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(32);
    font.setBold(true);
    panel->setFont(font);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, colour);
    panel->setPalette(palette);
    return panel;
}

QGroupBox* makeRadioGroup(const QString& caption, const QStringList& items, const QRect& place,
                          QButtonGroup*& group, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(place);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setGeometry(10, 20 + 21 * i, box->width() - 14, 19);
        group->addButton(button, i);
    }
    group->button(0)->setChecked(true);
    return box;
}

QPushButton* makeButton(const QString& caption, const QRect& place, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    return button;
}

// Characters no file name in the data folder may hold.
bool isValidFileName(const QString& name) {
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("<>:\"|?*/\\").contains(c))
            return false;
    }
    return true;
}

} // namespace

TfrmMain::TfrmMain(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_auto(std::make_shared<AutoRunGate>())
    , m_dayIndex(std::make_unique<DayIndex>(context.folder.dataFolder())) {
    setWindowTitle(QStringLiteral("Morwick Corp. Data"));
    makeFixedWindow(this, 711, 789);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(12);
    setFont(font);

    Panel1 = makePanel(QStringLiteral("매수"), QColor(255, 0, 0), this);
    Panel1->setGeometry(8, 8, 129, 41);
    edStockCode = new QLineEdit(QStringLiteral("000000"), this);
    edStockCode->setGeometry(156, 8, 89, 23);
    edStockCode->setMaxLength(6);
    btnSearch = makeButton(QStringLiteral("찾기"), {256, 8, 75, 25}, this);

    DateTimePicker2 = new QDateTimeEdit(this);
    DateTimePicker2->setGeometry(8, 66, 252, 23);
    Button17 = makeButton(QStringLiteral("Set"), {282, 62, 75, 25}, this);
    edcp2 = new QLineEdit(this);
    edcp2->setGeometry(8, 95, 252, 23);
    Button5 = makeButton(QStringLiteral("소스2"), {282, 93, 75, 25}, this);
    sgcp2 = new StringGrid(m_buy, {52, 68, 114, 81}, 19, this);
    sgcp2->setGeometry(8, 125, 349, 250);

    Panel2 = makePanel(QStringLiteral("매도"), QColor(0, 0, 255), this);
    Panel2->setGeometry(8, 386, 129, 41);
    DateTimePicker4 = new QDateTimeEdit(this);
    DateTimePicker4->setGeometry(8, 448, 252, 23);
    Button23 = makeButton(QStringLiteral("Set"), {282, 445, 75, 25}, this);
    edcpM2 = new QLineEdit(this);
    edcpM2->setGeometry(8, 477, 252, 23);
    Button13 = makeButton(QStringLiteral("소스2"), {282, 476, 75, 25}, this);
    sgcpM2 = new StringGrid(m_sell, {42, 69, 119, 84}, 19, this);
    sgcpM2->setGeometry(8, 507, 349, 250);

    rgReal =
        makeRadioGroup(QStringLiteral(" 실시간 적용여부 "), {QStringLiteral("수동"), QStringLiteral("자동")},
                       {363, 77, 117, 67}, m_realGroup, this);
    rgBS = makeRadioGroup(QStringLiteral("정렬"), {QStringLiteral("매수"), QStringLiteral("매도")},
                          {510, 77, 91, 67}, m_bsGroup, this);

    Button25 = makeButton(QStringLiteral("전체리셋"), {629, 6, 75, 25}, this);
    Button24 = makeButton(QStringLiteral("One Real"), {629, 37, 75, 25}, this);
    Button26 = makeButton(QStringLiteral("Top Real"), {629, 68, 75, 25}, this);
    Button19 = makeButton(QStringLiteral("결과"), {629, 119, 75, 25}, this);
    sgTotalTarget = new StringGrid(m_total, {56, 60, 54, 53, 47}, 24, this);
    sgTotalTarget->setGeometry(363, 150, 340, 607);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setGeometry(0, 765, 711, 24);
    StatusBar1->setSizeGripEnabled(false);

    sgcp2->setColourRule(
        [this](int c, int r) { return snapshotCellColour(m_buy, c, r, edStockCode->text()); });
    sgcpM2->setColourRule(
        [this](int c, int r) { return snapshotCellColour(m_sell, c, r, edStockCode->text()); });
    sgTotalTarget->setColourRule(
        [this](int c, int r) { return resultCellColour(m_total, c, r, edStockCode->text()); });

    Timer8 = new QTimer(this);
    Timer8->setInterval(100);

    Messages& messages = m_ctx.messages;
    connectGuarded(Button17, &QPushButton::clicked, this, messages, &TfrmMain::Button17Click);
    connectGuarded(Button23, &QPushButton::clicked, this, messages, &TfrmMain::Button23Click);
    connectGuarded(Button5, &QPushButton::clicked, this, messages, &TfrmMain::Button5Click);
    connectGuarded(Button13, &QPushButton::clicked, this, messages, &TfrmMain::Button13Click);
    connectGuarded(Button19, &QPushButton::clicked, this, messages, &TfrmMain::Button19Click);
    connectGuarded(Button25, &QPushButton::clicked, this, messages, &TfrmMain::Button25Click);
    connectGuarded(Button24, &QPushButton::clicked, this, messages, &TfrmMain::Button24Click);
    connectGuarded(Button26, &QPushButton::clicked, this, messages, &TfrmMain::Button26Click);
    connectGuarded(Timer8, &QTimer::timeout, this, messages, &TfrmMain::Timer8Timer);
    connectGuarded(sgTotalTarget, &StringGrid::cellDoubleClicked, this, messages,
                   &TfrmMain::sgTotalTargetDblClick);
    connectGuarded(sgcp2, &StringGrid::cellSelected, this, messages, &TfrmMain::sgcp2SelectCell);
    connectGuarded(sgcpM2, &StringGrid::cellSelected, this, messages, &TfrmMain::sgcpM2SelectCell);
    connectGuarded(sgTotalTarget, &StringGrid::cellSelected, this, messages,
                   &TfrmMain::sgTotalTargetSelectCell);
    // The chosen stock shows at once, not only at the next repaint.
    connect(edStockCode, &QLineEdit::textChanged, this, [this] { repaintGrids(); });
    connect(btnSearch, &QPushButton::clicked, this, [this] { repaintGrids(); });
    // A copy of the buy picker's value that the auto mode's pool tasks read.
    connect(DateTimePicker2, &QDateTimeEdit::dateTimeChanged, this,
            [this](const QDateTime& value) { m_auto->setPicker(value); });

    for (StringGrid* grid : {sgcp2, sgcpM2, sgTotalTarget})
        grid->setMessages(messages);
    sgcp2->setObjectName(QStringLiteral("sgcp2"));
    sgcpM2->setObjectName(QStringLiteral("sgcpM2"));
    sgTotalTarget->setObjectName(QStringLiteral("sgTotalTarget"));

    guarded(messages, [this] { FormCreate(); });
    // Files from an earlier run of the day are read at once, in the background.
    m_dayIndex->updateAll();
    Timer8->start();
}

void TfrmMain::attachReceiver(TfrmReceive* receive) {
    m_receive = receive;
    connect(&receive->engine(), &TransferEngine::replyHandled, m_dayIndex.get(),
            [this](const TransferReply& reply) {
                if (reply.outcome == TransferReply::Outcome::Stored)
                    m_dayIndex->update(reply.name);
            });
}

TfrmMain::~TfrmMain() {
    // A pool task may be handing a run over: let it through (it does nothing
    // now) rather than wait for it while it waits for us.
    m_auto->close();
    Timer8->stop();
    while (!m_pool.waitForDone(10))
        QCoreApplication::processEvents();
    qDeleteAll(liveWindows());
}

void TfrmMain::FormCreate() {
    const QDateTime nine(m_ctx.clock.now().date(), QTime(9, 0));
    for (QDateTimeEdit* picker : {DateTimePicker2, DateTimePicker4}) {
        picker->setDisplayFormat(kPickerFormat);
        picker->setCalendarPopup(true);
        picker->setDateTime(nine);
    }
    m_auto->setPicker(nine);
    move(0, 0);
    gReaultRow = -1;
    pgMCnt = 0;
}

int TfrmMain::rgRealIndex() const {
    return m_realGroup->checkedId();
}

int TfrmMain::rgBSIndex() const {
    return m_bsGroup->checkedId();
}

void TfrmMain::setSide(QDateTimeEdit* picker, QLineEdit* nameField, QChar side) {
    const QString stem = slotStem(picker->dateTime());
    const QString name = side == QLatin1Char('B') ? buyFileName(stem) : sellFileName(stem);
    nameField->setText(name);
    if (QFileInfo::exists(QDir(m_ctx.folder.dataFolder()).filePath(name)))
        return;
    if (!m_receive)
        return;
    m_receive->edFileName->setText(name);
    m_receive->btReqClick();
}

void TfrmMain::loadSide(QLineEdit* nameField, StringGrid* grid) {
    GridReset4(grid->grid());
    grid->refresh();
    const QString name = nameField->text();
    if (!isValidFileName(name)) {
        m_ctx.messages.show(QStringLiteral("파일 이름에 사용할 수 없는 문자가 있습니다: ") + name);
        return;
    }
    const QString path = QDir(m_ctx.folder.dataFolder()).filePath(name);
    Memo1 << path;
    if (!QFileInfo(path).isFile()) {
        Memo1 << QStringLiteral("파일이 존재하지 않습니다: ") + path;
        return;
    }
    if (LoadDatFile(path, Memo1)) {
        LoadStringGridFromMemo(grid->grid(), Memo1);
        grid->refresh();
    }
}

void TfrmMain::Button17Click() {
    setSide(DateTimePicker2, edcp2, QLatin1Char('B'));
}

void TfrmMain::Button23Click() {
    setSide(DateTimePicker4, edcpM2, QLatin1Char('S'));
}

void TfrmMain::Button5Click() {
    loadSide(edcp2, sgcp2);
}

void TfrmMain::Button13Click() {
    loadSide(edcpM2, sgcpM2);
}

void TfrmMain::Button19Click() {
    GridReset(m_total);
    // Shown cut to two columns, the table's other three come back 64 px wide.
    sgTotalTarget->refresh();
    CompareStringGrids(m_buy, m_sell, m_total);
    SortHH(m_total, 4);
    sgTotalTarget->refresh();
    sgTotalTarget->scrollToTopRow(rgBSIndex() == 1 ? sellEndTopRow(m_total.rowCount()) : 0);
    ++pgMCnt;
}

void TfrmMain::Button25Click() {
    GridReset4(m_buy);
    GridReset4(m_sell);
    GridReset5(m_total);
    sgcp2->refresh();
    sgcpM2->refresh();
    sgTotalTarget->refresh();
}

void TfrmMain::openLiveWindow(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    m_liveWindows.append(window);
}

TfrmOneSel* TfrmMain::openStockWindow(const QString& code) {
    auto* window = new TfrmOneSel(m_ctx, *m_dayIndex, m_receive);
    if (!code.isEmpty())
        window->edCode->setText(code);
    openLiveWindow(window);
    return window;
}

TfrmTopReal* TfrmMain::openTopTenWindow() {
    auto* window = new TfrmTopReal(m_ctx, *this);
    openLiveWindow(window);
    return window;
}

QList<QWidget*> TfrmMain::liveWindows() const {
    QList<QWidget*> open;
    for (const QPointer<QWidget>& w : m_liveWindows) {
        if (w)
            open.append(w);
    }
    return open;
}

void TfrmMain::Button24Click() {
    openStockWindow({});
}

void TfrmMain::Button26Click() {
    openTopTenWindow();
}

void TfrmMain::sgcp2SelectCell(int ACol, int ARow) {
    if (ARow == 0) {
        SortHH(m_buy, ACol);
        sgcp2->refresh();
    }
}

void TfrmMain::sgcpM2SelectCell(int ACol, int ARow) {
    if (ARow == 0) {
        SortHH(m_sell, ACol);
        sgcpM2->refresh();
    }
}

void TfrmMain::sgTotalTargetSelectCell(int ACol, int ARow) {
    gReaultRow = ARow;
    if (ARow == 0) {
        SortHH(m_total, ACol);
        sgTotalTarget->refresh();
    }
}

void TfrmMain::sgTotalTargetDblClick() {
    const QString code = m_total.cell(0, gReaultRow);
    if (code.isEmpty())
        return;
    openStockWindow(code);
}

void TfrmMain::Timer8Timer() {
    if (rgRealIndex() != 1)
        return;
    const std::shared_ptr<AutoRunGate> gate = m_auto;
    const Clock* clock = &m_ctx.clock;
    const QString folder = m_ctx.folder.dataFolder();
    m_pool.start([this, gate, clock, folder] {
        if (gate->closed())
            return;
        const QDateTime now = clock->now();
        if (gate->hasRun(now))
            return;
        const QString stem = slotStem(now);
        const QDir dir(folder);
        if (!QFileInfo::exists(dir.filePath(buyFileName(stem))) ||
            !QFileInfo::exists(dir.filePath(sellFileName(stem))))
            return;
        if (!gate->claim())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, gate, now] {
                if (gate->confirm(now))
                    guarded(m_ctx.messages, [&] { autoRun(now); });
            },
            Qt::BlockingQueuedConnection);
    });
}

void TfrmMain::autoRun(const QDateTime& minute) {
    // The minute the task found both files for, not a fresh reading of the
    // clock that may already be in the next minute.
    DateTimePicker2->setDateTime(minute);
    Button17Click();
    Button5Click();
    DateTimePicker4->setDateTime(minute);
    Button23Click();
    Button13Click();
    Button19Click();
    ++pgMCnt;
}

void TfrmMain::repaintGrids() {
    sgcp2->viewport()->update();
    sgcpM2->viewport()->update();
    sgTotalTarget->viewport()->update();
}

void TfrmMain::FormClose() {
    LoadFilesIntoMemo(m_ctx.folder.dataFolder(), mmFile);
    for (const QString& path : std::as_const(mmFile))
        QFile::remove(path);
    QCoreApplication::quit();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

} // namespace vantorel
