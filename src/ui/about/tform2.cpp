#include "ui/about/tform2.h"

#include "ui/about/contact.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/control_name.h"
#include "ui/components/escape.h"
#include "ui/components/labels.h"
#include "ui/components/palette.h"
#include "ui/components/programicon.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace quomble {

namespace {

TForm2::LinkOpener& linkOpener()
{
    static TForm2::LinkOpener opener;
    return opener;
}

void openLink(const QUrl& url)
{
    if (linkOpener())
        linkOpener()(url);
    else
        QDesktopServices::openUrl(url);  // failures are not reported
}

ClickableLabel* makeLink(QWidget* parent, const QString& name, int x, int y, const QString& text)
{
    auto* label = new ClickableLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = sansFont(13);
    font.setUnderline(true);
    label->setFont(font);
    palette::setTextColour(label, palette::Navy);
    label->setCursor(Qt::PointingHandCursor);
    label->move(x, y);
    setLabelText(label, text);
    return label;
}

// The window's labels and links, by their control names. Empty texts are filled at
// creation; the labels without a place of their own (x 0) are centred in the panel.
struct AboutLabel {
    QLabel* TForm2::*member;
    const char* name;
    int x, y;
    const char* text;
    LabelStyle style;
};
struct AboutLink {
    ClickableLabel* TForm2::*member;
    const char* name;
    int x, y;
    const char* text;
};

constexpr QSize kWindowSize(312, 225);
constexpr QRect kPanel(6, 6, 300, 214);
const AboutLabel kLabels[] = {
    {QUOMBLE_CONTROL(TForm2, Label1), 0, 12, "", {palette::Navy, false, 32}},
    {QUOMBLE_CONTROL(TForm2, Label4), 0, 50, "", {QColor(), false, 11}},
    {QUOMBLE_CONTROL(TForm2, Label5), 131, 142, "LogFile:", {}},
    {QUOMBLE_CONTROL(TForm2, Label6), 0, 158, "", {}},
    {QUOMBLE_CONTROL(TForm2, Label8), 0, 178, "SettingsFile:", {}},
    {QUOMBLE_CONTROL(TForm2, Label9), 0, 194, "", {}},
};
constexpr QRect kImage(24, 84, 32, 32);
const AboutLink kLinks[] = {
    {QUOMBLE_CONTROL(TForm2, Label2), 80, 84, kWebAddress},
    {QUOMBLE_CONTROL(TForm2, Label7), 80, 100, kMailAddress},
};

}  // namespace

void TForm2::setLinkOpener(LinkOpener opener) { linkOpener() = std::move(opener); }

TForm2::TForm2(const QString& versionText, const QString& buildText, const QString& logFileName,
               const QString& settingsFileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    nameWindow(this);
    routeEscape(this, [this](int key) { FormKeyDown(key); });
    setWindowTitle(QStringLiteral("About"));
    setFont(sansFont(11));
    setFixedSize(kWindowSize);
    setModal(true);

    nameControl(this, QUOMBLE_CONTROL(TForm2, Panel1),
                new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, this));
    Panel1->setGeometry(kPanel);
    for (const AboutLabel& row : kLabels)
        this->*row.member = makeLabel(Panel1, QLatin1String(row.name), row.x, row.y,
                                      QString::fromLatin1(row.text), row.style);
    nameControl(this, QUOMBLE_CONTROL(TForm2, Image1), new QLabel(Panel1));
    Image1->setGeometry(kImage);
    Image1->setPixmap(programPixmap(kImage.width()));
    for (const AboutLink& row : kLinks)
        this->*row.member =
            makeLink(Panel1, QLatin1String(row.name), row.x, row.y, QString::fromLatin1(row.text));
    Image1->setAccessibleName(QStringLiteral("Program icon"));
    Label2->setAccessibleDescription(QStringLiteral("Opens the web page"));
    Label7->setAccessibleDescription(QStringLiteral("Writes an e-mail"));
    connect(Label2, &ClickableLabel::clicked, this, &TForm2::Label2Click);
    connect(Label7, &ClickableLabel::clicked, this, &TForm2::Label7Click);

    FormCreate(versionText, buildText, logFileName, settingsFileName);
    centreOnScreen();
}

void TForm2::FormCreate(const QString& versionText, const QString& buildText, const QString& logFileName,
                        const QString& settingsFileName)
{
    setWindowIcon(programIcon());
    setLabelText(Label1, QStringLiteral("QuombleView ") + versionText);
    centreInPanel(Label1);
    setLabelText(Label4, QStringLiteral("Build: #") + buildText);
    centreInPanel(Label4);
    setLabelText(Label6, logFileName);
    centreInPanel(Label6);
    centreInPanel(Label8);
    setLabelText(Label9, settingsFileName);
    centreInPanel(Label9);
}

void TForm2::centreInPanel(QLabel* label)
{
    // A text wider than the panel gets a negative left and is cut off at both edges.
    label->move(Panel1->width() / 2 - label->width() / 2, label->y());
}

void TForm2::centreOnScreen()
{
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

int TForm2::showModal()
{
    centreOnScreen();
    return exec();
}

void TForm2::showEvent(QShowEvent* event)
{
    centreOnScreen();
    QDialog::showEvent(event);
}

void TForm2::Label2Click() { openLink(QUrl::fromUserInput(Label2->text())); }

void TForm2::Label7Click() { openLink(QUrl(QStringLiteral("mailto:") + Label7->text())); }

void TForm2::FormKeyDown(int key) { closeOnEscape(this, key); }

void TForm2::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void TForm2::FormClose() { emit closed(); }

}  // namespace quomble
