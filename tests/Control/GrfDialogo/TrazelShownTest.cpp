// Trazel started for real on the X display, in a program folder of its own, and closed with the
// mouse: OK writes def.oc2, Cancel leaves it alone. A picture of the running program is kept.
#include "Control/GrfDialogo/frmTrazel.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

namespace {

// Runs xdotool: answers whether it succeeded, and its output.
bool xdotool(const QStringList &arguments, QString *output = nullptr)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0)
        return false;
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    return true;
}

class TrazelOnScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The program and its def.oc2 in a folder of their own; it is started from another.
        program = QDir(folder.path()).filePath(QStringLiteral("Trazel"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TRAZEL_PROGRAM), program));
        def = QDir(folder.path()).filePath(QStringLiteral("def.oc2"));
        platform::chart::Chart2D chart;
        chart.chartGroups().item(1).data().setSize(3, 4);
        for (int s = 1; s <= 3; ++s)
            for (int p = 1; p <= 4; ++p)
                chart.chartGroups().item(1).data().setValue(s, p, s * 10 + p * p);
        chart.chartGroups().item(1).setChartType(platform::chart::ChartType::Bar);
        chart.header().setText(QStringLiteral("Sales by quarter"));
        ASSERT_TRUE(chart.saveFormat(def));
        // An old file, so that a write shows in its time.
        QFile file(def);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
        file.close();
        written = QFileInfo(def).lastModified();
        before = readDef();
    }
    void TearDown() override
    {
        if (trazel.state() != QProcess::NotRunning) {
            trazel.kill();
            trazel.waitForFinished(5000);
        }
    }
    QByteArray readDef() const
    {
        QFile file(def);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Starts the program and answers its window's id once it is on the screen.
    QString start()
    {
        trazel.setWorkingDirectory(elsewhere.path());
        trazel.start(program, {});
        if (!trazel.waitForStarted(10000))
            return QString();
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            QString found;
            xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--pid"), QString::number(trazel.processId()),
                     QStringLiteral("--name"), QStringLiteral("Format 2D Chart")},
                    &found);
            if (!found.isEmpty()) {
                QThread::msleep(500); // let it draw
                return found.split(u'\n').first();
            }
            QThread::msleep(100);
        }
        return QString();
    }
    // The centre of a button of the window, taken from the same window laid out here at the
    // running window's size.
    QPoint centreOf(const QString &window, QPushButton *frmTrazel::*button)
    {
        QString geometry;
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window},
                &geometry);
        QSize size(800, 880);
        for (const QString &line : geometry.split(u'\n')) {
            if (line.startsWith(QLatin1String("WIDTH=")))
                size.setWidth(line.mid(6).toInt());
            if (line.startsWith(QLatin1String("HEIGHT=")))
                size.setHeight(line.mid(7).toInt());
        }
        frmTrazel laidOut(folder.path());
        laidOut.setAttribute(Qt::WA_DontShowOnScreen);
        laidOut.show();
        laidOut.resize(size);
        laidOut.layout()->activate();
        QWidget *target = laidOut.*button;
        const QPoint centre = target->mapTo(&laidOut, target->rect().center());
        laidOut.hide();
        return centre;
    }
    bool clickAt(const QString &window, QPoint at)
    {
        return xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                        QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                        QStringLiteral("1")});
    }

    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    QString program;
    QString def;
    QDateTime written;
    QByteArray before;
    QProcess trazel;
};

} // namespace

TEST_F(TrazelOnScreen, OkWritesDefInTheProgramFolder)
{
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "Trazel's window did not appear";
    QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
    QProcess::execute(
        QStringLiteral("import"),
        {QStringLiteral("-window"), window, QStringLiteral(PELMORA_TEST_PICTURES "/trazel.png")});
    const QPoint ok = centreOf(window, &frmTrazel::cmdOK);
    ASSERT_TRUE(clickAt(window, ok));
    ASSERT_TRUE(trazel.waitForFinished(10000)) << "Trazel did not end after OK";
    EXPECT_EQ(trazel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(trazel.exitCode(), 0);
    EXPECT_GT(QFileInfo(def).lastModified(), written);
    platform::chart::Chart2D chart;
    ASSERT_TRUE(chart.loadFormat(def));
    EXPECT_EQ(chart.header().text(), "Sales by quarter");
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
}

TEST_F(TrazelOnScreen, CancelLeavesDefAsItWas)
{
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "Trazel's window did not appear";
    const QPoint cancel = centreOf(window, &frmTrazel::cmdCancel);
    ASSERT_TRUE(clickAt(window, cancel));
    ASSERT_TRUE(trazel.waitForFinished(10000)) << "Trazel did not end after Cancel";
    EXPECT_EQ(trazel.exitCode(), 0);
    EXPECT_EQ(QFileInfo(def).lastModified(), written);
    EXPECT_EQ(readDef(), before);
}
