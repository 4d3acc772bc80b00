#pragma once

#include "platform/chart/Chart3DModel.h"
#include "platform/chart/ChartModel.h"

#include <QByteArray>
#include <QString>

// Chart format files (".oc2" for the 2-D chart, ".oc3" for the 3-D chart): UTF-8 text, one
// setting a line, LF line ends (CR LF read too):
//
//   PELMORA CHART2D 1              the kind and the version of the format
//   Header.IsShowing=true          key=value; keys are the model's paths and property names
//   Header.Text="Sales \"2024\""   texts quoted, with \\ \" \n \r \t escapes
//   Group.Data.Values.1=1 2.5 -3   a series' values, locale-free, "nan" and "inf" for holes
//   END                            nothing may follow but blank lines
//
// A file holds every property of the model, in a fixed order. Reading is strict: the kind and
// version must match, every key must be present exactly once and be known, every value must
// parse and be accepted by its setter, and the file must end with END. Anything else is a
// corrupt file: the reader answers false, and the model it read into is to be thrown away.
namespace platform::chart {

QByteArray chart2DFormatText(const Chart2DModel &model);
QByteArray chart3DFormatText(const Chart3DModel &model);

// Read into `model` (meant to be a detached copy: on false it may be half changed).
bool parseChart2DFormat(const QByteArray &text, Chart2DModel &model);
bool parseChart3DFormat(const QByteArray &text, Chart3DModel &model);

// Whole-file writes (a failed write leaves the earlier file) and reads (false for a missing,
// unreadable or oversized file, or a corrupt text).
bool writeChartFormat(const QByteArray &text, const QString &path);
bool readChartFormatFile(const QString &path, QByteArray &text);

} // namespace platform::chart
