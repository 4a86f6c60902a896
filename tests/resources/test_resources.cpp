// Links quorveno_resources like the program does and never calls
// Q_INIT_RESOURCE: every picture found here proves that the compiled
// resources of the static library reach an executable and register themselves.
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <cstdlib>

#include "resources/pointers.h"

using quorveno::Pointer;
using quorveno::PointerCursor;

Q_DECLARE_METATYPE(quorveno::Pointer)

namespace {

// Pixels at least half covered: the drawing itself, not its soft edges.
bool IsSolid(QRgb pixel) { return qAlpha(pixel) >= 128; }

bool IsNear(QRgb pixel, const QColor& colour) {
  constexpr int kTolerance = 40;
  return std::abs(qRed(pixel) - colour.red()) <= kTolerance &&
         std::abs(qGreen(pixel) - colour.green()) <= kTolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= kTolerance;
}

QImage LoadPicture(const QString& path) {
  return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

struct PixelCounts {
  int solid = 0;
  int clear = 0;
  int solidOfColour = 0;
};

PixelCounts CountPixels(const QImage& image, const QColor& colour) {
  PixelCounts counts;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) == 0) ++counts.clear;
      if (!IsSolid(pixel)) continue;
      ++counts.solid;
      if (IsNear(pixel, colour)) ++counts.solidOfColour;
    }
  }
  return counts;
}

const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

}  // namespace

class TestResources : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void everyPictureIsA32PixelSquare_data();
  void everyPictureIsA32PixelSquare();
  void coloursTellThePicturesApart_data();
  void coloursTellThePicturesApart();
  void landmarksHaveTheirColour_data();
  void landmarksHaveTheirColour();
  void pointersActWhereTheyPoint_data();
  void pointersActWhereTheyPoint();
};

void TestResources::everyPictureIsA32PixelSquare_data() {
  QTest::addColumn<QString>("path");
  // Share of fully transparent pixels: none for the window icon, whose blue
  // ground fills the square; a clear margin around everything else, so the
  // buttons' colours and the window show through.
  QTest::addColumn<double>("minClear");
  QTest::addColumn<double>("maxClear");

  QTest::newRow("window icon") << QStringLiteral(":/pictures/icon.png") << 0.0 << 0.0;
  QTest::newRow("smiling face") << QStringLiteral(":/pictures/next_smile.png") << 0.1 << 0.5;
  QTest::newRow("neutral face") << QStringLiteral(":/pictures/next_neutral.png") << 0.1 << 0.5;
  QTest::newRow("laughing face") << QStringLiteral(":/pictures/next_laugh.png") << 0.1 << 0.5;
  QTest::newRow("no-entry sign") << QStringLiteral(":/pictures/exit_no_entry.png") << 0.1 << 0.5;
  QTest::newRow("hand pointer") << QStringLiteral(":/pointers/hand.png") << 0.25 << 0.8;
  QTest::newRow("waving pointer") << QStringLiteral(":/pointers/waving.png") << 0.25 << 0.8;
  QTest::newRow("note pointer") << QStringLiteral(":/pointers/note.png") << 0.25 << 0.8;
  QTest::newRow("icon pointer") << QStringLiteral(":/pointers/icon_pointer.png") << 0.25 << 0.8;
}

void TestResources::everyPictureIsA32PixelSquare() {
  QFETCH(QString, path);
  QFETCH(double, minClear);
  QFETCH(double, maxClear);

  const QImage image = LoadPicture(path);
  QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(" is missing or unreadable")));
  QCOMPARE(image.size(), QSize(32, 32));

  const PixelCounts counts = CountPixels(image, kBlack);
  const double pixels = image.width() * image.height();
  QVERIFY2(counts.solid >= pixels / 5, qPrintable(QStringLiteral("only %1 solid pixels").arg(counts.solid)));
  const double clearShare = counts.clear / pixels;
  QVERIFY2(clearShare >= minClear && clearShare <= maxClear,
           qPrintable(QStringLiteral("%1 of the pixels are transparent").arg(clearShare)));
}

void TestResources::coloursTellThePicturesApart_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QColor>("colour");
  // Bounds on the share of the solid pixels that have this colour.
  QTest::addColumn<double>("minShare");
  QTest::addColumn<double>("maxShare");

  const QString icon = QStringLiteral(":/pictures/icon.png");
  QTest::newRow("icon: blue ground") << icon << kBlue << 0.6 << 0.9;
  QTest::newRow("icon: cyan digits and bars") << icon << kCyan << 0.12 << 0.4;
  QTest::newRow("icon: nothing yellow") << icon << kYellow << 0.0 << 0.0;

  const QString smile = QStringLiteral(":/pictures/next_smile.png");
  const QString neutral = QStringLiteral(":/pictures/next_neutral.png");
  const QString laugh = QStringLiteral(":/pictures/next_laugh.png");
  QTest::newRow("smiling face: mostly yellow") << smile << kYellow << 0.4 << 1.0;
  QTest::newRow("smiling face: closed mouth") << smile << kRed << 0.0 << 0.0;
  QTest::newRow("neutral face: mostly yellow") << neutral << kYellow << 0.4 << 1.0;
  QTest::newRow("neutral face: closed mouth") << neutral << kRed << 0.0 << 0.0;
  QTest::newRow("laughing face: mostly yellow") << laugh << kYellow << 0.4 << 1.0;
  QTest::newRow("laughing face: open red mouth") << laugh << kRed << 0.04 << 0.3;

  const QString noEntry = QStringLiteral(":/pictures/exit_no_entry.png");
  QTest::newRow("no-entry sign: red disc") << noEntry << kRed << 0.35 << 0.8;
  QTest::newRow("no-entry sign: white bar") << noEntry << kWhite << 0.15 << 0.5;
  QTest::newRow("no-entry sign: not a face") << noEntry << kYellow << 0.0 << 0.0;

  const QString hand = QStringLiteral(":/pointers/hand.png");
  QTest::newRow("hand: black") << hand << kBlack << 0.4 << 0.9;
  QTest::newRow("hand: green outline") << hand << kGreen << 0.15 << 0.5;

  QTest::newRow("waving figure: red shirt") << QStringLiteral(":/pointers/waving.png") << kRed << 0.15 << 0.6;

  const QString note = QStringLiteral(":/pointers/note.png");
  QTest::newRow("note: blue body") << note << kBlue << 0.2 << 0.7;
  QTest::newRow("note: yellow outline") << note << kYellow << 0.07 << 0.4;
  QTest::newRow("note: red outline") << note << kRed << 0.07 << 0.4;

  const QString iconPointer = QStringLiteral(":/pointers/icon_pointer.png");
  QTest::newRow("icon pointer: black") << iconPointer << kBlack << 0.25 << 0.75;
  QTest::newRow("icon pointer: white") << iconPointer << kWhite << 0.25 << 0.75;
}

void TestResources::coloursTellThePicturesApart() {
  QFETCH(QString, path);
  QFETCH(QColor, colour);
  QFETCH(double, minShare);
  QFETCH(double, maxShare);

  const QImage image = LoadPicture(path);
  QVERIFY(!image.isNull());
  const PixelCounts counts = CountPixels(image, colour);
  QVERIFY(counts.solid > 0);
  const double share = static_cast<double>(counts.solidOfColour) / counts.solid;
  QVERIFY2(share >= minShare && share <= maxShare,
           qPrintable(QStringLiteral("%1 of the solid pixels have this colour").arg(share)));
}

void TestResources::landmarksHaveTheirColour_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QPoint>("pixel");
  QTest::addColumn<QColor>("colour");

  const QString icon = QStringLiteral(":/pictures/icon.png");
  QTest::newRow("icon: blue corner") << icon << QPoint(0, 0) << kBlue;
  QTest::newRow("icon: cyan plus in the middle") << icon << QPoint(16, 16) << kCyan;
  QTest::newRow("icon: cyan fraction bar") << icon << QPoint(5, 16) << kCyan;

  const QString smile = QStringLiteral(":/pictures/next_smile.png");
  QTest::newRow("smiling face: mouth dips in the middle") << smile << QPoint(16, 22) << kBlack;
  QTest::newRow("smiling face: mouth corner turned up") << smile << QPoint(9, 19) << kBlack;
  const QString neutral = QStringLiteral(":/pictures/next_neutral.png");
  QTest::newRow("neutral face: straight mouth") << neutral << QPoint(16, 21) << kBlack;
  QTest::newRow("neutral face: no corner turned up") << neutral << QPoint(9, 19) << kYellow;
  QTest::newRow("neutral face: nothing below the mouth") << neutral << QPoint(16, 22) << kYellow;
  const QString laugh = QStringLiteral(":/pictures/next_laugh.png");
  QTest::newRow("laughing face: open mouth") << laugh << QPoint(16, 23) << kRed;
  QTest::newRow("laughing face: eye squeezed shut") << laugh << QPoint(11, 10) << kBlack;

  const QString noEntry = QStringLiteral(":/pictures/exit_no_entry.png");
  QTest::newRow("no-entry sign: bar across the centre") << noEntry << QPoint(16, 16) << kWhite;
  QTest::newRow("no-entry sign: bar reaches left") << noEntry << QPoint(8, 16) << kWhite;
  QTest::newRow("no-entry sign: bar reaches right") << noEntry << QPoint(24, 16) << kWhite;
  QTest::newRow("no-entry sign: red above the bar") << noEntry << QPoint(16, 8) << kRed;
  QTest::newRow("no-entry sign: red below the bar") << noEntry << QPoint(16, 24) << kRed;

  const QString hand = QStringLiteral(":/pointers/hand.png");
  QTest::newRow("hand: green fingertip") << hand << QPoint(1, 1) << kGreen;
  QTest::newRow("hand: black finger") << hand << QPoint(10, 10) << kBlack;
  QTest::newRow("waving figure: red shirt") << QStringLiteral(":/pointers/waving.png") << QPoint(16, 18) << kRed;
  const QString note = QStringLiteral(":/pointers/note.png");
  QTest::newRow("note: blue head") << note << QPoint(12, 26) << kBlue;
  QTest::newRow("note: red rim under the head") << note << QPoint(11, 30) << kRed;
  QTest::newRow("icon pointer: black centre") << QStringLiteral(":/pointers/icon_pointer.png") << QPoint(15, 15) << kBlack;
}

void TestResources::landmarksHaveTheirColour() {
  QFETCH(QString, path);
  QFETCH(QPoint, pixel);
  QFETCH(QColor, colour);

  const QRgb found = LoadPicture(path).pixel(pixel);
  QVERIFY2(IsSolid(found) && IsNear(found, colour),
           qPrintable(QStringLiteral("found #%1").arg(found, 8, 16, QLatin1Char('0'))));
}

void TestResources::pointersActWhereTheyPoint_data() {
  QTest::addColumn<Pointer>("pointer");
  QTest::addColumn<QString>("path");
  QTest::addColumn<QPoint>("hotSpot");

  QTest::newRow("hand: fingertip at (1, 1)")
      << Pointer::Hand << QStringLiteral(":/pointers/hand.png") << QPoint(1, 1);
  QTest::newRow("waving figure: raised hand at (3, 3)")
      << Pointer::Waving << QStringLiteral(":/pointers/waving.png") << QPoint(3, 3);
  QTest::newRow("note: wing tip at (0, 0)")
      << Pointer::Note << QStringLiteral(":/pointers/note.png") << QPoint(0, 0);
  QTest::newRow("icon pointer: centre at (15, 15)")
      << Pointer::Icon << QStringLiteral(":/pointers/icon_pointer.png") << QPoint(15, 15);
}

void TestResources::pointersActWhereTheyPoint() {
  QFETCH(Pointer, pointer);
  QFETCH(QString, path);
  QFETCH(QPoint, hotSpot);

  const QCursor cursor = PointerCursor(pointer);
  QCOMPARE(cursor.hotSpot(), hotSpot);
  QCOMPARE(cursor.pixmap().toImage(), QPixmap(path).toImage());

  // The pixel that acts is part of the drawing, not the clear margin.
  QVERIFY(IsSolid(LoadPicture(path).pixel(hotSpot)));
}

QTEST_MAIN(TestResources)
#include "test_resources.moc"
