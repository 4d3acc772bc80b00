// The events of the caption and the two grids, the Ctrl key on the data grid, the pick-up of a
// slicer title and the routing of a click on the data grid to its gesture.
#include "Control/core/ErrorTrap.h"
#include "Control/core/GestureRules.h"
#include "Control/core/PelmoraC02.h"
#include "platform/forms/Screen.h"

using platform::forms::setMousePointer;

namespace {

constexpr int ctrlKeyCode = 17;

} // namespace

// The event handlers run their work through passOver: an error that its own trap could not
// report (the message box failed in turn) ends there, since nothing may leave an event handler
// and a second box would fail the same way.

void PelmoraC02::lblCubo_Click()
{
    emit Click();
}

void PelmoraC02::lblCubo_DblClick()
{
    pelmora::passOver([this] { doAction(QStringLiteral("CambiaTitulo")); });
    emit DblClick();
}

void PelmoraC02::grdResults_Click()
{
    pelmora::passOver([this] {
        pelmora::trapped(QStringLiteral("grdResults_Click:"), [this] {
            const int row = grdResults->mouseRow();
            const int col = grdResults->mouseCol();
            if (row >= 0 && col >= 0 && controlFlags.Interactive) {
                // Ctrl held during the click counts even when another grid had the keys.
                if (grdResults->mouseModifiers() & Qt::ControlModifier)
                    gestureState.ctrlDown = true;
                doMovements(row, col);
            }
        });
    });
    emit Click();
}

void PelmoraC02::grdResults_DblClick()
{
    emit DblClick();
}

void PelmoraC02::grdResults_KeyDown(int KeyCode, int)
{
    if (KeyCode == ctrlKeyCode)
        gestureState.ctrlDown = true;
}

void PelmoraC02::grdResults_KeyUp(int KeyCode, int)
{
    if (KeyCode == ctrlKeyCode)
        gestureState.ctrlDown = false;
}

void PelmoraC02::grdTitulos_Click()
{
    pelmora::passOver([this] {
        if (controlFlags.Interactive)
            titleClick();
    });
    emit Click();
}

void PelmoraC02::grdTitulos_DblClick()
{
    pelmora::passOver([this] {
        if (controlFlags.Interactive)
            titleDblClick();
    });
    emit DblClick();
}

void PelmoraC02::doMovements(int row, int col)
{
    try {
        switch (pelmora::gestureFor(gestureState.movingDim, gestureState.ctrlDown)) {
        case pelmora::Gesture::Drill:
            doDrill(row, col);
            break;
        case pelmora::Gesture::Unnest:
            deAnidateDim(row, col);
            break;
        case pelmora::Gesture::Move:
            changeDim(row, col);
            break;
        case pelmora::Gesture::Nest:
            anidateDim(row, col);
            break;
        }
    } catch (...) {
        // Ctrl must be pressed again for the next gesture, whatever happened.
        gestureState.ctrlDown = false;
        pelmora::reportError(QStringLiteral("doMovements:"));
        return;
    }
    gestureState.ctrlDown = false;
}

void PelmoraC02::titleClick()
{
    pelmora::trapped(QStringLiteral("titleClick:"), [&] {
        if (gestureState.movingDim) {
            // A second click on the titles drops the title; nothing moves.
            setMousePointer(platform::forms::DefaultPointer);
            gestureState.movingDim = false;
            return;
        }
        gestureState.ctrlDown = false;
        setMousePointer(platform::forms::SizeNeswPointer);
        gestureState.movingDim = true;
        // The titles grid shows the slicer in its order, so the row is the slicer position;
        // the dimension is looked up when the title is dropped.
        gestureState.movingDimRow = grdTitulos->row();
    });
}

void PelmoraC02::titleDblClick()
{
    pelmora::trapped(QStringLiteral("titleDblClick:"), [&] {
        // The first click of the double click picked the title up.
        setMousePointer(platform::forms::DefaultPointer);
        gestureState.movingDim = false;
        // A titles grid without titles has no current cell: no name, which opens the options
        // on the first record as a name of no dimension does.
        QString name;
        if (grdTitulos->row() >= 0 && grdTitulos->cols() > 0) {
            grdTitulos->setCol(0);
            name = grdTitulos->text();
        }
        doAnalysis(findOrderDimByName(name));
        genSelect();
    });
}
