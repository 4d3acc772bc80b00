#include "platform/runtime/Error.h"
#include "platform/widgets/TabStrip.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QList>
#include <QTabBar>

using platform::widgets::TabStrip;

namespace {

QRect tabRect(TabStrip &strip, int tab)
{
    return strip.findChild<QTabBar *>()->tabRect(tab);
}

} // namespace

TEST(TabStrip, DesignCaptionsMakeTabsAndEachTabHasItsPage)
{
    TabStrip strip;
    EXPECT_EQ(strip.currentTab(), -1);
    strip.setCaptions("&Elementos|&Opciones|&Orden|&Vacio");
    ASSERT_EQ(strip.tabCount(), 4);
    EXPECT_EQ(strip.tabCaption(2), "&Orden");
    EXPECT_EQ(strip.currentTab(), 0);
    EXPECT_NE(strip.page(0), strip.page(3));

    // Later captions rename the tabs without adding any.
    strip.setCaptions("&Elements|&Options");
    EXPECT_EQ(strip.tabCount(), 4);
    EXPECT_EQ(strip.tabCaption(1), "&Options");
    EXPECT_EQ(strip.tabCaption(3), "&Vacio");
    strip.setTabCaption(3, "E&mpty");
    EXPECT_EQ(strip.tabCaption(3), "E&mpty");
}

TEST(TabStrip, MissingTabsThrow)
{
    TabStrip strip;
    strip.addTab("one");
    EXPECT_THROW(strip.page(1), platform::Error);
    EXPECT_THROW(strip.tabCaption(-1), platform::Error);
    EXPECT_THROW(strip.setTabCaption(1, "x"), platform::Error);
    EXPECT_THROW(strip.setTabEnabled(5, false), platform::Error);
    EXPECT_THROW(strip.setCurrentTab(1), platform::Error);
    EXPECT_EQ(strip.currentTab(), 0);
}

TEST(TabStrip, CodeSwitchesTabsAndShowsThePage)
{
    TabStrip strip;
    strip.setCaptions("a|b|c");
    strip.resize(300, 200);
    strip.show();
    QList<int> switches;
    QObject::connect(&strip, &TabStrip::tabSwitch, [&switches](int tab) { switches << tab; });
    strip.setCurrentTab(2);
    EXPECT_EQ(strip.currentTab(), 2);
    EXPECT_TRUE(strip.page(2)->isVisible());
    EXPECT_FALSE(strip.page(0)->isVisible());
    EXPECT_EQ(switches, QList<int>({2}));

    // A disabled tab is still made current by code.
    strip.setTabEnabled(1, false);
    EXPECT_FALSE(strip.isTabEnabled(1));
    strip.setCurrentTab(1);
    EXPECT_EQ(strip.currentTab(), 1);
    EXPECT_TRUE(strip.page(1)->isVisible());
}

TEST(TabStrip, ClicksSwitchToEnabledTabsOnly)
{
    TabStrip strip;
    strip.setCaptions("first|second|third");
    strip.resize(300, 200);
    strip.show();
    auto *bar = strip.findChild<QTabBar *>();
    QList<int> clicks;
    QObject::connect(&strip, &TabStrip::tabClick, [&clicks](int tab) { clicks << tab; });

    testing_support::mouseClick(bar, tabRect(strip, 1).center());
    EXPECT_EQ(strip.currentTab(), 1);
    EXPECT_EQ(clicks, QList<int>({1}));

    strip.setTabEnabled(2, false);
    testing_support::mouseClick(bar, tabRect(strip, 2).center());
    EXPECT_EQ(strip.currentTab(), 1);
    EXPECT_EQ(clicks, QList<int>({1}));

    strip.setTabEnabled(2, true);
    testing_support::mouseClick(bar, tabRect(strip, 2).center());
    EXPECT_EQ(strip.currentTab(), 2);
    EXPECT_EQ(clicks, QList<int>({1, 2}));
}
