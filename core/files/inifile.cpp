#include "core/files/inifile.h"

#include <QDataStream>
#include <QDateTime>
#include <QIODevice>
#include <QStringList>

namespace {

const char HexDigits[] = "0123456789ABCDEF";

void appendHex(QByteArray &out, uint value)
{
    out += QByteArray::number(value, 16);
}

// Section and key names: letters, digits, '_', '-' and '.' as they are, '/' (a key's inner
// separator) as '\', anything else as %XX or %UXXXX.
void appendKey(QByteArray &out, const QString &key)
{
    for (const QChar c : key) {
        const ushort ch = c.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                   ch == '_' || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += HexDigits[ch / 16];
            out += HexDigits[ch % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += HexDigits[(ch >> shift) & 0xF];
        }
    }
}

bool isHexDigit(ushort ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

// One string value, quoted: everything outside printable ASCII as \x escapes (the reader takes
// hexadecimal digits for as long as they come, so a digit after an escape is escaped too).
void appendString(QByteArray &out, const QString &text)
{
    out += '"';
    bool afterEscape = false;
    for (const QChar c : text) {
        const ushort ch = c.unicode();
        if (ch < 0x20 || ch >= 0x7F || (afterEscape && isHexDigit(ch))) {
            out += "\\x";
            appendHex(out, ch);
            afterEscape = true;
            continue;
        }
        afterEscape = false;
        if (ch == '"' || ch == '\\')
            out += '\\';
        out += char(ch);
    }
    out += '"';
}

// Bytes as characters 0 to 255, zeros included (QString::fromLatin1(QByteArray) stops at one).
QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.constData(), bytes.size());
}

// A string as QSettings keeps it: a leading '@' marks its own type names, so it is doubled.
QString plain(const QString &text)
{
    return text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
}

void appendValue(QByteArray &out, const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        out += "@Invalid()";
        return;
    case QMetaType::QStringList: {
        const QStringList list = value.toStringList();
        // An empty list reads back as an empty list from an invalid value.
        if (list.isEmpty())
            out += "@Invalid()";
        for (int i = 0; i < list.size(); ++i) {
            if (i > 0)
                out += ", ";
            appendString(out, plain(list.at(i)));
        }
        return;
    }
    case QMetaType::QString:
        appendString(out, plain(value.toString()));
        return;
    case QMetaType::QByteArray:
        appendString(out, QStringLiteral("@ByteArray(") + latin1(value.toByteArray()) + QLatin1Char(')'));
        return;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        out += value.toString().toLatin1();
        return;
    default:
        break;
    }
    // Anything else as QSettings stores it: the value's data stream.
    const bool dateTime = value.userType() == QMetaType::QDateTime;
    QByteArray stream;
    {
        QDataStream s(&stream, QIODevice::WriteOnly);
        s.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
        s << value;
    }
    appendString(out, (dateTime ? QStringLiteral("@DateTime(") : QStringLiteral("@Variant(")) +
                          latin1(stream) + QLatin1Char(')'));
}

} // namespace

QByteArray IniFile::encode(const Values &values)
{
    QStringList sections;
    QList<Values> keys;
    for (const auto &entry : values) {
        const int slash = entry.first.indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : entry.first.left(slash);
        const QString key = slash < 0 ? entry.first : entry.first.mid(slash + 1);
        int at = sections.indexOf(section);
        if (at < 0) {
            at = sections.size();
            sections.append(section);
            keys.append(Values());
        }
        keys[at].append({key, entry.second});
    }

    QByteArray out;
    for (int i = 0; i < sections.size(); ++i) {
        if (i > 0)
            out += '\n';
        QByteArray name;
        appendKey(name, sections.at(i));
        // [General] holds the keys without a section; a section that is itself called General
        // is told apart by a '%'.
        if (name.isEmpty())
            name = "General";
        else if (qstricmp(name.constData(), "general") == 0)
            name.prepend('%');
        out += '[' + name + "]\n";
        for (const auto &entry : qAsConst(keys.at(i))) {
            appendKey(out, entry.first);
            out += '=';
            appendValue(out, entry.second);
            out += '\n';
        }
    }
    return out;
}
