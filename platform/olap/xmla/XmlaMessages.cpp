#include "platform/olap/xmla/XmlaMessages.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>

namespace platform::olap::xmla {

namespace {

const QString &soapNamespace()
{
    static const QString ns = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
    return ns;
}

const QString &xmlaNamespace()
{
    static const QString ns = QStringLiteral("urn:schemas-microsoft-com:xml-analysis");
    return ns;
}

const QString &xsiNamespace()
{
    static const QString ns = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
    return ns;
}

// An element name of a restriction or property: written as an element, so it must be a name.
bool isXmlName(const QString &name)
{
    if (name.isEmpty() || !(name.front().isLetter() || name.front() == u'_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.';
    });
}

// An element of text. XML readers turn a raw carriage return (and CR LF) into a line feed, so
// a carriage return goes as a character reference: the server reads the text as it was given.
void writeTextElement(QXmlStreamWriter &writer, const QString &name, const QString &text)
{
    writer.writeStartElement(xmlaNamespace(), name);
    qsizetype from = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
        if (cr > from)
            writer.writeCharacters(text.mid(from, cr - from));
        writer.writeEntityReference(QStringLiteral("#13"));
        from = cr + 1;
    }
    if (from < text.size())
        writer.writeCharacters(text.mid(from));
    writer.writeEndElement();
}

void writeList(QXmlStreamWriter &writer, const QString &outer, const QString &inner,
               const QMap<QString, QString> &values)
{
    writer.writeStartElement(xmlaNamespace(), outer);
    writer.writeStartElement(xmlaNamespace(), inner);
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!isXmlName(it.key()))
            throw platform::Error(
                QStringLiteral("\"%1\" cannot be sent as an XMLA %2 name.").arg(it.key(), inner));
        writeTextElement(writer, it.key(), it.value());
    }
    writer.writeEndElement();
    writer.writeEndElement();
}

template <typename WriteMethod>
QByteArray envelope(const QString &method, WriteMethod writeMethod)
{
    QByteArray body;
    QXmlStreamWriter writer(&body);
    writer.writeStartDocument();
    writer.writeNamespace(soapNamespace(), QStringLiteral("SOAP-ENV"));
    writer.writeStartElement(soapNamespace(), QStringLiteral("Envelope"));
    writer.writeStartElement(soapNamespace(), QStringLiteral("Body"));
    writer.writeDefaultNamespace(xmlaNamespace());
    writer.writeStartElement(xmlaNamespace(), method);
    writeMethod(writer);
    writer.writeEndDocument();
    if (writer.hasError())
        throw platform::Error(QStringLiteral(
            "The request cannot be sent: it holds a character that XML cannot carry."));
    return body;
}

enum class TypeClass { None, Double, Integer, Boolean, String };

TypeClass classifyType(QStringView type)
{
    if (type.isEmpty())
        return TypeClass::None;
    const QStringView local = type.mid(type.lastIndexOf(u':') + 1);
    if (local == u"double" || local == u"float" || local == u"decimal")
        return TypeClass::Double;
    // clang-format off
    static const char16_t *const integers[] = {
        u"int",          u"integer",       u"long",          u"short",
        u"byte",         u"unsignedInt",   u"unsignedLong",  u"unsignedShort",
        u"unsignedByte", u"positiveInteger", u"negativeInteger", u"nonNegativeInteger",
        u"nonPositiveInteger"};
    // clang-format on
    for (const char16_t *name : integers) {
        if (local == QStringView(name))
            return TypeClass::Integer;
    }
    if (local == u"boolean")
        return TypeClass::Boolean;
    return TypeClass::String;
}

// XML Schema spells infinity INF; Java servers write Infinity.
bool parseDouble(QStringView text, double &value)
{
    text = text.trimmed();
    bool ok = false;
    value = text.toDouble(&ok);
    if (ok)
        return true;
    QStringView unsignedText = text;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        unsignedText = text.mid(1);
    if (unsignedText.compare(u"INF", Qt::CaseInsensitive) == 0
        || unsignedText.compare(u"Infinity", Qt::CaseInsensitive) == 0) {
        value = negative ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity();
        return true;
    }
    return false;
}

QString replySnippet(const QByteArray &reply)
{
    QString text = QString::fromUtf8(reply.left(240)).simplified();
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    if (text.size() > 80)
        text = text.left(80) + QChar(0x2026);
    return text;
}

QString malformed(const QString &what)
{
    return QStringLiteral("The server's reply is malformed: %1.").arg(what);
}

} // namespace

// Reads a reply in one pass. Rowset and CellSetData let it fill their storage directly.
class ReplyParser
{
public:
    enum class Mode { Rowset, CellSet, FaultOnly };

    explicit ReplyParser(const QByteArray &reply) : m_reply(reply), m_reader(reply) {}

    void run(Mode mode);
    Rowset takeRowset();
    CellSetData takeCellSet();
    QString serverText() const;

private:
    struct Entry
    {
        qint32 row;
        qint32 column;
        Rowset::Span span;
    };

    struct AxisInfo
    {
        QString name;
        QStringList hierarchies;
    };

    void readFault();
    void readMessages();
    void collectDescriptions(QStringList &out);
    QString readErrorElement();
    void readTextInto(QString &out);

    void readRowsetRoot();
    void readRowSchema();
    void readRow();
    int rowColumn(QStringView name);

    void readCellSetRoot();
    void readOlapInfo();
    void readAxes();
    void readTuples(Axis &axis, bool hierarchiesKnown);
    void readCellData();
    void readCellProperty(size_t at, int property);
    void setCellText(size_t at, QStringView text);
    quint16 typeIndex(QStringView type);

    const QByteArray &m_reply;
    QXmlStreamReader m_reader;
    bool m_sawElement = false;
    bool m_sawResult = false;
    QStringList m_faults;
    QStringList m_messages;
    QString m_scratch;

    // Rowset
    Rowset m_rowset;
    std::vector<Entry> m_entries;
    qint32 m_rowCount = 0;
    int m_columnHint = 0;

    // Cell set
    CellSetData m_cells;
    std::vector<AxisInfo> m_axisInfo;
    std::vector<std::pair<int, Axis>> m_axisList;
    bool m_hasSlicer = false;
    std::vector<bool> m_numericProperty;
    bool m_cellsSorted = true;
    QString m_uniqueName;
    QString m_caption;
    QString m_levelName;
};

void ReplyParser::run(Mode mode)
{
    while (!m_reader.atEnd()) {
        if (m_reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        m_sawElement = true;
        const QStringView name = m_reader.name();
        if (name == u"Fault") {
            readFault();
        } else if (name == u"Messages") {
            readMessages();
        } else if (name == u"root" && mode == Mode::Rowset) {
            m_sawResult = true;
            readRowsetRoot();
        } else if (name == u"root" && mode == Mode::CellSet) {
            readCellSetRoot();
        }
    }
    if (mode == Mode::FaultOnly)
        return;
    if (!m_faults.isEmpty() || !m_messages.isEmpty())
        throw ServerError(QStringLiteral("The server reported: %1").arg(serverText()));
    if (m_reader.hasError()) {
        if (m_reply.trimmed().isEmpty())
            throw platform::Error(QStringLiteral("The server sent an empty reply."));
        if (!m_sawElement)
            throw platform::Error(
                QStringLiteral("The server's reply is not XML: \"%1\"").arg(replySnippet(m_reply)));
        throw platform::Error(
            QStringLiteral("The server's reply is not well-formed XML (line %1, column %2: %3)")
                .arg(m_reader.lineNumber())
                .arg(m_reader.columnNumber())
                .arg(m_reader.errorString()));
    }
    if (!m_sawResult)
        throw platform::Error(
            mode == Mode::Rowset
                ? QStringLiteral("The server's reply holds neither a rowset nor a fault.")
                : QStringLiteral("The server's reply holds neither a cell set nor a fault."));
}

QString ReplyParser::serverText() const
{
    QStringList all = m_faults;
    all.append(m_messages);
    return all.join(QStringLiteral("; "));
}

void ReplyParser::readFault()
{
    QString faultString;
    QString faultCode;
    QStringList details;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"faultstring" || name == u"Reason") {
            faultString =
                m_reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"faultcode" || name == u"Code") {
            faultCode = m_reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"detail" || name == u"Detail") {
            collectDescriptions(details);
        } else {
            m_reader.skipCurrentElement();
        }
    }
    details.removeAll(QString());
    details.removeAll(faultString);
    details.removeDuplicates();
    QString text = faultString;
    if (!details.isEmpty())
        text = text.isEmpty() ? details.join(QStringLiteral("; "))
                              : text + QStringLiteral(": ") + details.join(QStringLiteral("; "));
    if (text.isEmpty())
        text = faultCode.isEmpty() ? QStringLiteral("a SOAP fault without a description")
                                   : QStringLiteral("SOAP fault %1").arg(faultCode);
    m_faults.append(text);
}

// Messages/Error@Description; warnings are not failures.
void ReplyParser::readMessages()
{
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() == u"Error") {
            const QString text = readErrorElement();
            if (!m_messages.contains(text))
                m_messages.append(text);
        } else {
            m_reader.skipCurrentElement();
        }
    }
}

// Descriptions in both fault forms: an Error element's Description attribute, and the text of
// Mondrian's desc element (or a Description element).
void ReplyParser::collectDescriptions(QStringList &out)
{
    while (m_reader.readNextStartElement()) {
        const QStringView description =
            m_reader.attributes().value(QLatin1StringView("Description"));
        if (!description.isEmpty())
            out.append(description.trimmed().toString());
        const QStringView name = m_reader.name();
        if (name == u"desc" || name == u"Description") {
            out.append(m_reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
            continue;
        }
        collectDescriptions(out);
    }
}

QString ReplyParser::readErrorElement()
{
    const QXmlStreamAttributes attributes = m_reader.attributes();
    const QString code = attributes.value(QLatin1StringView("ErrorCode")).toString();
    QStringList texts;
    const QStringView description = attributes.value(QLatin1StringView("Description"));
    if (!description.isEmpty())
        texts.append(description.trimmed().toString());
    collectDescriptions(texts);
    texts.removeAll(QString());
    texts.removeDuplicates();
    if (texts.isEmpty())
        return code.isEmpty() ? QStringLiteral("error") : QStringLiteral("error %1").arg(code);
    return texts.join(QStringLiteral("; "));
}

// The text of the current element and its descendants; leaves the reader at its end element.
void ReplyParser::readTextInto(QString &out)
{
    out.clear();
    int depth = 1;
    while (depth > 0) {
        switch (m_reader.readNext()) {
        case QXmlStreamReader::Characters:
            out.append(m_reader.text());
            break;
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Invalid:
            return;
        default:
            break;
        }
    }
}

// ----- Discover

void ReplyParser::readRowsetRoot()
{
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"schema")
            readRowSchema();
        else if (name == u"row")
            readRow();
        else if (name == u"Messages")
            readMessages();
        else
            m_reader.skipCurrentElement();
    }
}

// The columns: the elements of the complex type "row", in their order.
void ReplyParser::readRowSchema()
{
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() != u"complexType"
            || m_reader.attributes().value(QLatin1StringView("name")) != u"row") {
            m_reader.skipCurrentElement();
            continue;
        }
        while (m_reader.readNextStartElement()) {
            const QStringView group = m_reader.name();
            if (group != u"sequence" && group != u"all" && group != u"choice") {
                m_reader.skipCurrentElement();
                continue;
            }
            while (m_reader.readNextStartElement()) {
                if (m_reader.name() == u"element") {
                    const QStringView column =
                        m_reader.attributes().value(QLatin1StringView("name"));
                    if (!column.isEmpty())
                        rowColumn(column);
                }
                m_reader.skipCurrentElement();
            }
        }
    }
}

int ReplyParser::rowColumn(QStringView name)
{
    QStringList &columns = m_rowset.m_columns;
    const int count = int(columns.size());
    for (int i = 0; i < count; ++i) {
        const int candidate = (m_columnHint + i) % count;
        if (columns.at(candidate) == name) {
            m_columnHint = candidate + 1;
            return candidate;
        }
    }
    columns.append(name.toString());
    m_columnHint = count + 1;
    return count;
}

void ReplyParser::readRow()
{
    if (m_rowCount == std::numeric_limits<qint32>::max())
        throw platform::Error(QStringLiteral("The server's reply holds too many rows."));
    const qint32 row = m_rowCount++;
    m_columnHint = 0;
    while (m_reader.readNextStartElement()) {
        const int column = rowColumn(m_reader.name());
        const QStringView nil =
            m_reader.attributes().value(xsiNamespace(), QLatin1StringView("nil"));
        const bool isNil = nil == u"true" || nil == u"1";
        readTextInto(m_scratch);
        if (isNil)
            continue;
        QString &text = m_rowset.m_text;
        if (text.size() + m_scratch.size() > std::numeric_limits<qint32>::max())
            throw platform::Error(QStringLiteral("The server's reply is too large."));
        m_entries.push_back(
            {row, qint32(column), Rowset::Span{qint32(text.size()), qint32(m_scratch.size())}});
        text.append(m_scratch);
    }
}

Rowset ReplyParser::takeRowset()
{
    const size_t width = size_t(m_rowset.m_columns.size());
    m_rowset.m_spans.assign(width == 0 ? 0 : size_t(m_rowCount) * width, Rowset::Span{});
    for (const Entry &entry : m_entries) {
        Rowset::Span &span = m_rowset.m_spans[size_t(entry.row) * width + size_t(entry.column)];
        if (span.length < 0) // a column repeated in one row keeps its first value
            span = entry.span;
    }
    m_entries.clear();
    return std::move(m_rowset);
}

// ----- Execute

void ReplyParser::readCellSetRoot()
{
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"OlapInfo") {
            m_sawResult = true;
            readOlapInfo();
        } else if (name == u"Axes") {
            m_sawResult = true;
            readAxes();
        } else if (name == u"CellData") {
            m_sawResult = true;
            readCellData();
        } else if (name == u"Messages") {
            readMessages();
        } else {
            m_reader.skipCurrentElement();
        }
    }
}

void ReplyParser::readOlapInfo()
{
    while (m_reader.readNextStartElement()) {
        const QStringView section = m_reader.name();
        if (section == u"AxesInfo") {
            while (m_reader.readNextStartElement()) {
                if (m_reader.name() != u"AxisInfo") {
                    m_reader.skipCurrentElement();
                    continue;
                }
                AxisInfo info;
                info.name = m_reader.attributes().value(QLatin1StringView("name")).toString();
                while (m_reader.readNextStartElement()) {
                    if (m_reader.name() == u"HierarchyInfo")
                        info.hierarchies.append(
                            m_reader.attributes().value(QLatin1StringView("name")).toString());
                    m_reader.skipCurrentElement();
                }
                m_axisInfo.push_back(std::move(info));
            }
        } else if (section == u"CellInfo") {
            while (m_reader.readNextStartElement()) {
                const QString tag = m_reader.name().toString();
                QString name = m_reader.attributes().value(QLatin1StringView("name")).toString();
                if (name.isEmpty())
                    name = tag;
                m_reader.skipCurrentElement();
                if (m_cells.m_propertyTags.contains(tag))
                    continue;
                m_cells.m_propertyTags.append(tag);
                m_cells.m_propertyNames.append(name);
            }
        } else {
            m_reader.skipCurrentElement();
        }
    }
    const QStringList &tags = m_cells.m_propertyTags;
    m_cells.m_valueIndex = int(tags.indexOf(QStringLiteral("Value")));
    m_cells.m_formattedIndex = int(tags.indexOf(QStringLiteral("FmtValue")));
    m_numericProperty.assign(size_t(tags.size()), false);
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const QString &tag = tags.at(i);
        m_numericProperty[size_t(i)] =
            tag == u"ForeColor" || tag == u"BackColor" || tag == u"FontSize" || tag == u"FontFlags";
    }
}

void ReplyParser::readAxes()
{
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() != u"Axis") {
            m_reader.skipCurrentElement();
            continue;
        }
        Axis axis;
        axis.name = m_reader.attributes().value(QLatin1StringView("name")).toString();
        bool known = false;
        for (const AxisInfo &info : m_axisInfo) {
            if (info.name == axis.name) {
                axis.hierarchies = info.hierarchies;
                known = true;
            }
        }
        while (m_reader.readNextStartElement()) {
            const QStringView format = m_reader.name();
            if (format == u"Tuples") {
                readTuples(axis, known);
                known = true;
            } else if (format == u"CrossProduct" || format == u"Members") {
                throw platform::Error(
                    malformed(QStringLiteral("axis %1 is not in tuple format").arg(axis.name)));
            } else {
                m_reader.skipCurrentElement();
            }
        }
        int number = 1000000 + int(m_axisList.size());
        if (axis.name == u"SlicerAxis") {
            number = -1;
        } else if (axis.name.startsWith(u"Axis")) {
            bool ok = false;
            const int parsed = QStringView(axis.name).mid(4).toInt(&ok);
            if (ok && parsed >= 0)
                number = parsed;
        }
        m_axisList.emplace_back(number, std::move(axis));
    }
}

void ReplyParser::readTuples(Axis &axis, bool hierarchiesKnown)
{
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() != u"Tuple") {
            m_reader.skipCurrentElement();
            continue;
        }
        const size_t start = axis.members.size();
        const size_t width = size_t(axis.hierarchies.size());
        QStringList memberHierarchies;
        size_t position = 0;
        while (m_reader.readNextStartElement()) {
            if (m_reader.name() != u"Member") {
                m_reader.skipCurrentElement();
                continue;
            }
            if (!hierarchiesKnown)
                memberHierarchies.append(
                    m_reader.attributes().value(QLatin1StringView("Hierarchy")).toString());
            m_uniqueName.clear();
            m_caption.clear();
            m_levelName.clear();
            int levelNumber = 0;
            while (m_reader.readNextStartElement()) {
                const QStringView field = m_reader.name();
                if (field == u"UName") {
                    readTextInto(m_uniqueName);
                } else if (field == u"Caption") {
                    readTextInto(m_caption);
                } else if (field == u"LName") {
                    readTextInto(m_levelName);
                } else if (field == u"LNum") {
                    readTextInto(m_scratch);
                    levelNumber = QStringView(m_scratch).trimmed().toInt();
                } else {
                    m_reader.skipCurrentElement();
                }
            }
            // Cross joins repeat the outer members tuple after tuple: share their strings.
            if (axis.tupleCount > 0 && position < width) {
                const AxisMember &previous = axis.members[start - width + position];
                if (previous.uniqueName == m_uniqueName && previous.caption == m_caption
                    && previous.levelUniqueName == m_levelName
                    && previous.levelNumber == levelNumber) {
                    axis.members.push_back(previous);
                    ++position;
                    continue;
                }
            }
            axis.members.push_back({m_uniqueName, m_caption, m_levelName, levelNumber});
            ++position;
        }
        if (!hierarchiesKnown) {
            axis.hierarchies = memberHierarchies;
            hierarchiesKnown = true;
        }
        if (position != size_t(axis.hierarchies.size()))
            throw platform::Error(
                malformed(QStringLiteral("tuple %1 of %2 has %3 members for %4 hierarchies")
                              .arg(axis.tupleCount + 1)
                              .arg(axis.name)
                              .arg(position)
                              .arg(axis.hierarchies.size())));
        if (axis.tupleCount == std::numeric_limits<int>::max())
            throw platform::Error(malformed(QStringLiteral("too many tuples")));
        ++axis.tupleCount;
    }
}

void ReplyParser::readCellData()
{
    const size_t width = size_t(m_cells.m_propertyTags.size());
    std::vector<qint64> &ordinals = m_cells.m_ordinals;
    qint64 next = ordinals.empty() ? 0 : ordinals.back() + 1;
    if (ordinals.empty()) {
        // The axes usually come first: room for a full cell set, within reason.
        qint64 expected = 1;
        for (const auto &[number, axis] : m_axisList) {
            if (number >= 0)
                expected = std::min<qint64>(expected * axis.tupleCount, 1 << 22);
        }
        ordinals.reserve(size_t(expected));
        m_cells.m_slots.reserve(size_t(expected) * width);
    }
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() != u"Cell") {
            m_reader.skipCurrentElement();
            continue;
        }
        qint64 ordinal = next;
        const QStringView ordinalText =
            m_reader.attributes().value(QLatin1StringView("CellOrdinal"));
        if (!ordinalText.isNull()) {
            bool ok = false;
            ordinal = ordinalText.trimmed().toLongLong(&ok);
            if (!ok || ordinal < 0)
                throw platform::Error(malformed(
                    QStringLiteral("a cell has the ordinal \"%1\"").arg(ordinalText.toString())));
        }
        if (!ordinals.empty() && ordinal <= ordinals.back())
            m_cellsSorted = false;
        next = ordinal + 1;
        ordinals.push_back(ordinal);
        const size_t base = m_cells.m_slots.size();
        m_cells.m_slots.resize(base + width);
        size_t hint = 0;
        while (m_reader.readNextStartElement()) {
            const QStringView tag = m_reader.name();
            int property = -1;
            for (size_t i = 0; i < width; ++i) {
                const size_t candidate = (hint + i) % width;
                if (m_cells.m_propertyTags.at(qsizetype(candidate)) == tag) {
                    property = int(candidate);
                    break;
                }
            }
            if (property < 0) { // not declared in CellInfo
                m_reader.skipCurrentElement();
                continue;
            }
            hint = size_t(property) + 1;
            readCellProperty(base + size_t(property), property);
        }
    }
}

void ReplyParser::readCellProperty(size_t at, int property)
{
    const QXmlStreamAttributes attributes = m_reader.attributes();
    const QStringView type = attributes.value(xsiNamespace(), QLatin1StringView("type"));
    const QStringView nil = attributes.value(xsiNamespace(), QLatin1StringView("nil"));
    const bool isNil = nil == u"true" || nil == u"1";
    const quint16 typeId = typeIndex(type);
    const TypeClass typeClass = classifyType(type);

    m_scratch.clear();
    QString errorText;
    bool isError = false;
    int depth = 1;
    while (depth > 0) {
        const QXmlStreamReader::TokenType token = m_reader.readNext();
        if (token == QXmlStreamReader::Characters) {
            m_scratch.append(m_reader.text());
        } else if (token == QXmlStreamReader::StartElement) {
            if (m_reader.name() == u"Error" && !isError) {
                isError = true;
                errorText = readErrorElement();
            } else {
                m_reader.skipCurrentElement();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::Invalid) {
            return;
        }
    }

    CellSetData::Slot &slot = m_cells.m_slots[at];
    slot.type = typeId;
    if (isError) {
        setCellText(at, errorText);
        slot.kind = CellValueKind::Error;
        return;
    }
    if (isNil)
        return;

    double number = 0;
    auto setDouble = [&](double value) {
        slot.kind = CellValueKind::Double;
        slot.bits = std::bit_cast<qint64>(value);
    };
    auto setText = [&] {
        setCellText(at, m_scratch);
        slot.kind = CellValueKind::String;
    };
    auto setInteger = [&]() {
        bool ok = false;
        const qint64 integer = QStringView(m_scratch).trimmed().toLongLong(&ok);
        if (ok) {
            slot.kind = CellValueKind::Integer;
            slot.bits = integer;
        } else if (parseDouble(m_scratch, number)) {
            setDouble(number);
        } else {
            setText();
        }
    };

    if (property == m_cells.m_valueIndex) {
        switch (typeClass) {
        case TypeClass::None:
            if (!m_scratch.isEmpty())
                setText();
            break;
        case TypeClass::Double:
            if (parseDouble(m_scratch, number))
                setDouble(number);
            else
                setText();
            break;
        case TypeClass::Integer:
            setInteger();
            break;
        case TypeClass::Boolean: {
            const QStringView text = QStringView(m_scratch).trimmed();
            if (text == u"true" || text == u"1" || text == u"false" || text == u"0") {
                slot.kind = CellValueKind::Boolean;
                slot.bits = text == u"true" || text == u"1";
            } else {
                setText();
            }
            break;
        }
        case TypeClass::String:
            setText();
            break;
        }
    } else if (m_numericProperty[size_t(property)]) {
        if (!QStringView(m_scratch).trimmed().isEmpty())
            setInteger();
    } else {
        setText();
    }
}

// Appends a cell's text to the shared buffer, or reuses the previous cell's text for the same
// property when it is equal.
void ReplyParser::setCellText(size_t at, QStringView text)
{
    const size_t width = size_t(m_cells.m_propertyTags.size());
    CellSetData::Slot &slot = m_cells.m_slots[at];
    QString &buffer = m_cells.m_text;
    if (at >= width) {
        const CellSetData::Slot &previous = m_cells.m_slots[at - width];
        if ((previous.kind == CellValueKind::String || previous.kind == CellValueKind::Error)
            && previous.length == text.size()
            && QStringView(buffer).mid(qsizetype(previous.bits), previous.length) == text) {
            slot.bits = previous.bits;
            slot.length = previous.length;
            return;
        }
    }
    if (text.size() > std::numeric_limits<qint32>::max())
        throw platform::Error(QStringLiteral("The server's reply is too large."));
    slot.bits = buffer.size();
    slot.length = qint32(text.size());
    buffer.append(text);
}

quint16 ReplyParser::typeIndex(QStringView type)
{
    if (type.isEmpty())
        return 0;
    QStringList &names = m_cells.m_typeNames;
    for (qsizetype i = 1; i < names.size(); ++i) {
        if (names.at(i) == type)
            return quint16(i);
    }
    if (names.size() >= std::numeric_limits<quint16>::max())
        return 0;
    names.append(type.toString());
    return quint16(names.size() - 1);
}

CellSetData ReplyParser::takeCellSet()
{
    // Axes the OlapInfo names but Axes leaves out have no tuples.
    for (const AxisInfo &info : m_axisInfo) {
        const bool present =
            std::any_of(m_axisList.begin(), m_axisList.end(),
                        [&](const auto &axis) { return axis.second.name == info.name; });
        if (present)
            continue;
        // An AxisInfo alone does not make a slicer: an absent slicer is one empty tuple.
        if (info.name == u"SlicerAxis")
            continue;
        Axis axis;
        axis.name = info.name;
        axis.hierarchies = info.hierarchies;
        int number = 1000000 + int(m_axisList.size());
        bool ok = false;
        const int parsed = QStringView(info.name).mid(4).toInt(&ok);
        if (info.name.startsWith(u"Axis") && ok && parsed >= 0)
            number = parsed;
        m_axisList.emplace_back(number, std::move(axis));
    }
    std::stable_sort(m_axisList.begin(), m_axisList.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    qint64 cellCount = 1;
    for (auto &[number, axis] : m_axisList) {
        if (number < 0) {
            m_cells.m_slicer = std::move(axis);
            continue;
        }
        if (axis.tupleCount > 0 && cellCount > std::numeric_limits<qint64>::max() / axis.tupleCount)
            throw platform::Error(QStringLiteral("The result has too many cells."));
        cellCount *= axis.tupleCount;
        m_cells.m_axes.push_back(std::move(axis));
    }
    m_cells.m_cellCount = cellCount;

    std::vector<qint64> &ordinals = m_cells.m_ordinals;
    const size_t width = size_t(m_cells.m_propertyTags.size());
    if (!m_cellsSorted) {
        // Order the cells by ordinal; of cells sent twice, the later one stands.
        std::vector<size_t> order(ordinals.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return ordinals[a] < ordinals[b]; });
        std::vector<qint64> sortedOrdinals;
        std::vector<CellSetData::Slot> sortedSlots;
        sortedOrdinals.reserve(ordinals.size());
        sortedSlots.reserve(m_cells.m_slots.size());
        for (size_t i = 0; i < order.size(); ++i) {
            const size_t from = order[i];
            const auto first = m_cells.m_slots.begin() + std::ptrdiff_t(from * width);
            if (!sortedOrdinals.empty() && sortedOrdinals.back() == ordinals[from]) {
                std::copy(first, first + std::ptrdiff_t(width),
                          sortedSlots.end() - std::ptrdiff_t(width));
                continue;
            }
            sortedOrdinals.push_back(ordinals[from]);
            sortedSlots.insert(sortedSlots.end(), first, first + std::ptrdiff_t(width));
        }
        ordinals = std::move(sortedOrdinals);
        m_cells.m_slots = std::move(sortedSlots);
    }
    if (!ordinals.empty() && ordinals.back() >= cellCount)
        throw platform::Error(malformed(QStringLiteral("cell %1 is outside the %2 cells of the "
                                                       "result")
                                            .arg(ordinals.back())
                                            .arg(cellCount)));
    m_cells.m_dense = !ordinals.empty() && ordinals.back() == qint64(ordinals.size()) - 1;
    return std::move(m_cells);
}

// ----- Entry points

QByteArray discoverRequest(QStringView requestType, const Restrictions &restrictions,
                           const Properties &properties)
{
    return envelope(QStringLiteral("Discover"), [&](QXmlStreamWriter &writer) {
        writer.writeTextElement(xmlaNamespace(), QStringLiteral("RequestType"),
                                requestType.toString());
        writeList(writer, QStringLiteral("Restrictions"), QStringLiteral("RestrictionList"),
                  restrictions);
        writeList(writer, QStringLiteral("Properties"), QStringLiteral("PropertyList"), properties);
    });
}

QByteArray executeRequest(const QString &statement, const Properties &properties)
{
    return envelope(QStringLiteral("Execute"), [&](QXmlStreamWriter &writer) {
        writer.writeStartElement(xmlaNamespace(), QStringLiteral("Command"));
        writeTextElement(writer, QStringLiteral("Statement"), statement);
        writer.writeEndElement();
        writeList(writer, QStringLiteral("Properties"), QStringLiteral("PropertyList"), properties);
    });
}

Rowset parseDiscoverReply(const QByteArray &reply)
{
    ReplyParser parser(reply);
    parser.run(ReplyParser::Mode::Rowset);
    return parser.takeRowset();
}

CellSetData parseExecuteReply(const QByteArray &reply)
{
    ReplyParser parser(reply);
    parser.run(ReplyParser::Mode::CellSet);
    return parser.takeCellSet();
}

QString replyFault(const QByteArray &reply)
{
    ReplyParser parser(reply);
    parser.run(ReplyParser::Mode::FaultOnly);
    return parser.serverText();
}

} // namespace platform::olap::xmla
