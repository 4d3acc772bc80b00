#include "platform/widgets/TabStrip.h"

#include "platform/runtime/Error.h"

#include <QStackedWidget>
#include <QStringList>
#include <QTabBar>
#include <QVBoxLayout>

namespace platform::widgets {

TabStrip::TabStrip(QWidget *parent)
    : QWidget(parent), m_bar(new QTabBar(this)), m_pages(new QStackedWidget(this))
{
    m_bar->setObjectName(QStringLiteral("tabBar"));
    m_bar->setExpanding(false);
    m_bar->setDrawBase(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_pages, 1);
    m_pages->setFrameShape(QFrame::StyledPanel);

    QObject::connect(m_bar, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab >= 0)
            m_pages->setCurrentIndex(tab);
        emit tabSwitch(tab);
    });
    QObject::connect(m_bar, &QTabBar::tabBarClicked, this, [this](int tab) {
        if (tab >= 0 && m_bar->isTabEnabled(tab))
            emit tabClick(tab);
    });
}

QWidget *TabStrip::addTab(const QString &caption)
{
    auto *pageWidget = new QWidget(m_pages);
    m_pages->addWidget(pageWidget);
    // The first tab added becomes current and emits currentChanged from inside addTab, when
    // its page is already in the stack.
    m_bar->addTab(caption);
    return pageWidget;
}

int TabStrip::tabCount() const
{
    return m_bar->count();
}

void TabStrip::checkTab(int tab) const
{
    if (tab < 0 || tab >= m_bar->count())
        throw Error(QStringLiteral("Invalid tab index: %1").arg(tab));
}

QWidget *TabStrip::page(int tab) const
{
    checkTab(tab);
    return m_pages->widget(tab);
}

QString TabStrip::tabCaption(int tab) const
{
    checkTab(tab);
    return m_bar->tabText(tab);
}

void TabStrip::setTabCaption(int tab, const QString &caption)
{
    checkTab(tab);
    m_bar->setTabText(tab, caption);
}

void TabStrip::setCaptions(const QString &captions)
{
    const QStringList parts = captions.split(QLatin1Char('|'));
    for (int tab = 0; tab < parts.size(); ++tab) {
        if (tab < tabCount())
            setTabCaption(tab, parts[tab]);
        else
            addTab(parts[tab]);
    }
}

bool TabStrip::isTabEnabled(int tab) const
{
    checkTab(tab);
    return m_bar->isTabEnabled(tab);
}

void TabStrip::setTabEnabled(int tab, bool enabled)
{
    checkTab(tab);
    m_bar->setTabEnabled(tab, enabled);
}

int TabStrip::currentTab() const
{
    return m_bar->currentIndex();
}

void TabStrip::setCurrentTab(int tab)
{
    checkTab(tab);
    m_bar->setCurrentIndex(tab);
    m_pages->setCurrentIndex(tab);
}

} // namespace platform::widgets
