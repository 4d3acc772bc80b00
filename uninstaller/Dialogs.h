#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace uninstaller {

inline const QString caption = QStringLiteral("Halvesk Uninstaller");

// What could not be removed, each entry a path followed by CR LF.
struct FailureLists
{
    QByteArray files;
    QByteArray directories;
    QByteArray registryKeys;
    bool any() const
    {
        return !files.isEmpty() || !directories.isEmpty() || !registryKeys.isEmpty();
    }
};

// The progress window: the five steps with their markers, the result and the Close and
// Details buttons. Closing it (Close or the close box) only asks: the run decides, so that a
// close during the steps lets them finish. Esc does nothing.
class ProgressWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressWindow(const FailureLists &failures);

    void setTitleLine(const QString &text);
    // Shows the marker of step 0 (shared files) to 4 (registry entries).
    void showMarker(int step);
    // The end of the run: the result text, Close enabled and focused, Details when asked.
    void complete(const QString &result, bool details);

    QPushButton *closeButton() const { return m_close; }
    QPushButton *detailsButton() const { return m_details; }
    QLabel *resultText() const { return m_result; }
    QLabel *titleLine() const { return m_title; }
    QLabel *marker(int step) const { return m_markers[std::size_t(step)]; }

signals:
    void closeRequested();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    const FailureLists &m_failures;
    QPushButton *m_close = nullptr;
    QPushButton *m_details = nullptr;
    QLabel *m_result = nullptr;
    QLabel *m_title = nullptr;
    std::array<QLabel *, 5> m_markers{};
};

// The list of what could not be removed, read-only.
class DetailsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DetailsDialog(const FailureLists &failures, QWidget *owner = nullptr);
    // The headings and lists, blocks separated by an empty line, without the final CR LF.
    static QByteArray detailsText(const FailureLists &failures);
    QPlainTextEdit *edit() const { return m_edit; }

private:
    QPlainTextEdit *m_edit = nullptr;
};

// The question for one shared file; it ends only by one of its four buttons, with that
// button's id as the result. A path too long for the question's place is elided in its middle.
class SharedFileDialog : public QDialog
{
    Q_OBJECT

public:
    enum Answer { Yes = 1005, No = 1006, YesToAll = 1007, NoToAll = 1008 };

    explicit SharedFileDialog(const QString &path, QWidget *owner = nullptr);
    QLabel *question() const { return m_question; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_question = nullptr;
};

} // namespace uninstaller
