#include "snapshots/uClient.h"

#include "common/Guard.h"

#include <QLineEdit>
#include <QPushButton>

namespace vantorel {

TfrmReceive::TfrmReceive(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_engine(context.config.dataServerHost, context.config.dataServerPort, context.folder.dataFolder()) {
    setWindowTitle(QStringLiteral("수신용"));
    resize(320, 80);
    edFileName = new QLineEdit(this);
    edFileName->setGeometry(8, 8, 220, 23);
    btReq = new QPushButton(QStringLiteral("전송"), this);
    btReq->setGeometry(236, 8, 75, 25);

    Messages& messages = m_ctx.messages;
    connectGuarded(btReq, &QPushButton::clicked, this, messages, &TfrmReceive::btReqClick);
    // Boxes are shown from the event loop, never from inside the reading of a reply.
    connect(
        &m_engine, &TransferEngine::notice, this, [&messages](const QString& text) { messages.show(text); },
        Qt::QueuedConnection);
    connect(
        &m_engine, &TransferEngine::startFailed, this,
        [&messages](const QString& text) { messages.standardError(text); }, Qt::QueuedConnection);

    guarded(messages, [this] { FormCreate(); });
}

TfrmReceive::~TfrmReceive() {
    FormClose();
}

void TfrmReceive::FormCreate() {
    m_engine.start();
}

void TfrmReceive::FormClose() {
    m_engine.stop();
}

void TfrmReceive::btReqClick() {
    const QString name = edFileName->text();
    if (name.isEmpty()) {
        m_ctx.messages.show(QStringLiteral("Please enter a file name."));
        return;
    }
    SendFileRequest(name);
}

void TfrmReceive::SendFileRequest(const QString& name) {
    m_engine.request(name);
}

} // namespace vantorel
