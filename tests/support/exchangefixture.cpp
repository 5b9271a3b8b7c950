#include "support/exchangefixture.h"

#include "interfaces/model/datamode.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

using A = QuillmereTestAccess;
using TestSupport::answerNextFileDialog;

void ExchangeFixture::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TestSupport::failOnQtWarnings();
    QVERIFY(m_dir.isValid());
}

void ExchangeFixture::init()
{
    DataMode::getInstance()->clearDataModel();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

OSDItem *ExchangeFixture::addPicture(Quillmere &w, const QImage &image)
{
    const QString path = m_dir.filePath(QStringLiteral("picture%1.png").arg(++m_fileCounter));
    if (!image.save(path))
        return nullptr;
    answerNextFileDialog({path}, nullptr);
    w.slot_picturnButten();
    const QList<OSDItem *> items = A::currentItems(w);
    return items.size() == 1 ? items.first() : nullptr;
}

OSDItem *ExchangeFixture::addText(Quillmere &w, const QImage &image, const QColor &color, const QFont &font,
                                  const QString &text)
{
    QImage copy = image;
    w.on_exportTextImage(&copy, color, font, text);
    const QList<OSDItem *> items = A::currentItems(w);
    return items.size() == 1 ? items.first() : nullptr;
}

void ExchangeFixture::exportTo(Quillmere &w, const QString &path)
{
    answerNextFileDialog({path}, nullptr);
    w.slot_outputButten();
}

QString ExchangeFixture::writeBytes(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}
