#include "ui/about/tform2.h"
#include "ui/about/version.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace quomble;

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void versionFromTheBuild();
    void textsAndLayout();
    void linksOpenWithTheDefaultHandlers();
    void escapeClosesAndReportsIt();
    void aLongPathIsCutAtBothEdges();
};

void AboutTest::versionFromTheBuild()
{
    const FileVersion v = stampedFileVersion();
    QCOMPARE(versionTextOf(v), "3.9");
    QCOMPARE(buildTextOf(v), "268");
    QCOMPARE(v.release, 0);
    QCOMPARE(versionTextOf({3, 10, 0, 7}), "3.10");
    QCOMPARE(versionTextOf({}), "0.0");
    QCOMPARE(buildTextOf({}), "0");
    QCOMPARE(buildTextOf({65535, 65535, 65535, 65535}), "65535");
}

void AboutTest::textsAndLayout()
{
    TForm2 about("3.9", "268", "/opt/quombleview/Quomble.log");
    QCOMPARE(about.windowTitle(), "About");
    about.setSettingsFileName("/home/ann/.config/quombleview/Quomble.ini");
    QCOMPARE(about.size(), QSize(312, 225));
    QCOMPARE(about.Panel1->geometry(), QRect(6, 6, 300, 214));
    QCOMPARE(about.Label1->text(), "QuombleView 3.9");
    QCOMPARE(about.Label4->text(), "Build: #268");
    QCOMPARE(about.Label5->text(), "LogFile:");
    QCOMPARE(about.Label6->text(), "/opt/quombleview/Quomble.log");
    QCOMPARE(about.Label8->text(), "SettingsFile:");
    QCOMPARE(about.Label9->text(), "/home/ann/.config/quombleview/Quomble.ini");
    QCOMPARE(about.Label8->y(), 178);
    QCOMPARE(about.Label9->y(), 194);
    for (QLabel* l : {about.Label1, about.Label4, about.Label6, about.Label8, about.Label9})
        QCOMPARE(l->x(), 150 - l->width() / 2);
    QCOMPARE(about.Label1->y(), 12);
    QCOMPARE(about.Label4->y(), 50);
    QCOMPARE(about.Label6->y(), 158);
    QCOMPARE(about.Label5->pos(), QPoint(131, 142));
    QCOMPARE(about.Image1->geometry(), QRect(24, 84, 32, 32));
    QCOMPARE(about.Label2->pos(), QPoint(80, 84));
    QCOMPARE(about.Label7->pos(), QPoint(80, 100));
    QVERIFY(about.Label2->font().underline());
    QCOMPARE(about.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    QCOMPARE(about.Label2->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(about.Label2->text().contains("example.org"));
    QVERIFY(!about.Label2->text().contains("://"));
}

void AboutTest::linksOpenWithTheDefaultHandlers()
{
    QList<QUrl> opened;
    TForm2::setLinkOpener([&](const QUrl& url) { opened << url; });
    TForm2 about("3.9", "268", "x");
    QTest::mouseClick(about.Label2, Qt::LeftButton);
    QTest::mouseClick(about.Label7, Qt::LeftButton);
    TForm2::setLinkOpener({});
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].scheme(), "http");
    QCOMPARE(opened[0].host(), "www.example.org");
    QCOMPARE(opened[1].toString(), "mailto:" + about.Label7->text());
}

void AboutTest::escapeClosesAndReportsIt()
{
    TForm2 about("3.9", "268", "x");
    QSignalSpy closed(&about, &TForm2::closed);
    QPoint shownAt;
    QTimer::singleShot(0, &about, [&] {
        shownAt = about.pos();
        QTest::keyClick(&about, Qt::Key_Escape);
    });
    about.showModal();
    QVERIFY(!about.isVisible());
    QCOMPARE(closed.count(), 1);
    const QRect screen = about.screen()->availableGeometry();
    QVERIFY(qAbs(shownAt.x() + about.frameGeometry().width() / 2 - screen.center().x()) <= 1);

    // The close box closes it too.
    QTimer::singleShot(0, &about, [&] { about.close(); });
    about.showModal();
    QCOMPARE(closed.count(), 2);
}

void AboutTest::aLongPathIsCutAtBothEdges()
{
    TForm2 about("3.9", "268", "/" + QString(200, 'x') + "/Quomble.log");
    QVERIFY(about.Label6->x() < 0);
    QCOMPARE(about.Label6->x(), 150 - about.Label6->width() / 2);
}

QTEST_MAIN(AboutTest)
#include "test_about.moc"
