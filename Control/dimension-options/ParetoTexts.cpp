#include "Control/dimension-options/ParetoTexts.h"

namespace pelmora::pareto {

namespace {

QStringList byLanguage(int language, QStringList english, QStringList spanish)
{
    return language == 0 ? english : spanish;
}

} // namespace

QStringList elementTypes(int language)
{
    return byLanguage(language,
                      {"N level hierarchy", "Field's list", "Final nodes", "Complete hierarchy",
                       "Only me", "Only my sons", "Level's nodes"},
                      {"Jerarquia N niveles", "Lista de campos", "Nodos finales",
                       "Jerarquia completa", "Solo yo", "Solo mis hijos", "Nodos de un nivel"});
}

QString headingFieldType(int language)
{
    return language == 0 ? QStringLiteral("Heading field") : QStringLiteral("Campo del encabezado");
}

QStringList rankingKinds(int language)
{
    return byLanguage(
        language, {"All elements", "Number of elements", "Sum of values", "Percentage of values"},
        {"Todos los elementos", "Número de elementos", "Suma de valores", "Porcentaje de valores"});
}

QStringList rankingDirections(int language)
{
    return byLanguage(language, {"Greater values", "Lesser values"},
                      {"Valores superiores", "Valores inferiores"});
}

QStringList orderKinds(int language)
{
    return byLanguage(language,
                      {"Hierarchy", "Ascending by hierarchy", "Descending by hierarchy",
                       "Ascending by value", "Descending by value"},
                      {"Jerarquía", "Ascendente por jerarquía", "Descendente por jerarquía",
                       "Ascendente por valores", "Descendente por valores"});
}

QStringList validationTexts(int language)
{
    return byLanguage(
        language,
        {"A cube element must be chosen", "The option's value must be greater than zero",
         "The percentage's value must be between 1 and 100", "An order field must be chosen",
         "A dimension's filed must be chosen", "Can't be empty the list of fields to show",
         "The hierarchy level must be a value grater than one"},
        {"Debe escoger un elemento del cubo", "El valor de la opción debe ser mayor a cero",
         "El valor del porcentaje debe estar entre 1 y 100", "Debe escoger un campo de orden",
         "Debe escoger un campo de alguna dimension",
         "No puede estar vacia la lista de campos a mostrar",
         "El nivel de jerarquias debe ser un valor mayor a 1"});
}

} // namespace pelmora::pareto
