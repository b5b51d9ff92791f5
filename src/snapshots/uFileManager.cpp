#include "snapshots/uFileManager.h"

#include "common/Guard.h"

#include "snapshots/uClient.h"

#include <QLineEdit>
#include <QTimer>

namespace vantorel {

TfrmFileManager::TfrmFileManager(AppContext& context, TfrmReceive& receive, QWidget* parent)
    : QWidget(parent)
    , m_receive(receive)
    , m_scheduler(context.clock, context.folder.dataFolder(),
                  [this](const QString& fileName) {
                      m_receive.edFileName->setText(fileName);
                      m_receive.btReqClick();
                  })
    , Timer6(&m_scheduler.backlogTimer())
    , Timer7(&m_scheduler.clockTimer())
    , mmDate(m_scheduler.done)
    , gOne(m_scheduler.backlogRun) {
    setWindowTitle(QStringLiteral("파일다운및 관리화면"));
    TransferEngine& engine = m_receive.engine();
    connect(&engine, &TransferEngine::connectionLost, &m_scheduler, &DownloadScheduler::connectionLost);
    connect(&engine, &TransferEngine::connected, &m_scheduler, &DownloadScheduler::connectionOpened);
    Messages& messages = context.messages;
    connectGuarded(Timer6, &QTimer::timeout, this, messages, &TfrmFileManager::Timer6Timer);
    connectGuarded(Timer7, &QTimer::timeout, this, messages, &TfrmFileManager::Timer7Timer);
    m_scheduler.start();
}

void TfrmFileManager::Timer6Timer() {
    m_scheduler.backlogPass();
}

void TfrmFileManager::Timer7Timer() {
    m_scheduler.clockPass();
}

} // namespace vantorel
