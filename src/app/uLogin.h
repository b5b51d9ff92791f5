#pragma once

#include "app/CustomerDb.h"
#include "common/AppContext.h"
#include "common/UrlOpener.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vantorel {

class TfrmFileManager;
class TfrmMain;
class TfrmReceive;

// The application's main window for the whole run: signs the member in, owns the
// database connection, and opens the member-service windows from its menu.
class TfrmLogin : public QMainWindow {
    Q_OBJECT
public:
    // The opener shows the site's notices in the member's browser.
    TfrmLogin(AppContext& context, UrlOpener& urlOpener, QWidget* parent = nullptr);
    ~TfrmLogin() override;

    void FormCreate();
    void FormShow();
    void LoadIDFromIni();
    void SaveIDToIni(const QString& UserID);
    void DeleteIDFromIni();
    void Button1Click();
    void LoginCheck();
    void N2Click();
    void N3Click();
    void N4Click();
    void N6Click();

    CustomerDb& database() { return m_db; }
    TfrmMain* frmMain() const { return m_frmMain.get(); }
    TfrmReceive* frmReceive() const { return m_frmReceive.get(); }
    TfrmFileManager* frmFileManager() const { return m_frmFileManager.get(); }
    // The member-service and manual windows opened so far, oldest first.
    const std::vector<std::unique_ptr<QWidget>>& serviceWindows() const { return m_serviceWindows; }

    QLineEdit* edID;
    QLineEdit* edPWD;
    QCheckBox* ckbID;
    QPushButton* Button1;
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QAction* N6;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Window, typename... Args> Window* openServiceWindow(Args&&... args);

    AppContext& m_ctx;
    UrlOpener& m_urlOpener;
    CustomerDb m_db;
    // Declared so that they are destroyed in the reverse order of need: the
    // scheduler and the main window both use the transfer window.
    std::unique_ptr<TfrmReceive> m_frmReceive;
    std::unique_ptr<TfrmMain> m_frmMain;
    std::unique_ptr<TfrmFileManager> m_frmFileManager;
    std::vector<std::unique_ptr<QWidget>> m_serviceWindows;
};

} // namespace vantorel
