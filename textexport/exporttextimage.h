#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMainWindow>
#include <QSize>
#include <QString>
#include <QStringList>

class Config;
class QAction;
class QComboBox;
class QFocusEvent;
class QFontComboBox;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QTabWidget;
class QTextCharFormat;
class QToolBar;

// The modal window in which the operator types and formats the text of a text OSD item. "发送到硬件"
// renders the text into a two-colour image and hands it over through exportTextImage(). Every format
// control applies to the whole document; rendering reads the controls, never the document.
class ExportTextImage : public QMainWindow
{
    Q_OBJECT
public:
    // config is read during construction only; the window keeps no use of it afterwards.
    ExportTextImage(Config *config, QWidget *parent = nullptr);
    ~ExportTextImage() override;

    void setMaxImageSize(const QSize &size) { m_maxImageSize = size; }
    QSize maxImageSize() const { return m_maxImageSize; }
    QString tempImagePath() const { return m_tempImagePath; }
    void setTempImagePath(const QString &path) { m_tempImagePath = path; }

    // Shows a stored text item for editing: its text and colour, and its family, size, bold,
    // italic and underline in the controls and the document, so sending again draws it alike.
    void loadText(const QColor &color, const QFont &font, const QString &content);

    // Puts back a text the operator typed in an earlier window and left unsent.
    void restoreDraft(const QString &text);
    // The document's text, or an empty string when it is what was last sent.
    QString unsentText() const;

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // image is valid only while the signal is delivered; receivers copy it.
    void exportTextImage(QImage *image, QColor color, QFont font, QString text);
    void signal_closeExportTextWindow();

public slots:
    void currentChanged(int index);
    void modificationChanged(bool changed);
    void selectionChanged();
    void newFile();
    void textColor();
    void textFont();
    void textFontFamily(const QString &font);
    void textSize(const QString &size);
    void on_comboSizeEditTextChanged(const QString &size);
    void on_comboSizeFocusOutEvent(QFocusEvent *e);
    void textStyle(int index);
    void textStyle();
    void colorStyle();
    void updateTextStyleActs(const QString &style);
    QImage *expImage();
    void setCurrentWindow(QAction *a);
    void setsystemStyle();
    void on_textChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Construction (exporttextimage.cpp).
    void buildWidgets();
    void createActions();
    void connectEditor();
    void updateRecentFiles();
    void fillColorCombo();

    // Formatting (exporttextimage_format.cpp).
    void applyCharFormat(const QTextCharFormat &format);
    void reapplySize();
    void updateColorSwatch(const QColor &color);
    void applyShownFont();

    // Rendering (exporttextimage_render.cpp).
    QString renderFamily() const;
    QFont renderFont() const;
    void refuseEmptyText();

    QPlainTextEdit *currentEditor() const;

    Config *m_config = nullptr;
    QTabWidget *m_tabWidget = nullptr;
    QStringList m_tabNames;
    QMenuBar *m_menuBar = nullptr;
    QToolBar *m_actionToolBar = nullptr;
    QToolBar *m_formatToolBar = nullptr;
    QComboBox *comboStyle = nullptr;
    QFontComboBox *comboFont = nullptr;
    QComboBox *comboSize = nullptr;
    QComboBox *comboColor = nullptr;
    QMenu *m_formatMenu = nullptr;
    QAction *actionTextColor = nullptr;
    QColor m_textColor;
    QMenu *m_fontMenu = nullptr;
    QAction *actionTextBold = nullptr;
    QAction *actionTextItalic = nullptr;
    QAction *actionTextUnderline = nullptr;
    QAction *actionExport = nullptr;
    QString m_tempImagePath;
    QString m_fontFamily;
    QString m_fontSize;
    QSize m_maxImageSize;
    // The document's text at the last send; it is no draft any more.
    QString m_sentText;

    friend class ExportTextImageTestAccess;
};
