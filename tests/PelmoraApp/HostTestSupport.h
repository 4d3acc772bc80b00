#pragma once

#include "tests/support/ScriptedModalRunner.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

class frmMain;

namespace hosttest {

class Recorder;

// A control that answers the host's calls like the cube control and records them: the
// properties the host sets, each doAction keyword, each writeView.
class RecordingControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int LanguageID MEMBER languageId)
    Q_PROPERTY(bool VisibleToolBar MEMBER visibleToolBar)
    Q_PROPERTY(QString OpenFile MEMBER openFile)
    Q_PROPERTY(QString OpenView MEMBER openView)
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(bool Interactive MEMBER interactive)

public:
    RecordingControl(Recorder &recorder, QWidget *parent);

    Q_INVOKABLE bool doAction(const QString &action);
    Q_INVOKABLE bool writeView(const QString &archivo);

    int languageId = -1;
    bool visibleToolBar = true;
    QString openFile;
    QString openView;
    QString caption;
    bool interactive = true;
    QStringList actions;

private:
    Recorder &m_recorder;
};

// What the recording controls answer, and every control made.
class Recorder
{
public:
    // doAction's answer by upper-cased keyword; False for any other.
    QHash<QString, bool> answers = {{QStringLiteral("OPENOLAP"), true},
                                    {QStringLiteral("OPENPARAM"), true}};
    // writeView writes "view <n>" into the file and answers True, or writes nothing and
    // answers False.
    bool writeSucceeds = true;
    // A failed write leaves a folder under the view's name (the old view cannot go back).
    bool failureLeavesFolder = false;
    // The caption each control takes when it opens.
    QString caption = QStringLiteral("Sales view");

    QList<QPointer<RecordingControl>> made;
    QStringList written;
    // "<LanguageID> <keyword>" for every doAction of every control.
    QStringList log;
    int views = 0;

    RecordingControl *last() const { return made.isEmpty() ? nullptr : made.last().data(); }
    // The factory a frmMain is given.
    QWidget *make(QWidget *parent);
};

// Every test starts with an empty registry store of its own.
class HostTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString dirPath(const QString &name) const;
    // Triggers the menu item of `main` named `item`; fails the test when there is none.
    static void trigger(frmMain &main, const char *item);
    // A file dialog's step: selects `file` and accepts, or cancels when `file` is empty.
    static testing_support::ScriptedModalRunner::Step chooseFile(const QString &file);
    // A main window whose child windows hold recording controls (or the real control when
    // `recorder` is null), with the help opener recording what it is asked to open.
    std::unique_ptr<frmMain> makeMain(Recorder *recorder);

    QTemporaryDir m_dir;
    QStringList m_helpOpened;
    bool m_helpOpens = true;
    QByteArray m_previousRegistry;
};

} // namespace hosttest
