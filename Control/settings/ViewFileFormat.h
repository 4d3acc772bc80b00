#pragma once

#include "Control/core/ControlState.h"
#include "Control/core/LayoutRecords.h"
#include "platform/forms/FontAttributes.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace platform::forms {
class FontObject;
} // namespace platform::forms

// The view file (".vcg"): everything needed to reopen a control as the user left it, one
// record a line, each record's first item a quoted "key=value" text. Values inside the key
// text follow the user's locale (Boolean words, the decimal separator of the threshold
// bounds); the further items are the sequential file's locale-free items. Lines end CR LF.
//
// The functions here only turn a plain structure into the file's bytes and back; the control
// gathers and applies it (ViewFile.cpp).
namespace pelmora {

// The eight attributes of a font line, in the line's order.
using ViewFont = platform::forms::FontAttributes;

// Sets the attributes in the file's order: Bold, Charset, Italic, Name, Size, Strikethrough,
// Underline, Weight (so the weight has the last word on boldness).
void applyViewFont(const ViewFont &attributes, platform::forms::FontObject &font);

// The toolbar buttons a view file shows or hides, in the file's order.
inline constexpr std::array<int, 14> viewFileButtons = {1,  2,  4,  5,  6,  8,  9,
                                                        10, 11, 13, 14, 15, 17, 19};

// The fonts of a view file, in the file's order.
// clang-format off
enum ViewFontSlot : int { ControlFontSlot = 0, DataFontSlot, SubtotalFontSlot,
                          DataSubtotalFontSlot };
// clang-format on

struct ViewFile
{
    bool FormEnabled = true;
    // The control's place in its container, in the container's units; empty when the
    // container gave no value.
    std::optional<double> Left, Top, Width, Height;
    int LanguageID = English;
    // OpenServer, OpenDB, openCube, OpenFile and OpenWWWDir are stored; OpenView and MDX not.
    OpenParams openParams;
    QString currentMDX;
    QString Title;
    QList<OrderDim> orderDim; // one record per dimension: NumDims is its size
    DisplayFlags displayFlags;
    std::array<int, 4> paneValues{}; // the size setting of each pane of el1
    bool VisibleChart2d = false;
    bool VisibleChart3d = false;
    std::array<bool, viewFileButtons.size()> buttons{};
    std::array<ViewFont, 4> fonts;
    bool Interactive = true;
    GridFormat gridFormat; // its font slots are not used: see fonts
    ValueFormat valueFormat;
};

// The file's bytes: UTF-8, 72 lines plus the dimension blocks, each ended by CR LF. A double
// quote inside a text is written as two.
QByteArray viewFileText(const ViewFile &view);

// The text of a view file: UTF-8 (a byte-order mark is dropped) when the bytes are valid
// UTF-8, else Windows-1252, as files of the original program are.
QString decodeViewFileText(const QByteArray &bytes);

// Reads a whole view file. Only the lines' order gives them their meaning; keys are not
// compared. Lines after the thresholds' and the appearance's (the repeated grid lines) are
// not needed. A Boolean in a key text may be either language's word in any case, or a
// number; any other text reads as False, except for "Interactive=", which must be a Boolean
// (the items after the key text must be too); a threshold bound may use "." or "," as its
// decimal separator. Throws platform::Error with the runtime's description ("Input past end
// of file", "Type mismatch", "Overflow", "Subscript out of range", "Bad record length",
// "Invalid property value") for a file that does not read.
ViewFile parseViewFile(const QByteArray &bytes);

// The name the original program gave a view's chart format files: everything from the first
// "." of the whole path replaced by the extension (a path without "." gets it appended).
QString firstDotFileName(const QString &fileName, const QString &extension);

} // namespace pelmora
