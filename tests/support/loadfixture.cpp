#include "support/loadfixture.h"

#include "interfaces/model/datamode.h"
#include "support/core/warnings.h"
#include "support/importing.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QtTest>

void LoadFixture::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The window's developer lines (one per rebuilt tab) would bury the figures.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    TestSupport::failOnQtWarnings();
    QVERIFY(m_dir.isValid());
}

void LoadFixture::init()
{
    DataMode::getInstance()->clearDataModel();
    TestSupport::flushDeferredDeletes();
}
