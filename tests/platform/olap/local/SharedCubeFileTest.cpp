// Connections to one cube file share one loaded copy of it while each keeps its own engine;
// a file that changed is loaded anew, and the copy goes with its last connection.

#include "platform/olap/Provider.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/LocalProvider.h"
#include "platform/olap/local/MdxEngine.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/platform/olap/local/MdxTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::olap;
using local::LocalProvider;
using testing_support::execSql;

namespace {

// The facts of each year: which copy of a file a view reads.
const QString factCount = QStringLiteral(
    "SELECT {[Measures].[Sales Count]} ON 0, [Time].[Year].Members ON 1 FROM [Sales]");
const QString browse = QStringLiteral(
    "SELECT {[Measures].[Unit Sales], [Measures].[Store Sales]} ON 0, "
    "NON EMPTY Crossjoin([Product].[Family].Members, [Store].[Country].Members) ON 1 "
    "FROM [Sales] WHERE [Time].[2022]");

std::shared_ptr<LocalProvider> connect(const QString &path)
{
    auto provider = std::dynamic_pointer_cast<LocalProvider>(openProvider(path, {}, {}));
    EXPECT_TRUE(provider) << "not a cube file's provider: " << path.toStdString();
    return provider;
}

std::string run(Provider &provider, const QString &statement)
{
    return mdx_test::values(*provider.execute(statement));
}

struct SharedCubeFile : testing::Test
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("sample.cub"));
    void SetUp() override { local::writeSampleCube(path, 3000, 11); }
};

TEST_F(SharedCubeFile, ConnectionsToOneFileShareItsCopyAndKeepTheirOwnEngines)
{
    // A second spelling of the same file, through a link, names the same copy.
    const QString link = dir.filePath(QStringLiteral("link.cub"));
    ASSERT_TRUE(QFile::link(path, link));
    auto first = connect(path);
    auto second = connect(QDir(dir.path()).filePath(QStringLiteral("./sample.cub")));
    auto third = connect(link);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->cubeFile(), second->cubeFile());
    EXPECT_EQ(first->cubeFile(), third->cubeFile());

    // Each engine has its own cache: what one ran, the other has not seen.
    const std::string expected = run(*first, browse);
    EXPECT_GT(first->engine().statistics().passes, 0);
    EXPECT_EQ(second->engine().statistics().passes, 0);
    EXPECT_EQ(second->engine().statistics().cachedCells, 0);

    // Views on several threads read the shared copy at once.
    std::vector<std::string> answers(4);
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < answers.size(); ++t) {
            threads.emplace_back([&, t] {
                LocalProvider &provider = t % 2 ? *second : *third;
                provider.engine().clearCache();
                answers[t] = run(provider, browse);
            });
        }
    }
    for (const std::string &answer : answers)
        EXPECT_EQ(answer, expected);

    // Closing views keeps the copy for the others; the last one takes it along.
    const std::weak_ptr<const local::CubeFile> copy = first->cubeFile();
    first.reset();
    third.reset();
    ASSERT_FALSE(copy.expired());
    second->engine().clearCache();
    EXPECT_EQ(run(*second, browse), expected);
    const std::string facts = run(*second, factCount);
    second.reset();
    EXPECT_TRUE(copy.expired());
    // And the next connection loads the file again.
    EXPECT_EQ(run(*connect(path), factCount), facts);
}

struct ChangeCase
{
    const char *name;
    std::function<void(const QString &path, const QString &dir)> change;
    bool sameFacts; // the file holds the same facts after the change
};

TEST_F(SharedCubeFile, AChangedFileGetsAFreshCopyAndOpenViewsKeepTheirs)
{
    const ChangeCase cases[] = {
        {"touched",
         [](const QString &file, const QString &) {
             struct stat st;
             ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
             const timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + 10, 0}};
             ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
         },
         true},
        {"a fact added in place",
         [](const QString &file, const QString &) {
             execSql(file, QStringLiteral("INSERT INTO sales_fact SELECT * FROM sales_fact "
                                          "LIMIT 1"));
         },
         false},
        {"replaced by another file",
         [](const QString &file, const QString &folder) {
             const QString other = QDir(folder).filePath(QStringLiteral("other.cub"));
             local::writeSampleCube(other, 2000, 12);
             ASSERT_EQ(std::rename(QFile::encodeName(other).constData(),
                                   QFile::encodeName(file).constData()),
                       0);
         },
         false},
    };
    for (const ChangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("cube.cub"));
        local::writeSampleCube(file, 3000, 11);
        auto before = connect(file);
        ASSERT_TRUE(before);
        const std::string facts = run(*before, factCount);
        c.change(file, folder.path());
        auto after = connect(file);
        ASSERT_TRUE(after);
        EXPECT_NE(before->cubeFile(), after->cubeFile());
        EXPECT_EQ(run(*after, factCount) == facts, c.sameFacts);
        before->engine().clearCache();
        EXPECT_EQ(run(*before, factCount), facts);
        // Views opened after the change share the fresh copy.
        EXPECT_EQ(connect(file)->cubeFile(), after->cubeFile());
    }
}

} // namespace
