#pragma once

#include "common/AppContext.h"
#include "snapshots/TransferEngine.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace vantorel {

// The hidden window that talks to the data server. Other windows ask for a file
// by writing its name into edFileName and calling btReqClick; the file shows up
// in the data folder when its reply has been read.
class TfrmReceive : public QWidget {
    Q_OBJECT
public:
    explicit TfrmReceive(AppContext& context, QWidget* parent = nullptr);
    ~TfrmReceive() override;

    void FormCreate();
    void FormClose();
    void btReqClick();
    void SendFileRequest(const QString& name);

    TransferEngine& engine() { return m_engine; }

    QLineEdit* edFileName;
    QPushButton* btReq;

private:
    AppContext& m_ctx;
    TransferEngine m_engine;
};

} // namespace vantorel
