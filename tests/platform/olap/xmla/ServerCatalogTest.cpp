// The object model over the Mondrian server of the XmlaServer fixture, against the local
// provider reading the same sample cube file: both must show the same catalog.
#include "QtPrinters.h"
#include "SampleServer.h"

#include "platform/olap/Catalog.h"
#include "platform/olap/Connection.h"

#include <gtest/gtest.h>

using namespace platform::olap;
using namespace xmlatest;

namespace {

QStringList catalogNames(const Connection &connection)
{
    QStringList names;
    for (Recordset rows = connection.openSchema(Connection::SchemaCatalogs); !rows.eof();
         rows.moveNext())
        names << rows.fields(QStringLiteral("CATALOG_NAME")).value().toString();
    return names;
}

QString describe(const Member &member)
{
    return member.isNull() ? QStringLiteral("(Nothing)")
                           : member.uniqueName() + u'|' + member.name() + u'|' + member.caption()
                                 + u'|' + QString::number(member.levelDepth());
}

QStringList describe(const Members &members)
{
    QStringList out;
    for (int i = 0; i < members.count(); ++i)
        out << describe(members.item(i));
    return out;
}

class ServerCatalogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        const QString url = sampleServerUrl(&error);
        if (url.isEmpty())
            FAIL() << error.toStdString();
        server.open(connectionStringFor(url));
        local.open(connectionStringFor(sampleCubePath()));
        serverCatalog.setActiveConnection(server);
        localCatalog.setActiveConnection(local);
    }

    Connection server;
    Connection local;
    Catalog serverCatalog;
    Catalog localCatalog;
};

TEST_F(ServerCatalogTest, ShowsTheCatalogOfTheCubeFile)
{
    EXPECT_EQ(catalogNames(server), catalogNames(local));
    EXPECT_EQ(serverCatalog.name(), localCatalog.name());
    const CubeDefs serverCubes = serverCatalog.cubeDefs();
    const CubeDefs localCubes = localCatalog.cubeDefs();
    ASSERT_EQ(serverCubes.count(), localCubes.count());
    const CubeDef serverCube = serverCubes.item(0);
    const CubeDef localCube = localCubes.item(0);
    EXPECT_EQ(serverCube.name(), localCube.name());

    const Dimensions serverDimensions = serverCube.dimensions();
    const Dimensions localDimensions = localCube.dimensions();
    ASSERT_EQ(serverDimensions.count(), localDimensions.count());
    for (int d = 0; d < localDimensions.count(); ++d) {
        const Dimension s = serverDimensions.item(d);
        const Dimension l = localDimensions.item(d);
        const std::string where = l.uniqueName().toStdString();
        EXPECT_EQ(s.name(), l.name()) << where;
        EXPECT_EQ(s.uniqueName(), l.uniqueName()) << where;
        const QString type = QStringLiteral("DIMENSION_TYPE");
        EXPECT_EQ(s.properties(type).value(), l.properties(type).value()) << where;
        ASSERT_EQ(s.hierarchies().count(), l.hierarchies().count()) << where;
        for (int h = 0; h < l.hierarchies().count(); ++h) {
            const Hierarchy sh = s.hierarchies().item(h);
            const Hierarchy lh = l.hierarchies().item(h);
            EXPECT_EQ(sh.name(), lh.name()) << where;
            EXPECT_EQ(sh.uniqueName(), lh.uniqueName()) << where;
            ASSERT_EQ(sh.levels().count(), lh.levels().count()) << where;
            for (int v = 0; v < lh.levels().count(); ++v) {
                const Level sl = sh.levels().item(v);
                const Level ll = lh.levels().item(v);
                EXPECT_EQ(sl.name(), ll.name()) << where;
                EXPECT_EQ(sl.uniqueName(), ll.uniqueName()) << where;
                EXPECT_EQ(sl.depth(), ll.depth()) << where;
                QStringList expected = describe(ll.members());
                // The local engine lists stored measures only; the server also lists the
                // schema's calculated measure.
                if (l.properties(type).value() == MeasuresDimension)
                    expected << QStringLiteral("[Measures].[Profit]|Profit|Profit|0");
                EXPECT_EQ(describe(sl.members()), expected) << sl.uniqueName().toStdString();
            }
        }
    }
}

TEST_F(ServerCatalogTest, ShowsTheSameParentsAndChildren)
{
    const Dimensions serverDimensions = serverCatalog.cubeDefs().item(0).dimensions();
    const Dimensions localDimensions = localCatalog.cubeDefs().item(0).dimensions();
    int compared = 0;
    for (int d = 1; d < localDimensions.count(); ++d) { // after the measures
        const Levels serverLevels = serverDimensions.item(d).hierarchies().item(0).levels();
        const Levels localLevels = localDimensions.item(d).hierarchies().item(0).levels();
        for (int v = 0; v < localLevels.count(); ++v) {
            const Members s = serverLevels.item(v).members();
            const Members l = localLevels.item(v).members();
            ASSERT_EQ(s.count(), l.count());
            for (int m = 0; m < l.count(); ++m) {
                const Member sm = s.item(m);
                const Member lm = l.item(m);
                const std::string where = lm.uniqueName().toStdString();
                EXPECT_EQ(describe(sm.parent()), describe(lm.parent())) << where;
                ASSERT_EQ(sm.childCount(), lm.childCount()) << where;
                if (lm.childCount() > 0) {
                    EXPECT_EQ(describe(sm.children()), describe(lm.children())) << where;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 10000);
}

TEST_F(ServerCatalogTest, LooksMembersUpByUniqueName)
{
    const CubeDef serverCube = serverCatalog.cubeDefs().item(0);
    const CubeDef localCube = localCatalog.cubeDefs().item(0);
    const char *const names[] = {
        "[Product].[Drink]",
        "[product].[drink].[beverages]",
        "Product.Drink",
        "[Time].[2021].[Q1].[February]",
        "[Store].[All Stores]",
        "[Measures].[Store Cost]",
        "[Product].[Beverages]", // a name one level down, not a unique name
        "[Product].[Nope]",
        "[Nope].[Drink]",
        "[Product]",
        "[Product].[Drink",
    };
    for (const char *name : names) {
        const QString text = QString::fromUtf8(name);
        EXPECT_EQ(describe(serverCube.findMember(text)), describe(localCube.findMember(text)))
            << name;
    }
    const Hierarchy product = serverCube.dimensions().item(2).hierarchies().item(0);
    const Member found = product.findMember(QStringLiteral("[PRODUCT].[Food]"));
    ASSERT_FALSE(found.isNull());
    EXPECT_EQ(found, product.levels().item(1).members().item(1));
}

TEST_F(ServerCatalogTest, BindsANamedCatalogOrTheFirst)
{
    for (const char *wanted : {"pelmora sample", "Nowhere", ""}) {
        for (Catalog *catalog : {&serverCatalog, &localCatalog}) {
            catalog->bindCatalog(QString::fromUtf8(wanted));
            EXPECT_EQ(catalog->name(), u"Pelmora Sample") << wanted;
            ASSERT_EQ(catalog->cubeDefs().count(), 1);
            EXPECT_EQ(catalog->cubeDefs().item(0).name(), u"Sales");
        }
    }
}

} // namespace
