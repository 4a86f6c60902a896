#include "ui/accessible_interfaces.h"

#include <QAccessibleWidget>

#include "ui/accessible_texts.h"
#include "ui/background.h"
#include "ui/caption_label.h"
#include "ui/line_shape.h"
#include "ui/screen_reader_announcer.h"

namespace quorveno {
namespace {

bool IsSolutionBoxOnSurface(const QObject* object) {
  return IsSolutionBox(object->objectName()) && qobject_cast<const Surface*>(object->parent());
}

class SurfaceInterface final : public QAccessibleWidget {
 public:
  explicit SurfaceInterface(QWidget* surface) : QAccessibleWidget(surface) {}

  int childCount() const override { return static_cast<int>(Shown().size()); }

  QAccessibleInterface* child(int index) const override {
    const QList<QObject*> shown = Shown();
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return child ? static_cast<int>(Shown().indexOf(child->object())) : -1;
  }

 private:
  QList<QObject*> Shown() const {
    QList<QObject*> shown;
    for (QObject* child : widget()->children()) {
      const auto* control = qobject_cast<QWidget*>(child);
      if (!control || control->isWindow() || qobject_cast<LineShape*>(child) || IsSolutionBoxOnSurface(child)) {
        continue;
      }
      shown.append(child);
    }
    return shown;
  }
};

class CaptionInterface final : public QAccessibleWidget {
 public:
  explicit CaptionInterface(CaptionLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(kind);
    const QString caption = static_cast<CaptionLabel*>(widget())->caption();
    const std::optional<AccessibleText> text = AccessibleTextFor(widget()->objectName());
    return text ? LabelName(*text, caption) : caption;
  }
};

// Never valid, so Qt tells assistive technology nothing about the box.
class HiddenInterface final : public QAccessibleWidget {
 public:
  explicit HiddenInterface(QWidget* box) : QAccessibleWidget(box) {}
  bool isValid() const override { return false; }
};

QAccessibleInterface* WindowInterfaces(const QString& /*className*/, QObject* object) {
  if (auto* label = qobject_cast<CaptionLabel*>(object)) return new CaptionInterface(label);
  if (auto* surface = qobject_cast<Surface*>(object)) return new SurfaceInterface(surface);
  if (auto* announcer = qobject_cast<ScreenReaderAnnouncer*>(object)) {
    return new QAccessibleWidget(announcer, QAccessible::Notification);
  }
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget && IsSolutionBoxOnSurface(widget)) return new HiddenInterface(widget);
  return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() { QAccessible::installFactory(WindowInterfaces); }

}  // namespace quorveno
