#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// The about box and splash screen: the product's description in the control's language, the
// version, the system it runs on, a web address that opens in the browser when clicked, and
// the logo. In about mode (vCerrar) the close button is shown and the form stays until it is
// pressed; in splash mode the form hides itself vTime milliseconds after it is first drawn.
class frmSplash : public QDialog
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    int vLanguageId = 0;
    bool vCerrar = false; // about mode
    int vTime = 0;        // splash mode: milliseconds shown

    // Load (texts of the language, the close button of the mode, centred), then the modal
    // show.
    int showModalForm();

    // The product's name before the description, and the address lblWeb shows.
    static QString displayName();
    static QString webAddress();

    // The splash screen's wait, which blocks the thread (tests shorten it), and the opening of
    // a web address in the desktop's browser (answers false when nothing could open it).
    // Empty functions restore the real ones; each answers the previous one.
    using Sleeper = std::function<void(int milliseconds)>;
    static Sleeper setSleeper(Sleeper sleeper);
    using WebOpener = std::function<bool(const QString &address)>;
    static WebOpener setWebOpener(WebOpener opener);

    // Our logo, drawn at the given size.
    static QPixmap logo(int size);

    QFrame *fraMainFrame;
    QFrame *Frame1;
    QLabel *picLogo;
    QLabel *lblProductDescription;
    QLabel *lblVersion;
    QLabel *lblPlatform;
    QLabel *lblInfo;
    QLabel *lblWeb;
    QLabel *lblCompany;
    QLabel *lblCopyright;
    QPushButton *cmdClose;
    QTimer *tmrSplash; // carries no action

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void cmdClose_Click();
    void lblWeb_Click();
    // The splash's end, once the form has been drawn: pending events run (so that the drawing
    // reaches the screen), the wait, then the form hides, which ends the modal show.
    void endSplash();
    void openWebAddress(const QString &address);

    bool m_ending = false;
    // The thread's event-loop level when the modal show began; the form's own loop runs above it.
    int m_loopLevel = -1;
};
