#include "snapshots/uFileManager.h"

#include "common/Guard.h"
#include "snapshots/DownloadPlan.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

namespace vantorel {

TfrmFileManager::TfrmFileManager(AppContext& context, TfrmReceive& receive, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_receive(receive) {
    setWindowTitle(QStringLiteral("파일다운및 관리화면"));
    Timer6 = new QTimer(this);
    Timer7 = new QTimer(this);
    Messages& messages = m_ctx.messages;
    connectGuarded(Timer6, &QTimer::timeout, this, messages, &TfrmFileManager::Timer6Timer);
    connectGuarded(Timer7, &QTimer::timeout, this, messages, &TfrmFileManager::Timer7Timer);
    Timer6->start(100);
    Timer7->start(100);
}

bool TfrmFileManager::present(const QString& fileName) const {
    return QFileInfo::exists(QDir(m_ctx.folder.dataFolder()).filePath(fileName));
}

void TfrmFileManager::request(const QString& fileName) {
    m_receive.edFileName->setText(fileName);
    m_receive.btReqClick();
}

void TfrmFileManager::Timer6Timer() {
    if (gOne != 0)
        return;
    mmDate << backlogStems(m_ctx.clock.now());
    for (const QString& stem : std::as_const(mmDate)) {
        if (!present(buyFileName(stem)))
            request(buyFileName(stem));
        if (!present(sellFileName(stem)))
            request(sellFileName(stem));
    }
    gOne = 1;
}

void TfrmFileManager::Timer7Timer() {
    if (gOne != 1)
        return;
    const QDateTime now = m_ctx.clock.now();
    const QString stem = slotStem(now);
    if (mmDate.contains(stem) || timeOfDayNumber(now) > kLastSlotOfDay)
        return;
    if (!present(buyFileName(stem)))
        request(buyFileName(stem));
    if (!present(sellFileName(stem)))
        request(sellFileName(stem));
    if (present(buyFileName(stem)) && present(sellFileName(stem)))
        mmDate << stem;
}

} // namespace vantorel
