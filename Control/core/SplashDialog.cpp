#include "Control/core/SplashDialog.h"

#include "Control/core/FormParts.h"
#include "platform/forms/AppInfo.h"
#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How long a splash screen waits to be drawn before it ends without having been seen.
constexpr int splashDrawLimitMs = 5000;

frmSplash::Sleeper &sleeperSlot()
{
    static frmSplash::Sleeper sleeper;
    return sleeper;
}

frmSplash::WebOpener &openerSlot()
{
    static frmSplash::WebOpener opener;
    return opener;
}

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

QFrame *frame(QWidget *parent, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

} // namespace

frmSplash::frmSplash(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(displayName());
    fraMainFrame = frame(this, "fraMainFrame");
    Frame1 = frame(fraMainFrame, "Frame1");
    picLogo = label(fraMainFrame, "picLogo", QString());
    picLogo->setPixmap(logo(112));
    picLogo->setWordWrap(false);
    lblProductDescription = label(fraMainFrame, "lblProductDescription", displayName());
    lblProductDescription->setMinimumWidth(380);
    lblVersion = label(fraMainFrame, "lblVersion", QStringLiteral("Versión"));
    lblPlatform = label(fraMainFrame, "lblPlatform", QSysInfo::prettyProductName());
    lblInfo = label(Frame1, "lblInfo",
                    QStringLiteral("Para información de nuestros productos consulte:"));
    lblWeb = label(Frame1, "lblWeb", webAddress());
    lblWeb->setCursor(Qt::PointingHandCursor);
    lblWeb->setStyleSheet(QStringLiteral("color: #1a4fb0; text-decoration: underline;"));
    lblWeb->installEventFilter(this);
    lblCompany = label(Frame1, "lblCompany", QStringLiteral("The Pelmora developers"));
    lblCopyright = label(Frame1, "lblCopyright",
                         QStringLiteral("Pelmora is free to use; it comes without any "
                                        "warranty."));
    cmdClose = pelmora::formButton(this, "cmdClose", QStringLiteral("&Cerrar"));
    cmdClose->setDefault(true);
    tmrSplash = new QTimer(this);
    tmrSplash->setObjectName(QStringLiteral("tmrSplash"));

    QFont nameFont = lblProductDescription->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.1);
    lblProductDescription->setFont(nameFont);

    auto *info = new QVBoxLayout(Frame1);
    for (QLabel *l : {lblInfo, lblWeb, lblCompany, lblCopyright})
        info->addWidget(l);
    auto *texts = new QVBoxLayout;
    for (QLabel *w : {lblProductDescription, lblVersion, lblPlatform})
        texts->addWidget(w);
    texts->addStretch(1);
    texts->addWidget(Frame1);
    auto *main = new QHBoxLayout(fraMainFrame);
    main->addWidget(picLogo, 0, Qt::AlignTop);
    main->addLayout(texts, 1);
    QHBoxLayout *buttons = pelmora::buttonRow({cmdClose});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraMainFrame, 1);
    layout->addLayout(buttons);

    connect(cmdClose, &QPushButton::clicked, this, &frmSplash::cmdClose_Click);
}

QString frmSplash::displayName()
{
    return QStringLiteral("Pelmora");
}

QString frmSplash::webAddress()
{
    return QStringLiteral("https://pelmora.example.org");
}

int frmSplash::showModalForm()
{
    m_loopLevel = QThread::currentThread()->loopLevel();
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmSplash::Form_Load()
{
    cmdClose->setVisible(vCerrar);
    if (!vCerrar) {
        // A splash screen has no frame to close it by.
        setWindowFlag(Qt::SplashScreen);
        // It ends even when the window system never has it drawn. Hiding a form that is
        // already hidden does not leave its modal loop, so a hidden form is shown again for
        // the moment it takes to end it.
        QTimer::singleShot(std::max(vTime, 0) + splashDrawLimitMs, this, [this] {
            m_ending = true;
            if (!isVisible())
                setVisible(true);
            done(QDialog::Rejected);
        });
    }
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(platform::forms::appMajor)
                            .arg(platform::forms::appMinor)
                            .arg(platform::forms::appRevision));
    if (vLanguageId == 0) {
        lblProductDescription->setText(
            displayName()
            + QStringLiteral(" is a sophisticated tool for working with multidimensional "
                             "databases. Using multidimensional databases and cubes, let's the "
                             "user do interactive analisys, reporting and presentation."));
        lblInfo->setText(QStringLiteral("For more info please go to:"));
        cmdClose->setText(QStringLiteral("&Close"));
    } else if (vLanguageId == 1) {
        lblProductDescription->setText(
            displayName()
            + QStringLiteral(" es una sofisticada herramienta para trabajar con bases de datos "
                             "multidimensionales. Permite el análisis interactivo, el reporteo y "
                             "la presentación de cubos y bases de datos multidimensionales."));
    }
    pelmora::centreOnScreen(*this);
}

void frmSplash::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (vCerrar || m_ending)
        return;
    // The wait runs after this paint has finished, not inside it.
    m_ending = true;
    QTimer::singleShot(0, this, &frmSplash::endSplash);
}

void frmSplash::endSplash()
{
    // Showing a splash screen handles pending events before the modal loop starts, and the form
    // can be drawn then. Hidden at that point it would leave the loop, once started, running
    // with nothing on the screen, so the end waits for the loop.
    if (m_loopLevel >= 0 && QThread::currentThread()->loopLevel() <= m_loopLevel) {
        QTimer::singleShot(10, this, &frmSplash::endSplash);
        return;
    }
    platform::forms::doEvents();
    if (const Sleeper &sleeper = sleeperSlot())
        sleeper(vTime);
    else
        QThread::msleep(ulong(std::max(vTime, 0)));
    done(QDialog::Rejected);
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblWeb && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lblWeb_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::cmdClose_Click()
{
    hide();
}

void frmSplash::lblWeb_Click()
{
    openWebAddress(lblWeb->text());
}

void frmSplash::openWebAddress(const QString &address)
{
    const WebOpener &opener = openerSlot();
    const bool opened =
        opener ? opener(address) : QDesktopServices::openUrl(QUrl::fromUserInput(address));
    if (!opened)
        platform::forms::msgBox(QStringLiteral("Error al ejecutar: ") + address);
}

frmSplash::Sleeper frmSplash::setSleeper(Sleeper sleeper)
{
    Sleeper previous = std::move(sleeperSlot());
    sleeperSlot() = std::move(sleeper);
    return previous;
}

frmSplash::WebOpener frmSplash::setWebOpener(WebOpener opener)
{
    WebOpener previous = std::move(openerSlot());
    openerSlot() = std::move(opener);
    return previous;
}

QPixmap frmSplash::logo(int size)
{
    // A cube seen from above a corner: three faces in three shades, the front edge lighter.
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QPointF top(s * 0.5, s * 0.06), left(s * 0.1, s * 0.28), right(s * 0.9, s * 0.28);
    const QPointF centre(s * 0.5, s * 0.5), bottom(s * 0.5, s * 0.94);
    const QPointF lowLeft(s * 0.1, s * 0.72), lowRight(s * 0.9, s * 0.72);
    const auto face = [&p](std::initializer_list<QPointF> points, const QColor &colour) {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points)));
        path.closeSubpath();
        p.fillPath(path, colour);
        p.setPen(QPen(QColor(255, 255, 255), 2));
        p.drawPath(path);
    };
    face({top, right, centre, left}, QColor(0x4f, 0x9d, 0xd9));
    face({left, centre, bottom, lowLeft}, QColor(0x1f, 0x5f, 0x9f));
    face({centre, right, lowRight, bottom}, QColor(0x2c, 0x7f, 0xc4));
    // The cells of a cube's faces: a grid of three on the top face.
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    for (int i = 1; i < 3; ++i) {
        const qreal t = i / 3.0;
        p.drawLine(left + (top - left) * t, centre + (right - centre) * t);
        p.drawLine(top + (right - top) * t, left + (centre - left) * t);
    }
    return picture;
}
