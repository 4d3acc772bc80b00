#include "Control/core/Messages.h"

#include "Control/core/ControlState.h"
#include "platform/runtime/Error.h"

namespace pelmora {

void fillMessageTables(MessageTables &tables)
{
    auto &es = tables.msgSpanish;
    es.fill(QString());
    es[0] = QStringLiteral("Error en parametros: No se puede abrir el cubo deseado.");
    es[1] = QStringLiteral("Elija el nombre del archivo que contendra la vista");
    es[2] = QStringLiteral("Vista Pelmora (*.vcg)|*.vcg");
    es[3] = QStringLiteral("Error al escribir la vista en archivo: ");
    es[4] = QStringLiteral(". Probablemente ya existe.");
    es[5] = QStringLiteral("Funcion no implementada.");
    es[6] = QStringLiteral("Error en conexión: ");
    es[7] = QStringLiteral("Imposible abrir la vista: ");
    es[8] = QStringLiteral("Error al ejecutar instrucción: ");
    es[9] = QStringLiteral("Solo se soportan dos dimensiones.");
    es[15] = QStringLiteral("Título nuevo:");
    es[16] = QStringLiteral("Cambiar el título de la vista");
    es[17] = QStringLiteral("Desea guardar este formato como predeterminado?");
    es[18] = QStringLiteral("Exportar vista");
    es[19] = QStringLiteral("HTML (*.htm)|*.htm|RTF (*.rtf)|*.rtf|RTF extendido (*.rtf)|*.rtf");
    es[20] =
        QStringLiteral("La gráfica no cabe bien en la página, desea crearla en una página nueva?");

    auto &en = tables.msgEnglish;
    en.fill(QString());
    en[0] = QStringLiteral("Parameter error: Can't open chosen cube.");
    en[1] = QStringLiteral("Choose a view file Name");
    en[2] = QStringLiteral("Pelmora view (*.vcg)|*.vcg");
    en[3] = QStringLiteral("Error while writing view in file: ");
    en[4] = QStringLiteral(". Probably it already exists.");
    en[5] = QStringLiteral("Function not implemented.");
    en[6] = QStringLiteral("Connection error: ");
    en[7] = QStringLiteral("Impossible to open view: ");
    en[8] = QStringLiteral("Error while executing: ");
    en[9] = QStringLiteral("Only two dimensiones are supported.");
    en[15] = QStringLiteral("New title:");
    en[16] = QStringLiteral("Change view´s title");
    en[17] = QStringLiteral("Would you like to keep this format as default?");
    en[18] = QStringLiteral("View export");
    en[19] = QStringLiteral("HTML (*.htm)|*.htm|RTF (*.rtf)|*.rtf|Extended RTF (*.rtf)|*.rtf");
    en[20] = QStringLiteral("There isn't enough space for the chart in the page, would you "
                            "like to print it in a new page?");
}

QString messageText(const MessageTables &tables, int languageId, int i)
{
    const std::array<QString, messageCount> *table = nullptr;
    if (languageId == English)
        table = &tables.msgEnglish;
    else if (languageId == Spanish)
        table = &tables.msgSpanish;
    else
        return QStringLiteral("M: ") + QString::number(i);
    if (i < 0 || i >= messageCount)
        throw platform::Error(QStringLiteral("Subscript out of range"));
    return (*table)[size_t(i)];
}

} // namespace pelmora
