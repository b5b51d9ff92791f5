// vantorel-uitour OUT_DIR: runs the real windows offscreen against the local
// stack, opens the manual, fills in the member-service windows, signs in as the
// demo member, loads one minute on both sides, builds the result with a stock
// highlighted, follows that stock and the top ten, and saves pictures of the
// windows. Its clock stands at 10:15:30 of today.
#include "DataServer.h"
#include "Envelope.h"
#include "app/uLogin.h"
#include "common/MessageBoxes.h"
#include "common/StringGrid.h"
#include "comparison/Unit1.h"
#include "help/ManualAddress.h"
#include "live/uRealOneSel.h"
#include "live/uTopReal.h"
#include "members/uAddCus.h"
#include "members/uPwdChange.h"
#include "members/uSearch.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace vantorel;

namespace {

// Prints instead of showing boxes, so that nothing waits for a click.
class PrintedMessages final : public Messages {
public:
    void show(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void standardError(const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    QString saveFileName(const QString&) override { return {}; }
};

// The tour's morning stands still at 10:15:30, whatever the time it runs at.
class MorningClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate::currentDate(), QTime(10, 15, 30)); }
};

// The notice page, if the stack has one pending, is named rather than opened.
class PrintedUrlOpener final : public UrlOpener {
public:
    void open(const QUrl& url) override {
        std::fprintf(stderr, "would open: %s\n", qPrintable(url.toString()));
    }
};

bool save(QWidget* window, const QString& path) {
    const bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
}

// The member-service windows as the login window's menu opens them, filled in
// the way a member would.
bool saveMemberWindows(TfrmLogin& login, const QString& out) {
    login.N2->trigger();
    login.N3->trigger();
    login.N4->trigger();
    const auto& windows = login.serviceWindows();
    auto* signUp = dynamic_cast<TfrmAddCus*>(windows[windows.size() - 3].get());
    auto* lookup = dynamic_cast<TfrmSearch*>(windows[windows.size() - 2].get());
    auto* change = dynamic_cast<TfrmPWDChange*>(windows[windows.size() - 1].get());

    // Hangul arrives from the input method as a commit.
    QInputMethodEvent name;
    name.setCommitString(QStringLiteral("홍길동"));
    QApplication::sendEvent(signUp->edName, &name);
    QTest::keyClicks(signUp->edID, QStringLiteral("hong2025"));
    QTest::keyClicks(signUp->edPWD, QStringLiteral("pw1234"));
    QTest::keyClicks(signUp->edMailAddr, QStringLiteral("hong2025"));
    QTest::keyClick(signUp->cbMailTail, Qt::Key_Down);
    for (QRadioButton* agree : {signUp->rbRule1_1, signUp->rbRule2_1, signUp->rbRule3_1})
        QTest::mouseClick(agree, Qt::LeftButton);
    QTest::keyClicks(signUp->edMP, QStringLiteral("01098765432"));

    // The demo member's phone number.
    QTest::keyClicks(lookup->edMP, QStringLiteral("01000000000"));
    QTest::mouseClick(lookup->Button1, Qt::LeftButton);

    QTest::keyClicks(change->edID, QStringLiteral("demo01"));
    QTest::keyClicks(change->edPrePwd, QStringLiteral("1234"));
    QTest::keyClicks(change->edNowPwd, QStringLiteral("5678"));
    QApplication::processEvents();
    return save(signUp, QDir(out).filePath(QStringLiteral("signup-window.png"))) &&
           save(lookup, QDir(out).filePath(QStringLiteral("lookup-window.png"))) &&
           save(change, QDir(out).filePath(QStringLiteral("password-window.png")));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantorel-uitour OUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    // A program folder of its own, with the demo minute's two files in place.
    QTemporaryDir folder;
    PrintedMessages messages;
    MorningClock clock;
    AppContext context{messages, clock, ProgramFolder(folder.path()), Config::fromBuild()};
    const QDateTime minute(clock.now().date(), QTime(10, 15));
    QDir().mkpath(context.folder.dataFolder());
    dataserver::SyntheticDay day(120, 7);
    // The morning's files up to the demo minute, 75 minutes after 09:00.
    for (int m = 0; m <= 75; ++m) {
        for (const QChar side : {QLatin1Char('B'), QLatin1Char('S')}) {
            // Leave some stocks out of each side, so that one-sided stocks show too.
            const QList<QByteArray> lines = day.payload(side, minute.date(), m).split('\n');
            const int skip = side == QLatin1Char('B') ? 11 : 7;
            QByteArray payload;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i == 0 || i % skip != 0)
                    payload += lines[i] + '\n';
            }
            QFile f(QDir(context.folder.dataFolder())
                        .filePath(side +
                                  minute.addSecs(60 * (m - 75)).toString(QStringLiteral("yyyyMMdd_HHmm")) +
                                  QStringLiteral(".dat")));
            f.open(QIODevice::WriteOnly);
            f.write(dataserver::encodeEnvelope(payload.trimmed()));
        }
    }

    PrintedUrlOpener urlOpener;
    TfrmLogin login(context, urlOpener);
    login.show();
    QTest::keyClicks(login.edID, QStringLiteral("demo01"));
    QTest::keyClicks(login.edPWD, QStringLiteral("1234"));
    QApplication::processEvents();
    if (!save(&login, QDir(out).filePath(QStringLiteral("login-window.png"))))
        return 1;

    // The manual the build wrote, opened from the menu in the tour's program folder.
    QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath(kManualFileName),
                QDir(folder.path()).filePath(kManualFileName));
    login.N6->trigger();
    QWidget* manual = login.serviceWindows().back().get();
    // The pages are rendered in the background.
    QTest::qWait(1500);
    if (!save(manual, QDir(out).filePath(QStringLiteral("manual-window.png"))))
        return 1;
    manual->close();

    if (!saveMemberWindows(login, out))
        return 1;
    login.ckbID->setChecked(false);
    login.Button1->click();
    TfrmMain* main = login.frmMain();
    if (!main) {
        std::fprintf(stderr,
                     "the demo member could not sign in: is the local stack up (scripts/stack up)?\n");
        return 1;
    }
    main->DateTimePicker2->setDateTime(minute);
    main->DateTimePicker4->setDateTime(minute);
    main->Button17->click();
    main->Button23->click();
    main->Button5->click();
    main->Button13->click();
    main->Button19->click();
    // Highlight a stock that is on both sides, a few rows down.
    const TextGrid& total = main->sgTotalTarget->grid();
    for (int r = 4; r < total.rowCount(); ++r) {
        if (total.cell(2, r) != QLatin1String("0") && total.cell(3, r) != QLatin1String("0")) {
            main->edStockCode->setText(total.cell(0, r));
            break;
        }
    }
    QApplication::processEvents();
    if (!save(main, QDir(out).filePath(QStringLiteral("main-window.png"))))
        return 1;

    // The highlighted stock through the morning, with and without its chart.
    TfrmOneSel* stock = main->openStockWindow(main->edStockCode->text());
    QTest::keyClick(stock->edCode, Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return stock->gOne == 1; }, 10000)) {
        std::fprintf(stderr, "the single-stock query did not finish\n");
        return 1;
    }
    QTest::qWait(300);
    if (!save(stock, QDir(out).filePath(QStringLiteral("stock-window.png"))))
        return 1;
    QTest::mouseClick(stock->btChart, Qt::LeftButton);
    QTest::qWait(500);
    if (!save(stock, QDir(out).filePath(QStringLiteral("stock-window-chart.png"))))
        return 1;

    // The top-10 window, following the result.
    QTest::mouseClick(main->Button26, Qt::LeftButton);
    auto* top = qobject_cast<TfrmTopReal*>(main->liveWindows().last());
    QTest::mouseClick(top->Button1, Qt::LeftButton);
    QTest::qWait(400);
    return save(top, QDir(out).filePath(QStringLiteral("top10-window.png"))) ? 0 : 1;
}
