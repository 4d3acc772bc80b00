// Every test of the control keeps the registry store and the download cache in a temporary
// directory of its own, never in the user's home.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>

namespace {

class TemporaryHome : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_dir->isValid());
        const QDir dir(m_dir->path());
        qputenv("PELMORA_REGISTRY", dir.filePath("registry").toLocal8Bit());
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    }

    void TearDown() override { m_dir.reset(); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

[[maybe_unused]] ::testing::Environment *const temporaryHome =
    ::testing::AddGlobalTestEnvironment(new TemporaryHome);

} // namespace
