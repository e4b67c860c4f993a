#include "support/keys.h"
#include "support/qt_printers.h"
#include "support/window_fixture.h"
#include "ui/about/tform2.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/durationgrid.h"
#include "ui/components/window_plugs.h"
#include "ui/main/tform1.h"

#include <QAction>
#include <QClipboard>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quomble;
using namespace quomble::testing;

namespace {

// A log data or diagrams window that counts its showings.
class CountingWindow : public DiagramsWindow {
public:
    void ini_File_read(const std::filesystem::path&, Settings&) override {}
    void storeSettings(Settings&) const override {}
    void showModal() override { ++shown; }
    void PageControl1Change() override {}
    int shown = 0;
};

class MainWindowKeys : public WindowFixture {};

}  // namespace

TEST_F(MainWindowKeys, everyCommandIsReachedWithoutAMouse)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    auto* about = new TForm2(f.VersionText, f.BuildText, QString(), QString(), &f);
    f.setAboutWindow(about);
    int aboutShown = 0;
    bool framed = false;
    QObject::connect(about, &TForm2::closed, [&] { ++aboutShown; });
    auto closeAboutWhenShown = [&] {
        QTimer::singleShot(0, about, [&] {
            framed = f.Bevel1->isVisible();
            QTest::keyClick(about, Qt::Key_Escape);
        });
    };
    CountingWindow logData;
    CountingWindow diagrams;
    int crashesShown = 0;
    f.setLogDataWindow(&logData);
    f.setDiagramsWindow(&diagrams);
    f.setCrashesWindow([&] { ++crashesShown; });
    activate(&f);

    // The figures and the icon take the focus in turn; Space on the icon opens About with
    // the icon framed, as a click does.
    ASSERT_TRUE(tabTo(&f, f.StringAlignGrid1));
    ASSERT_TRUE(tabTo(&f, f.Image1));
    closeAboutWhenShown();
    press(&f, Qt::Key_Space);
    ASSERT_EQ(aboutShown, 1);
    ASSERT_TRUE(framed);
    ASSERT_TRUE(f.Bevel1->isHidden());

    // The function keys of the menu.
    activate(&f);
    closeAboutWhenShown();
    press(&f, Qt::Key_F1);
    ASSERT_EQ(aboutShown, 2);
    ASSERT_FALSE(framed);
    activate(&f);
    press(&f, Qt::Key_F2);
    press(&f, Qt::Key_F3);
    press(&f, Qt::Key_F4);
    ASSERT_EQ(logData.shown, 1);
    ASSERT_EQ(diagrams.shown, 1);
    ASSERT_EQ(crashesShown, 1);
    press(&f, Qt::Key_F12);
    ASSERT_FALSE(f.Timer1->isActive());
    QGuiApplication::clipboard()->clear();
    press(&f, Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(QGuiApplication::clipboard()->text(), f.summaryText());

    // The items without a key of their own through the popup menu: Shift+F10 opens it, and
    // so does the Menu key.
    press(&f, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(openMenu(), f.PopupMenu1);
    pickFromMenu(5);  // "save settings at end"
    ASSERT_FALSE(f.EinstellungenbeimBeendenspeichern1->isChecked());
    ASSERT_EQ(openMenu(), nullptr);
    press(&f, Qt::Key_Menu);
    ASSERT_EQ(openMenu(), f.PopupMenu1);
    pickFromMenu(6);  // "End QuombleV"
    ASSERT_FALSE(f.isVisible());
    ASSERT_FALSE(QFile::exists(dir.file(QStringLiteral("Quomble.ini"))));
}

TEST_F(MainWindowKeys, aScreenReaderReadsEachFigureWithItsValueAsItMoves)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    ASSERT_EQ(f.label(23)->accessibleName(), "Boots: 5");
    ASSERT_EQ(
        f.label(4)->accessibleName(),
        "current boot of 07.12.2026 at 11:00:00 o'clock, thus before: 0 days, 1 hour, 0 minutes, 0 seconds");
    ASSERT_EQ(f.label(16)->accessibleName().section(QLatin1Char(':'), 0, 0), "difference of last to average");
    clock.now->second = 1;
    f.Timer1Timer();
    ASSERT_TRUE(f.label(4)->accessibleName().endsWith("0 minutes, 1 second")) << f.label(4)->accessibleName();
    f.close();
}
