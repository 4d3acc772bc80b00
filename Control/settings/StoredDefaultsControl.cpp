// The control's stored-defaults commands: WRITEREGISTRY, WRITECHARTREGISTRY,
// WRITEPREVIEWREGISTRY and READREGISTRY.
#include "Control/core/PelmoraC02.h"
#include "Control/settings/StoredDefaults.h"
#include "platform/chart/Chart2D.h"

using pelmora::defaults::Chart2DParts;
using pelmora::defaults::SectionRead;

bool PelmoraC02::writeRegistry()
{
    return pelmora::defaults::writeSection(
        pelmora::defaults::formatSection(gridFormat, valueFormat, *controlFont));
}

bool PelmoraC02::writeChartRegistry()
{
    // Without a chart there is nothing to store.
    if (!grf2d)
        return false;
    return pelmora::defaults::writeSection(
        pelmora::defaults::chartSection(Chart2DParts::of(*grf2d)));
}

bool PelmoraC02::writePreviewRegistry()
{
    return pelmora::defaults::writeSection(pelmora::defaults::previewSection(previewOptions));
}

bool PelmoraC02::readRegistry()
{
    // The sections in order; the first value that cannot be set ends the reading, and what
    // was set stays. A control without a chart skips the chart section.
    bool result = false;
    if (pelmora::defaults::readSection(
            pelmora::defaults::formatSection(gridFormat, valueFormat, *controlFont))
            != SectionRead::Failed
        && (!grf2d
            || pelmora::defaults::readSection(
                   pelmora::defaults::chartSection(Chart2DParts::of(*grf2d)))
                   != SectionRead::Failed)
        && pelmora::defaults::readSection(pelmora::defaults::previewSection(previewOptions))
               != SectionRead::Failed)
        result = true;
    updFormat();
    return result;
}
