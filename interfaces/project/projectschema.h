#pragma once

// Private to the project file's writer and reader: the tables of schema version 1
// (docs/project-file.md). The entry table's columns are listed once, below: the writer makes the
// table and its rows from the list, the reader selects and checks the columns by it.
#include <QString>
#include <QStringList>

#include <iterator>

namespace ProjectSchema {

// The entry table's columns, in the order of EntryColumns.
enum Column
{
    CTab,
    CId,
    CNumber,
    CKind,
    CHasOriginal,
    COriginal,
    CSource,
    CSourceFormat,
    CRecordData,
    CTextContent,
    CTextFont,
    CTextColour,
    CKeyEnabled,
    CKeyBegin,
    CKeyEnd,
    CKeyFill,
    CKeyPicked,
    CX,
    CY,
    CCutLeft,
    CCutTop,
    CCutRight,
    CCutBottom,
    CCutView,
    CKeyed,
    CKeyFlag,
    CKeyedBegin,
    CKeyedEnd,
    CKeyedFill,
    CHasRecord,
    CRecordWidth,
    CRecordHeight,
    CCompletionWidth,
    CFileLength,
    CRecordX,
    CRecordY,
    CRecordCutLeft,
    CRecordCutTop,
    CRecordCutRight,
    CRecordCutBottom,
    CCutEnabled,
    CCutAllowed,
    CAvailable,
    CRed,
    CGreen,
    CBlue,
    CRecordFill,
    CFillOn
};

// What a column holds, and so how the reader takes it.
enum class Kind
{
    Tab,       // the row's place, checked against the rows before it
    Integer,   // an int
    Flag,      // 0 or 1
    Reference, // a blob id or NULL
    Format,    // a QImage::Format, or NULL
    Text,      // UTF-8
    Font,      // the OSD file's font field
    Colour     // the OSD file's colour field, 11 bytes
};

struct EntryColumn
{
    Column column;
    const char *name;
    // What follows the name in CREATE TABLE. Part of every file made: a change is a new version.
    const char *declaration;
    Kind kind;
};

inline constexpr EntryColumn EntryColumns[] = {
    {CTab, "tab", "INTEGER PRIMARY KEY CHECK (tab >= 0)", Kind::Tab},
    {CId, "id", "INTEGER NOT NULL UNIQUE CHECK (id > 0)", Kind::Integer},
    {CNumber, "number", "INTEGER NOT NULL CHECK (number > 0)", Kind::Integer},
    {CKind, "kind", "INTEGER NOT NULL CHECK (kind BETWEEN 0 AND 2)", Kind::Integer},
    {CHasOriginal, "has_original", "INTEGER NOT NULL", Kind::Flag},
    {COriginal, "original", "INTEGER REFERENCES blob(id)", Kind::Reference},
    {CSource, "source", "INTEGER REFERENCES blob(id)", Kind::Reference},
    {CSourceFormat, "source_format", "INTEGER", Kind::Format},
    {CRecordData, "record_data", "INTEGER REFERENCES blob(id)", Kind::Reference},
    {CTextContent, "text_content", "TEXT NOT NULL", Kind::Text},
    {CTextFont, "text_font", "BLOB NOT NULL", Kind::Font},
    {CTextColour, "text_colour", "BLOB NOT NULL", Kind::Colour},
    {CKeyEnabled, "key_enabled", "INTEGER NOT NULL", Kind::Flag},
    {CKeyBegin, "key_begin", "BLOB NOT NULL", Kind::Colour},
    {CKeyEnd, "key_end", "BLOB NOT NULL", Kind::Colour},
    {CKeyFill, "key_fill", "BLOB NOT NULL", Kind::Colour},
    {CKeyPicked, "key_picked", "BLOB NOT NULL", Kind::Colour},
    {CX, "x", "INTEGER NOT NULL", Kind::Integer},
    {CY, "y", "INTEGER NOT NULL", Kind::Integer},
    {CCutLeft, "cut_left", "INTEGER NOT NULL", Kind::Integer},
    {CCutTop, "cut_top", "INTEGER NOT NULL", Kind::Integer},
    {CCutRight, "cut_right", "INTEGER NOT NULL", Kind::Integer},
    {CCutBottom, "cut_bottom", "INTEGER NOT NULL", Kind::Integer},
    {CCutView, "cut_view", "INTEGER NOT NULL", Kind::Flag},
    {CKeyed, "keyed", "INTEGER NOT NULL", Kind::Flag},
    {CKeyFlag, "key_flag", "INTEGER NOT NULL", Kind::Flag},
    {CKeyedBegin, "keyed_begin", "BLOB NOT NULL", Kind::Colour},
    {CKeyedEnd, "keyed_end", "BLOB NOT NULL", Kind::Colour},
    {CKeyedFill, "keyed_fill", "BLOB NOT NULL", Kind::Colour},
    {CHasRecord, "has_record", "INTEGER NOT NULL", Kind::Flag},
    {CRecordWidth, "record_width", "INTEGER NOT NULL", Kind::Integer},
    {CRecordHeight, "record_height", "INTEGER NOT NULL", Kind::Integer},
    {CCompletionWidth, "completion_width", "INTEGER NOT NULL", Kind::Integer},
    {CFileLength, "file_length", "INTEGER NOT NULL", Kind::Integer},
    {CRecordX, "record_x", "INTEGER NOT NULL", Kind::Integer},
    {CRecordY, "record_y", "INTEGER NOT NULL", Kind::Integer},
    {CRecordCutLeft, "record_cut_left", "INTEGER NOT NULL", Kind::Integer},
    {CRecordCutTop, "record_cut_top", "INTEGER NOT NULL", Kind::Integer},
    {CRecordCutRight, "record_cut_right", "INTEGER NOT NULL", Kind::Integer},
    {CRecordCutBottom, "record_cut_bottom", "INTEGER NOT NULL", Kind::Integer},
    {CCutEnabled, "cut_enabled", "INTEGER NOT NULL", Kind::Flag},
    {CCutAllowed, "cut_allowed", "INTEGER NOT NULL", Kind::Flag},
    {CAvailable, "available", "INTEGER NOT NULL", Kind::Flag},
    {CRed, "red", "INTEGER NOT NULL", Kind::Integer},
    {CGreen, "green", "INTEGER NOT NULL", Kind::Integer},
    {CBlue, "blue", "INTEGER NOT NULL", Kind::Integer},
    {CRecordFill, "record_fill", "BLOB NOT NULL", Kind::Colour},
    {CFillOn, "fill_on", "INTEGER NOT NULL", Kind::Flag},
};
constexpr int EntryColumnCount = int(std::size(EntryColumns));

constexpr bool listedInOrder()
{
    for (int i = 0; i < EntryColumnCount; ++i) {
        if (EntryColumns[i].column != i)
            return false;
    }
    return EntryColumnCount == CFillOn + 1;
}
static_assert(listedInOrder(), "every column once, in the order of Column");

// The statements that make the tables of a new file.
QStringList createStatements();
// "tab,id,number,…": the entry columns for SELECT and INSERT.
QString columnList();

} // namespace ProjectSchema
