#include "ui/about/tform2.h"
#include "ui/about/version.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <gtest/gtest.h>

#include "support/places.h"
#include "support/qt_printers.h"

using namespace quomble;
using namespace quomble::testing;

TEST(AboutTest, versionFromTheBuild)
{
    const FileVersion v = stampedFileVersion();
    ASSERT_EQ(versionTextOf(v), "3.9");
    ASSERT_EQ(buildTextOf(v), "268");
    ASSERT_EQ(v.release, 0);
    ASSERT_EQ(versionTextOf({3, 10, 0, 7}), "3.10");
    ASSERT_EQ(versionTextOf({}), "0.0");
    ASSERT_EQ(buildTextOf({}), "0");
    ASSERT_EQ(buildTextOf({65535, 65535, 65535, 65535}), "65535");
}

TEST(AboutTest, textsAndLayout)
{
    TForm2 about("3.9", "268", "/opt/quombleview/Quomble.log", "/home/ann/.config/quombleview/Quomble.ini");
    ASSERT_EQ(about.windowTitle(), "About");
    ASSERT_EQ(about.size(), QSize(312, 225));
    ASSERT_EQ(about.Label1->text(), "QuombleView 3.9");
    ASSERT_EQ(about.Label4->text(), "Build: #268");
    ASSERT_EQ(about.Label5->text(), "LogFile:");
    ASSERT_EQ(about.Label6->text(), "/opt/quombleview/Quomble.log");
    ASSERT_EQ(about.Label8->text(), "SettingsFile:");
    ASSERT_EQ(about.Label9->text(), "/home/ann/.config/quombleview/Quomble.ini");
    expectPlaces(about,
                 {
                     {"Panel1", 6, 6, 300, 214},
                     {"Label1", kCentred, 12},
                     {"Label4", kCentred, 50},
                     {"Image1", 24, 84, 32, 32},
                     {"Label2", 80, 84},
                     {"Label7", 80, 100},
                     {"Label5", 131, 142},
                     {"Label6", kCentred, 158},
                     {"Label8", kCentred, 178},
                     {"Label9", kCentred, 194},
                 },
                 150);
    ASSERT_TRUE(about.Label2->font().underline());
    ASSERT_EQ(about.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    ASSERT_EQ(about.Label2->cursor().shape(), Qt::PointingHandCursor);
    ASSERT_TRUE(about.Label2->text().contains("example.org"));
    ASSERT_TRUE(!about.Label2->text().contains("://"));
}

TEST(AboutTest, linksOpenWithTheDefaultHandlers)
{
    QList<QUrl> opened;
    TForm2::setLinkOpener([&](const QUrl& url) { opened << url; });
    TForm2 about("3.9", "268", "x", "y");
    QTest::mouseClick(about.Label2, Qt::LeftButton);
    QTest::mouseClick(about.Label7, Qt::LeftButton);
    TForm2::setLinkOpener({});
    ASSERT_EQ(opened.size(), 2);
    ASSERT_EQ(opened[0].scheme(), "http");
    ASSERT_EQ(opened[0].host(), "www.example.org");
    ASSERT_EQ(opened[1].toString(), "mailto:" + about.Label7->text());
}

TEST(AboutTest, escapeClosesAndReportsIt)
{
    TForm2 about("3.9", "268", "x", "y");
    QSignalSpy closed(&about, &TForm2::closed);
    QPoint shownAt;
    QTimer::singleShot(0, &about, [&] {
        shownAt = about.pos();
        QTest::keyClick(&about, Qt::Key_Escape);
    });
    about.showModal();
    ASSERT_TRUE(!about.isVisible());
    ASSERT_EQ(closed.count(), 1);
    const QRect screen = about.screen()->availableGeometry();
    ASSERT_TRUE(qAbs(shownAt.x() + about.frameGeometry().width() / 2 - screen.center().x()) <= 1);

    // The close box closes it too.
    QTimer::singleShot(0, &about, [&] { about.close(); });
    about.showModal();
    ASSERT_EQ(closed.count(), 2);
}

TEST(AboutTest, aLongPathIsCutAtBothEdges)
{
    TForm2 about("3.9", "268", "/" + QString(200, 'x') + "/Quomble.log", "y");
    ASSERT_TRUE(about.Label6->x() < 0);
    ASSERT_EQ(about.Label6->x(), 150 - about.Label6->width() / 2);
}
