// What of a stack of rectangles is seen from above, against a pixel-by-pixel reading of the stack.
#include "core/geometry/occlusion.h"
#include "support/core/warnings.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(QVector<Occlusion::Layer>)

namespace {

using Layers = QVector<Occlusion::Layer>;

// Layer i is seen at a pixel when the pixel is in its rect and in no opaque rect above it.
bool seenAt(const Layers &layers, int layer, const QPoint &pixel)
{
    if (!layers.at(layer).rect.contains(pixel))
        return false;
    for (int above = layer + 1; above < layers.size(); ++above) {
        if (layers.at(above).opaque && layers.at(above).rect.contains(pixel))
            return false;
    }
    return true;
}

} // namespace

class TestOcclusion : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void visibleParts_data();
    void visibleParts();
};

void TestOcclusion::visibleParts_data()
{
    QTest::addColumn<Layers>("layers");

    QTest::newRow("apart, each is seen whole")
        << Layers{{QRect(0, 0, 10, 10), true}, {QRect(20, 5, 8, 8), true}};
    QTest::newRow("a larger opaque one on top hides the lower one")
        << Layers{{QRect(5, 5, 10, 10), true}, {QRect(0, 0, 30, 30), true}};
    QTest::newRow("the same rect twice: only the upper one is seen")
        << Layers{{QRect(3, 3, 12, 9), true}, {QRect(3, 3, 12, 9), true}};
    QTest::newRow("a translucent one on top hides nothing")
        << Layers{{QRect(0, 0, 20, 20), true}, {QRect(5, 5, 10, 10), false}};
    QTest::newRow("a translucent one below is hidden like any other")
        << Layers{{QRect(5, 5, 10, 10), false}, {QRect(0, 0, 20, 20), true}};
    QTest::newRow("a hole in the middle leaves a frame")
        << Layers{{QRect(0, 0, 30, 30), true}, {QRect(10, 10, 10, 10), true}};
    QTest::newRow("corners overlap in a staircase")
        << Layers{{QRect(0, 0, 20, 20), true}, {QRect(10, 10, 20, 20), true}, {QRect(20, 20, 20, 20), true}};
    QTest::newRow("an empty rect is seen nowhere and hides nothing")
        << Layers{{QRect(0, 0, 10, 10), true}, {QRect(4, 4, 0, 5), true}};
    QTest::newRow("negative coordinates, as pictures off the screen's top-left")
        << Layers{{QRect(-15, -8, 20, 20), true}, {QRect(-5, -20, 12, 18), true}};

    QRandomGenerator random(7);
    for (int row = 0; row < 6; ++row) {
        Layers layers;
        for (int i = 0; i < 12; ++i)
            layers.append({QRect(random.bounded(-10, 30), random.bounded(-10, 30), random.bounded(1, 25),
                                 random.bounded(1, 25)),
                           random.bounded(4) != 0});
        QTest::newRow(qPrintable(QStringLiteral("twelve scattered layers, seed row %1").arg(row))) << layers;
    }
}

void TestOcclusion::visibleParts()
{
    QFETCH(Layers, layers);
    const QVector<QRegion> parts = Occlusion::visibleParts(layers);
    QCOMPARE(parts.size(), layers.size());
    QRect bounds;
    for (const Occlusion::Layer &layer : layers)
        bounds |= layer.rect;
    for (int i = 0; i < layers.size(); ++i) {
        for (int y = bounds.top() - 1; y <= bounds.bottom() + 1; ++y) {
            for (int x = bounds.left() - 1; x <= bounds.right() + 1; ++x) {
                if (parts.at(i).contains(QPoint(x, y)) != seenAt(layers, i, QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("layer %1 at (%2, %3)").arg(i).arg(x).arg(y)));
            }
        }
    }
}

QTEST_MAIN(TestOcclusion)
#include "tst_occlusion.moc"
