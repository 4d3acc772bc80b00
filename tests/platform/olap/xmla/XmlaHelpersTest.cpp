// Source addresses, catalog binding and netrc entries.
#include "QtPrinters.h"

#include "platform/olap/xmla/Netrc.h"
#include "platform/olap/xmla/XmlaClient.h"

#include <gtest/gtest.h>

using namespace platform::olap::xmla;

namespace {

TEST(XmlaHelpers, EndpointForSource)
{
    const struct
    {
        const char *source;
        const char *endpoint; // empty: invalid
    } cases[] = {
        {"http://olap.example.com/xmla", "http://olap.example.com/xmla"},
        {"https://olap.example.com:8443/mondrian/xmla",
         "https://olap.example.com:8443/mondrian/xmla"},
        {"HTTP://Olap.Example.com/x", "http://olap.example.com/x"},
        {"olap.example.com", "http://olap.example.com/xmla"},
        {"olap:8080", "http://olap:8080/xmla"},
        {"  olap  ", "http://olap/xmla"},
        {"127.0.0.1:1234", "http://127.0.0.1:1234/xmla"},
        {"", ""},
        {"http://", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source);
        const QUrl url = endpointForSource(QString::fromUtf8(c.source));
        if (*c.endpoint)
            EXPECT_EQ(url.toString(), QString::fromUtf8(c.endpoint));
        else
            EXPECT_FALSE(url.isValid()) << url.toString().toStdString();
    }
}

TEST(XmlaHelpers, ChooseCatalog)
{
    const Rowset catalogs({"CATALOG_NAME", "DESCRIPTION"},
                          {{"FoodMart", "x"}, {"Sales 2024", "y"}, {"T", "z"}});
    EXPECT_EQ(chooseCatalog(catalogs, "sales 2024"), u"Sales 2024");
    EXPECT_EQ(chooseCatalog(catalogs, "T"), u"T");
    EXPECT_EQ(chooseCatalog(catalogs, "Missing"), u"FoodMart");
    EXPECT_EQ(chooseCatalog(catalogs, ""), u"FoodMart");
    EXPECT_EQ(chooseCatalog(Rowset({"CATALOG_NAME"}, {}), "T"), u"");
}

TEST(XmlaHelpers, NetrcEntries)
{
    const struct
    {
        const char *name;
        const char *text;
        const char *host;
        const char *login; // nullptr: no entry
        const char *password;
    } cases[] = {
        {"one line", "machine olap login ann password pw", "olap", "ann", "pw"},
        {"several lines, host case", "machine Olap.Example.COM\n login ann\n password pw\n",
         "olap.example.com", "ann", "pw"},
        {"the first match wins", "machine a login x password 1\nmachine a login y password 2", "a",
         "x", "1"},
        {"another host", "machine a login x password 1", "b", nullptr, nullptr},
        {"default for the rest", "machine a login x password 1\ndefault login d password dd", "b",
         "d", "dd"},
        {"a machine beats default", "default login d password dd\nmachine b login x password 1",
         "b", "x", "1"},
        {"account is skipped", "machine a login x account acct password 1", "a", "x", "1"},
        {"quoted tokens", "machine a login \"my name\" password \"p w\\\"q\"", "a", "my name",
         "p w\"q"},
        {"macdef bodies are skipped",
         "macdef init\nmachine a login evil password evil\n\nmachine a login x password 1", "a",
         "x", "1"},
        {"a machine without a password", "machine a login x", "a", "x", ""},
        {"empty", "", "a", nullptr, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto entry = parseNetrc(QString::fromUtf8(c.text), QString::fromUtf8(c.host));
        if (!c.login) {
            EXPECT_FALSE(entry.has_value());
            continue;
        }
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->login, QString::fromUtf8(c.login));
        EXPECT_EQ(entry->password, QString::fromUtf8(c.password));
    }
}

TEST(XmlaHelpers, NetrcPathFollowsTheEnvironment)
{
    const QByteArray old = qgetenv("NETRC");
    const bool wasSet = qEnvironmentVariableIsSet("NETRC");
    qputenv("NETRC", "/tmp/some/netrc");
    EXPECT_EQ(netrcPath(), u"/tmp/some/netrc");
    qunsetenv("NETRC");
    EXPECT_TRUE(netrcPath().endsWith(u"/.netrc"));
    if (wasSet)
        qputenv("NETRC", old);
}

} // namespace
