#include "tests/PelmoraApp/HostTestSupport.h"

#include "PelmoraApp/frmMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace hosttest {

RecordingControl::RecordingControl(Recorder &recorder, QWidget *parent)
    : QWidget(parent), m_recorder(recorder)
{}

bool RecordingControl::doAction(const QString &action)
{
    actions.append(action);
    m_recorder.log.append(QString::number(languageId) + QLatin1Char(' ') + action);
    const bool answer = m_recorder.answers.value(action.toUpper(), false);
    const QString upper = action.toUpper();
    if (answer && (upper == QLatin1String("OPENOLAP") || upper == QLatin1String("OPENPARAM")))
        caption = m_recorder.caption;
    return answer;
}

bool RecordingControl::writeView(const QString &archivo)
{
    m_recorder.written.append(archivo);
    if (!m_recorder.writeSucceeds) {
        if (m_recorder.failureLeavesFolder)
            QDir().mkpath(archivo + QStringLiteral("/left"));
        return false;
    }
    QFile file(archivo);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false; // the view writer never replaces a file
    file.write("view " + QByteArray::number(++m_recorder.views));
    return true;
}

QWidget *Recorder::make(QWidget *parent)
{
    auto *control = new RecordingControl(*this, parent);
    made.append(control);
    return control;
}

void HostTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_previousRegistry = qgetenv("PELMORA_REGISTRY");
    qputenv("PELMORA_REGISTRY", QDir(m_dir.path()).filePath("registry").toLocal8Bit());
}

void HostTest::TearDown()
{
    qputenv("PELMORA_REGISTRY", m_previousRegistry);
}

QString HostTest::dirPath(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void HostTest::trigger(frmMain &main, const char *item)
{
    QAction *action = main.menuAction(QString::fromLatin1(item));
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
}

testing_support::ScriptedModalRunner::Step HostTest::chooseFile(const QString &file)
{
    return [file](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files || file.isEmpty())
            return int(QDialog::Rejected);
        files->selectFile(file);
        return int(QDialog::Accepted);
    };
}

std::unique_ptr<frmMain> HostTest::makeMain(Recorder *recorder)
{
    auto main = std::make_unique<frmMain>();
    if (recorder)
        main->setControlFactory([recorder](QWidget *parent) { return recorder->make(parent); });
    main->setHelpOpener([this](const QUrl &url) {
        m_helpOpened.append(url.toString());
        return m_helpOpens;
    });
    return main;
}

} // namespace hosttest
