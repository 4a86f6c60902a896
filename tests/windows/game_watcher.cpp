#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

// Watches the installed game from inside its own process while a pupil's
// keys come from outside (xdotool): every change of what the window shows
// becomes one line of the file named by QUORVENO_WATCH_LOG, so that the test
// types each key once the game is ready for it. It never acts on the game.
// Loaded by Qt with QT_QPA_GENERIC_PLUGINS=quorveno_game_watcher and this
// plugin's folder's parent on QT_PLUGIN_PATH.
namespace quorveno::testing {
namespace {

QString Text(QWidget* window, const char* name) {
  if (auto* box = window->findChild<QLineEdit*>(QLatin1String(name))) return box->text();
  if (auto* label = window->findChild<QLabel*>(QLatin1String(name))) return label->text().trimmed();
  return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QString BoxState(QWidget* box) {
  QString buttons;
  for (auto* button : box->findChildren<QAbstractButton*>()) buttons += QLatin1Char('[') + button->text() + QLatin1Char(']');
  if (auto* input = qobject_cast<QInputDialog*>(box)) return QStringLiteral("asked: ") + input->labelText();
  if (auto* message = qobject_cast<QMessageBox*>(box)) return QStringLiteral("box: ") + message->text() + QLatin1Char(' ') + buttons;
  return QStringLiteral("other box: ") + box->windowTitle();
}

QString WindowState(QWidget* tavola) {
  QWidget* focus = QApplication::focusWidget();
  return QStringLiteral("problem %1/%2 + %3/%4 = %5/%6; score %7 %8 %9; message \"%10\"; record %11 by \"%12\"; focus %13")
      .arg(Text(tavola, "Text1"), Text(tavola, "Text2"), Text(tavola, "Text5"), Text(tavola, "Text6"),
           Text(tavola, "Text9"), Text(tavola, "Text10"), Text(tavola, "lblScore"), Text(tavola, "lblScore1"),
           Text(tavola, "lblScore2"), Text(tavola, "lblMessage"), Text(tavola, "lblpunti"), Text(tavola, "lblnome"),
           focus ? focus->objectName() : QStringLiteral("none"));
}

class GameWatcher final : public QObject {
 public:
  GameWatcher() : log_(qEnvironmentVariable("QUORVENO_WATCH_LOG")) {
    log_.open(QIODevice::WriteOnly | QIODevice::Append);
    connect(&look_, &QTimer::timeout, this, &GameWatcher::Look);
    look_.start(50);
  }

 private:
  void Look() {
    // Only the window that has the keyboard counts: a key typed before the
    // window system gives a new box the focus would go elsewhere.
    QString state;
    if (QWidget* box = QApplication::activeModalWidget()) {
      if (box->isActiveWindow()) state = BoxState(box);
    } else {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("quorveno::Tavola") && widget->isVisible() && widget->isActiveWindow()) {
          state = WindowState(widget);
        }
      }
    }
    if (state.isEmpty() || state == last_) return;
    last_ = state;
    log_.write(state.replace(QLatin1Char('\n'), QLatin1String(" | ")).toUtf8() + '\n');
    log_.flush();
  }

  QFile log_;
  QTimer look_;
  QString last_;
};

}  // namespace

class GameWatcherPlugin final : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "game_watcher.json")

 public:
  QObject* create(const QString& key, const QString& /*parameters*/) override {
    return key == QLatin1String("quorveno_game_watcher") ? new GameWatcher : nullptr;
  }
};

}  // namespace quorveno::testing

#include "game_watcher.moc"
