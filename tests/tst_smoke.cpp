#include "mainwindow/quillmere.h"
#include <QtTest>
class TestSmoke : public QObject { Q_OBJECT private slots: void builds() { Quillmere w; QVERIFY(true); } };
QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
