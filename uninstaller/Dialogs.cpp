#include "uninstaller/Dialogs.h"

#include "platform/forms/Modal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace uninstaller {

namespace {

// Dialog units: a quarter of the font's average character width, an eighth of its height.
class Units
{
public:
    explicit Units(const QWidget &widget)
    {
        const QFontMetrics metrics(widget.font());
        m_x = metrics.averageCharWidth();
        m_y = metrics.height();
    }
    QRect rect(int x, int y, int width, int height) const
    {
        return QRect(x * m_x / 4, y * m_y / 8, width * m_x / 4, height * m_y / 8);
    }
    QSize size(int width, int height) const { return rect(0, 0, width, height).size(); }

private:
    int m_x = 6;
    int m_y = 13;
};

template <typename T>
T *place(QWidget *parent, const Units &units, QRect dialogRect, const QString &name = {})
{
    auto *widget = new T(parent);
    widget->setGeometry(
        units.rect(dialogRect.x(), dialogRect.y(), dialogRect.width(), dialogRect.height()));
    if (!name.isEmpty())
        widget->setObjectName(name);
    return widget;
}

QPushButton *button(QWidget *parent, const Units &units, QRect at, const QString &text,
                    const QString &name)
{
    auto *b = place<QPushButton>(parent, units, at, name);
    b->setText(text);
    b->setAutoDefault(false);
    return b;
}

QLabel *text(QWidget *parent, const Units &units, QRect at, const QString &content,
             const QString &name = {})
{
    auto *label = place<QLabel>(parent, units, at, name);
    label->setText(content);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *icon(QWidget *parent, const Units &units, QRect at, QStyle::StandardPixmap which,
             const QString &name = {})
{
    auto *label = place<QLabel>(parent, units, at, name);
    const int side = qMin(label->width(), label->height());
    label->setPixmap(parent->style()->standardIcon(which).pixmap(side, side));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The side picture: a blue gradient with the product's mark.
QPixmap sidePicture(QSize size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(0x1F, 0x3A, 0x93));
    gradient.setColorAt(1, QColor(0x6C, 0x9B, 0xD2));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 200));
    QFont font = painter.font();
    font.setPixelSize(size.width() / 3);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("H"));
    return picture;
}

void frame(QDialog &dialog, const QString &title, QSize size)
{
    dialog.setWindowTitle(title);
    dialog.setFixedSize(size);
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}

// The question for `path`, its path elided in the middle as far as needed for the whole text to
// fit `label`: the question itself is never cut off.
QString fittedQuestion(const QLabel &label, const QString &path)
{
    const auto question = [](const QString &shown) {
        return QStringLiteral("Shared file ") + shown
               + QStringLiteral(" doesn't seem to be used by any programs. Do you want to remove "
                                "this file?");
    };
    const QFontMetrics metrics(label.font());
    const QRect box = label.contentsRect();
    const auto fits = [&](const QString &text) {
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, box.width(), box.height() * 4),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    QString text = question(path);
    const int step = qMax(1, metrics.averageCharWidth());
    for (int width = box.width(); !fits(text) && width > 0; width -= step)
        text = question(metrics.elidedText(path, Qt::ElideMiddle, width));
    return text;
}

} // namespace

ProgressWindow::ProgressWindow(const FailureLists &failures) : m_failures(failures)
{
    setObjectName(QStringLiteral("progressWindow"));
    const Units units(*this);
    frame(*this, caption, units.size(334, 218));

    auto *panel = place<QLabel>(this, units, QRect(110, 0, 223, 185));
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);

    m_close = button(this, units, QRect(278, 196, 50, 14), QStringLiteral("Close"),
                     QStringLiteral("closeButton"));
    m_close->setDefault(true);
    m_close->setEnabled(false);
    m_details = button(this, units, QRect(206, 196, 50, 14), QStringLiteral("Details..."),
                       QStringLiteral("detailsButton"));
    m_details->setEnabled(false);
    m_details->hide();

    m_result = text(this, units, QRect(132, 155, 192, 17), QString(), QStringLiteral("resultText"));
    QFont bold = m_result->font();
    bold.setWeight(QFont::Bold);
    m_result->setFont(bold);

    auto *side = place<QLabel>(this, units, QRect(0, 0, 111, 186));
    side->setPixmap(sidePicture(side->size()));
    icon(this, units, QRect(132, 13, 20, 20), QStyle::SP_TrashIcon);
    m_title = text(this, units, QRect(164, 15, 162, 16), QString(), QStringLiteral("titleLine"));

    const char *const labels[] = {"Removing shared files", "Restoring backup files",
                                  "Removing standard files", "Removing directories",
                                  "Removing registry entries"};
    const int labelY[] = {48, 64, 81, 97, 113};
    const int markerY[] = {43, 60, 76, 92, 109};
    for (int i = 0; i < 5; ++i) {
        text(this, units, QRect(164, labelY[i], 132, 9), QString::fromLatin1(labels[i]));
        m_markers[std::size_t(i)] =
            icon(this, units, QRect(132, markerY[i], 20, 20), QStyle::SP_DialogApplyButton,
                 QStringLiteral("marker%1").arg(i));
        m_markers[std::size_t(i)]->hide();
    }
    auto *line = place<QFrame>(this, units, QRect(0, 185, 334, 1));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    connect(m_details, &QPushButton::clicked, this, [this] {
        DetailsDialog details(m_failures, this);
        platform::forms::showModal(details);
    });
    connect(m_close, &QPushButton::clicked, this, &ProgressWindow::closeRequested);
}

void ProgressWindow::setTitleLine(const QString &text)
{
    m_title->setText(text);
}

void ProgressWindow::showMarker(int step)
{
    m_markers[std::size_t(step)]->show();
}

void ProgressWindow::complete(const QString &result, bool details)
{
    m_result->setText(result);
    m_close->setEnabled(true);
    m_close->setDefault(true);
    m_close->setFocus();
    if (details) {
        m_details->setEnabled(true);
        m_details->show();
    }
}

void ProgressWindow::reject()
{
    // Esc is neither Close nor the close box: it does nothing, also while the steps run.
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}

QByteArray DetailsDialog::detailsText(const FailureLists &failures)
{
    QByteArray text;
    const std::pair<const char *, const QByteArray *> blocks[] = {
        {"Couldn't delete following files:\r\n", &failures.files},
        {"Couldn't remove following directories:\r\n", &failures.directories},
        {"Couldn't delete following registry keys:\r\n", &failures.registryKeys},
    };
    for (const auto &[heading, list] : blocks)
        if (!list->isEmpty())
            text.append(heading).append(*list).append("\r\n");
    text.chop(2);
    return text;
}

DetailsDialog::DetailsDialog(const FailureLists &failures, QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("detailsDialog"));
    const Units units(*this);
    frame(*this, QStringLiteral("Details"), units.size(258, 159));
    auto *close = button(this, units, QRect(103, 140, 50, 14), QStringLiteral("Close"),
                         QStringLiteral("closeButton"));
    close->setDefault(true);
    m_edit =
        place<QPlainTextEdit>(this, units, QRect(3, 4, 250, 130), QStringLiteral("detailsEdit"));
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The edit shows lines; CR LF becomes its line break.
    m_edit->setPlainText(QString::fromUtf8(detailsText(failures))
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_edit->setReadOnly(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

SharedFileDialog::SharedFileDialog(const QString &path, QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("sharedFileDialog"));
    const Units units(*this);
    frame(*this, QStringLiteral("Remove shared file"), units.size(232, 68));
    const std::tuple<int, int, const char *, const char *> buttons[] = {
        {YesToAll, 7, "Yes to all", "yesToAllButton"},
        {Yes, 63, "Yes", "yesButton"},
        {No, 119, "No", "noButton"},
        {NoToAll, 175, "No to all", "noToAllButton"},
    };
    for (const auto &[id, x, label, name] : buttons) {
        QPushButton *b = button(this, units, QRect(x, 47, 50, 14), QString::fromLatin1(label),
                                QString::fromLatin1(name));
        if (id == Yes) {
            b->setDefault(true);
            b->setFocus();
        }
        connect(b, &QPushButton::clicked, this, [this, answer = id] { done(answer); });
    }
    m_question = text(this, units, QRect(7, 7, 218, 28), QString(), QStringLiteral("question"));
    m_question->setText(fittedQuestion(*m_question, path));
}

void SharedFileDialog::reject()
{
    // Esc has no effect: the user has to answer.
}

void SharedFileDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

} // namespace uninstaller
