#pragma once

#include <QString>

namespace platform::forms {

// The eight attributes of a font as a plain value, in the order the view file writes them.
// The defaults are the font object's, with no name. Bold and weight are kept as given: the
// holders that tie them together (the font object, the chart font) do so in their setters.
struct FontAttributes
{
    bool bold = false;
    int charset = 0;
    bool italic = false;
    QString name;
    double size = 8; // points
    bool strikethrough = false;
    bool underline = false;
    int weight = 400;

    bool operator==(const FontAttributes &) const = default;
};

} // namespace platform::forms
