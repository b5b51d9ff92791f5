#include "common/ProfileIni.h"
#include "common/Error.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// While it lives, this thread obeys file permissions even as root (the suite
// runs as root in CI), so that a file can be made unreadable.
class FilePermissionsObeyed {
public:
    FilePermissionsObeyed() {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~FilePermissionsObeyed() {
        if (m_lowered)
            syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
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

    EXPECT_NO_THROW(removeProfileKey(path(), kSection, kKey));
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
    EXPECT_NO_THROW(removeProfileKey(unwritable, kSection, kKey)); // nothing to remove
}

TEST_F(ProfileIni, AFileThatCannotBeReadIsNeverOverwritten) {
    const QByteArray before = "[Other]\r\nA=1\r\n[UserSettings]\r\nUserID=\"old\"\r\n";
    writeRaw(before);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::WriteOwner));
    {
        FilePermissionsObeyed obeyed;
        ASSERT_FALSE(QFile(path()).open(QIODevice::ReadOnly)) << "the file is still readable";
        EXPECT_EQ(readProfileString(path(), kSection, kKey, QStringLiteral("?")), QStringLiteral("?"));
        try {
            writeProfileString(path(), kSection, kKey, QStringLiteral("new"));
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Unable to write to ") + path()))
                << e.text().toStdString();
        }
        EXPECT_THROW(removeProfileKey(path(), kSection, kKey), Error);
    }
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readRaw(), before);
}

TEST_F(ProfileIni, LinesNotChangedKeepTheirBytesAndEncoding) {
    // Code page 949 text of another program, mixed line endings, no final one.
    const QByteArray other = "[\xC7\xD1\xB1\xDB]\r\nName=\xB1\xE8\n";
    writeRaw(other + "[UserSettings]\r\nUserID=old\r\nKeep=\xFF");
    writeProfileString(path(), kSection, kKey, QStringLiteral("caf\u00E9"));
    EXPECT_EQ(readRaw(), other + "[UserSettings]\r\nUserID=\"caf\xE9\"\r\nKeep=\xFF");
    EXPECT_EQ(readProfileString(path(), kSection, kKey, QString()), QStringLiteral("caf\u00E9"));

    // A key added after a last line without an ending gives that line one.
    writeProfileString(path(), kSection, QStringLiteral("New"), QStringLiteral("1"));
    EXPECT_EQ(readRaw(), other + "[UserSettings]\r\nUserID=\"caf\xE9\"\r\nKeep=\xFF\r\nNew=\"1\"\r\n");
    removeProfileKey(path(), kSection, kKey);
    EXPECT_EQ(readRaw(), other + "[UserSettings]\r\nKeep=\xFF\r\nNew=\"1\"\r\n");

    // Text the file's encoding cannot hold is refused, not written half.
    EXPECT_THROW(writeProfileString(path(), kSection, kKey, QStringLiteral("\uD55C")), Error);
    EXPECT_EQ(readRaw(), other + "[UserSettings]\r\nKeep=\xFF\r\nNew=\"1\"\r\n");

    // A UTF-8 file with a byte-order mark keeps it.
    writeRaw("\xEF\xBB\xBF[UserSettings]\nUserID=a\n");
    writeProfileString(path(), kSection, kKey, QStringLiteral("\uD55C"));
    EXPECT_EQ(readRaw(), QByteArray("\xEF\xBB\xBF[UserSettings]\nUserID=\"\xED\x95\x9C\"\n"));
}

} // namespace
} // namespace vantorel
