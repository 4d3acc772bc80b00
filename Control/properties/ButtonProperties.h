#pragma once

#include <array>

// The toolbar buttons that have a visibility property, by their item number in the toolbar.
namespace pelmora {

struct ButtonProperty
{
    int index;                  // item number in the toolbar, from 1
    const char *key;            // the button's key (its command keyword)
    const char *property;       // the property that shows or hides it
    const char *englishToolTip; // the tooltip LanguageID 0 gives it
};

inline constexpr std::array<ButtonProperty, 14> buttonProperties{{
    {1, "openOlap", "VisibleButtonOpen", "Open cube"},
    {2, "saveView", "VisibleButtonSave", "View Save"},
    {4, "printView", "VisibleButtonPrint", "View print"},
    {5, "exportView", "VisibleButtonExport", "View export"},
    {6, "copyView", "VisibleButtonCopy", "Copy data to clipboard"},
    {8, "directMDX", "VisibleButtonDirectMDX", "MDX Direct screen"},
    {9, "showElements", "VisibleButtonShowElements", "Show / hide screen elements"},
    {10, "showChart2d", "VisibleButtonChart2d", "Show 2D chart"},
    {11, "showChart3d", "VisibleButtonChart3d", "Show 3D chart"},
    {13, "doSwapXY", "VisibleButtonSwapXY", "Swap XY axis"},
    {14, "showLayout", "VisibleButtonLayout", "Changes cube layout"},
    {15, "dimensionOptions", "VisibleButtonDimension", "Changes dimension options"},
    {17, "doFormat", "VisibleButtonFormat", "Changes cube format options"},
    {19, "aboutBox", "VisibleButtonAbout", "Shows about me screen..."},
}};

} // namespace pelmora
