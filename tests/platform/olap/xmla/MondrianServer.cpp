#include "MondrianServer.h"

#include <QProcess>
#include <QStandardPaths>

namespace xmlatest {

namespace {

QString launcher()
{
    return QStringLiteral(PELMORA_FIXTURES "/xmla-server/xmla-server");
}

const char *const installHint = "the Java packages come from scripts/install-deps";

} // namespace

bool MondrianServer::start(const QString &cubeFile, QString *error)
{
    stop();
    for (const char *tool : {"java", "javac"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *error = QStringLiteral("%1 is not installed: %2.")
                         .arg(QString::fromLatin1(tool), QString::fromLatin1(installHint));
            return false;
        }
    }
    if (!m_state.isValid()) {
        *error = QStringLiteral("no temporary directory for the server's state");
        return false;
    }
    QProcess process;
    m_launched = true;
    process.start(launcher(), {QStringLiteral("start"), cubeFile, m_state.path()});
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        *error = QStringLiteral("%1 start did not finish within 3 minutes").arg(launcher());
        return false;
    }
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("%1 start failed (%2; %3):\n%4")
                     .arg(launcher(), process.errorString(), QString::fromLatin1(installHint),
                          QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    m_url = QUrl(output.section(u'\n', -1));
    if (!m_url.isValid() || m_url.port() <= 0) {
        *error = QStringLiteral("%1 start printed no endpoint: %2").arg(launcher(), output);
        stop();
        return false;
    }
    return true;
}

void MondrianServer::stop()
{
    if (!m_launched)
        return;
    m_launched = false;
    QProcess::execute(launcher(), {QStringLiteral("stop"), m_state.path()});
    m_url = QUrl();
}

} // namespace xmlatest
