#pragma once

// A registry store of its own for each test ($PELMORA_REGISTRY in a temporary directory, put
// back afterwards), the English locale, and message boxes recorded instead of shown.
#include "platform/registry/Store.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>
#include <ostream>

// Texts in test failures as text.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testing_support {

class TemporaryRegistry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_hadStore = qEnvironmentVariableIsSet("PELMORA_REGISTRY");
        m_previousStore = qgetenv("PELMORA_REGISTRY");
        useStore(QDir(m_dir.path()).filePath(QStringLiteral("registry")));
        m_previousLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        messages = std::make_unique<ScriptedMsgBox>();
    }

    void TearDown() override
    {
        messages.reset();
        QLocale::setDefault(m_previousLocale);
        if (m_hadStore)
            qputenv("PELMORA_REGISTRY", m_previousStore);
        else
            qunsetenv("PELMORA_REGISTRY");
    }

    // Points $PELMORA_REGISTRY at `directory`.
    void useStore(const QString &directory)
    {
        m_storeDir = directory;
        qputenv("PELMORA_REGISTRY", QFile::encodeName(directory));
    }

    platform::registry::Store store() const { return platform::registry::Store(m_storeDir); }
    QString tempPath(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    std::unique_ptr<ScriptedMsgBox> messages;

private:
    QTemporaryDir m_dir;
    QString m_storeDir;
    bool m_hadStore = false;
    QByteArray m_previousStore;
    QLocale m_previousLocale;
};

} // namespace testing_support
