// A container that knows the control only by its class name, as a host program does.
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Dispatch.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <QtGlobal>

namespace {

const QString controlClass = QStringLiteral("PelmoraApp.PelmoraC02");

} // namespace

TEST(Container, CreatesTheControlByNameAndDrivesItByName)
{
    QTemporaryDir registry;
    ASSERT_TRUE(registry.isValid());
    qputenv("PELMORA_REGISTRY", QDir(registry.path()).filePath("store").toLocal8Bit());
    namespace automation = platform::automation;
    automation::registerClass(controlClass, QStringLiteral(PELMORA_APP_LIBRARY));

    QWidget window;
    QObject *object = automation::createObject(controlClass, &window);
    ASSERT_NE(object, nullptr);
    auto *control = qobject_cast<QWidget *>(object);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), &window);
    EXPECT_STREQ(object->metaObject()->className(), "PelmoraC02");

    automation::setProperty(object, "OpenServer", QStringLiteral("olap1"));
    automation::setProperty(object, "openCube", QStringLiteral("Sales"));
    EXPECT_EQ(automation::getProperty(object, "OpenServer").toString(), "olap1");
    EXPECT_EQ(automation::getProperty(object, "OpenCube").toString(), "Sales");
    // "Enabled" is the control's own property, not the widget's "enabled"; writing it also
    // disables the control's window.
    automation::setProperty(object, "Enabled", false);
    EXPECT_FALSE(automation::getProperty(object, "Enabled").toBool());
    EXPECT_FALSE(control->isEnabled());

    EXPECT_EQ(automation::invoke(object, "doAction", {QStringLiteral("StartLog")}), true);
    EXPECT_EQ(automation::invoke(object, "DOACTION", {QStringLiteral("EndLog")}), true);
    EXPECT_EQ(automation::invoke(object, "doAction", {QStringLiteral("no such command")}), false);
    EXPECT_THROW(automation::invoke(object, "noSuchMethod"), platform::Error);

    // Shown without anything to open (and disabled), it shows nothing and stays put.
    window.show();
    EXPECT_TRUE(control->isVisible());
}
