#include "Control/core/FileNames.h"

#include <gtest/gtest.h>

TEST(ChangeExtension, ReplacesTheExtensionOfTheFileNameOnly)
{
    const struct
    {
        QString fileName;
        QString expected;
    } cases[] = {
        {"/home/ana/views/sales.vcg", "/home/ana/views/sales.oc2"},
        {"sales", "sales.oc2"},
        {"sales.2024.vcg", "sales.2024.oc2"}, // the last dot of the name
        // Dots in folder names stay where they are.
        {"./v.vcg", "./v.oc2"},
        {"~/.views/a.vcg", "~/.views/a.oc2"},
        {"/srv/cubes.d/sales", "/srv/cubes.d/sales.oc2"},
        {"/srv/cubes.d/sales.vcg", "/srv/cubes.d/sales.oc2"},
        // A leading dot starts a hidden name, not an extension.
        {".hidden", ".hidden.oc2"},
        {"/tmp/.hidden", "/tmp/.hidden.oc2"},
        {"/tmp/.hidden.vcg", "/tmp/.hidden.oc2"},
        {"name.", "name.oc2"},
        {"", ".oc2"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(pelmora::changeExtension(c.fileName, ".oc2"), c.expected)
            << c.fileName.toStdString();
    }
    EXPECT_EQ(pelmora::changeExtension("/exports/report.rtf", ".jpg"), "/exports/report.jpg");
}
