#include "Control/core/Messages.h"
#include "Control/core/PelmoraC02.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

using testing_support::ScriptedMsgBox;

TEST(Messages, EachLanguageHasItsOwnTexts)
{
    const struct
    {
        int i;
        QString english;
        QString spanish;
    } cases[] = {
        {0, "Parameter error: Can't open chosen cube.",
         "Error en parametros: No se puede abrir el cubo deseado."},
        {1, "Choose a view file Name", "Elija el nombre del archivo que contendra la vista"},
        {2, "Pelmora view (*.vcg)|*.vcg", "Vista Pelmora (*.vcg)|*.vcg"},
        {4, ". Probably it already exists.", ". Probablemente ya existe."},
        {6, "Connection error: ", "Error en conexión: "},
        {9, "Only two dimensiones are supported.", "Solo se soportan dos dimensiones."},
        {12, "", ""},
        {16, "Change view´s title", "Cambiar el título de la vista"},
        {19, "HTML (*.htm)|*.htm|RTF (*.rtf)|*.rtf|Extended RTF (*.rtf)|*.rtf",
         "HTML (*.htm)|*.htm|RTF (*.rtf)|*.rtf|RTF extendido (*.rtf)|*.rtf"},
        {20,
         "There isn't enough space for the chart in the page, would you like to print it in a "
         "new page?",
         "La gráfica no cabe bien en la página, desea crearla en una página nueva?"},
    };
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    for (const auto &c : cases) {
        control.language.LanguageID = pelmora::English;
        EXPECT_EQ(control.message(c.i), c.english) << c.i;
        control.language.LanguageID = pelmora::Spanish;
        EXPECT_EQ(control.message(c.i), c.spanish) << c.i;
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST(Messages, OtherLanguagesAndMissingEntries)
{
    const struct
    {
        int language;
        int i;
        QString expected;
        QStringList boxes;
    } cases[] = {
        {2, 3, "M: 3", {}},
        {-1, 0, "M: 0", {}},
        {7, 21, "M: 21", {}}, // no table, so no entry to miss
        {pelmora::English, 21, "E: 21", {"message: Subscript out of range"}},
        {pelmora::Spanish, 21, "E: 21", {"message: Subscript out of range"}},
        {pelmora::English, -1, "E: -1", {"message: Subscript out of range"}},
    };
    PelmoraC02 control;
    for (const auto &c : cases) {
        ScriptedMsgBox boxes;
        control.language.LanguageID = c.language;
        EXPECT_EQ(control.message(c.i), c.expected) << c.language << "/" << c.i;
        EXPECT_EQ(boxes.texts(), c.boxes) << c.language << "/" << c.i;
    }
}
