#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace xmlatest {

// The Mondrian XMLA server of tests/fixtures/xmla-server serving one cube file on loopback.
class MondrianServer
{
public:
    MondrianServer() = default;
    ~MondrianServer() { stop(); }
    MondrianServer(const MondrianServer &) = delete;
    MondrianServer &operator=(const MondrianServer &) = delete;

    // Starts the server; on failure returns false and says why in *error.
    bool start(const QString &cubeFile, QString *error);
    void stop();

    QUrl url() const { return m_url; }

private:
    QTemporaryDir m_state;
    QUrl m_url;
    bool m_launched = false;
};

} // namespace xmlatest
