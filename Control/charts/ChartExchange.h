#pragma once

class QWidget;

namespace platform::chart {
class Chart2D;
}

namespace pelmora {

// What the user chose in the chart format editor.
struct ChartEdit
{
    bool accepted = false;      // closed with OK and the edited format was taken on
    bool saveAsDefault = false; // the save-as-default box was ticked (only with accepted)
};

// Edits a copy of `chart` in the chart format editor, in the given language. The chart travels
// to the editor and back through a chart format file in a private temporary folder, removed
// before this returns. On OK the chart takes on the editor's format; on Cancel it keeps its look.
// A file that cannot be written or read back is reported in a message box, and the chart keeps
// its look.
ChartEdit editChartFormat(platform::chart::Chart2D &chart, int languageId, QWidget *owner);

} // namespace pelmora
