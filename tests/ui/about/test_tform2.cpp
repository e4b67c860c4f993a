#include "ui/about/tform2.h"
#include "ui/about/version.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace quomble;

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
    TForm2 about("3.9", "268", "/opt/quombleview/Quomble.log");
    ASSERT_EQ(about.windowTitle(), "About");
    about.setSettingsFileName("/home/ann/.config/quombleview/Quomble.ini");
    ASSERT_EQ(about.size(), QSize(312, 225));
    ASSERT_EQ(about.Panel1->geometry(), QRect(6, 6, 300, 214));
    ASSERT_EQ(about.Label1->text(), "QuombleView 3.9");
    ASSERT_EQ(about.Label4->text(), "Build: #268");
    ASSERT_EQ(about.Label5->text(), "LogFile:");
    ASSERT_EQ(about.Label6->text(), "/opt/quombleview/Quomble.log");
    ASSERT_EQ(about.Label8->text(), "SettingsFile:");
    ASSERT_EQ(about.Label9->text(), "/home/ann/.config/quombleview/Quomble.ini");
    ASSERT_EQ(about.Label8->y(), 178);
    ASSERT_EQ(about.Label9->y(), 194);
    for (QLabel* l : {about.Label1, about.Label4, about.Label6, about.Label8, about.Label9})
        ASSERT_EQ(l->x(), 150 - l->width() / 2);
    ASSERT_EQ(about.Label1->y(), 12);
    ASSERT_EQ(about.Label4->y(), 50);
    ASSERT_EQ(about.Label6->y(), 158);
    ASSERT_EQ(about.Label5->pos(), QPoint(131, 142));
    ASSERT_EQ(about.Image1->geometry(), QRect(24, 84, 32, 32));
    ASSERT_EQ(about.Label2->pos(), QPoint(80, 84));
    ASSERT_EQ(about.Label7->pos(), QPoint(80, 100));
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
    TForm2 about("3.9", "268", "x");
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
    TForm2 about("3.9", "268", "x");
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
    TForm2 about("3.9", "268", "/" + QString(200, 'x') + "/Quomble.log");
    ASSERT_TRUE(about.Label6->x() < 0);
    ASSERT_EQ(about.Label6->x(), 150 - about.Label6->width() / 2);
}
