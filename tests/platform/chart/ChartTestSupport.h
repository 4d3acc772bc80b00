#pragma once

// Shared by the chart tests: models with every property away from its default, and looks at
// pictures.

#include "platform/chart/Chart3DModel.h"
#include "platform/chart/ChartModel.h"

#include <QImage>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace chart_test {

// Sets every property of the 2-D model to a value other than its default, with texts that need
// escaping and data with holes.
void fillEverything(platform::chart::Chart2DModel &model);
void fillEverything(platform::chart::Chart3DModel &model);

// A chart of `series` x `points` values (1..n rising and falling), labelled.
void fillData(platform::chart::ChartGroup &group, int series, int points);
void fillData(platform::chart::Chart2DModel &model, int series, int points);

// How many pixels of `image` differ clearly from `background`.
int pixelsUnlike(const QImage &image, const QColor &background);
// Whether some pixel is within `tolerance` of `color` in every channel.
bool hasColor(const QImage &image, const QColor &color, int tolerance = 24);

} // namespace chart_test
