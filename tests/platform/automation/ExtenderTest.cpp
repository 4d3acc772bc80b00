#include "platform/automation/Dispatch.h"
#include "platform/automation/Extender.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>

using namespace platform::automation;
using platform::forms::twipsToPixelsX;
using platform::forms::twipsToPixelsY;

TEST(Extender, GeometryInTwipsMovesAndResizesTheWidget)
{
    QWidget container;
    auto *control = new QWidget(&container);
    Extender extender(control);

    extender.setLeft(1500);
    extender.setTop(750);
    extender.setWidth(3000);
    extender.setHeight(1200);
    EXPECT_EQ(control->geometry(), QRect(twipsToPixelsX(1500), twipsToPixelsY(750),
                                         twipsToPixelsX(3000), twipsToPixelsY(1200)));
    if (twipsToPixelsX(1500) == 100) { // 96 DPI: whole pixels read back exactly
        EXPECT_EQ(extender.left(), 1500);
        EXPECT_EQ(extender.top(), 750);
        EXPECT_EQ(extender.width(), 3000);
        EXPECT_EQ(extender.height(), 1200);
    }

    // Moves made by others show through, and the names work by dispatch.
    control->move(0, 0);
    EXPECT_EQ(getProperty(&extender, "left"), 0.0);
    setProperty(&extender, "WIDTH", 600);
    EXPECT_EQ(control->width(), twipsToPixelsX(600));
    EXPECT_THROW(extender.setHeight(-15), platform::Error);
}

TEST(Extender, VisibleFollowsShowAndHide)
{
    QWidget container;
    auto *control = new QWidget(&container);
    Extender extender(control);
    EXPECT_TRUE(extender.visible()); // shown with its container

    extender.setVisible(false);
    EXPECT_FALSE(extender.visible());
    container.show();
    EXPECT_FALSE(control->isVisible());

    setProperty(&extender, "Visible", true);
    EXPECT_TRUE(control->isVisible());
    control->hide();
    EXPECT_FALSE(extender.visible());
}

TEST(Extender, ADestroyedWidgetIsAnError)
{
    auto control = std::make_unique<QWidget>();
    Extender extender(control.get());
    control.reset();
    EXPECT_EQ(extender.widget(), nullptr);
    EXPECT_THROW(extender.left(), platform::Error);
    EXPECT_THROW(extender.setVisible(true), platform::Error);
}
