#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The control's toolbar as it is built: 19 items numbered from 1, each button's key being the
// command keyword it sends.
namespace pelmora {

struct ToolbarItem
{
    QString key;         // empty for a separator
    QString toolTipText; // the built-in (Spanish) tooltip
    int image = 0;       // picture number in the image list; 0 for a separator
};

inline constexpr int toolbarItemCount = 19;
inline constexpr int toolbarImageCount = 14;

const QList<ToolbarItem> &toolbarItems();

// Items that showCubeButtons shows or hides, in that order: buttons first, then separators.
const QList<int> &cubeButtonItems();
// Items that showLayoutButtons shows or hides: swap axes, layout, dimension options, format.
const QList<int> &layoutButtonItems();

// Picture `image` (1 to toolbarImageCount): the icon theme's, else one drawn here.
QIcon toolbarImage(int image);
// The drawn picture alone, so that a machine without icons still shows something.
QIcon drawnToolbarImage(int image);

} // namespace pelmora
