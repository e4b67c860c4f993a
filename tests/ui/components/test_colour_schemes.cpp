// Every window under a dark desktop scheme, read from its pixels: each text reaches 4.5:1
// against what is behind it; under the light scheme the texts keep their own colours. And
// the tabs of both tabbed windows highlight under the mouse.
#include "support/qt_printers.h"
#include "support/window_fixture.h"
#include "ui/about/tform2.h"
#include "ui/components/chartview.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/durationgrid.h"
#include "ui/components/palette.h"
#include "ui/crashes/crashes_window.h"
#include "ui/diagrams/diagrams_fixture.h"
#include "ui/logdata/tform4.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace quomble::testing {
namespace {

// WCAG 2 contrast, measured here on its own.
double contrastOf(QRgb a, QRgb b)
{
    const auto lum = [](QRgb c) {
        const auto ch = [](int v) {
            const double x = v / 255.0;
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * ch(qRed(c)) + 0.7152 * ch(qGreen(c)) + 0.0722 * ch(qBlue(c));
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// qt6ct's "darker" scheme, role by role as its file lists them.
QPalette darkerScheme()
{
    const QRgb roles[] = {0xffffff, 0x424245, 0x979797, 0x5e5c5b, 0x302f2e, 0x4a4947, 0xffffff,
                          0xffffff, 0xffffff, 0x3d3d3d, 0x222020, 0xe7e4e0, 0x12608a, 0xf9f9f9,
                          0x0986d3, 0xa70b06, 0x5c5b5a, 0xffffff, 0x3f3f36, 0xffffff};
    QPalette p;
    for (int r = 0; r < static_cast<int>(std::size(roles)); ++r)
        p.setColor(static_cast<QPalette::ColorRole>(r), QColor(roles[r]));
    return p;
}

// KDE's Breeze Dark, its main roles.
QPalette breezeDark()
{
    QPalette p(QColor(0x31363b), QColor(0x2a2e32));
    p.setColor(QPalette::Base, QColor(0x1b1e20));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(role, QColor(0xfcfcfc));
    p.setColor(QPalette::Highlight, QColor(0x3daee9));
    return p;
}

// A place where a text is drawn, in the window's coordinates.
struct TextPlace {
    QString what;
    QRect rect;
};

void addPlace(std::vector<TextPlace>& out, QWidget* window, QWidget* w, const QString& what, QRect local)
{
    QRect r = local.translated(w->mapTo(window, QPoint()));
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        r &= QRect(p->mapTo(window, QPoint()), p->size());
    r &= window->rect();
    if (r.height() >= 4 && r.width() >= 4)
        out.push_back({window->objectName() + QLatin1Char('/') + what, r});
}

// The texts a window shows now, each with the smallest box around it that holds no frame.
std::vector<TextPlace> textPlaces(QWidget* window)
{
    std::vector<TextPlace> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QString name =
            w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            addPlace(out, window, w, name, w->rect());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
            addPlace(out, window, w, name, w->rect().adjusted(3, 3, -3, -3));
        } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->text().isEmpty()) {
            addPlace(out, window, w, name, w->rect().adjusted(3, 3, -3, -3));
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            QRect shown = tabs->rect();  // the tabs that the scroll buttons leave in view
            for (QWidget* button : tabs->findChildren<QWidget*>())
                if (button->isVisible())
                    shown.setRight(std::min(shown.right(), button->x() - 1));
            for (int i = 0; i < tabs->count(); ++i)
                addPlace(out, window, w, tabs->tabText(i), tabs->tabRect(i).adjusted(5, 5, -5, -3) & shown);
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            for (int i = 0; i < header->count(); ++i)
                addPlace(
                    out, window, header->viewport(), name + QString::number(i),
                    QRect(header->sectionViewportPosition(i), 0, header->sectionSize(i), header->height())
                            .adjusted(3, 3, -3, -3) &
                        header->viewport()->rect());
        } else if (auto* view = qobject_cast<QTableView*>(w)) {
            QAbstractItemModel* m = view->model();
            for (int r = 0; r < std::min(m->rowCount(), 12); ++r)
                for (int c = 0; c < m->columnCount(); ++c)
                    if (!view->selectionModel()->isRowSelected(r, {}) &&
                        !m->index(r, c).data().toString().trimmed().isEmpty())
                        addPlace(out, window, view->viewport(),
                                 QStringLiteral("%1 %2,%3").arg(name).arg(c).arg(r),
                                 view->visualRect(m->index(r, c)).adjusted(1, 1, -1, -1) &
                                     view->viewport()->rect());
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
            addPlace(out, window, text->viewport(), name, text->viewport()->rect().adjusted(2, 2, -2, -2));
        } else if (auto* grid = qobject_cast<DurationGrid*>(w)) {
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = 0; c < grid->columnCount(); ++c)
                    if (!grid->cell(c, r).isEmpty())
                        addPlace(out, window, w, QStringLiteral("%1 %2,%3").arg(name).arg(c).arg(r),
                                 grid->cellRect(c, r));
        } else if (auto* chart = qobject_cast<ChartView*>(w)) {
            const int iconWidth = chart->legend->iconSize().width() + chart->legend->iconTextPadding();
            for (int i = 0; i < chart->legend->itemCount(); ++i)
                addPlace(out, window, w, name + QStringLiteral(" legend %1").arg(i),
                         chart->legend->item(i)->rect().adjusted(iconWidth, 0, 0, 0));
            const QRect plot = chart->axisRect()->rect();
            addPlace(out, window, w, name + QStringLiteral(" value axis"),
                     QRect(0, plot.top(), plot.left() - 6, plot.height()));
        }
    }
    return out;
}

// The colour behind a text (the most common in its box) and its ink (the pixel that stands
// out most from it).
struct Measured {
    QRgb background;
    QRgb ink;
    double contrast() const { return contrastOf(background, ink); }
};

Measured measure(const QImage& image, const QRect& r)
{
    std::map<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[image.pixel(x, y) & 0xffffff];
    Measured m{};
    int most = 0;
    for (const auto& [colour, n] : counts)
        if (n > most)
            most = n, m.background = colour;
    m.ink = m.background;
    for (const auto& [colour, n] : counts)
        if (contrastOf(colour, m.background) > contrastOf(m.ink, m.background))
            m.ink = colour;
    return m;
}

QImage shot(QWidget* window)
{
    QCoreApplication::processEvents();
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The program's five windows over the week's log, shown.
class Windows : public WindowFixture {
protected:
    void SetUp() override
    {
        dir.writeLog(knownLog());
        ASSERT_TRUE(window().FormCreate());
        window().show();
        about = std::make_unique<TForm2>("3.9", "268", dir.file("Quomble.log"), dir.file("Quomble.ini"));
        logData = std::make_unique<TForm4>(window().model(), Settings{});
        crashes = std::make_unique<CrashesWindow>(dir.file("Quomble.log").toStdString(), clock.clock());
        crashes->reload();
        diagrams.firstShow();
        for (QWidget* w : all())
            w->show();
        for (QWidget* w : all())
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    void TearDown() override { QApplication::setPalette(QApplication::style()->standardPalette()); }

    std::vector<QWidget*> all()
    {
        return {&window(), about.get(), logData.get(), diagrams.form.get(), crashes.get()};
    }
    // The windows with each page of the tabbed ones in turn.
    void forEveryPage(const std::function<void(QWidget*)>& check)
    {
        for (QWidget* w : all()) {
            auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
            for (int page = 0; page < (tabs ? tabs->count() : 1); ++page) {
                if (tabs)
                    tabs->setCurrentIndex(page);
                check(w);
            }
        }
    }

    std::unique_ptr<TForm2> about;
    std::unique_ptr<TForm4> logData;
    std::unique_ptr<CrashesWindow> crashes;
    DiagramsFixture diagrams;
};

TEST_F(Windows, EveryTextReadsOnDarkSchemesAndAfterTheSchemeChanges)
{
    for (const QPalette& scheme : {darkerScheme(), breezeDark()}) {
        QApplication::setPalette(scheme);  // while the windows are open, as a desktop switches
        int texts = 0;
        forEveryPage([&](QWidget* w) {
            const QImage image = shot(w);
            for (const TextPlace& place : textPlaces(w)) {
                const Measured m = measure(image, place.rect);
                ++texts;
                EXPECT_GE(m.contrast(), 4.5)  // WCAG AA for text
                    << place.what.toStdString() << " on "
                    << scheme.color(QPalette::Window).name().toStdString() << ": ink "
                    << QColor(m.ink).name().toStdString() << " on "
                    << QColor(m.background).name().toStdString();
            }
        });
        EXPECT_GT(texts, 250);  // every window had its texts measured
    }
}

// Whether a text's strongest pixel is `colour` itself or its first blend towards the
// background (font smoothing leaves few pixels wholly covered).
bool drawnIn(const Measured& m, const QColor& colour)
{
    const int e[] = {colour.red(), colour.green(), colour.blue()};
    const int p[] = {qRed(m.ink), qGreen(m.ink), qBlue(m.ink)};
    const int b[] = {qRed(m.background), qGreen(m.background), qBlue(m.background)};
    int widest = 0;
    for (int c = 1; c < 3; ++c)
        if (std::abs(b[c] - e[c]) > std::abs(b[widest] - e[widest]))
            widest = c;
    const double share = double(p[widest] - e[widest]) / (b[widest] - e[widest]);
    for (int c = 0; c < 3; ++c)
        if (std::abs(e[c] + share * (b[c] - e[c]) - p[c]) > 2)
            return false;
    return share >= 0 && share <= 0.1;
}

TEST_F(Windows, LightSchemeKeepsTheTextColours)
{
    QApplication::setPalette(darkerScheme());
    QApplication::setPalette(QApplication::style()->standardPalette());  // and back
    const auto expectInk = [](QWidget* window, QWidget* w, QRect r, const QColor& colour,
                              const QString& what) {
        const Measured m = measure(shot(window), r.translated(w->mapTo(window, QPoint())));
        EXPECT_TRUE(drawnIn(m, colour))
            << what << ": ink " << QColor(m.ink).name() << ", not " << colour.name();
    };
    TForm1& main = window();
    for (const auto& [number, colour] : std::map<int, QColor>{{24, palette::Navy},
                                                              {1, palette::Black},
                                                              {4, palette::Navy},
                                                              {11, palette::Green},
                                                              {33, palette::Maroon},
                                                              {18, palette::Green},
                                                              {22, palette::Red},
                                                              {23, palette::Navy},
                                                              {57, palette::Red}})
        expectInk(&main, main.label(number), main.label(number)->rect(), colour,
                  QStringLiteral("Label%1").arg(number));
    for (const auto& [row, colour] : std::map<int, QColor>{{2, palette::Navy},
                                                           {3, palette::Green},
                                                           {5, palette::Maroon},
                                                           {9, palette::Green},
                                                           {13, palette::Red}})
        expectInk(&main, main.StringAlignGrid1, main.StringAlignGrid1->cellRect(3, row), colour,
                  QStringLiteral("row %1").arg(row));
    for (QLabel* l :
         {about->Label1, static_cast<QLabel*>(about->Label2), static_cast<QLabel*>(about->Label7)})
        expectInk(about.get(), l, l->rect(), palette::Navy, l->objectName());
    QTableView* boots = logData->StringAlignGrid1;
    for (const auto& [column, colour] : std::map<int, QColor>{{1, palette::Green}, {2, palette::Red}})
        expectInk(logData.get(), boots->viewport(), boots->visualRect(boots->model()->index(0, column)),
                  colour, QStringLiteral("boots column %1").arg(column));
    EXPECT_EQ(diagrams.form->PageControl1->Chart1->legendColor(),
              QApplication::palette().color(QPalette::Button));
}

TEST_F(Windows, TabsHighlightUnderTheMouse)
{
    for (QTabWidget* tabs : {logData->PageControl1, static_cast<QTabWidget*>(diagrams.form->PageControl1)}) {
        QTabBar* bar = tabs->tabBar();
        const QRect tab = bar->tabRect(1);
        const auto hover = [bar](QEvent::Type type, QPoint at) {
            QHoverEvent event(type, at, at, QPoint(-1, -1));
            QApplication::sendEvent(bar, &event);
        };
        hover(QEvent::HoverEnter, bar->tabRect(0).center());
        const QImage before = bar->grab(tab).toImage();
        hover(QEvent::HoverMove, tab.center());
        EXPECT_NE(bar->grab(tab).toImage(), before) << tabs->parentWidget()->objectName().toStdString();
    }
}

}  // namespace
}  // namespace quomble::testing
