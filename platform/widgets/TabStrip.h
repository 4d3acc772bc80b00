#pragma once

#include <QString>
#include <QWidget>

class QStackedWidget;
class QTabBar;

namespace platform::widgets {

// A row of tabs over a stack of pages: each tab has a caption and a page (a container the
// caller fills), exactly one tab is current and its page is shown. Tabs are counted from 0.
//
// The members a container reaches by dispatch id:
//   0           currentTab / setCurrentTab (the default property)
//   46          tabCaption / setTabCaption (indexed by tab)
//   49          isTabEnabled / setTabEnabled (indexed by tab)
//   0x8001000F  setCurrentTab as well: callers set it to the tab to bring forward
class TabStrip : public QWidget
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);

    // Adds a tab at the end with a new, empty page and answers the page (owned by the strip).
    QWidget *addTab(const QString &caption);
    int tabCount() const;
    // The page of a tab; the tab functions throw platform::Error for a tab that does not exist.
    QWidget *page(int tab) const;

    QString tabCaption(int tab) const;
    void setTabCaption(int tab, const QString &caption);
    // All captions in one text, one per tab separated by "|" (the design form of the captions).
    // Tabs are added for captions beyond the last tab; tabs without a caption keep theirs.
    void setCaptions(const QString &captions);

    // A disabled tab cannot be clicked; it can still be made current by code.
    bool isTabEnabled(int tab) const;
    void setTabEnabled(int tab, bool enabled);

    // -1 while there is no tab.
    int currentTab() const;
    void setCurrentTab(int tab);

signals:
    // The current tab changed, by a click, a key or code.
    void tabSwitch(int tab);
    // The user clicked a tab (also the current one).
    void tabClick(int tab);

private:
    void checkTab(int tab) const;

    QTabBar *m_bar;
    QStackedWidget *m_pages;
};

} // namespace platform::widgets
