#pragma once

#include <QString>

namespace xmlatest {

// The sample cube file of the SampleCube fixture.
QString sampleCubePath();

// The endpoint of the XmlaServer fixture's Mondrian server serving that cube; empty, with the
// reason in *error, when the fixture is not running (the tests must run through ctest).
QString sampleServerUrl(QString *error);

// "Data source=<source>;Provider=MSOLAP"
QString connectionStringFor(const QString &source);

} // namespace xmlatest
