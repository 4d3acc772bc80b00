#include "Control/charts/ChartEditorTexts.h"

namespace pelmora::charteditor {

namespace {

// Label139 and Label144 read the same in both languages.
constexpr Caption captionTable[] = {
    {"Label139", u"Color:", u"Color:"},
    {"Label144", u"Color:", u"Color:"},
    {"Label1", u"Tipo:", u"Type:"},
    {"Label4", u"Tipo:", u"Type:"},
    {"Label26", u"Tipo:", u"Type:"},
    {"Label34", u"Tipo:", u"Type:"},
    {"Label55", u"Tipo:", u"Type:"},
    {"Label130", u"Tipo:", u"Type:"},
    {"Label2", u"Borde", u"Border"},
    {"Label18", u"Borde", u"Border"},
    {"Label40", u"Borde", u"Border"},
    {"Label49", u"Borde", u"Border"},
    {"Label115", u"Borde", u"Border"},
    {"Label3", u"Alineación:", u"Alignment:"},
    {"Label33", u"Alineación:", u"Alignment:"},
    {"Label5", u"Ancho:", u"Width:"},
    {"Label25", u"Ancho:", u"Width:"},
    {"Label35", u"Ancho:", u"Width:"},
    {"Label54", u"Ancho:", u"Width:"},
    {"Label67", u"Ancho:", u"Width:"},
    {"Label71", u"Ancho:", u"Width:"},
    {"Label76", u"Ancho:", u"Width:"},
    {"Label80", u"Ancho:", u"Width:"},
    {"Label101", u"Ancho:", u"Width:"},
    {"Label129", u"Ancho:", u"Width:"},
    {"Label140", u"Ancho:", u"Width:"},
    {"Label6", u"Título", u"Title"},
    {"Label44", u"Título", u"Title"},
    {"Label45", u"Título", u"Title"},
    {"Label61", u"Título", u"Title"},
    {"Label86", u"Título", u"Title"},
    {"Label7", u"Fondo:", u"Back:"},
    {"Label24", u"Fondo:", u"Back:"},
    {"Label36", u"Fondo:", u"Back:"},
    {"Label53", u"Fondo:", u"Back:"},
    {"Label111", u"Fondo:", u"Back:"},
    {"Label136", u"C. Fondo:", u"Back:"},
    {"Label8", u"Frente:", u"Front:"},
    {"Label23", u"Frente:", u"Front:"},
    {"Label37", u"Frente:", u"Front:"},
    {"Label52", u"Frente:", u"Front:"},
    {"Label137", u"C. Frente:", u"Front:"},
    {"Label9", u"Alineación y fuente", u"Alignment and font"},
    {"Label46", u"Alineación y fuente", u"Alignment and font"},
    {"Label10", u"Archivo:", u"File:"},
    {"Label20", u"Archivo:", u"File:"},
    {"Label38", u"Archivo:", u"File:"},
    {"Label51", u"Archivo:", u"File:"},
    {"Label107", u"Archivo:", u"File:"},
    {"Label11", u"Layout:", u"Layout:"},
    {"Label19", u"Layout:", u"Layout:"},
    {"Label39", u"Layout:", u"Layout:"},
    {"Label50", u"Layout:", u"Layout:"},
    {"Label12", u"Color", u"Color"},
    {"Label17", u"Color", u"Color"},
    {"Label41", u"Color", u"Color"},
    {"Label48", u"Color", u"Color"},
    {"Label13", u"Imagen de fondo", u"Background picture"},
    {"Label16", u"Imagen de fondo", u"Background picture"},
    {"Label42", u"Imagen de fondo", u"Background picture"},
    {"Label47", u"Imagen de fondo", u"Background picture"},
    {"Label14", u"Salvar formato", u"Save format"},
    {"Label15", u"Tipo", u"Type"},
    {"Label21", u"Fuente:", u"Font:"},
    {"Label32", u"Fuente:", u"Font:"},
    {"Label57", u"Fuente:", u"Font:"},
    {"Label63", u"Fuente:", u"Font:"},
    {"Label85", u"Fuente:", u"Font:"},
    {"Label43", u"Alineación y fuente", u"Ailgnment and font"},
    {"Label56", u"Orientación:", u"Orientation:"},
    {"Label58", u"Posición", u"Position"},
    {"Label62", u"Fte. tit:", u"Tit font:"},
    {"Label82", u"Fte. tít:", u"Tit font:"},
    {"Label64", u"Línea", u"Line"},
    {"Label98", u"Linea", u"Line"},
    {"Label138", u"Linea", u"Line"},
    {"Label65", u"Espacio:", u"Spacing:"},
    {"Label83", u"Espacio:", u"Spacing:"},
    {"Label66", u"Estilo:", u"Style:"},
    {"Label70", u"Estilo:", u"Style:"},
    {"Label77", u"Estilo:", u"Style:"},
    {"Label81", u"Estilo:", u"Style:"},
    {"Label68", u"Color:", u"Color:"},
    {"Label72", u"Color:", u"Color:"},
    {"Label75", u"Color:", u"Color:"},
    {"Label79", u"Color:", u"Color:"},
    {"Label100", u"Color:", u"Color:"},
    {"Label104", u"Color:", u"Color:"},
    {"Label69", u"Cuadrícula", u"Grid"},
    {"Label78", u"Cuadrícula", u"Grid"},
    {"Label74", u"Valores", u"Values"},
    {"Label84", u"Línea", u"Líne"},
    {"Label87", u"Mín:", u"Min:"},
    {"Label88", u"Máx:", u"Max:"},
    {"Label89", u"Rot tít:", u"Tit rot:"},
    {"Label91", u"Rot val:", u"Val rot:"},
    {"Label92", u"Rotar val.:", u"Rotate val:"},
    {"Label94", u"Series", u"Series"},
    {"Label95", u"Patrón:", u"Pattern:"},
    {"Label99", u"Patrón:", u"Pattern:"},
    {"Label96", u"Relleno", u"Fill"},
    {"Label135", u"Relleno", u"Fill"},
    {"Label97", u"C. Frente:", u"C. Front:"},
    {"Label102", u"Símbolo", u"Simbol"},
    {"Label103", u"Forma:", u"Shape:"},
    {"Label105", u"Tamaño:", u"Size:"},
    {"Label142", u"Tamaño:", u"Size:"},
    {"Label108", u"C. Fondo:", u"C. Back:"},
    {"Label109", u"Formato:", u"Format:"},
    {"Label110", u"Vista 3D", u"3D View"},
    {"Label112", u"Elevación:", u"Elevation:"},
    {"Label113", u"Rotación:", u"Rotation:"},
    {"Label114", u"Sombra:", u"Shadow:"},
    {"Label116", u"Zoom", u"Zoom"},
    {"Label117",
     u"Oprima la tecla de CONTROL y los dos botones del ratón para agrandar o achicar los datos.",
     u"Press the CONTROL key and both mouse buttons to make zoom the plot area"},
    {"Label118", u"Mover", u"Move"},
    {"Label119",
     u"Oprima la tecla de SHIFT y los dos botones del ratón para agrandar o achicar los datos.",
     u"Press the SHIFT key and both mouse buttons to move the plot area."},
    {"Label120", u"Zoom gráfica", u"Chart zoom"},
    {"Label121",
     u"Oprima la tecla de CONTROL y el botón izquierdo del ratón para hacer zoom en el "
     u"área de datos.",
     u"Press the CONTROL key and the left mouse button to zoom a part of the plot area."},
    {"Label122", u"Zoom eje", u"Axes zoom"},
    {"Label123",
     u"Oprima la tecla de SHIFT y el botón izquierdo del ratón para hacer un zoom en "
     u"el eje de los datos.",
     u"Press the SHIFT key and the left mouse button to zoom a part of the plot axis."},
    {"Label124", u"Rotar vista 3D", u"Rotate 3D view"},
    {"Label125", u"Oprima las teclas izquierda y derecha del ratón para rotar el cubo en Vista 3D.",
     u"Press both mouse buttons to rotate a 3D view"},
    {"Label126", u"Cancelar cambios", u"Cancel changes"},
    {"Label127", u"Presione la tecla 'r' para cancelar los cambios.",
     u"Press the 'r' key to cancel all your changes."},
    {"Label131", u"Marco", u"Framed"},
    {"Label133", u"Esquema de color", u"Color schema"},
    {"Label134", u"Mapa:", u"Color map:"},
    {"Label141", u"Símbolo", u"Symbol"},
    {"chkIsShowing(1)", u"Se muestra", u"Is showing"},
    {"chkIsShowing(2)", u"Se muestra", u"Is showing"},
    {"chkIsShowing(3)", u"Se muestra", u"Is showing"},
    {"chkIsShowing(4)", u"Se muestra", u"Is showing"},
    {"chkIsShowing(5)", u"Se muestra", u"Is showing"},
    {"chkColor(1)", u"Blanco y negro", u"Black and White"},
    {"chkColor(2)", u"Mostrar patrones", u"Apply patterns"},
    {"chkColor(3)", u"Mostrar patrones", u"Show patterns"},
    {"chkColor(4)", u"Mostrar símbolos", u"Show symbols"},
    {"chkColor(5)", u"Color de fondo", u"Backgroud"},
    {"chkColor(6)", u"Color de frente", u"Foreground"},
    {"chkEjeY(0)", u"Logarítmica", u"Logaritmic"},
    {"chkEjeY(1)", u"100 porciento", u"100 percent"},
    {"chkEjeY(2)", u"Al reves", u"Reversed"},
    {"chkEjeY(3)", u"Al reves", u"Reversed"},
    {"chkGraficaIsStacked", u"Apilada", u"Is stacked"},
    {"chkHorizontal(0)", u"Es horizontal", u"Is horizontal"},
    {"chkMarco(0)", u"Marco alrededor de los datos", u"Frame around the plot"},
    {"chkUpdate", u"Modificar gráfica", u"Modify chart"},
    {"chkSave", u"Guardar como default", u"Save as default"},
    {"cmdAbrir", u"A&brir", u"&Open"},
    {"cmdCancel", u"&Cancelar", u"&Cancel"},
    {"cmdCopiar", u"Co&piar", u"Co&py"},
    {"cmdExportar", u"&Exportar", u"&Export"},
    {"cmdGuardar", u"&Salvar", u"&Save"},
    {"cmdImprimir", u"&Imprimir", u"&Print"},
    {"cmdOK", u"&Aceptar", u"&OK"},
};

QStringList words(std::initializer_list<const char16_t *> items)
{
    QStringList list;
    for (const char16_t *item : items)
        list << QString::fromUtf16(item);
    return list;
}

std::vector<ListItems> buildLists()
{
    const QStringList alignEn = words({u"Left", u"Right", u"Center"});
    const QStringList alignEs = words({u"Izquierda", u"Derecha", u"Centro"});
    const QStringList layoutEn =
        words({u"Centered", u"Tiled", u"Fitted", u"Stretched", u"Stretched to Width",
               u"Stretched to Height", u"CropFitted"});
    const QStringList layoutEs =
        words({u"Centrar", u"Mosaico", u"Ajustar", u"Estirar", u"Estirar horizontal",
               u"Estirar vertical", u"Ajuste cortado"});
    const QStringList borderEn =
        words({u"None", u"3d Out", u"3d In", u"Shadow", u"Plain", u"Etched In", u"Etched Out",
               u"Frame In", u"Frame Out", u"Bevel"});
    const QStringList borderEs =
        words({u"Ninguno", u"3d afuera", u"3d adentro", u"Sombra", u"Llano", u"Hacia adentro",
               u"Hacia afuera", u"Marco adentro", u"Marco afuera", u"Escalera"});
    const QStringList lineEn =
        words({u"None", u"Solid", u"LongDash", u"Dotted", u"ShortDash", u"LslDash", u"DashDot"});
    const QStringList lineEs = words({u"Ninguna", u"Solida", u"Rayas largas", u"Puntos",
                                      u"Rayas cortas", u"Rayas salteadas", u"Raya y puntos"});

    std::vector<ListItems> all;
    auto add = [&all](const QString &name, const QStringList &en, const QStringList &es) {
        all.push_back({name, en, es});
    };
    add(QStringLiteral("cmbAlineacion(1)"), alignEn, alignEs);
    add(QStringLiteral("cmbAlineacion(2)"), alignEn, alignEs);
    add(QStringLiteral("cmbAlineacion(3)"), words({u"Vertical", u"Horizontal"}),
        words({u"Vertical", u"Horizontal"}));
    for (int i = 0; i <= 3; ++i)
        add(QStringLiteral("cmbArchivo(%1)").arg(i), layoutEn, layoutEs);
    for (int i = 0; i <= 4; ++i)
        add(QStringLiteral("cmbBorde(%1)").arg(i), borderEn, borderEs);
    add(QStringLiteral("cmbFormato(0)"),
        words({u"Standard", u"Number", u"Currency", u"Accounting", u"Percentage", u"Fraction",
               u"Scientific", u"Custom"}),
        words({u"Estandard", u"Numero", u"Dinero", u"Contabilidad", u"Porcentaje", u"Fracción",
               u"Científico", u"Personal"}));
    add(QStringLiteral("cmbGraficaTipo(0)"),
        words({u"Plot", u"Bar", u"Pie", u"Stacking Bar", u"Area", u"HiLo", u"HiLoOpenClose",
               u"Candle", u"Polar", u"Radar", u"FilledRadar", u"Bubble"}),
        words({u"Linea", u"Barra", u"Pie", u"Barra encimada", u"Area", u"Alto Bajo",
               u"Alto Bajo Cierre", u"Vela", u"Polar", u"Radar", u"Radar rellenado", u"Burbuja"}));
    for (int i = 0; i <= 3; ++i)
        add(QStringLiteral("cmbLinea(%1)").arg(i), lineEn, lineEs);
    add(QStringLiteral("cmbPatron(0)"),
        words({u"None", u"Solid", u"25 percent", u"50 Percent", u"75 Percent", u"Stripe Horizontal",
               u"Stripe Vertical", u"45 Stripe", u"135 Stripe", u"Diagonal Hatched",
               u"Cross Hatched", u"Diagonal Backward", u"Diagonal Forward", u"Horizontal",
               u"Vertical", u"Cross", u"Diagonal Cross"}),
        words({u"Ninguno", u"Solido", u"25 por ciento", u"50 por ciento", u"75 por ciento",
               u"Rayas horizontales", u"Rayas verticales", u"Rayas 45", u"Rayas 135",
               u"Cuadro diagonal", u"Cuadro cruzado", u"Diagonal atras", u"Diagonal adelante",
               u"Horizontal", u"Vertical", u"Cruzado", u"Diagonal Cruzado"}));
    add(QStringLiteral("cmbPatron(1)"), lineEn,
        words({u"Ninguno", u"Solido", u"Rayas largas", u"Puntos", u"Rayas cortas",
               u"Rayas salteadas", u"Rayas y puntos"}));
    add(QStringLiteral("cmbPatron(2)"),
        words({u"None", u"Dot", u"Box", u"Triangle", u"Diamond", u"Star", u"Vertical line",
               u"Horizontal line", u"Cross", u"Circle", u"Square", u"Inverted triangle",
               u"Diagonal cross", u"Open triangle", u"Open Diamond", u"Open Inverted triangle",
               u"Image file"}),
        words({u"Ninguno", u"Punto", u"Caja", u"Triangulo", u"Diamante", u"Esttella",
               u"Linea vertical", u"Linea horizontal", u"Cruz", u"Circulo", u"Cuadrado",
               u"Triangulo invertido", u"Tache", u"Triangulo abierto", u"Diamante abierto",
               u"Triangulo Abierto Invertido", u"Archivo de imagen"}));
    add(QStringLiteral("cmbPosicion(0)"),
        words({u"North", u"South", u"East", u"West", u"NorthEast", u"NorthWest", u"SouthEast",
               u"SouthWest"}),
        words({u"Norte", u"Sur", u"Este", u"Oeste", u"Noreste", u"Noroeste", u"Sureste",
               u"Suroeste"}));
    add(QStringLiteral("cmbRotacion(0)"), words({u"None", u"90", u"270"}),
        words({u"Ninguno", u"90", u"270"}));
    return all;
}

} // namespace

std::span<const Caption> captions()
{
    return captionTable;
}

const std::vector<ListItems> &lists()
{
    static const std::vector<ListItems> all = buildLists();
    return all;
}

} // namespace pelmora::charteditor
