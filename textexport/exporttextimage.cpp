// Construction of the text image window: widgets, actions, connections, style and closing.
#include "textexport/exporttextimage.h"

#include "core/settings/config.h"
#include "core/text/colornames.h"
#include "core/text/sizevalidator.h"
#include "textexport/editcontextmenu.h"
#include "widgets/styled/stylesheet.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTabWidget>
#include <QToolBar>

namespace {
const char *const kToolBarStyle =
    "QToolBar{background-color: rgb(26, 26, 26); color: rgb(0,0,0);border:1px;}";

// The editor keeps a white page under the dark window.
const char *const kEditorStyle = "background-color:rgb(255,255,255);";

const char *const kTabName = QT_TRANSLATE_NOOP("ExportTextImage", "文本编辑");
// The colour list: the open list names every colour beside its swatch, the closed box shows the
// swatch alone (the name is its tool tip), so the format bar keeps its width.
class SwatchComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

} // namespace

ExportTextImage::ExportTextImage(Config *config, QWidget *parent)
    : QMainWindow(parent), m_config(config), m_tempImagePath(QStringLiteral("./temp/tempTextImage.png")),
      m_maxImageSize(-1, -1)
{
    buildWidgets();
    createActions();

    currentChanged(-1);
    currentChanged(0);

    setCentralWidget(m_tabWidget);
    if (m_config) {
        restoreGeometry(m_config->mainWindowGeometry);
        restoreState(m_config->mainWindowState, 0);
    }
    setsystemStyle();

    m_textColor = QColor(Qt::black);
    updateColorSwatch(m_textColor);

    applyShownFont();

    // The settings object belongs to the caller and may be gone once construction is over.
    m_config = nullptr;
}

ExportTextImage::~ExportTextImage() = default;

void ExportTextImage::buildWidgets()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setContextMenuPolicy(Qt::NoContextMenu);
    // Never the window's menu bar: the toolbars hold the same actions and cover the top.
    m_menuBar->hide();

    m_actionToolBar = new QToolBar(this);
    m_formatToolBar = new QToolBar(this);
    for (QToolBar *toolBar : {m_formatToolBar, m_actionToolBar}) {
        toolBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
        toolBar->setMovable(false);
        toolBar->setContextMenuPolicy(Qt::NoContextMenu);
    }
    m_actionToolBar->setToolTip(tr("字体"));
    addToolBar(m_formatToolBar);
    addToolBar(m_actionToolBar);

    comboFont = new QFontComboBox(m_formatToolBar);
    comboFont->setObjectName(QStringLiteral("comboFont"));
    m_formatToolBar->addWidget(comboFont);
    comboFont->setCurrentFont(QFont(m_config ? m_config->fontFamily : QString()));

    comboStyle = new QComboBox(this);
    comboStyle->setObjectName(QStringLiteral("comboStyle"));
    comboStyle->addItems({QStringLiteral("Normal"), QStringLiteral("Bold"), QStringLiteral("Italic"),
                          QStringLiteral("Bold Italic")});
    comboStyle->setCurrentIndex(comboStyle->findText(m_config ? m_config->fontStyle : QString(),
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive));
    comboStyle->hide();

    comboSize = new QComboBox(m_formatToolBar);
    comboSize->setObjectName(QStringLiteral("comboSize"));
    comboSize->setEditable(true);
    comboSize->installEventFilter(this);
    comboColor = new SwatchComboBox(m_formatToolBar);
    comboColor->setObjectName(QStringLiteral("comboColor"));
    comboColor->setEditable(true);
    comboColor->installEventFilter(this);

    const QList<int> sizes = QFontDatabase::standardSizes();
    for (int size : sizes) {
        if (size > 23)
            comboSize->addItem(QString::number(size));
    }
    const QString configSize = QString::number(m_config ? m_config->fontSize : 0);
    comboSize->setCurrentIndex(comboSize->findText(configSize));
    m_fontSize = configSize;

    m_formatToolBar->addWidget(comboSize);
    m_formatToolBar->addWidget(comboColor);

    m_tabWidget = new QTabWidget(this);
    m_tabWidget->setMovable(false);
    m_tabWidget->setTabsClosable(false);
    m_tabWidget->tabBar()->hide();
    m_tabWidget->setContextMenuPolicy(Qt::NoContextMenu);
}

void ExportTextImage::createActions()
{
    m_formatMenu = new QMenu(tr("&Format"), m_menuBar);
    actionTextColor = new QAction(tr("C&olor"), this);
    m_fontMenu = new QMenu(tr("字体"), m_formatMenu);

    actionTextBold =
        new QAction(QIcon(QStringLiteral(":/TextExport/res/TextExport/textbold.png")), tr("粗体"), this);
    actionTextBold->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_B));
    actionTextBold->setCheckable(true);
    actionTextItalic =
        new QAction(QIcon(QStringLiteral(":/TextExport/res/TextExport/textitalic.png")), tr("斜体"), this);
    actionTextItalic->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_I));
    actionTextItalic->setCheckable(true);
    actionTextUnderline =
        new QAction(QIcon(QStringLiteral(":/TextExport/res/TextExport/textunder.png")), tr("下划线"), this);
    actionTextUnderline->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_U));
    actionTextUnderline->setCheckable(true);

    for (QAction *action : {actionTextBold, actionTextItalic, actionTextUnderline})
        m_fontMenu->addAction(action);
    m_formatMenu->addMenu(m_fontMenu);
    for (QAction *action : {actionTextBold, actionTextItalic, actionTextUnderline})
        m_actionToolBar->addAction(action);

    m_actionToolBar->addSeparator();
    actionExport =
        new QAction(QIcon(QStringLiteral(":/TextExport/res/TextExport/export.png")), tr("发送到硬件"), this);
    m_formatMenu->addAction(actionExport);
    m_actionToolBar->addAction(actionExport);
    m_actionToolBar->addSeparator();

    m_menuBar->addMenu(m_formatMenu);

    connect(actionTextColor, SIGNAL(triggered()), this, SLOT(textColor()));
    connect(actionTextBold, SIGNAL(triggered()), this, SLOT(textStyle()));
    connect(actionTextItalic, SIGNAL(triggered()), this, SLOT(textStyle()));
    connect(actionTextUnderline, SIGNAL(triggered()), this, SLOT(textStyle()));
    connect(comboFont, SIGNAL(textActivated(QString)), this, SLOT(textFontFamily(QString)));
    connect(comboStyle, SIGNAL(activated(int)), this, SLOT(textStyle(int)));
    connect(comboStyle, SIGNAL(textActivated(QString)), this, SLOT(updateTextStyleActs(QString)));
    connect(comboSize, SIGNAL(textActivated(QString)), this, SLOT(textSize(QString)));
    connect(comboSize, SIGNAL(editTextChanged(QString)), this, SLOT(on_comboSizeEditTextChanged(QString)));
    connect(actionExport, SIGNAL(triggered()), this, SLOT(expImage()));
    connect(comboColor, SIGNAL(activated(int)), this, SLOT(textColor()));
    connect(m_tabWidget, SIGNAL(currentChanged(int)), this, SLOT(currentChanged(int)));
}

QPlainTextEdit *ExportTextImage::currentEditor() const
{
    return qobject_cast<QPlainTextEdit *>(m_tabWidget->currentWidget());
}

void ExportTextImage::currentChanged(int index)
{
    if (index == -1) {
        newFile();
        updateTextStyleActs(m_config ? m_config->fontStyle : QStringLiteral("Normal"));
        return;
    }
    connectEditor();
    setWindowTitle(tr("文本设置"));
}

void ExportTextImage::connectEditor()
{
    QPlainTextEdit *editor = currentEditor();
    if (!editor)
        return;
    // Construction reaches this twice for the same editor; unique connections keep one each.
    connect(editor, SIGNAL(modificationChanged(bool)), this, SLOT(modificationChanged(bool)),
            Qt::UniqueConnection);
    connect(editor, SIGNAL(selectionChanged()), this, SLOT(selectionChanged()), Qt::UniqueConnection);
    connect(editor, SIGNAL(textChanged()), this, SLOT(on_textChanged()), Qt::UniqueConnection);
    updateRecentFiles();
}

void ExportTextImage::updateRecentFiles()
{
    const int index = m_tabWidget->currentIndex();
    if (!m_config || index < 0 || index >= m_tabNames.size())
        return;
    const QString name = m_tabNames.at(index);
    QStringList &recent = m_config->recentFiles;
    recent.removeAll(name);
    recent.prepend(name);
    if (recent.size() > m_config->maxRecentFiles)
        recent.removeLast();
}

void ExportTextImage::modificationChanged(bool changed)
{
    const int index = m_tabWidget->currentIndex();
    if (index < 0)
        return;
    QString text = m_tabWidget->tabText(index);
    if (changed && !text.endsWith(QLatin1Char('*')))
        text += QLatin1Char('*');
    else if (!changed && text.endsWith(QLatin1Char('*')))
        text.chop(1);
    m_tabWidget->setTabText(index, text);
}

void ExportTextImage::selectionChanged() {}

void ExportTextImage::newFile()
{
    const QString name = tr(kTabName);
    m_tabNames.append(name);
    auto *editor = new QPlainTextEdit;
    editor->setObjectName(QStringLiteral("textEditor"));
    EditContextMenu::attach(editor);
    m_tabWidget->addTab(editor, name);
    m_tabWidget->setCurrentWidget(editor);
}

void ExportTextImage::setCurrentWindow(QAction *a)
{
    Q_UNUSED(a)
}

void ExportTextImage::setsystemStyle()
{
    setStyleSheet(QString::fromLatin1(kToolBarStyle));
    m_actionToolBar->setStyleSheet(QString::fromLatin1(kToolBarStyle));

    for (QComboBox *combo : {static_cast<QComboBox *>(comboFont), comboSize, comboColor})
        combo->setStyleSheet(StyleSheet::load("textcombo"));

    comboFont->setEditable(false);
    comboFont->setMaxVisibleItems(10);

    comboSize->setEditable(true);
    comboSize->lineEdit()->setValidator(new SizeValidator(24, 200, comboSize->lineEdit()));
    EditContextMenu::attach(comboSize->lineEdit());
    comboSize->setMaxVisibleItems(10);
    comboSize->setInsertPolicy(QComboBox::NoInsert);

    if (QPlainTextEdit *editor = currentEditor())
        editor->setStyleSheet(QString::fromLatin1(kEditorStyle));

    // A new window always starts at the smallest listed size.
    comboSize->setCurrentIndex(0);
    textSize(comboSize->currentText());

    comboColor->setEditable(false);
    comboColor->setMaxVisibleItems(10);
    comboColor->setInsertPolicy(QComboBox::NoInsert);
    comboColor->setCurrentIndex(0);
    fillColorCombo();
}

void ExportTextImage::fillColorCombo()
{
    const QStringList names = QColor::colorNames();
    for (const QString &name : names) {
        QPixmap swatch(50, 20);
        swatch.fill(QColor(name));
        // The name beside the swatch: many colours look alike in a small swatch.
        comboColor->addItem(QIcon(swatch), ColorNames::displayName(name), name);
    }
    comboColor->setIconSize(QSize(50, 20));
    comboColor->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(comboColor, &QComboBox::currentTextChanged, comboColor, &QWidget::setToolTip);
    const int black = names.indexOf(QStringLiteral("black"));
    if (black > 0)
        comboColor->setCurrentIndex(black);
}

bool ExportTextImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == comboSize || watched == comboColor) {
        if (event->type() == QEvent::FocusOut) {
            textSize(m_fontSize);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                textSize(m_fontSize);
        }
    }
    // The combos still get every event.
    return false;
}

void ExportTextImage::closeEvent(QCloseEvent *event)
{
    emit signal_closeExportTextWindow();
    for (int i = 0; i < m_tabWidget->count(); ++i)
        m_tabWidget->setCurrentIndex(i);
    event->accept();
}
