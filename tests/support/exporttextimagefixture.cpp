#include "support/exporttextimagefixture.h"

#include "core/settings/config.h"
#include "support/core/warnings.h"
#include "textexport/exporttextimage.h"

#include <QFontDatabase>
#include <QtTest>

void ExportTextImageFixture::initTestCase()
{
    QVERIFY(QFontDatabase().families().contains(QStringLiteral("DejaVu Serif")));
    // Failed string connections and style sheets that do not parse only show up as warnings.
    TestSupport::failOnQtWarnings();
}

void ExportTextImageFixture::init()
{
    m_folder.clear();
    m_config = new Config(m_folder.path());
}

void ExportTextImageFixture::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_config;
    m_config = nullptr;
}

ExportTextImage *ExportTextImageFixture::openWindow()
{
    m_window = new ExportTextImage(m_config, nullptr);
    m_window->setMaxImageSize(QSize(560, 300));
    m_window->resize(600, 350);
    return m_window;
}
