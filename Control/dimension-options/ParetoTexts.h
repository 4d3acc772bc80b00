#pragma once

#include <QString>
#include <QStringList>

// The texts of the dimension options dialog that depend on its language (0 English, 1
// Spanish): the choices of its lists and the validation messages.
namespace pelmora::pareto {

// Element types 0 to 6 of a dimension on an axis, and the one type of a slicer dimension.
QStringList elementTypes(int language);
QString headingFieldType(int language);
// Ranking kinds 0 to 3 (opcionTipo) and directions 0, 1 (opcionTipoReg).
QStringList rankingKinds(int language);
QStringList rankingDirections(int language);
// Order kinds 0 to 4 (ordenTipo).
QStringList orderKinds(int language);

// The validation messages, by code.
enum ValidationCode : int {
    NoCubeElement = 0,
    ValueNotAboveZero = 1,
    PercentageOutOfRange = 2,
    NoOrderField = 3,
    NoDimensionField = 4,
    EmptyFieldList = 5,
    LevelNotAboveOne = 6,
};
inline constexpr int validationCodeCount = 7;
// The seven texts of a language (the English ones for 0, the Spanish ones otherwise).
QStringList validationTexts(int language);

} // namespace pelmora::pareto
