// The SMS gateway stand-in's request parser: whatever arrives, the parsed
// headers are lower-case single lines, and every answer is one of the
// service's statuses with a JSON object for its body; only an accepted
// message is logged.

#include "FuzzSupport.h"
#include "GatewayServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace vantorel;
using namespace vantorel::smsgateway;

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    static QTemporaryDir dir;
    static const QString log = QDir(dir.path()).filePath(QStringLiteral("sms.log"));
    // The seeds' signed requests are dated at this moment.
    static const QDateTime now = QDateTime::fromString(QStringLiteral("2026-12-10T09:00:00Z"), Qt::ISODate);
    static GatewayServer server(
        {QStringLiteral("FUZZKEY"), QStringLiteral("FUZZSECRET"), QStringLiteral("0212345678"), log});

    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype end = input.indexOf("\r\n\r\n");
    const std::optional<HttpRequest> parsed = parseHead(end < 0 ? input : input.left(end));
    if (!parsed)
        return 0;
    HttpRequest request = *parsed;
    for (auto it = request.headers.cbegin(); it != request.headers.cend(); ++it) {
        fuzz::check(it.key() == it.key().toLower(), "header names are lower case",
                    QString::fromUtf8(it.key()));
        fuzz::check(!it.key().contains('\n') && !it.value().contains('\n'), "a header is one line");
    }
    if (end >= 0)
        request.body = input.mid(end + 4);

    const qint64 logged = QFileInfo(log).size();
    const HttpAnswer answer = server.answer(request, now);
    static const QList<int> statuses{200, 400, 403, 404, 405, 500};
    fuzz::check(statuses.contains(answer.status), "a known status", QString::number(answer.status));
    fuzz::check(QJsonDocument::fromJson(answer.body).isObject(), "the body is a JSON object",
                QString::fromUtf8(answer.body));
    fuzz::check((answer.status == 200) == (QFileInfo(log).size() > logged),
                "only an accepted message is logged");
    return 0;
}
