#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;

namespace quomble {

class BevelPanel;
class ClickableLabel;

// The About window: program name and version, build number, the web and e-mail links,
// the program icon, the log file and the settings file in use. Created once, shown modally and centred on
// the screen each time; closing only hides it.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    // logFileName and settingsFileName: the files in use, shown one under the other.
    TForm2(const QString& versionText, const QString& buildText, const QString& logFileName,
           const QString& settingsFileName, QWidget* parent = nullptr);

    // Centres the window and runs it modally until it is closed.
    int showModal();

    void Label2Click();
    void Label7Click();
    void FormKeyDown(int key);

    // How links are opened; the desktop's default handlers unless replaced (tests).
    using LinkOpener = std::function<void(const QUrl&)>;
    static void setLinkOpener(LinkOpener opener);

    BevelPanel* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Image1 = nullptr;
    ClickableLabel* Label2 = nullptr;
    ClickableLabel* Label7 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;

signals:
    // Emitted whenever the window closes (Escape, close box or program).
    void closed();

public:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const QString& versionText, const QString& buildText, const QString& logFileName,
                    const QString& settingsFileName);
    void FormClose();
    void centreOnScreen();
    void centreInPanel(QLabel* label);
};

}  // namespace quomble
