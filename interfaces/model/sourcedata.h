#pragma once

#include "interfaces/model/sharedrecord.h"

#include <QColor>
#include <QFont>
#include <QString>

// The text, font and colour a text item was rendered from, so the item can be edited again.
class SourceData : public SharedRecord
{
public:
    SourceData();
    ~SourceData() override;

    void setContent(const QString &content) { m_content = content; }
    QString getContent() const { return m_content; }

    void setTextFont(const QFont &font) { m_font = font; }
    QFont getTextFont() const { return m_font; }

    void setTextColor(const QColor &color) { m_color = color; }
    QColor getTextColor() const { return m_color; }

private:
    QString m_content;
    QFont m_font;
    QColor m_color;
};
