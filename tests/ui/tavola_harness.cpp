#include "tests/ui/tavola_harness.h"

namespace quorveno::testing {

TavolaHarness::TavolaHarness(const CompetitionHarness::Adapt& adapt)
    : model(adapt), tavola_(std::make_unique<Tavola>(model.competition())) {}

void TavolaHarness::Start(const QString& name) {
  dialogs.names.append(name);
  tavola_->Load();
  QVERIFY(QTest::qWaitForWindowExposed(tavola_.get()));
  tavola_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(tavola_.get()));
}

void TavolaHarness::ShowAtDesignSize() {
  tavola_->showNormal();
  QTRY_COMPARE(surface()->size(), QSize(729, 516));
}

void TavolaHarness::Type(const QString& keys) {
  for (const QChar key : keys) QTest::keyClick(focus(), key.toLatin1());
}

void TavolaHarness::PressEnter() { QTest::keyClick(focus(), Qt::Key_Return); }

void TavolaHarness::Answer(const QString& numerator, const QString& denominator) {
  Type(numerator);
  PressEnter();
  Type(denominator);
  PressEnter();
}

void TavolaHarness::Tick(int ticks) {
  for (int i = 0; i < ticks; ++i) tavola_->Timer1_Timer();
}

// Controls are looked up on the current surface: a new competition replaces
// them, and the old ones linger until the event loop deletes them.
QLineEdit* TavolaHarness::box(const char* name) const {
  return surface()->findChild<QLineEdit*>(QLatin1String(name));
}

CaptionLabel* TavolaHarness::label(const char* name) const {
  return surface()->findChild<CaptionLabel*>(QLatin1String(name));
}

QWidget* TavolaHarness::control(const char* name) const {
  return surface()->findChild<QWidget*>(QLatin1String(name));
}

Surface* TavolaHarness::surface() const { return qobject_cast<Surface*>(tavola_->centralWidget()); }

}  // namespace quorveno::testing
