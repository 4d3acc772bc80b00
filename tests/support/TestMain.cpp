// The one main of every test program: a QApplication (offscreen unless a display is set), so
// that widgets, fonts, the clipboard and event loops work as in the programs.
#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Pelmora tests"));
    // Locale-dependent tests pin the locale they need; everything else runs in the C locale.
    std::setlocale(LC_ALL, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
