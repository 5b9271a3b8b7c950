// The translation check: the committed translations/brisklane_en.ts is what lupdate makes of the
// sources (run on a copy, never on the committed file), every message in it is finished and keeps
// its placeholders, and no text the operator reads bypasses translation (a scanner over the
// product's sources, with translations/untranslated.txt naming the justified exceptions).
#include "core/text/translationinstaller.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString kSourceDir = QStringLiteral(BRISKLANE_SOURCE_DIR);
const QString kTsFile = kSourceDir + QStringLiteral("/translations/brisklane_en.ts");
const QString kAllowList = kSourceDir + QStringLiteral("/translations/untranslated.txt");

struct Message
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type; // "", "unfinished", "obsolete" or "vanished"
    int form = 0; // which plural form

    QString key() const
    {
        return context + QLatin1Char('|') + source + QLatin1Char('|') + comment + QLatin1Char('|') +
               QString::number(form);
    }
};

QList<Message> readTs(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("context")) {
            context.clear();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message();
            current.context = context;
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            current.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            // A text with plural forms counts as one message per form.
            QString text;
            QStringList forms;
            while (!xml.atEnd() && !(xml.isEndElement() && xml.name() == QLatin1String("translation"))) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                    forms.append(xml.readElementText());
                else if (xml.isCharacters())
                    text += xml.text();
            }
            if (forms.isEmpty())
                forms.append(text);
            for (int i = 0; i < forms.size(); ++i) {
                current.translation = forms.at(i);
                current.form = i;
                messages.append(current);
            }
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QString describe(const Message &m)
{
    return QStringLiteral("%1 \"%2\"%3 [%4]")
        .arg(m.context, m.source, m.comment.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m.comment),
             m.type.isEmpty() ? QStringLiteral("finished") : m.type);
}

bool isChinese(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3400 && u <= 0x9fff) || (u >= 0x3000 && u <= 0x303f) || (u >= 0xff00 && u <= 0xffef);
}

// Where a literal may hold Chinese: the arguments of these calls reach lupdate.
const QSet<QString> &translatingCalls()
{
    static const QSet<QString> calls{QStringLiteral("tr"),
                                     QStringLiteral("trUtf8"),
                                     QStringLiteral("translate"),
                                     QStringLiteral("QT_TR_NOOP"),
                                     QStringLiteral("QT_TRANSLATE_NOOP"),
                                     QStringLiteral("QT_TRANSLATE_NOOP3"),
                                     QStringLiteral("QT_TR_N_NOOP"),
                                     QStringLiteral("QT_TRANSLATE_N_NOOP")};
    return calls;
}

// Calls that put their text argument in front of the operator: a literal with letters passed to them
// straight is an untranslated caption.
const QSet<QString> &showingCalls()
{
    static const QSet<QString> calls{QStringLiteral("setText"),
                                     QStringLiteral("setToolTip"),
                                     QStringLiteral("setWindowTitle"),
                                     QStringLiteral("setStatusTip"),
                                     QStringLiteral("setWhatsThis"),
                                     QStringLiteral("setPlaceholderText"),
                                     QStringLiteral("setTitle"),
                                     QStringLiteral("setTabText"),
                                     QStringLiteral("setTabToolTip"),
                                     QStringLiteral("addTab"),
                                     QStringLiteral("insertTab"),
                                     QStringLiteral("addItem"),
                                     QStringLiteral("addItems"),
                                     QStringLiteral("addAction"),
                                     QStringLiteral("addMenu"),
                                     QStringLiteral("setNameFilter"),
                                     QStringLiteral("setNameFilters"),
                                     QStringLiteral("getOpenFileName"),
                                     QStringLiteral("getOpenFileNames"),
                                     QStringLiteral("getSaveFileName"),
                                     QStringLiteral("getExistingDirectory"),
                                     QStringLiteral("QLabel"),
                                     QStringLiteral("QAction"),
                                     QStringLiteral("QMenu"),
                                     QStringLiteral("QPushButton"),
                                     QStringLiteral("QCheckBox"),
                                     QStringLiteral("QRadioButton"),
                                     QStringLiteral("QGroupBox"),
                                     QStringLiteral("QFileDialog"),
                                     QStringLiteral("information"),
                                     QStringLiteral("warning"),
                                     QStringLiteral("question"),
                                     QStringLiteral("critical"),
                                     QStringLiteral("informationMessageBox"),
                                     QStringLiteral("waringMessageBox"),
                                     QStringLiteral("questionMessageBox"),
                                     QStringLiteral("choiceMessageBox"),
                                     QStringLiteral("CustomMegBox")};
    return calls;
}

// Wrappers a literal passes through on its way to the call that uses it.
bool isWrapper(const QString &call)
{
    static const QSet<QString> wrappers{
        QStringLiteral("QStringLiteral"), QStringLiteral("QLatin1String"),
        QStringLiteral("QString"),        QStringLiteral("fromUtf8"),
        QStringLiteral("fromLatin1"),     QStringLiteral("QByteArrayLiteral")};
    return wrappers.contains(call);
}

struct Literal
{
    QString text; // as written between the quotes
    QString call; // the innermost call taking it, past the wrappers; "" at statement level
    bool inDebugStatement = false;
};

// The string literals of C++ code, outside comments and preprocessor lines, each with the call it is
// an argument of. A heuristic: enough for code written as this project writes it.
QList<Literal> literalsOf(const QString &code)
{
    QList<Literal> literals;
    QStringList calls; // one entry per open parenthesis: the identifier before it
    QString lastIdentifier;
    bool identifierJustEnded = false;
    bool debugStatement = false;
    bool lineStart = true;
    const int n = code.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = code.at(i);
        const QChar next = i + 1 < n ? code.at(i + 1) : QChar();
        if (c == QLatin1Char('\n')) {
            lineStart = true;
            continue;
        }
        if (c.isSpace())
            continue;
        if (lineStart && c == QLatin1Char('#')) {
            while (i < n && code.at(i) != QLatin1Char('\n'))
                i += code.at(i) == QLatin1Char('\\') ? 2 : 1;
            --i;
            continue;
        }
        lineStart = false;
        if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i < n && code.at(i) != QLatin1Char('\n'))
                ++i;
            --i;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = code.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const bool raw =
                c == QLatin1Char('"') && identifierJustEnded && lastIdentifier.endsWith(QLatin1Char('R'));
            int end;
            QString text;
            if (raw) {
                const int open = code.indexOf(QLatin1Char('('), i);
                const QString closing = QLatin1Char(')') + code.mid(i + 1, open - i - 1) + QLatin1Char('"');
                end = code.indexOf(closing, open);
                text = code.mid(open + 1, end - open - 1);
                end += closing.size() - 1;
            } else {
                end = i + 1;
                while (end < n && code.at(end) != c)
                    end += code.at(end) == QLatin1Char('\\') ? 2 : 1;
                text = code.mid(i + 1, end - i - 1);
            }
            if (c == QLatin1Char('"')) {
                Literal literal;
                literal.text = text;
                for (int k = calls.size() - 1; k >= 0; --k) {
                    if (!isWrapper(calls.at(k))) {
                        literal.call = calls.at(k);
                        break;
                    }
                }
                literal.inDebugStatement = debugStatement;
                literals.append(literal);
            }
            i = end;
            identifierJustEnded = false;
            continue;
        }
        if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            int end = i;
            while (end < n && (code.at(end).isLetterOrNumber() || code.at(end) == QLatin1Char('_')))
                ++end;
            lastIdentifier = code.mid(i, end - i);
            // Diagnostics, also under a logging category (qCDebug), are for developers, not operators.
            static const QSet<QString> diagnostics{QStringLiteral("qWarning"),  QStringLiteral("qInfo"),
                                                   QStringLiteral("qCritical"), QStringLiteral("qFatal"),
                                                   QStringLiteral("qCDebug"),   QStringLiteral("qCInfo"),
                                                   QStringLiteral("qCWarning"), QStringLiteral("qCCritical")};
            if (lastIdentifier.startsWith(QLatin1String("qDebug")) || diagnostics.contains(lastIdentifier))
                debugStatement = true;
            identifierJustEnded = true;
            i = end - 1;
            continue;
        }
        if (c == QLatin1Char('(')) {
            calls.append(identifierJustEnded ? lastIdentifier : QString());
        } else if (c == QLatin1Char(')')) {
            if (!calls.isEmpty())
                calls.removeLast();
        } else if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            debugStatement = false;
        }
        // "Class::tr(" and "a->tr(" name their call by the identifier right before the parenthesis.
        identifierJustEnded = false;
    }
    return literals;
}

// What the scanner objects to in code: "literal" for each literal that bypasses translation.
// widgets: whether the code shows captions itself (not core/ or the command-line tool).
QStringList untranslatedIn(const QString &code, bool widgets)
{
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]"));
    QStringList found;
    for (const Literal &literal : literalsOf(code)) {
        if (literal.inDebugStatement || translatingCalls().contains(literal.call))
            continue;
        const bool chinese = std::any_of(literal.text.begin(), literal.text.end(), isChinese);
        const bool shownCaption = widgets && showingCalls().contains(literal.call) &&
                                  literal.text.contains(letters) &&
                                  !literal.text.startsWith(QLatin1String(":/"));
        if (chinese || shownCaption)
            found.append(QLatin1Char('"') + literal.text + QLatin1Char('"'));
    }
    return found;
}

QStringList translatedDirs()
{
    return QStringLiteral(BRISKLANE_TRANSLATED_DIRS).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool showsWidgets(const QString &relativePath)
{
    for (const char *headless : {"core/", "cli/", "interfaces/device/", "interfaces/model/"}) {
        if (relativePath.startsWith(QLatin1String(headless)))
            return false;
    }
    return true;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void committedFileIsFinished();
    void translationsKeepPlaceholdersAndLineBreaks();
    void lupdateFindsNothingNew();
    void scannerFindsUntranslatedLiterals_data();
    void scannerFindsUntranslatedLiterals();
    void sourcesTranslateWhatTheOperatorReads();
    void chineseTranslatesEveryEnglishText();
};

void TestTranslations::committedFileIsFinished()
{
    QString error;
    const QList<Message> messages = readTs(kTsFile, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(messages.size() > 100);
    QStringList bad;
    for (const Message &m : messages) {
        if (!m.type.isEmpty() || m.translation.trimmed().isEmpty())
            bad.append(describe(m));
    }
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
}

void TestTranslations::translationsKeepPlaceholdersAndLineBreaks()
{
    static const QRegularExpression placeholder(QStringLiteral("%(n|L?\\d+)"));
    const auto placeholders = [](const QString &text) {
        QStringList found;
        auto it = placeholder.globalMatch(text);
        while (it.hasNext())
            found.append(it.next().captured());
        found.sort();
        return found;
    };
    QString error;
    const QList<Message> messages = readTs(kTsFile, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList bad;
    for (const Message &m : messages) {
        if (placeholders(m.source) != placeholders(m.translation) ||
            m.source.count(QLatin1Char('\n')) != m.translation.count(QLatin1Char('\n')))
            bad.append(describe(m) + QStringLiteral(" -> \"%1\"").arg(m.translation));
    }
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
}

void TestTranslations::lupdateFindsNothingNew()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("brisklane_en.ts"));
    QVERIFY(QFile::copy(kTsFile, copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));

    QProcess lupdate;
    lupdate.setWorkingDirectory(kSourceDir);
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments =
        QStringLiteral(BRISKLANE_LUPDATE_ARGUMENTS).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    arguments << QStringLiteral("-ts") << copy;
    lupdate.start(QStringLiteral(BRISKLANE_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAll().constData());

    QString error;
    const QList<Message> committed = readTs(kTsFile, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QList<Message> updated = readTs(copy, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QMap<QString, Message> before;
    for (const Message &m : committed)
        before.insert(m.key(), m);
    // New texts come back unfinished, texts gone from the sources vanished or obsolete.
    QStringList changes;
    for (const Message &m : updated) {
        const auto was = before.constFind(m.key());
        if (was == before.constEnd() || was->type != m.type || was->translation != m.translation)
            changes.append(describe(m));
    }
    if (updated.size() != committed.size())
        changes.append(QStringLiteral("%1 messages become %2").arg(committed.size()).arg(updated.size()));
    QVERIFY2(changes.isEmpty(),
             qPrintable(QStringLiteral("translations/brisklane_en.ts is out of date (build the "
                                       "update_translations target, then translate):\n") +
                        changes.join(QLatin1Char('\n'))));
}

void TestTranslations::scannerFindsUntranslatedLiterals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("widgets");
    QTest::addColumn<QStringList>("expected");
    const QStringList none;
    QTest::newRow("tr") << "label->setText(tr(\"导入\"));" << true << none;
    QTest::newRow("a class's tr") << "x = Quillmere::tr(\"导入\");" << true << none;
    QTest::newRow("translate") << "e = QCoreApplication::translate(\"C\", \"文件为空\");" << false << none;
    QTest::newRow("QT_TR_NOOP") << "const char *k = QT_TR_NOOP(\"文本\");" << true << none;
    QTest::newRow("qDebug") << "qDebug() << \"当前序号\" << i;\nx = 1;" << true << none;
    QTest::newRow("qCDebug") << "qCDebug(lcWindow) << \"当前序号\" << i;\nx = 1;" << true << none;
    QTest::newRow("Chinese after a categorised debug statement")
        << "qCDebug(lcWindow) << 1;\ns = \"扣色\";" << true << QStringList{"\"扣色\""};
    QTest::newRow("line comment") << "// \"删除\" frees the item\nx = 1;" << true << none;
    QTest::newRow("block comment") << "/* \"删除\" */ x = 1;" << true << none;
    QTest::newRow("preprocessor") << "#include \"中.h\"\nx = 1;" << true << none;
    QTest::newRow("Chinese bypassing tr")
        << "b->setText(QStringLiteral(\"重置\"));" << true << QStringList{"\"重置\""};
    QTest::newRow("Chinese in headless code")
        << "*error = QStringLiteral(\"输入的信息为空\");" << false << QStringList{"\"输入的信息为空\""};
    QTest::newRow("Chinese concatenated after tr")
        << "q = tr(\"是否要复位\") + name + QStringLiteral(\" 成功\");" << true << QStringList{"\" 成功\""};
    QTest::newRow("Chinese after a debug statement")
        << "qDebug() << 1;\ns = \"扣色\";" << true << QStringList{"\"扣色\""};
    QTest::newRow("escaped quote") << "s = \"a\\\"b 中\";" << true << QStringList{"\"a\\\"b 中\""};
    QTest::newRow("a quote character") << "c = '\"'; s = \"中\";" << true << QStringList{"\"中\""};
    QTest::newRow("English caption") << "w->setWindowTitle(QStringLiteral(\"Frame\"));" << true
                                     << QStringList{"\"Frame\""};
    QTest::newRow("English file filter") << "d->setNameFilters({QStringLiteral(\"PicFile (*.pic)\")});"
                                         << true << QStringList{"\"PicFile (*.pic)\""};
    QTest::newRow("English in the command-line tool")
        << "err(QStringLiteral(\"no file given\"));" << false << none;
    QTest::newRow("resource paths and style sheets")
        << "new QAction(QIcon(QStringLiteral(\":/a/b.png\")), tr(\"粗体\"), this);\n"
           "w->setStyleSheet(QStringLiteral(\"color:red\"));\nb->setObjectName(QStringLiteral(\"ok\"));"
        << true << none;
}

void TestTranslations::scannerFindsUntranslatedLiterals()
{
    QFETCH(QString, code);
    QFETCH(bool, widgets);
    QFETCH(QStringList, expected);
    QCOMPARE(untranslatedIn(code, widgets), expected);
}

void TestTranslations::sourcesTranslateWhatTheOperatorReads()
{
    QFile allowFile(kAllowList);
    QVERIFY2(allowFile.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(allowFile.errorString()));
    static const QRegularExpression entry(QStringLiteral("^(\\S+): (\".*\") - \\S"));
    QSet<QString> allowed;
    for (const QString &line : QString::fromUtf8(allowFile.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch match = entry.match(line);
        QVERIFY2(match.hasMatch(),
                 qPrintable(QStringLiteral("untranslated.txt: not \"path: \\\"literal\\\" - "
                                           "reason\": ") +
                            line));
        allowed.insert(match.captured(1) + QStringLiteral(": ") + match.captured(2));
    }

    QStringList found;
    const QDir root(kSourceDir);
    int files = 0;
    for (const QString &folder : translatedDirs()) {
        QDirIterator it(root.filePath(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = root.relativeFilePath(path);
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            ++files;
            for (const QString &literal :
                 untranslatedIn(QString::fromUtf8(file.readAll()), showsWidgets(relative)))
                found.append(relative + QStringLiteral(": ") + literal);
        }
    }
    QVERIFY(files > 50);
    QStringList bypassing;
    QSet<QString> used;
    for (const QString &f : found) {
        if (allowed.contains(f))
            used.insert(f);
        else
            bypassing.append(f);
    }
    QVERIFY2(bypassing.isEmpty(), qPrintable(QStringLiteral("texts that bypass tr() (translate them, or name "
                                                            "them in translations/untranslated.txt):\n") +
                                             bypassing.join(QLatin1Char('\n'))));
    const QSet<QString> stale = allowed - used;
    QVERIFY2(stale.isEmpty(),
             qPrintable(QStringLiteral("untranslated.txt names literals the sources no longer "
                                       "have:\n") +
                        QStringList(stale.values()).join(QLatin1Char('\n'))));
}

void TestTranslations::chineseTranslatesEveryEnglishText()
{
    QString error;
    const QList<Message> english = readTs(kTsFile, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QList<Message> chinese =
        readTs(kSourceDir + QStringLiteral("/translations/brisklane_zh.ts"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QMap<QString, Message> byKey;
    for (const Message &m : chinese)
        byKey.insert(m.key(), m);
    // The texts the sources write in English, and nothing else.
    QStringList missing;
    int englishSources = 0;
    for (const Message &m : english) {
        if (std::any_of(m.source.begin(), m.source.end(), isChinese) || m.type == QLatin1String("vanished") ||
            m.type == QLatin1String("obsolete"))
            continue;
        ++englishSources;
        const auto found = byKey.constFind(m.key());
        if (found == byKey.constEnd() || found->translation.trimmed().isEmpty() || !found->type.isEmpty())
            missing.append(describe(m));
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    QCOMPARE(chinese.size(), englishSources);

    // Installed for the Chinese interface, they are what the operator reads.
    QVERIFY(TranslationInstaller::install(QCoreApplication::instance(), LanguageChoice::Chinese,
                                          TranslationInstaller::OwnTextsOnly));
    QCOMPARE(QCoreApplication::translate("Quillmere", "Open File"), QStringLiteral("打开文件"));
    QCOMPARE(QCoreApplication::translate("Quillmere", "OK"), QStringLiteral("确定"));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
