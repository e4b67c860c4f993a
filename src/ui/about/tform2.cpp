#include "ui/about/tform2.h"

#include "ui/about/contact.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
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
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, palette::Navy);
    label->setPalette(pal);
    label->setCursor(Qt::PointingHandCursor);
    label->move(x, y);
    setLabelText(label, text);
    return label;
}

}  // namespace

void TForm2::setLinkOpener(LinkOpener opener) { linkOpener() = std::move(opener); }

TForm2::TForm2(const QString& versionText, const QString& buildText, const QString& logFileName,
               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm2"));
    routeEscape(this, [this](int key) { FormKeyDown(key); });
    setWindowTitle(QStringLiteral("About"));
    setFont(sansFont(11));
    setFixedSize(312, 225);
    setModal(true);

    Panel1 = new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(6, 6, 300, 214);

    Label1 = makeLabel(Panel1, QStringLiteral("Label1"), 0, 12, QString(), {palette::Navy, false, 32});
    Label4 = makeLabel(Panel1, QStringLiteral("Label4"), 0, 50, QString(), {QColor(), false, 11});
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(24, 84, 32, 32);
    Image1->setPixmap(programPixmap(32));
    Label2 = makeLink(Panel1, QStringLiteral("Label2"), 80, 84, QString::fromLatin1(kWebAddress));
    Label7 = makeLink(Panel1, QStringLiteral("Label7"), 80, 100, QString::fromLatin1(kMailAddress));
    Label5 = makeLabel(Panel1, QStringLiteral("Label5"), 131, 142, QStringLiteral("LogFile:"));
    Label6 = makeLabel(Panel1, QStringLiteral("Label6"), 0, 158, QString());
    Label8 = makeLabel(Panel1, QStringLiteral("Label8"), 0, 178, QStringLiteral("SettingsFile:"));
    Label9 = makeLabel(Panel1, QStringLiteral("Label9"), 0, 194, QString());
    connect(Label2, &ClickableLabel::clicked, this, &TForm2::Label2Click);
    connect(Label7, &ClickableLabel::clicked, this, &TForm2::Label7Click);

    FormCreate(versionText, buildText, logFileName);
    centreOnScreen();
}

void TForm2::FormCreate(const QString& versionText, const QString& buildText, const QString& logFileName)
{
    setWindowIcon(programIcon());
    setLabelText(Label1, QStringLiteral("QuombleView ") + versionText);
    centreInPanel(Label1);
    setLabelText(Label4, QStringLiteral("Build: #") + buildText);
    centreInPanel(Label4);
    setLabelText(Label6, logFileName);
    centreInPanel(Label6);
    centreInPanel(Label8);
}

void TForm2::setSettingsFileName(const QString& settingsFileName)
{
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
