#include "common/ProfileIni.h"
#include "common/Error.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vantorel {
namespace {

const QString kSection = QStringLiteral("UserSettings");
const QString kKey = QStringLiteral("UserID");

class ProfileIni : public ::testing::Test {
protected:
    QString path() const { return QDir(m_dir.path()).filePath(QStringLiteral("settings.ini")); }

    void writeRaw(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readRaw() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileIni, AnyLatin1IdRoundTripsExactly) {
    const QString ids[] = {
        QStringLiteral("member01"),  QStringLiteral("a,b,c"),       QStringLiteral("x;y#z"),
        QStringLiteral("k=v=w"),     QStringLiteral("\"quoted\""),  QStringLiteral("'single'"),
        QStringLiteral("  lead"),    QStringLiteral("trail  "),     QStringLiteral(" "),
        QStringLiteral("[sect]"),    QStringLiteral("éÿ©±\u00A0ß"), QStringLiteral("\\back\\"),
        QStringLiteral("tab\there"),
    };
    for (const QString& id : ids) {
        writeProfileString(path(), kSection, kKey, id);
        EXPECT_EQ(readProfileString(path(), kSection, kKey, QStringLiteral("?")), id) << id.toStdString();
    }
}

TEST_F(ProfileIni, ReadsFilesWrittenByOtherPrograms) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QString expected;
    };
    const Case cases[] = {
        {"CR LF, unquoted", "[UserSettings]\r\nUserID=member01\r\n", QStringLiteral("member01")},
        {"other case, blanks round the value", "[usersettings]\r\n  userid =  member01  \r\n",
         QStringLiteral("member01")},
        {"quoted with blanks inside", "[UserSettings]\nUserID=\" a b \"\n", QStringLiteral(" a b ")},
        {"BOM and other sections", "\xEF\xBB\xBF[Other]\nUserID=no\n[UserSettings]\nUserID=yes\n",
         QStringLiteral("yes")},
        {"Latin-1 bytes, not UTF-8", "[UserSettings]\r\nUserID=caf\xE9\r\n", QStringLiteral("café")},
        {"key in another section only", "[Other]\nUserID=no\n", QStringLiteral("?")},
        {"section without the key", "[UserSettings]\nOther=1\n", QStringLiteral("?")},
        {"empty file", "", QStringLiteral("?")},
    };
    for (const Case& c : cases) {
        writeRaw(c.bytes);
        EXPECT_EQ(readProfileString(path(), kSection, kKey, QStringLiteral("?")), c.expected) << c.what;
    }
    EXPECT_EQ(readProfileString(path() + QStringLiteral(".missing"), kSection, kKey, QStringLiteral("?")),
              QStringLiteral("?"));
}

TEST_F(ProfileIni, WritingAndRemovingKeepTheRestOfTheFile) {
    writeRaw("[Other]\r\nA=1\r\n\r\n[UserSettings]\r\nUserID=old\r\nKeep=2\r\n");
    writeProfileString(path(), kSection, kKey, QStringLiteral("new"));
    EXPECT_EQ(readRaw(), QByteArray("[Other]\r\nA=1\r\n\r\n[UserSettings]\r\nUserID=\"new\"\r\nKeep=2\r\n"));

    EXPECT_TRUE(removeProfileKey(path(), kSection, kKey));
    EXPECT_EQ(readRaw(), QByteArray("[Other]\r\nA=1\r\n\r\n[UserSettings]\r\nKeep=2\r\n"));
    EXPECT_EQ(readProfileString(path(), kSection, kKey, QStringLiteral("?")), QStringLiteral("?"));

    // A missing section is added at the end.
    writeRaw("[Other]\nA=1\n");
    writeProfileString(path(), kSection, kKey, QStringLiteral("id"));
    EXPECT_EQ(readRaw(), QByteArray("[Other]\nA=1\n[UserSettings]\nUserID=\"id\"\n"));
}

TEST_F(ProfileIni, CreatesTheFileAndReportsAWriteFailure) {
    writeProfileString(path(), kSection, kKey, QStringLiteral("id"));
    EXPECT_EQ(readRaw(), QByteArray("[UserSettings]\r\nUserID=\"id\"\r\n"));

    const QString unwritable = QDir(m_dir.path()).filePath(QStringLiteral("no-such-folder/settings.ini"));
    try {
        writeProfileString(unwritable, kSection, kKey, QStringLiteral("id"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().contains(unwritable)) << e.text().toStdString();
    }
    EXPECT_TRUE(removeProfileKey(unwritable, kSection, kKey)); // nothing to remove
}

} // namespace
} // namespace vantorel
