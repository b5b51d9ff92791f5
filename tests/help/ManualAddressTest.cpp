#include "help/ManualAddress.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(ManualAddress, JoinsTheFolderAndTheFileAsAFileAddress) {
    struct Case {
        QString folder;
        QString address;
    };
    const Case cases[] = {
        {QStringLiteral("C:\\Apps\\Viewer"),
         QStringLiteral("file:///C:/Apps/Viewer/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("C:\\Apps\\Viewer\\"),
         QStringLiteral("file:///C:/Apps/Viewer/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("C:\\"), QStringLiteral("file:///C:/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("D:\\Program Files\\모르윅 지표"),
         QStringLiteral("file:///D:/Program Files/모르윅 지표/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("C:/Apps/Viewer"),
         QStringLiteral("file:///C:/Apps/Viewer/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("/opt/vantorel"), QStringLiteral("file:///opt/vantorel/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("/opt/vantorel/"), QStringLiteral("file:///opt/vantorel/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("/home/member/내 프로그램"),
         QStringLiteral("file:///home/member/내 프로그램/모르윅 프로그램 매뉴얼.pdf")},
        {QStringLiteral("/"), QStringLiteral("file:///모르윅 프로그램 매뉴얼.pdf")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(manualAddress(c.folder), c.address) << c.folder.toStdString();
}

} // namespace
} // namespace vantorel
