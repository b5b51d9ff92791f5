// vantorel-uitour OUT_DIR: runs the real windows offscreen against the local
// stack, opens the manual, signs in as the demo member, loads one minute on both
// sides, builds the result with a stock highlighted, and saves pictures of the
// windows.
#include "DataServer.h"
#include "Envelope.h"
#include "app/uLogin.h"
#include "common/MessageBoxes.h"
#include "common/StringGrid.h"
#include "comparison/Unit1.h"
#include "help/ManualAddress.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
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
    SystemClock clock;
    AppContext context{messages, clock, ProgramFolder(folder.path()), Config::fromBuild()};
    const QDateTime minute(clock.now().date(), QTime(10, 15));
    QDir().mkpath(context.folder.dataFolder());
    dataserver::SyntheticDay day(120, 7);
    for (const QChar side : {QLatin1Char('B'), QLatin1Char('S')}) {
        // Leave some stocks out of each side, so that one-sided stocks show too.
        const QList<QByteArray> lines = day.payload(side, minute.date(), 75).split('\n');
        const int skip = side == QLatin1Char('B') ? 11 : 7;
        QByteArray payload;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i == 0 || i % skip != 0)
                payload += lines[i] + '\n';
        }
        QFile f(
            QDir(context.folder.dataFolder())
                .filePath(side + minute.toString(QStringLiteral("yyyyMMdd_HHmm")) + QStringLiteral(".dat")));
        f.open(QIODevice::WriteOnly);
        f.write(dataserver::encodeEnvelope(payload.trimmed()));
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
    return save(main, QDir(out).filePath(QStringLiteral("main-window.png"))) ? 0 : 1;
}
